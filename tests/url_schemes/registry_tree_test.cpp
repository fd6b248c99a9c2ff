// A registry key tree read into memory and written back: every value type, odd data and
// nested keys come back byte for byte.
#include <gtest/gtest.h>

#include "registry_tree.h"

namespace vantrel {
namespace {

constexpr wchar_t kTestKey[] = L"Software\\VantrelRegistryTreeTest";

class RegistryTreeTest : public ::testing::Test {
  protected:
    void SetUp() override { delete_registry_tree(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { delete_registry_tree(HKEY_CURRENT_USER, kTestKey); }
};

RegistryValue raw_value(const std::wstring& name, DWORD type, const std::string& bytes) {
    return {name, type, std::vector<BYTE>(bytes.begin(), bytes.end())};
}

// Every value type, empty data, a text without its terminating zero, a zero inside a text, a
// name with a Chinese character, and keys three deep with an empty one among them.
RegistryTree sample_tree() {
    RegistryTree leaf;
    leaf.values = {text_value(L"", L"\"C:\\Thunder\\Thunder.exe\" \"%1\"")};
    RegistryTree command;
    command.keys = {{L"command", leaf}};
    RegistryTree shell;
    shell.keys = {{L"open", command}, {L"empty", RegistryTree{}}};
    RegistryTree tree;
    tree.values = {
        text_value(L"", L"URL:thunder Protocol"),
        text_value(L"URL Protocol", L""),
        raw_value(L"expand", REG_EXPAND_SZ, std::string("%\0T\0E\0M\0P\0%\0\0\0", 14)),
        raw_value(L"multi", REG_MULTI_SZ, std::string("a\0\0\0b\0\0\0\0\0", 10)),
        raw_value(L"binary", REG_BINARY, std::string("\x00\xFF\x10", 3)),
        raw_value(L"dword", REG_DWORD, std::string("\x78\x56\x34\x12", 4)),
        raw_value(L"qword", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)),
        raw_value(L"none", REG_NONE, ""),
        raw_value(L"unterminated", REG_SZ, std::string("a\0b\0", 4)),
        raw_value(L"zero inside", REG_SZ, std::string("a\0\0\0b\0\0\0", 8)),
        text_value(L"\u8FC5\u96F7", L"\u8FC5\u96F7"),
    };
    tree.keys = {{L"shell", shell}, {L"DefaultIcon", RegistryTree{}}};
    return tree;
}

TEST_F(RegistryTreeTest, ATreeWrittenAndReadBackIsTheSame) {
    const RegistryTree tree = sample_tree();
    ASSERT_TRUE(write_registry_tree(HKEY_CURRENT_USER, kTestKey, tree));
    const std::optional<RegistryTree> read = read_registry_tree(HKEY_CURRENT_USER, kTestKey);
    ASSERT_TRUE(read);
    // The registry enumerates in its own order; compare value by value and key by key.
    ASSERT_EQ(tree.values.size(), read->values.size());
    for (const RegistryValue& value : tree.values) {
        const RegistryValue* found = read->value(value.name);
        ASSERT_NE(nullptr, found) << testing::PrintToString(value.name);
        EXPECT_EQ(value.type, found->type) << testing::PrintToString(value.name);
        EXPECT_EQ(value.data, found->data) << testing::PrintToString(value.name);
    }
    ASSERT_NE(nullptr, read->key(L"shell\\open\\command"));
    EXPECT_EQ(*tree.key(L"shell\\open\\command"), *read->key(L"shell\\open\\command"));
    ASSERT_NE(nullptr, read->key(L"SHELL\\Empty"));  // names in any case, as the registry
    EXPECT_EQ(RegistryTree{}, *read->key(L"shell\\empty"));
    EXPECT_EQ(RegistryTree{}, *read->key(L"DefaultIcon"));
}

TEST_F(RegistryTreeTest, DeletingTakesTheWholeTreeAndAMissingKeyIsNoError) {
    ASSERT_TRUE(write_registry_tree(HKEY_CURRENT_USER, kTestKey, sample_tree()));
    EXPECT_TRUE(delete_registry_tree(HKEY_CURRENT_USER, kTestKey));
    EXPECT_FALSE(read_registry_tree(HKEY_CURRENT_USER, kTestKey));
    EXPECT_TRUE(delete_registry_tree(HKEY_CURRENT_USER, kTestKey));
    EXPECT_FALSE(registry_key_is_empty(HKEY_CURRENT_USER, kTestKey));  // missing is not empty
}

TEST_F(RegistryTreeTest, TextsAreReadUpToTheirFirstZeroAndOnlyFromTextTypes) {
    EXPECT_EQ(L"abc", text_of(text_value(L"", L"abc")));
    EXPECT_EQ(L"a", text_of(raw_value(L"", REG_SZ, std::string("a\0\0\0b\0\0\0", 8))));
    EXPECT_EQ(L"a", text_of(raw_value(L"", REG_EXPAND_SZ, std::string("a\0", 2))));
    EXPECT_EQ(L"", text_of(raw_value(L"", REG_SZ, "")));
    EXPECT_EQ(L"", text_of(raw_value(L"", REG_SZ, "a")));  // an odd byte is no character
    EXPECT_FALSE(text_of(raw_value(L"", REG_BINARY, std::string("a\0", 2))));
    EXPECT_FALSE(text_of(raw_value(L"", REG_DWORD, std::string("\0\0\0\0", 4))));
}

}  // namespace
}  // namespace vantrel
