// What a registry key holds, read back for comparison: its values (REG_SZ data as text, other
// types as "<type N>") and the names of its subkeys.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>

namespace tavik_test {

struct KeyContent {
    bool exists = false;
    std::map<std::wstring, std::wstring> values;  // the default value under ""
    std::set<std::wstring> subkeys;
    bool operator==(const KeyContent& other) const {
        return exists == other.exists && values == other.values && subkeys == other.subkeys;
    }
};
void PrintTo(const KeyContent& content, std::ostream* out);

KeyContent read_key(HKEY root, const std::wstring& path);

// One value of the key, nullopt when the key or the value is missing.
std::optional<std::wstring> value_of(HKEY root, const std::wstring& path,
                                     const std::wstring& name = L"");

}  // namespace tavik_test
