// regsvr32 registers and unregisters tavik.dll: the class, its ProgIDs and its type library,
// with the class key replaced whole and the key CLSID never removed.
#include <gtest/gtest.h>

#include <string>

#include "registry_view.h"
#include "support.h"
#include "tavik_ids.h"

namespace tavik_test {
namespace {

#define CLASS_ID TAVIK_CLASS_ID
#define CLASS_KEY L"CLSID\\" CLASS_ID
#define LIBRARY_ID TAVIK_LIBRARY_ID
#define INTERFACE_ID TAVIK_INTERFACE_ID

#ifdef _WIN64
#define PLATFORM L"win64"
#else
#define PLATFORM L"win32"
#endif

std::wstring system_program(const wchar_t* name) {
    wchar_t directory[MAX_PATH] = {};
    GetSystemDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\" + name;
}

// regsvr32's exit code, with the options given, on tavik.dll.
std::optional<DWORD> regsvr32(const std::wstring& options) {
    Process process = Process::start(L"\"" + system_program(L"regsvr32.exe") + L"\" " + options +
                                     L" \"" + component_path() + L"\"");
    return process.wait_for_exit();
}

void set_text(const std::wstring& path, const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, path.c_str(), name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

KeyContent key(std::map<std::wstring, std::wstring> values, std::set<std::wstring> subkeys = {}) {
    return KeyContent{true, std::move(values), std::move(subkeys)};
}

class Registration : public ::testing::Test {
  protected:
    void TearDown() override { regsvr32(L"/s /u"); }
};

TEST_F(Registration, WritesExactlyTheClassEntriesAndReplacesTheClassKey) {
    // Left over from somewhere else: under the class key they go, under a ProgID key they stay.
    set_text(CLASS_KEY, L"Stray", L"stray value");
    set_text(CLASS_KEY L"\\Stray", nullptr, L"stray key");
    set_text(CLASS_KEY L"\\Programmable", L"Stray", L"stray value");
    set_text(L"Tavik.tavik_down", L"Kept", L"value of someone else");

    ASSERT_EQ(std::optional<DWORD>(0), regsvr32(L"/s"));

    const struct {
        const wchar_t* path;
        KeyContent content;
    } expected[] = {
        {L"Tavik.tavik_down.1", key({{L"", L"tavik_down Class"}}, {L"CLSID"})},
        {L"Tavik.tavik_down.1\\CLSID", key({{L"", CLASS_ID}})},
        {L"Tavik.tavik_down", key({{L"", L"tavik_down Class"}, {L"Kept", L"value of someone else"}},
                                  {L"CLSID", L"CurVer"})},
        {L"Tavik.tavik_down\\CLSID", key({{L"", CLASS_ID}})},
        {L"Tavik.tavik_down\\CurVer", key({{L"", L"Tavik.tavik_down.1"}})},
        {CLASS_KEY,
         key({{L"", L"tavik_down Class"}}, {L"InprocServer32", L"ProgID", L"Programmable",
                                            L"TypeLib", L"VersionIndependentProgID"})},
        {CLASS_KEY L"\\ProgID", key({{L"", L"Tavik.tavik_down.1"}})},
        {CLASS_KEY L"\\VersionIndependentProgID", key({{L"", L"Tavik.tavik_down"}})},
        {CLASS_KEY L"\\Programmable", key({})},
        {CLASS_KEY L"\\InprocServer32",
         key({{L"", component_path()}, {L"ThreadingModel", L"Apartment"}})},
        {CLASS_KEY L"\\TypeLib", key({{L"", LIBRARY_ID}})},
    };
    for (const auto& entry : expected) {
        EXPECT_EQ(entry.content, read_key(HKEY_CLASSES_ROOT, entry.path))
            << "HKEY_CLASSES_ROOT\\" << ansi(entry.path);
    }
}

TEST_F(Registration, RegistersTheTypeLibraryForTheAutomationMarshaler) {
    ASSERT_EQ(std::optional<DWORD>(0), regsvr32(L"/s"));

    using Text = std::optional<std::wstring>;
    EXPECT_EQ(Text(L"Tavik 1.0 Type Library"),
              value_of(HKEY_CLASSES_ROOT, L"TypeLib\\" LIBRARY_ID L"\\1.0"));
    EXPECT_EQ(Text(component_path()),
              value_of(HKEY_CLASSES_ROOT, L"TypeLib\\" LIBRARY_ID L"\\1.0\\0\\" PLATFORM));
    EXPECT_EQ(Text(L"Itavik_down"), value_of(HKEY_CLASSES_ROOT, L"Interface\\" INTERFACE_ID));
    EXPECT_EQ(Text(L"{00020424-0000-0000-C000-000000000046}"),  // the automation marshaler
              value_of(HKEY_CLASSES_ROOT, L"Interface\\" INTERFACE_ID L"\\ProxyStubClsid32"));
    EXPECT_EQ(Text(LIBRARY_ID),
              value_of(HKEY_CLASSES_ROOT, L"Interface\\" INTERFACE_ID L"\\TypeLib"));

    ITypeLib* library = nullptr;
    EXPECT_HR(S_OK, LoadRegTypeLib(LIBID_TAVIKLib, 1, 0, 0x804, &library));
    if (library) library->Release();
}

TEST_F(Registration, UnregisterRemovesAllButTheKeyClsid) {
    ASSERT_EQ(std::optional<DWORD>(0), regsvr32(L"/s"));
    ASSERT_EQ(std::optional<DWORD>(0), regsvr32(L"/s /u"));

    for (const wchar_t* path : {L"Tavik.tavik_down.1", L"Tavik.tavik_down", CLASS_KEY,
                                L"TypeLib\\" LIBRARY_ID, L"Interface\\" INTERFACE_ID}) {
        EXPECT_FALSE(read_key(HKEY_CLASSES_ROOT, path).exists)
            << "HKEY_CLASSES_ROOT\\" << ansi(path);
    }
    const KeyContent classes = read_key(HKEY_CLASSES_ROOT, L"CLSID");
    EXPECT_TRUE(classes.exists);
    EXPECT_FALSE(classes.subkeys.empty());
}

}  // namespace
}  // namespace tavik_test
