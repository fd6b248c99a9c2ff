// Links handed to the program on its command line (vantrel.exe LINK, as browsers start it),
// directly or through WM_COPYDATA from a second start. They are read forgivingly: browsers
// change the case of the scheme, percent-encode and add a trailing '/'.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "vantrel/links.h"
#include "vantrel/text.h"

namespace vantrel {

// A link from the command line as the window's boxes hold text: its bytes in the ANSI code
// page. Characters without an ANSI form become the default character, never a look-alike.
Text link_text_of(const std::wstring& argument);

// The link carried by a WM_COPYDATA message: only with kCopyDataLinkTag, at most
// kCopyDataLinkLimit bytes, read by its length, and without zero bytes. nullopt otherwise.
std::optional<Text> link_from_copy_data(const COPYDATASTRUCT* data);

// What a handed text becomes in the window.
struct HandedLink {
    enum class Kind { ignored, encoded, plain } kind = Kind::ignored;
    Text text;           // encoded: the canonical link for 编辑框1; plain: the address as it is
    Scheme scheme = {};  // encoded: the scheme whose radio button converts it
};

// An http:// or https:// address is taken as it is; a link of the four schemes in its canonical
// form, unwrapped to its innermost link when it wraps another one, so that one conversion
// shows the plain address; anything else is ignored.
HandedLink read_handed_link(std::string_view raw);

}  // namespace vantrel
