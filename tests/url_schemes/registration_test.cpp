// vantrel.exe --register-schemes and --unregister-schemes, run as the installer runs them: the
// keys and values written, another program's handler saved whole and put back, a refused write
// that leaves nothing behind, and the user's registry (an export of HKEY_CURRENT_USER\Software
// by regedit) as it was before once everything is undone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "registry_tree.h"
#include "url_scheme_keys.h"
#include "url_scheme_registration.h"
#include "url_scheme_support.h"

namespace url_scheme_test {
namespace {

using vantrel::RegistryTree;
using vantrel::RegistryValue;
using vantrel::text_value;

// Values and keys in name order (the registry enumerates in an order of its own).
RegistryTree sorted(RegistryTree tree) {
    auto by_name = [](const auto& a, const auto& b) {
        return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    };
    std::sort(
        tree.values.begin(), tree.values.end(),
        [&](const RegistryValue& a, const RegistryValue& b) { return by_name(a.name, b.name); });
    for (auto& key : tree.keys)
        key.second = sorted(key.second);
    std::sort(tree.keys.begin(), tree.keys.end(),
              [&](const auto& a, const auto& b) { return by_name(a.first, b.first); });
    return tree;
}

std::optional<RegistryTree> user_key(const std::wstring& path) {
    std::optional<RegistryTree> tree = vantrel::read_registry_tree(HKEY_CURRENT_USER, path);
    if (tree) tree = sorted(*tree);
    return tree;
}

RegistryTree key_with(std::vector<RegistryValue> values,
                      std::vector<std::pair<std::wstring, RegistryTree>> keys = {}) {
    RegistryTree tree;
    tree.values = std::move(values);
    tree.keys = std::move(keys);
    return sorted(tree);
}

// shell\open\command and DefaultIcon of a handler that runs the program.
std::vector<std::pair<std::wstring, RegistryTree>> handler_keys(const std::wstring& program) {
    const RegistryTree command = key_with({text_value(L"", L"\"" + program + L"\" \"%1\"")});
    return {{L"DefaultIcon", key_with({text_value(L"", L"\"" + program + L"\",0")})},
            {L"shell", key_with({}, {{L"open", key_with({}, {{L"command", command}})}})}};
}

// Another program's handler, with values of every kind and keys below.
RegistryTree foreign_handler(const std::wstring& scheme) {
    const std::string binary("\x00\x01\xFE\xFF", 4);
    const RegistryTree command =
        key_with({text_value(L"", L"\"C:\\Thunder\\Thunder.exe\" \"%1\"")});
    const RegistryTree open = key_with({}, {{L"command", command}});
    const RegistryTree shell =
        key_with({text_value(L"", L"open")}, {{L"open", open}, {L"print", RegistryTree{}}});
    const RegistryTree icon = key_with({text_value(L"", L"C:\\Thunder\\Thunder.exe,1")});
    return key_with({text_value(L"", L"URL:" + scheme + L" Protocol"),
                     text_value(L"URL Protocol", L""),
                     {L"EditFlags", REG_BINARY, std::vector<BYTE>(binary.begin(), binary.end())},
                     {L"BrowserFlags", REG_DWORD, {8, 0, 0, 0}},
                     {L"Source", REG_EXPAND_SZ, {'%', 0, 'X', 0, '%', 0, 0, 0}}},
                    {{L"DefaultIcon", icon}, {L"shell", shell}});
}

class SchemeRegistration : public ::testing::Test {
  protected:
    void SetUp() override {
        undo_everything();
        ASSERT_EQ(0, vantrel_processes());
    }
    void TearDown() override { undo_everything(); }

    static void undo_everything() {
        for (const std::wstring& scheme : vantrel::url_scheme_names()) {
            registration_test::delete_key_tree(narrow(vantrel::scheme_key(scheme)));
        }
        registration_test::delete_key_tree(narrow(vantrel::prog_id_key()));
        registration_test::delete_key_tree(narrow(vantrel::kVantrelKey));
        registration_test::delete_key_tree(narrow(vantrel::kRegisteredApplicationsKey));
    }

