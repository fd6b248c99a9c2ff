// Fuzzes the text primitives: the input is split into a searched text, a sought text and a
// replacement. Properties: the cutting operations never exceed their bounds, to_text never
// holds a zero byte, and text_find and text_replace agree on where the first match is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "vantrel/reference.h"
#include "vantrel/text.h"

using namespace vantrel;
using namespace vantrel::reference;

namespace {

[[noreturn]] void fail() {
    std::abort();
}

// True when the text ends with a lead byte that is not the partner of the byte before it.
bool ends_with_dangling_lead_byte(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        if (!is_lead_byte(static_cast<unsigned char>(s[i]))) {
            ++i;
        } else if (i + 1 == s.size()) {
            return true;
        } else {
            i += 2;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int n = static_cast<std::int8_t>(data[0]);
    const std::size_t split = data[1];
    const std::size_t split2 = data[2];
    std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);

    const Bytes raw(rest.begin(), rest.end());
    const Text text = to_text(raw);
    if (text.find('\0') != Text::npos) fail();
    if (text != rest.substr(0, rest.find('\0'))) fail();

    std::string_view s = text;
    const std::string_view t = s.substr(0, std::min(split % 8, s.size()));
    s.remove_prefix(t.size());
    const std::string_view replacement = s.substr(0, std::min(split2 % 4, s.size()));
    s.remove_prefix(replacement.size());

    const int length = text_length(s);
    if (text_left(s, n).size() > static_cast<std::size_t>(std::max(0, std::min(n, length)))) fail();
    if (text_right(s, n).size() > static_cast<std::size_t>(std::max(0, std::min(n, length))))
        fail();
    const Text mid = text_mid(s, n, split);
    if (!mid.empty() && s.find(mid) == std::string_view::npos) fail();

    const int found = text_find(s, t);
    const Text replaced = text_replace(s, t, replacement);
    if (t.empty() || s.empty()) {
        if (replaced != s) fail();
    } else if (found == -1) {
        // Nothing matched: the text comes back as it was, except that a single-byte search
        // drops a lead byte left without its partner at the very end.
        const bool dangling = t.size() == 1 && ends_with_dangling_lead_byte(s);
        if (replaced != (dangling ? s.substr(0, s.size() - 1) : s)) fail();
    } else {
        const std::string_view before = s.substr(0, static_cast<std::size_t>(found - 1));
        if (replaced.compare(0, before.size(), before) != 0) fail();
        if (replaced.compare(before.size(), replacement.size(), replacement) != 0) fail();
    }

    const Text without_spaces = text_remove_spaces(s);
    if (without_spaces.size() > s.size()) fail();
    if (text_compare(s, s) != 0) fail();
    return 0;
}
