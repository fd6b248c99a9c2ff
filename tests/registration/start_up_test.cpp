// vantrel.exe at its start: the context-menu key with its four values, written where the
// program lives; the fatal error report without tavik.dll; the end of a start whose registry
// writes are refused.
#include <gtest/gtest.h>

#include "app_ids.h"
#include "support.h"

namespace registration_test {
namespace {

using Values = std::map<std::string, Value>;

constexpr char kLink[] = "thunder://QUFodHRwOi8vYS9iLnppcFpa";
// Everyone may do anything with a key but set its values and create keys below it.
constexpr wchar_t kNoWriting[] = L"D:P(D;;0x6;;;WD)(A;;KA;;;WD)";

// What a start from the folder writes for the window.
Values record_of(const std::wstring& directory, HWND window,
                 const std::wstring& executable = L"vantrel.exe") {
    return {
        {"", text_value(ansi(directory) + "\\tavik_link.htm")},
        {"contexts", dword_value(34)},
        {vantrel::kFilePathValue, text_value(ansi(directory + L"\\" + executable))},
        {vantrel::kMainWindowHandleValue, text_value(window_number(window))},
    };
}

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u);
        delete_key_tree(kMenuExtPath);
        ASSERT_FALSE(key_exists(kMenuExtPath));
        ASSERT_TRUE(empty_clipboard());
    }
    void TearDown() override { delete_key_tree(kMenuExtPath); }
};

TEST_F(StartUp, AFreshStartCreatesTheKeyWithItsFourValuesThenLooksAtTheClipboard) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    WatchedClipboardText clipboard(kLink);
    ASSERT_TRUE(clipboard.placed());
    Vantrel vantrel(folder.program());
    ASSERT_TRUE(vantrel.window());
    EXPECT_EQ(read_values(kKeyPath), record_of(folder.directory(), vantrel.window()));
    // The handle as the 32-bit signed decimal number.
    const std::string number = read_value(kKeyPath, vantrel::kMainWindowHandleValue)->data;
    EXPECT_EQ(std::stol(number), HandleToLong(vantrel.window()));
    // The start-up's look at the clipboard comes after the record.
    EXPECT_TRUE(wait_until([&] { return vantrel.box(vantrel::id_encoded_box) == kLink; }));
    EXPECT_GE(clipboard.renderings(), 1);
}

TEST_F(StartUp, ALaterStartOverwritesTheFourValuesAndLeavesTheOthersAlone) {
    ProgramFolder first_folder;
    ProgramFolder second_folder;
    ASSERT_TRUE(first_folder.ok() && second_folder.ok());
    {
        Vantrel first(first_folder.program());
        ASSERT_TRUE(first.window());
        EXPECT_EQ(read_values(kKeyPath), record_of(first_folder.directory(), first.window()));
    }
    // Values of the same names but other types, and values of other names.
    ASSERT_TRUE(write_value(kKeyPath, "contexts", text_value("0")));
    ASSERT_TRUE(write_value(kKeyPath, vantrel::kFilePathValue, dword_value(7)));
    ASSERT_TRUE(write_value(kKeyPath, "Other", text_value("stays")));
    ASSERT_TRUE(write_value(kKeyPath, "Flags", dword_value(1)));
    ASSERT_TRUE(write_value(std::string(kKeyPath) + "\\Sub", "", text_value("below")));

    Vantrel second(second_folder.program());
    ASSERT_TRUE(second.window());
    Values expected = record_of(second_folder.directory(), second.window());
    expected["Other"] = text_value("stays");
    expected["Flags"] = dword_value(1);
    EXPECT_EQ(read_values(kKeyPath), expected);
    EXPECT_EQ(read_value(std::string(kKeyPath) + "\\Sub", ""), text_value("below"));
}

