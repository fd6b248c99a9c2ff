// Finishing a plain address for the world outside Chinese Windows: what its bytes are, a form
// that any downloader can request, and the name of the file it points at. Turning bytes into
// display text (code page 936 or UTF-8 into Unicode) is the platform's job, not this one.
#pragma once

#include <string_view>

#include "vantrel/text.h"

namespace vantrel {

enum class Charset { ascii, utf8, gbk };

// ascii: no byte >= 0x80; utf8: valid UTF-8 (shortest forms, no surrogates, at most
// U+10FFFF) with non-ASCII bytes; gbk: anything else, shown as code page 936.
Charset charset_of(std::string_view bytes);
const char* charset_name(Charset charset);  // "ascii", "utf-8", "gbk"

// Every byte >= 0x80, every control byte (< 0x20, 0x7F), space and "<>\^`{|} written as %XX
// (upper-case hex); all other bytes, existing %XX included, stay as they are.
Text ascii_form(std::string_view address);

// The last segment of the address's path (before '?' or '#'), percent-decoded, as bytes.
// Empty when the path ends with '/', when there is no path after the host, and for "." and
// "..". A byte that cannot stand in a file name (a control byte, '/' or '\') stays written
// as %XX, whether it came from a %XX or stood there, so the name is always one plain segment.
Text file_name_of(std::string_view address);

}  // namespace vantrel