    std::wstring program_ = registration_test::test_file(L"vantrel.exe");
};

TEST_F(SchemeRegistration, WritesTheHandlersAndUnregisteringLeavesTheRegistryAsItWas) {
    const std::string before = export_user_software();
    ASSERT_FALSE(before.empty());

    const RunResult registered = run(command(program_, {L"--register-schemes"}));
    EXPECT_EQ(0u, registered.exit_code);
    EXPECT_EQ("", registered.error);
    EXPECT_TRUE(registration_test::main_windows().empty());

    for (const std::wstring& scheme : vantrel::url_scheme_names()) {
        EXPECT_EQ(key_with({text_value(L"", L"URL:" + scheme + L" Protocol"),
                            text_value(L"URL Protocol", L"")},
                           handler_keys(program_)),
                  user_key(vantrel::scheme_key(scheme)))
            << testing::PrintToString(scheme);
    }
    EXPECT_EQ(key_with({text_value(L"", L"Vantrel")}, handler_keys(program_)),
              user_key(L"Software\\Classes\\Vantrel.Link"));
    const std::optional<RegistryTree> capabilities = user_key(L"Software\\Vantrel\\Capabilities");
    ASSERT_TRUE(capabilities);
    EXPECT_EQ(text_value(L"ApplicationName", L"Vantrel"), *capabilities->value(L"ApplicationName"));
    ASSERT_NE(nullptr, capabilities->value(L"ApplicationDescription"));
    EXPECT_EQ(
        key_with({text_value(L"thunder", L"Vantrel.Link"), text_value(L"flashget", L"Vantrel.Link"),
                  text_value(L"qqdl", L"Vantrel.Link"), text_value(L"fs2you", L"Vantrel.Link")}),
        *capabilities->key(L"URLAssociations"));
    EXPECT_EQ(key_with({text_value(L"Vantrel", L"Software\\Vantrel\\Capabilities")}),
              user_key(L"Software\\RegisteredApplications"));
    EXPECT_FALSE(user_key(L"Software\\Vantrel\\PreviousHandlers"));

    // Nothing else in the user's registry changed.
    const char* const ours[] = {
        "[HKEY_CURRENT_USER\\Software\\Classes]",  // a fresh prefix has none
        "[HKEY_CURRENT_USER\\Software\\Classes\\thunder",
        "[HKEY_CURRENT_USER\\Software\\Classes\\flashget",
        "[HKEY_CURRENT_USER\\Software\\Classes\\qqdl",
        "[HKEY_CURRENT_USER\\Software\\Classes\\fs2you",
        "[HKEY_CURRENT_USER\\Software\\Classes\\Vantrel.Link",
        "[HKEY_CURRENT_USER\\Software\\Vantrel",
        "[HKEY_CURRENT_USER\\Software\\RegisteredApplications]",
    };
    std::istringstream changes(export_difference(before, export_user_software()));
    for (std::string line; std::getline(changes, line);) {
        if (line[0] != '[') continue;
        EXPECT_TRUE(std::any_of(std::begin(ours), std::end(ours),
                                [&](const char* key) { return line.rfind(key, 0) == 0; }))
            << "changed: " << line;
    }

    const RunResult unregistered = run(command(program_, {L"--unregister-schemes"}));
    EXPECT_EQ(0u, unregistered.exit_code);
    EXPECT_EQ("", unregistered.error);
    EXPECT_EQ("", export_difference(before, export_user_software()));
}

TEST_F(SchemeRegistration, AnotherProgramsHandlerIsSavedWholeAndComesBackExactly) {
    for (const wchar_t* scheme : {L"thunder", L"qqdl"}) {
        ASSERT_TRUE(vantrel::write_registry_tree(HKEY_CURRENT_USER, vantrel::scheme_key(scheme),
                                                 foreign_handler(scheme)));
    }
    const std::string before = export_user_software();

    // Twice: a second registration keeps the saved handler, not Vantrel's own.
    for (int time = 0; time < 2; ++time) {
        EXPECT_EQ(0u, run(command(program_, {L"--register-schemes"})).exit_code);
    }
    for (const wchar_t* scheme : {L"thunder", L"qqdl"}) {
        EXPECT_EQ(foreign_handler(scheme), user_key(vantrel::previous_handler_key(scheme)));
        EXPECT_EQ(key_with({text_value(L"", L"URL:" + std::wstring(scheme) + L" Protocol"),
                            text_value(L"URL Protocol", L"")},
                           handler_keys(program_)),
                  user_key(vantrel::scheme_key(scheme)));
    }
    EXPECT_FALSE(user_key(vantrel::previous_handler_key(L"flashget")));

    EXPECT_EQ(0u, run(command(program_, {L"--unregister-schemes"})).exit_code);
    for (const wchar_t* scheme : {L"thunder", L"qqdl"}) {
        EXPECT_EQ(foreign_handler(scheme), user_key(vantrel::scheme_key(scheme)));
    }
    EXPECT_EQ("", export_difference(before, export_user_software()));
}

TEST_F(SchemeRegistration, UnregisteringWithNothingRegisteredChangesNothing) {
    ASSERT_TRUE(vantrel::write_registry_tree(HKEY_CURRENT_USER, vantrel::scheme_key(L"flashget"),
                                             foreign_handler(L"flashget")));
    const std::string before = export_user_software();
    const RunResult unregistered = run(command(program_, {L"--unregister-schemes"}));
    EXPECT_EQ(0u, unregistered.exit_code);
    EXPECT_EQ("", unregistered.error);
    EXPECT_EQ("", export_difference(before, export_user_software()));
}

// Keys that refuse a change half-way and at the very end of the registration: the run
// fails with exit code 1, names the key on standard error and takes back what it wrote.
TEST_F(SchemeRegistration, ARefusedWriteLeavesTheRegistryAsItWas) {
    // Everyone may do everything with the key but change it. (Wine lets a key be deleted
    // whatever its access rules say.)
    constexpr wchar_t kLocked[] = L"D:P(D;;0x6;;;WD)(A;;KA;;;WD)";
    auto lock = [&](const std::wstring& path, const RegistryTree& content) {
        return vantrel::write_registry_tree(HKEY_CURRENT_USER, path, content) &&
               registration_test::set_key_access(narrow(path), kLocked);
    };
    struct Case {
        std::wstring refusing;  // the key named on standard error
        std::function<bool()> prepare;
    };
    const Case cases[] = {
        // No key that outlives the session can be made below a volatile key.
        {vantrel::kVantrelKey,
         [] {
             HKEY key = nullptr;
             if (RegCreateKeyExW(HKEY_CURRENT_USER, vantrel::kVantrelKey, 0, nullptr,
                                 REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key,
                                 nullptr) != ERROR_SUCCESS) {
                 return false;
             }
             RegCloseKey(key);
             return true;
         }},
        {vantrel::kRegisteredApplicationsKey,
         [&] {
             return lock(vantrel::kRegisteredApplicationsKey,
                         key_with({text_value(L"Other", L"Software\\Other\\Capabilities")}));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.refusing));
        ASSERT_TRUE(vantrel::write_registry_tree(HKEY_CURRENT_USER, vantrel::scheme_key(L"qqdl"),
                                                 foreign_handler(L"qqdl")));
        ASSERT_TRUE(c.prepare());
        const std::string before = export_user_software();

        const RunResult registered = run(command(program_, {L"--register-schemes"}));
        EXPECT_EQ(1u, registered.exit_code);
        EXPECT_NE(std::string::npos, registered.error.find(narrow(c.refusing))) << registered.error;
        EXPECT_EQ("", export_difference(before, export_user_software()));
        EXPECT_EQ(foreign_handler(L"qqdl"), user_key(vantrel::scheme_key(L"qqdl")));
        undo_everything();
    }
}

}  // namespace
}  // namespace url_scheme_test
