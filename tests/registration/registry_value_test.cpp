// write_registry_value in the test's own process: where the path puts the value, the type and
// the bytes stored, missing keys created, other values left alone, and refused writes.
#include <gtest/gtest.h>

#include "context_menu_registration.h"
#include "support.h"

namespace registration_test {
namespace {

constexpr char kTestKey[] = "Software\\VantrelRegistrationTest";
constexpr char kTopValue[] = "VantrelRegistrationTestValue";

class RegistryValue : public ::testing::Test {
  protected:
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }
    static void clean() {
        delete_key_tree(kTestKey);
        RegDeleteValueA(HKEY_CURRENT_USER, kTopValue);
    }
};

std::string under_test_key(const std::string& rest) {
    return std::string(kTestKey) + rest;
}

TEST_F(RegistryValue, ThePathNamesTheKeyAndTheValueAtItsLastBackslash) {
    struct Case {
        std::string path;
        std::string key;  // under HKEY_CURRENT_USER; "" is HKEY_CURRENT_USER itself
        std::string name;
    };
    const Case cases[] = {
        // Every missing key above the value is created.
        {under_test_key("\\a\\b\\c\\name"), under_test_key("\\a\\b\\c"), "name"},
        // A trailing backslash: the key's default value.
        {under_test_key("\\a\\"), under_test_key("\\a"), ""},
        // No backslash: a value directly under HKEY_CURRENT_USER.
        {kTopValue, "", kTopValue},
        // "乗" is 81 5C: its second byte splits nothing, in a key's name or in a value's.
        {under_test_key("\\\x81\x5C\\name"), under_test_key("\\\x81\x5C"), "name"},
        {under_test_key("\\d\\\x81\x5C"), under_test_key("\\d"), "\x81\x5C"},
        {under_test_key("\\&Q \xCF\xC2\xD4\xD8\\"), under_test_key("\\&Q \xCF\xC2\xD4\xD8"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string text = "value of " + c.path;
        ASSERT_TRUE(vantrel::write_registry_value(c.path, text));
        EXPECT_EQ(read_value(c.key, c.name), text_value(text));
    }
    // The key names are the characters, not bytes cut apart: 乗 is one key.
    vantrel::OwnedKey key;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VantrelRegistrationTest\\\u4E57", 0,
                            KEY_READ, key.receive()),
              ERROR_SUCCESS);
}

TEST_F(RegistryValue, TextsAreStoredWithTheirZeroAndNumbersAsDwords) {
    const std::string path = under_test_key("\\values\\");
    struct TextCase {
        const char* name;
        std::string text;
    };
    const TextCase texts[] = {
        {"empty", ""},
        {"plain", "C:\\Program Files\\Vantrel\\tavik_link.htm"},
        {"chinese", "C:\\\xCF\xC2\xD4\xD8\\vantrel.exe"},
    };
    for (const TextCase& c : texts) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(vantrel::write_registry_value(path + c.name, c.text));
        EXPECT_EQ(read_value(path, c.name), text_value(c.text));
    }
    struct NumberCase {
        const char* name;
        std::int32_t number;
        std::string bytes;
    };
    const NumberCase numbers[] = {
        {"contexts", 34, std::string("\x22\0\0\0", 4)},
        {"zero", 0, std::string(4, '\0')},
        {"negative", -2, "\xFE\xFF\xFF\xFF"},
        {"largest", 2147483647, "\xFF\xFF\xFF\x7F"},
    };
    for (const NumberCase& c : numbers) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(vantrel::write_registry_value(path + c.name, c.number));
        EXPECT_EQ(read_value(path, c.name), (Value{REG_DWORD, c.bytes}));
    }
}

TEST_F(RegistryValue, AWriteReplacesItsValueOnlyAndItsType) {
    const std::string key = under_test_key("\\k");
    ASSERT_TRUE(write_value(key, "other", text_value("stays")));
    ASSERT_TRUE(write_value(key, "contexts", text_value("not a number")));
    ASSERT_TRUE(vantrel::write_registry_value(key + "\\contexts", 34));
    ASSERT_TRUE(vantrel::write_registry_value(key + "\\", "page"));
    const auto values = read_values(key);
    ASSERT_TRUE(values);
    EXPECT_EQ(*values, (std::map<std::string, Value>{{"", text_value("page")},
                                                     {"contexts", dword_value(34)},
                                                     {"other", text_value("stays")}}));
}

TEST_F(RegistryValue, ARefusedWriteReportsFailureAndStoresNothing) {
    const std::string locked = under_test_key("\\locked");
    ASSERT_TRUE(write_value(locked, "before", text_value("x")));
    // Everyone may do anything but set values and create keys below it.
    ASSERT_TRUE(set_key_access(locked, L"D:P(D;;0x6;;;WD)(A;;KA;;;WD)"));
    EXPECT_FALSE(vantrel::write_registry_value(locked + "\\name", "text"));
    EXPECT_FALSE(vantrel::write_registry_value(locked + "\\", 34));
    EXPECT_EQ(read_values(locked), (std::map<std::string, Value>{{"before", text_value("x")}}));

    // A key that lasts beyond the session cannot be created below a volatile one.
    const std::string volatile_key = under_test_key("\\volatile");
    vantrel::OwnedKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, volatile_key.c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_WRITE, nullptr, key.receive(), nullptr),
              ERROR_SUCCESS);
    key.reset();
    EXPECT_FALSE(vantrel::write_registry_value(volatile_key + "\\below\\name", "text"));
    EXPECT_FALSE(key_exists(volatile_key + "\\below"));
}

}  // namespace
}  // namespace registration_test
