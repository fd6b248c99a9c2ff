#include "registry_tree.h"

#include <cstring>
#include <cwchar>

#include "vantrel/win/owned.h"

namespace vantrel {

namespace {

OwnedKey open_key(HKEY root, const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return OwnedKey();
    return OwnedKey(key);
}

OwnedKey create_key(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE | KEY_READ, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return OwnedKey();
    }
    return OwnedKey(key);
}

bool set_value(HKEY key, const RegistryValue& value) {
    return RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

// Reads the values and subkeys of an open key. The sizes are asked for once; a key that
// changes while it is read fails the read rather than giving half of it.
bool read_open_key(HKEY key, RegistryTree& tree) {
    DWORD subkeys = 0, longest_subkey = 0, values = 0, longest_name = 0, longest_data = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longest_subkey, nullptr,
                         &values, &longest_name, &longest_data, nullptr,
                         nullptr) != ERROR_SUCCESS) {
        return false;
    }
    std::wstring name(longest_name + 1, L'\0');
    for (DWORD i = 0; i < values; ++i) {
        RegistryValue value;
        DWORD name_length = longest_name + 1;
        DWORD size = longest_data;
        value.data.resize(longest_data);
        if (RegEnumValueW(key, i, name.data(), &name_length, nullptr, &value.type,
                          value.data.data(), &size) != ERROR_SUCCESS) {
            return false;
        }
        value.name.assign(name.data(), name_length);
        value.data.resize(size);
        tree.values.push_back(std::move(value));
    }
    std::wstring subkey(longest_subkey + 1, L'\0');
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD length = longest_subkey + 1;
        if (RegEnumKeyExW(key, i, subkey.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return false;
        }
        const std::wstring child(subkey.data(), length);
        OwnedKey opened = open_key(key, child, KEY_READ);
        RegistryTree below;
        if (!opened.get() || !read_open_key(opened.get(), below)) return false;
        tree.keys.emplace_back(child, std::move(below));
    }
    return true;
}

bool write_open_key(HKEY key, const RegistryTree& tree) {
    for (const RegistryValue& value : tree.values) {
        if (!set_value(key, value)) return false;
    }
    for (const auto& [name, below] : tree.keys) {
        OwnedKey child = create_key(key, name);
        if (!child.get() || !write_open_key(child.get(), below)) return false;
    }
    return true;
}

}  // namespace

const RegistryValue* RegistryTree::value(const std::wstring& name) const {
    for (const RegistryValue& candidate : values) {
        if (candidate.name == name) return &candidate;
    }
    return nullptr;
}

const RegistryTree* RegistryTree::key(const std::wstring& path) const {
    const std::size_t slash = path.find(L'\\');
    const std::wstring first = path.substr(0, slash);
    for (const auto& [name, below] : keys) {
        if (CompareStringOrdinal(name.c_str(), -1, first.c_str(), -1, TRUE) != CSTR_EQUAL) {
            continue;
        }
        return slash == std::wstring::npos ? &below : below.key(path.substr(slash + 1));
    }
    return nullptr;
}

RegistryValue text_value(const std::wstring& name, const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {name, REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

std::optional<std::wstring> text_of(const RegistryValue& value) {
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), value.data.data(), text.size() * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::optional<RegistryTree> read_registry_tree(HKEY root, const std::wstring& path) {
    OwnedKey key = open_key(root, path, KEY_READ);
    RegistryTree tree;
    if (!key.get() || !read_open_key(key.get(), tree)) return std::nullopt;
    return tree;
}

bool write_registry_tree(HKEY root, const std::wstring& path, const RegistryTree& tree) {
    OwnedKey key = create_key(root, path);
    return key.get() && write_open_key(key.get(), tree);
}

bool delete_registry_tree(HKEY root, const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(root, path.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
    const LSTATUS removed = RegDeleteKeyW(root, path.c_str());
    return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
}

bool registry_key_exists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    const LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (status == ERROR_SUCCESS) RegCloseKey(key);
    return status != ERROR_FILE_NOT_FOUND;
}

bool registry_key_is_empty(HKEY root, const std::wstring& path) {
    OwnedKey key = open_key(root, path, KEY_READ);
    DWORD subkeys = 0, values = 0;
    return key.get() &&
           RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                            &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

std::optional<RegistryValue> read_registry_value(HKEY root, const std::wstring& path,
                                                 const std::wstring& name) {
    OwnedKey key = open_key(root, path, KEY_QUERY_VALUE);
    if (!key.get()) return std::nullopt;
    RegistryValue value{name, REG_NONE, {}};
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

bool write_registry_value(HKEY root, const std::wstring& path, const RegistryValue& value) {
    OwnedKey key = create_key(root, path);
    return key.get() && set_value(key.get(), value);
}

bool delete_registry_value(HKEY root, const std::wstring& path, const std::wstring& name) {
    OwnedKey key = open_key(root, path, KEY_SET_VALUE);
    if (!key.get()) {
        return !read_registry_value(root, path, name);  // no key: no value either
    }
    const LSTATUS status = RegDeleteValueW(key.get(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace vantrel
