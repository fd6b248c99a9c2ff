// Forgiving reading of links that arrive from outside the window (the command line, a browser,
// a file of links): the damage that copying, web pages and browsers do to a link is undone,
// and the strict converters run on what is left. The window's own paths never use this.
#pragma once

#include <optional>
#include <string_view>

#include "vantrel/links.h"
#include "vantrel/text.h"

namespace vantrel {

struct CanonicalLink {
    Scheme scheme;  // by the prefix
    Text link;      // the routing table's exact prefix ("thunder://", "Flashget://", "qqdl://",
                    // "fs2you://") + body
};

// Reads a link in these steps:
// 1. surrounding ASCII whitespace goes, then one pair of enclosing "...", '...' or <...>
//    and the whitespace just inside it;
// 2. when the text after the scheme name holds '%' and two hex digits ("thunder%3A%2F%2F...",
//    a body with "%2B"), the whole text is percent-decoded once (Base64 has no '%', so such a
//    sequence is always an encoding);
// 3. the scheme name, in any case, is rewritten to its exact prefix;
// 4. ASCII whitespace inside the body goes;
// 5. a browser's trailing '/' goes: when the body ends with '/' and either holds a '&' or is
//    1 more than a multiple of 4 long (which a Base64 body never is).
// nullopt when the text holds none of the four schemes, or holds a zero byte (also one that
// "%00" would give).
std::optional<CanonicalLink> read_link_forgivingly(std::string_view raw);

struct ForgivingConversion {
    CanonicalLink outer;  // the link as read (its scheme is the one reported to users)
    CanonicalLink inner;  // the innermost link after unwrapping nested links (== outer when
                          // not nested)
    Text address;         // the strict conversion of `inner`: the plain address
};

// How many links deep a conversion unwraps, the outer link included.
constexpr int kMaxNestedLinks = 4;

// Reads `raw` forgivingly, converts it with the strict converters, and while the address
// itself begins with one of the four schemes (any case) reads and converts it again, for at
// most kMaxNestedLinks links in all. With `scheme` given, the outer link must be of that
// scheme. nullopt: the format error, also when the address is still a link after the last
// level (it would otherwise be handed on as if it were an address).
std::optional<ForgivingConversion> convert_forgivingly(std::string_view raw,
                                                       std::optional<Scheme> scheme = std::nullopt);

}  // namespace vantrel
