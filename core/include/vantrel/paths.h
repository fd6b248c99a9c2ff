// Paths in the ANSI code page. The last backslash is found by a scan that takes a lead byte
// (0x80..0xFF) together with the byte after it as one character, so that the second byte of
// a double-byte character (0x5C in many of them, e.g. "乗" = 81 5C in code page 936) is never
// taken for a backslash.
#pragma once

#include <string_view>

#include "vantrel/text.h"

namespace vantrel {

struct PathParts {
    Text head;  // everything before the last backslash; empty when there is none
    Text tail;  // everything after it; the whole path when there is no backslash
};

PathParts split_at_last_backslash(std::string_view path);

}  // namespace vantrel
