#include "registry_view.h"

#include "support.h"

namespace tavik_test {

void PrintTo(const KeyContent& content, std::ostream* out) {
    if (!content.exists) {
        *out << "(no key)";
        return;
    }
    *out << "values {";
    for (const auto& [name, data] : content.values) {
        *out << " \"" << ansi(name) << "\"=\"" << ansi(data) << "\"";
    }
    *out << " } subkeys {";
    for (const auto& name : content.subkeys)
        *out << " " << ansi(name);
    *out << " }";
}

KeyContent read_key(HKEY root, const std::wstring& path) {
    KeyContent content;
    vantrel::OwnedKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
        return content;
    }
    content.exists = true;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD name_length = 256;
        BYTE data[2048] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        if (RegEnumValueW(key.get(), index, name, &name_length, nullptr, &type, data, &size) !=
            ERROR_SUCCESS) {
            break;
        }
        content.values[name] = type == REG_SZ ? std::wstring(reinterpret_cast<wchar_t*>(data))
                                              : L"<type " + std::to_wstring(type) + L">";
    }
    for (DWORD index = 0;; ++index) {
        DWORD name_length = 256;
        if (RegEnumKeyExW(key.get(), index, name, &name_length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
            break;
        }
        content.subkeys.insert(name);
    }
    return content;
}

std::optional<std::wstring> value_of(HKEY root, const std::wstring& path,
                                     const std::wstring& name) {
    const KeyContent content = read_key(root, path);
    const auto value = content.values.find(name);
    if (value == content.values.end()) return std::nullopt;
    return value->second;
}

}  // namespace tavik_test
