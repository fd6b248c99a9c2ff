// vantrel.exe LINK as browsers start it, and --exit: a link with no Vantrel running and with one
// running (handed over by WM_COPYDATA), links as real browsers spell them, hostile WM_COPYDATA
// from another process, the registered open command started as the shell starts it, the real
// ShellExecute, and the usage box.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include "app_ids.h"
#include "registry_tree.h"
#include "running_program.h"
#include "url_scheme_keys.h"
#include "url_scheme_support.h"
#include "vantrel/contract.h"

namespace url_scheme_test {
namespace {

using vantrel::id_encoded_box;
using vantrel::id_flashget_radio;
using vantrel::id_plain_box;
using vantrel::id_qqdl_radio;
using vantrel::id_rayfile_radio;
using vantrel::id_thunder_radio;

bool is_checked(HWND window, int id) {
    return SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A link as a browser hands it over, the canonical link that 编辑框1 then holds, the radio
// button that converts it, and the address.
struct BrowserCase {
    std::string handed;
    std::string canonical;
    int radio;
};

std::vector<BrowserCase> browser_cases() {
    const std::string thunder_body = std::string(kThunder.link).substr(10);
    const std::string qqdl_body = std::string(kQqdl.link).substr(7);
    const std::string flashget_body = std::string(kFlashget.link).substr(11);
    return {
        {kThunder.link, kThunder.link, id_thunder_radio},
        {"thunder://" + thunder_body + "/", kThunder.link, id_thunder_radio},  // trailing slash
        {"THUNDER://" + thunder_body, kThunder.link, id_thunder_radio},
        {"flashget://" + flashget_body + "/", kFlashget.link,
         id_flashget_radio},  // lower-case, slash
        // '=' and '&' percent-encoded, as a browser escapes them.
        {"flashget://W0ZMQVNIR0VUXWh0dHA6Ly9hL2IuemlwW0ZMQVNIR0VUXQ%3D%3D%26abc/", kFlashget.link,
         id_flashget_radio},
        {"qqdl://aHR0cDovL2EvYi56aXA%3D/", kQqdl.link, id_qqdl_radio},
        {std::string(kRayfile.link) + "/", kRayfile.link, id_rayfile_radio},
        // A thunder:// link that wraps a Flashget:// one: the innermost link goes into 编辑框1.
        {std::string(kNested.link) + "/", kFlashget.link, id_flashget_radio},
    };
}

class BrowserLink : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.ok());
        ASSERT_EQ(0, vantrel_processes());
    }
    void TearDown() override {
        // Whatever a failed case left running.
        run(command(folder_.program(), {L"--exit"}));
    }
    std::wstring program() const { return folder_.program(); }

    ProgramFolder folder_;
};

TEST_F(BrowserLink, StartsTheProgramWithTheLinkConvertedWhenNoneRuns) {
    for (const std::string& handed :
         {std::string("thunder://") + std::string(kThunder.link).substr(10) + "/",
          std::string(kNested.link) + "/"}) {
        SCOPED_TRACE(handed);
        Vantrel started(program(), wide(handed));
        ASSERT_NE(nullptr, started.window());
        EXPECT_TRUE(
            wait_until([&] { return started.box(id_plain_box) == "http://a/b.zip"; }, 10000))
            << started.box(id_plain_box);
        EXPECT_TRUE(IsWindowVisible(started.window()));
        EXPECT_EQ(nullptr, started.message_box());
    }
}

TEST_F(BrowserLink, ALinkGoesToTheRunningProgramWithinASecondAndTheClipboardIsLeftAlone) {
    Vantrel running(program());
    ASSERT_NE(nullptr, running.window());
    registration_test::WatchedClipboardText clipboard("http://clipboard.example/kept.zip");
    ASSERT_TRUE(clipboard.placed());

    for (const BrowserCase& c : browser_cases()) {
        SCOPED_TRACE(c.handed);
        running.set_box(id_encoded_box, "");
        running.set_box(id_plain_box, "");
        const DWORD start = GetTickCount();
        const RunResult handed = run(command(program(), {wide(c.handed)}), 10000);
        EXPECT_EQ(0u, handed.exit_code);
        EXPECT_TRUE(
            wait_until([&] { return running.box(id_plain_box) == "http://a/b.zip"; }, 1000));
        EXPECT_LT(GetTickCount() - start, 2000u) << "the hand-off and its start took too long";
        EXPECT_EQ(c.canonical, running.box(id_encoded_box));
        EXPECT_TRUE(is_checked(running.window(), c.radio));
        EXPECT_EQ(1, vantrel_processes());
    }
    EXPECT_EQ(0, clipboard.renderings()) << "the clipboard was read";
    EXPECT_EQ("http://clipboard.example/kept.zip", clipboard_text().value_or(""));
}

