// A registry key with everything below it, read into memory and written back exactly: every
// value with its type and its bytes, every subkey. Used to save another program's URL handler
// before Vantrel takes its place and to put it back, and to undo a registration that could not
// be completed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vantrel {

struct RegistryValue {
    std::wstring name;  // empty: the key's default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RegistryValue& other) const {
        return name == other.name && type == other.type && data == other.data;
    }
};

struct RegistryTree {
    std::vector<RegistryValue> values;
    std::vector<std::pair<std::wstring, RegistryTree>> keys;
    bool operator==(const RegistryTree& other) const {
        return values == other.values && keys == other.keys;
    }
    // The value of that name, or nullptr.
    const RegistryValue* value(const std::wstring& name) const;
    // The subkey at a backslash-separated path below this key, or nullptr.
    const RegistryTree* key(const std::wstring& path) const;
};

// The REG_SZ value with its terminating zero.
RegistryValue text_value(const std::wstring& name, const std::wstring& text);
// The text of a REG_SZ or REG_EXPAND_SZ value up to its first zero; nullopt for other types.
std::optional<std::wstring> text_of(const RegistryValue& value);

// The key at path under root with everything below it; nullopt when it does not exist or
// cannot be read whole.
std::optional<RegistryTree> read_registry_tree(HKEY root, const std::wstring& path);
// Creates the key (and any missing key above it) and writes the tree's values and subkeys
// into it, beside whatever it holds already. False at the first refused write.
bool write_registry_tree(HKEY root, const std::wstring& path, const RegistryTree& tree);
// Deletes the key with everything below it. True also when it did not exist.
bool delete_registry_tree(HKEY root, const std::wstring& path);
// True when the key exists (also when it cannot be opened for reading).
bool registry_key_exists(HKEY root, const std::wstring& path);
// True when the key exists and holds neither values nor subkeys.
bool registry_key_is_empty(HKEY root, const std::wstring& path);

// One value under root\path: read, written, deleted. Deleting a missing value succeeds.
std::optional<RegistryValue> read_registry_value(HKEY root, const std::wstring& path,
                                                 const std::wstring& name);
bool write_registry_value(HKEY root, const std::wstring& path, const RegistryValue& value);
bool delete_registry_value(HKEY root, const std::wstring& path, const std::wstring& name);

}  // namespace vantrel
