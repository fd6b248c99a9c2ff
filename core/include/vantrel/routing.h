// Where a link taken from the clipboard or a drop goes: plain addresses ("http://") into
// the converted-address box, encoded links of the four schemes into the encoded-address
// box, anything else nowhere. Byte for byte, case-sensitive, nothing trimmed.
#pragma once

#include "vantrel/text.h"

namespace vantrel {

enum class TargetBox { none, encoded, plain };

TargetBox route_link(std::string_view text);           // the whole routing table
bool is_plain_address(std::string_view text);          // row 1: "http://"
bool is_encoded_link(std::string_view text);           // rows 2 to 5

}  // namespace vantrel
