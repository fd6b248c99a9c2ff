// Where the URL-scheme handlers live in the registry, all under HKEY_CURRENT_USER: the four
// schemes' keys, the ProgID, the Default-Apps capabilities, the registered-applications entry
// and the saved handlers of other programs.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

inline constexpr wchar_t kClassesKey[] = L"Software\\Classes";
inline constexpr wchar_t kProgId[] = L"Vantrel.Link";
inline constexpr wchar_t kVantrelKey[] = L"Software\\Vantrel";
inline constexpr wchar_t kCapabilitiesKey[] = L"Software\\Vantrel\\Capabilities";
inline constexpr wchar_t kUrlAssociationsKey[] = L"URLAssociations";  // below the capabilities
inline constexpr wchar_t kPreviousHandlersKey[] = L"Software\\Vantrel\\PreviousHandlers";
inline constexpr wchar_t kRegisteredApplicationsKey[] = L"Software\\RegisteredApplications";
inline constexpr wchar_t kRegisteredApplicationName[] = L"Vantrel";
// Under kVantrelKey while registered: the keys above that registration had to create, so that
// unregistration removes them again when they are empty (REG_MULTI_SZ).
inline constexpr wchar_t kCreatedKeysValue[] = L"CreatedKeys";

// Below a scheme's key and below the ProgID.
inline constexpr wchar_t kUrlProtocolValue[] = L"URL Protocol";
inline constexpr wchar_t kDefaultIconKey[] = L"DefaultIcon";
inline constexpr wchar_t kOpenCommandKey[] = L"shell\\open\\command";

// The URL schemes of the four link kinds, lower-case as browsers and the shell name them
// ("thunder", "flashget", "qqdl", "fs2you"), from the core's table of schemes.
std::vector<std::wstring> url_scheme_names();

inline std::wstring scheme_key(const std::wstring& scheme) {
    return std::wstring(kClassesKey) + L"\\" + scheme;
}
inline std::wstring prog_id_key() {
    return std::wstring(kClassesKey) + L"\\" + kProgId;
}
inline std::wstring previous_handler_key(const std::wstring& scheme) {
    return std::wstring(kPreviousHandlersKey) + L"\\" + scheme;
}

}  // namespace vantrel