TEST_F(BrowserLink, AnAddressGoesIntoTheSecondBoxAsItIsAndOtherTextIsIgnored) {
    Vantrel running(program());
    ASSERT_NE(nullptr, running.window());
    struct Case {
        std::string handed;
        std::string encoded_box, plain_box;
    };
    const Case cases[] = {
        {"https://example.com/a%20b.zip?x=1", "old 1", "https://example.com/a%20b.zip?x=1"},
        {"http://example.com/c.zip/", "old 1", "http://example.com/c.zip/"},
        {"ftp://example.com/d.zip", "old 1", "old 2"},
        {"thunder:", "old 1", "old 2"},
        {"", "old 1", "old 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handed);
        running.set_box(id_encoded_box, "old 1");
        running.set_box(id_plain_box, "old 2");
        EXPECT_EQ(0u, run(command(program(), {wide(c.handed)}), 10000).exit_code);
        // The message queue is empty once a message sent after the link has been answered.
        SendMessageW(running.window(), WM_NULL, 0, 0);
        EXPECT_TRUE(wait_until([&] { return running.box(id_plain_box) == c.plain_box; }, 1000));
        EXPECT_EQ(c.encoded_box, running.box(id_encoded_box));
        EXPECT_EQ(nullptr, running.message_box());
    }
}

// WM_COPYDATA from any process: only this program's tag, at most 64 KiB, read by its length.
TEST_F(BrowserLink, HostileCopyDataChangesNothing) {
    Vantrel running(program());
    ASSERT_NE(nullptr, running.window());
    const std::string link = kQqdl.link;
    std::string oversized = link + std::string(vantrel::kCopyDataLinkLimit + 1 - link.size(), ' ');
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 7 + 3);
    const std::string with_zero = link + std::string(1, '\0') + "tail";
    struct Case {
        const char* name;
        ULONG_PTR tag;
        const void* data;
        DWORD size;
    };
    const Case cases[] = {
        {"wrong tag", vantrel::kCopyDataLinkTag + 1, link.data(), DWORD(link.size())},
        {"no tag", 0, link.data(), DWORD(link.size())},
        {"64 KiB and one byte", vantrel::kCopyDataLinkTag, oversized.data(),
         DWORD(oversized.size())},
        {"a zero byte inside", vantrel::kCopyDataLinkTag, with_zero.data(),
         DWORD(with_zero.size())},
        {"binary", vantrel::kCopyDataLinkTag, binary.data(), DWORD(binary.size())},
        {"size without data", vantrel::kCopyDataLinkTag, nullptr, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        running.set_box(id_encoded_box, "old 1");
        running.set_box(id_plain_box, "old 2");
        send_copy_data(running.window(), c.tag, c.data, c.size);
        SendMessageW(running.window(), WM_NULL, 0, 0);
        Sleep(100);
        SendMessageW(running.window(), WM_NULL, 0, 0);
        EXPECT_EQ("old 1", running.box(id_encoded_box));
        EXPECT_EQ("old 2", running.box(id_plain_box));
        EXPECT_EQ(nullptr, running.message_box());
    }
    EXPECT_TRUE(IsWindow(running.window()));

    // Read by its length: the bytes after it are not part of the link; and 64 KiB exactly is
    // taken (the reader trims the spaces).
    const std::string followed = link + "XYZ";
    oversized.pop_back();
    for (const auto& [data, size] :
         {std::pair<const char*, std::size_t>(followed.data(), link.size()),
          {oversized.data(), oversized.size()}}) {
        running.set_box(id_encoded_box, "old 1");
        running.set_box(id_plain_box, "old 2");
        EXPECT_EQ(TRUE, send_copy_data(running.window(), vantrel::kCopyDataLinkTag, data,
                                       static_cast<DWORD>(size)));
        EXPECT_TRUE(wait_until([&] { return running.box(id_plain_box) == kQqdl.address; }, 2000));
        EXPECT_EQ(kQqdl.link, running.box(id_encoded_box));
    }
}

TEST_F(BrowserLink, ExitEndsTheRunningProgramAsItsMenuDoes) {
    EXPECT_EQ(0u, run(command(program(), {L"--exit"})).exit_code);  // none runs

    Vantrel running(program());
    ASSERT_NE(nullptr, running.window());
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = running.window();
    icon.uID = vantrel::kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon));

    const RunResult exited = run(command(program(), {L"--exit"}));
    EXPECT_EQ(0u, exited.exit_code);
    EXPECT_EQ(0u, running.wait_for_exit(1000));  // already ended when --exit returned
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "the tray icon is still there";
    EXPECT_EQ(0, vantrel_processes());
}