TEST_F(StartUp, TheProgramDirectoryIsThePathOfTheRunningExecutableUpToItsLastBackslash) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"vantrel-" +
                              std::to_wstring(GetCurrentProcessId()) + L" \u4E0B\u8F7D\u4E57";
    FreshDirectory parent(base);
    ASSERT_TRUE(parent.ok());
    struct Case {
        std::wstring directory;
        std::wstring executable;
    };
    // 乗 is 81 5C in code page 936: its second byte is no backslash, wherever it stands.
    const Case cases[] = {
        {base + L"\\\u4E57", L"vantrel.exe"},
        {base, L"\u4E57.exe"},
        {base + L"\\\u4E57 folder", L"\u4E0B\u8F7D\u4E57 vantrel.exe"},
        // The root directory of a drive: the directory is "C:", with one backslash after it.
        {L"C:", L"vantrel.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ansi(c.directory + L"\\" + c.executable));
        ProgramFolder folder(c.directory, true, c.executable);
        ASSERT_TRUE(folder.ok());
        Vantrel vantrel(folder.program());
        ASSERT_TRUE(vantrel.window());
        EXPECT_EQ(read_values(kKeyPath), record_of(c.directory, vantrel.window(), c.executable));
    }
    EXPECT_EQ(read_value(kKeyPath, ""), text_value("C:\\tavik_link.htm"));
    EXPECT_EQ(read_value(kKeyPath, vantrel::kFilePathValue), text_value("C:\\vantrel.exe"));
}

TEST_F(StartUp, WithoutTheComponentTheFatalErrorReportEndsTheStartBeforeAnyWrite) {
    ProgramFolder folder(false);
    ASSERT_TRUE(folder.ok());
    Vantrel vantrel(folder.program());
    HWND box = nullptr;
    ASSERT_TRUE(wait_until([&] { return (box = vantrel.message_box()) != nullptr; }));
    const std::wstring texts = vantrel::testing::child_texts(box);
    EXPECT_NE(texts.find(L"tavik.dll"), std::wstring::npos) << ansi(texts);
    EXPECT_NE(texts.find(L"DllRegisterServer"), std::wstring::npos) << ansi(texts);
    EXPECT_FALSE(key_exists(kMenuExtPath));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(vantrel.wait_for_exit(), std::optional<DWORD>(static_cast<DWORD>(-1)));
    EXPECT_FALSE(key_exists(kMenuExtPath));
}

TEST_F(StartUp, WhenTheKeyCannotBeWrittenTheProgramEndsWithExitCodeOneAndNoMessage) {
    struct Case {
        const char* name;
        bool (*refuse)();
        Values left;  // what the key holds afterwards (nothing when it does not exist)
        bool key_left;
    };
    const Case cases[] = {
        {"the key may not be written",
         [] {
             return write_value(kKeyPath, "Other", text_value("stays")) &&
                    set_key_access(kKeyPath, kNoWriting);
         },
         {{"Other", text_value("stays")}},
         true},
        {"MenuExt is volatile, so the key could not outlive the session",
         [] {
             vantrel::OwnedKey key;
             return RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtPath, 0, nullptr,
                                    REG_OPTION_VOLATILE, KEY_WRITE, nullptr, key.receive(),
                                    nullptr) == ERROR_SUCCESS;
         },
         {},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delete_key_tree(kMenuExtPath);
        ASSERT_TRUE(c.refuse());
        ProgramFolder folder;
        ASSERT_TRUE(folder.ok());
        WatchedClipboardText clipboard(kLink);
        ASSERT_TRUE(clipboard.placed());
        Vantrel vantrel(folder.program());
        // A message box would hold the process up until it is closed.
        EXPECT_EQ(vantrel.wait_for_exit(), std::optional<DWORD>(1));
        EXPECT_EQ(clipboard.renderings(), 0);
        if (c.key_left) {
            EXPECT_EQ(read_values(kKeyPath), c.left);
        } else {
            EXPECT_FALSE(key_exists(kKeyPath));
        }
    }
}

}  // namespace
}  // namespace registration_test
