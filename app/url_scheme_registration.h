// Making Vantrel the handler of thunder://, flashget://, qqdl:// and fs2you:// links for the
// current user, and taking that back. Registration writes, under HKEY_CURRENT_USER, each
// scheme's key (URL protocol, icon, open command), the ProgID Vantrel.Link, the Default-Apps
// capabilities and the registered-applications entry, after saving another program's handler
// of a scheme whole. Unregistration removes what registration wrote and puts saved handlers
// back. Either completes or leaves the registry as it found it.
#pragma once

#include <string>

namespace vantrel {

// The open command of the schemes and of the ProgID: "<program>" "%1".
std::wstring open_command(const std::wstring& program);
// True when the command's program (its first, possibly quoted, word) is a file named
// vantrel.exe, in any case and any folder.
bool names_vantrel(const std::wstring& command);

// Both tell the shell that associations changed when they succeed. On failure the registry is
// back as it was and failed_key names the key that refused the change.
bool register_url_schemes(const std::wstring& program, std::wstring& failed_key);
bool unregister_url_schemes(std::wstring& failed_key);

}  // namespace vantrel