TEST_F(BrowserLink, UnknownOptionsAndSeveralArgumentsShowTheUsageAndExitWith64) {
    const std::vector<std::wstring> cases[] = {
        {L"--help"}, {L"--register"}, {L"thunder://a", L"thunder://b"}};
    for (const std::vector<std::wstring>& arguments : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        Process started = Process::start(command(program(), arguments));
        ASSERT_TRUE(started);
        HWND box = nullptr;
        ASSERT_TRUE(wait_until(
            [&] { return (box = vantrel::testing::find_message_box(started.id())) != nullptr; }));
        EXPECT_NE(std::wstring::npos,
                  vantrel::testing::child_texts(box).find(L"--register-schemes"));
        EXPECT_TRUE(registration_test::main_windows().empty());
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(64u, started.wait_for_exit(10000));
    }
}

// As a browser launches a handler: the command that registration wrote, %1 replaced by the link.
TEST_F(BrowserLink, TheRegisteredCommandStartedAsTheShellStartsItShowsTheAddress) {
    ASSERT_EQ(0u, run(command(program(), {L"--register-schemes"})).exit_code);
    const std::optional<vantrel::RegistryValue> registered = vantrel::read_registry_value(
        HKEY_CURRENT_USER, vantrel::scheme_key(L"thunder") + L"\\" + vantrel::kOpenCommandKey, L"");
    ASSERT_TRUE(registered);
    std::wstring line = *vantrel::text_of(*registered);
    const std::size_t placeholder = line.find(L"%1");
    ASSERT_NE(std::wstring::npos, placeholder);
    line.replace(placeholder, 2, wide(std::string(kThunder.link) + "/"));

    Process started = Process::start(line);
    ASSERT_TRUE(started);
    HWND window = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (window = vantrel::find_running_main_window()) != nullptr; }));
    Vantrel running(window);
    EXPECT_TRUE(wait_until([&] { return running.box(id_plain_box) == kThunder.address; }, 5000));
    EXPECT_EQ(0u, run(command(program(), {L"--unregister-schemes"})).exit_code);
}

// Wine does not look under HKEY_CURRENT_USER\Software\Classes for URL handlers: the keys that
// registration wrote are copied to HKEY_LOCAL_MACHINE\Software\Classes in this test's own prefix.
TEST_F(BrowserLink, ShellExecuteOfALinkReachesTheRunningProgram) {
    ASSERT_EQ(0u, run(command(program(), {L"--register-schemes"})).exit_code);
    const std::wstring machine_key = L"Software\\Classes\\thunder";
    const std::optional<vantrel::RegistryTree> handler =
        vantrel::read_registry_tree(HKEY_CURRENT_USER, vantrel::scheme_key(L"thunder"));
    ASSERT_TRUE(handler);
    ASSERT_TRUE(vantrel::write_registry_tree(HKEY_LOCAL_MACHINE, machine_key, *handler));

    Vantrel running(program());
    ASSERT_NE(nullptr, running.window());
    running.set_box(id_plain_box, "");
    const std::wstring link = wide(std::string(kNested.link) + "/");
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    EXPECT_GT(result, 32);
    EXPECT_TRUE(wait_until([&] { return running.box(id_plain_box) == kNested.address; }, 10000));
    EXPECT_EQ(kFlashget.link, running.box(id_encoded_box));
    EXPECT_TRUE(wait_until([] { return vantrel_processes() == 1; }, 5000));

    vantrel::delete_registry_tree(HKEY_LOCAL_MACHINE, machine_key);
    EXPECT_EQ(0u, run(command(program(), {L"--unregister-schemes"})).exit_code);
}

}  // namespace
}  // namespace url_scheme_test
