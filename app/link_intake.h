// Taking links from the clipboard and from a drop: a plain address ("http://") goes into the
// plain address box, an encoded link of the four schemes into the encoded link box, anything
// else nowhere. Only the one box chosen is replaced, with the whole text; nothing is ever
// shown to the user.
#pragma once

#include "vantrel/text.h"
#include "window_layer.h"

namespace vantrel {

// True when the clipboard offers CF_TEXT (also by conversion from another text format).
bool clipboard_has_text();
// The clipboard's CF_TEXT up to its first zero byte; empty when the clipboard cannot be
// opened or holds no text.
Text clipboard_text();

// The whole routing table: start-up and the hand-off message.
void take_link_from_clipboard(WindowLayer& window);
// "http://" only, into the plain address box: its 粘贴获取 button, and the first half of
// showing the window.
void paste_plain_address(WindowLayer& window);
// The four schemes only, into the encoded link box: its 粘贴获取 button, and the second half of
// showing the window.
void paste_encoded_link(WindowLayer& window);
// A URL dropped on the main window: "http://" only, into the plain address box.
void take_dropped_link(WindowLayer& window, const Text& url);

}  // namespace vantrel
