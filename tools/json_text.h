// JSON string literals from UTF-8 text.
#pragma once

#include <string>
#include <string_view>

// Appends `utf8` as a quoted JSON string: '"' and '\' escaped, control characters as \uXXXX
// (or their short forms). The text must be valid UTF-8.
void append_json_string(std::string_view utf8, std::string& out);
