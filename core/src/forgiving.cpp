// Forgiving reading: trimming, one percent-decoding, the scheme name in any case, whitespace
// in the body, the browser's trailing '/', and nested links. Every step is one pass over the
// text.
#include "vantrel/forgiving.h"

#include <utility>

#include "percent_escapes.h"

namespace vantrel {

namespace {

constexpr std::string_view kSeparator = "://";
constexpr std::string_view kEncodedColon = "%3a";  // compared in any case

bool is_ascii_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool holds_escape(std::string_view s) {
    for (std::size_t i = s.find('%'); i != std::string_view::npos; i = s.find('%', i + 1)) {
        if (is_percent_escape_at(s, i)) return true;
    }
    return false;
}

// Every %XX as its byte; nullopt when one of them is a zero byte, which no text may hold.
std::optional<Text> percent_decoded(std::string_view s) {
    Text out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!is_percent_escape_at(s, i)) {
            out += s[i];
            continue;
        }
        const unsigned char value = percent_escape_value(s, i);
        if (value == 0) return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && is_ascii_space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_ascii_space(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view unquoted(std::string_view s) {
    if (s.size() < 2) return s;
    const char open = s.front(), close = s.back();
    if ((open == '"' && close == '"') || (open == '\'' && close == '\'') ||
        (open == '<' && close == '>')) {
        return s.substr(1, s.size() - 2);
    }
    return s;
}

// The scheme name of a prefix: "Flashget://" -> "flashget".
std::string_view scheme_name(const SchemeInfo& info) {
    return info.url_scheme;
}

// The scheme whose name (in any case) the text begins with.
const SchemeInfo* scheme_named_at_start(std::string_view s) {
    for (const SchemeInfo& info : kSchemes) {
        if (text_starts_with_any_case(s, info.url_scheme)) return &info;
    }
    return nullptr;
}

Text without_spaces(std::string_view s) {
    Text out;
    out.reserve(s.size());
    for (char c : s) {
        if (!is_ascii_space(c)) out += c;
    }
    return out;
}

// A browser appends '/' to a link it takes for a web address. A Base64 body is never 1 more
// than a multiple of 4 long, and a FlashGet link's text after its '&' is not Base64 at all.
bool ends_with_browser_slash(std::string_view body) {
    return !body.empty() && body.back() == '/' &&
           (body.find('&') != std::string_view::npos || body.size() % 4 == 1);
}

// True when the address begins like a link of the four schemes: a scheme name (any case) and
// a ':' or its encoding.
bool begins_like_link(std::string_view address) {
    const SchemeInfo* info = scheme_named_at_start(address);
    if (!info) return false;
    const std::string_view after = address.substr(scheme_name(*info).size());
    return (!after.empty() && after.front() == ':') ||
           text_starts_with_any_case(after, kEncodedColon);
}

}  // namespace

std::optional<CanonicalLink> read_link_forgivingly(std::string_view raw) {
    if (raw.find('\0') != std::string_view::npos) return std::nullopt;
    std::string_view text = trimmed(unquoted(trimmed(raw)));
    const SchemeInfo* info = scheme_named_at_start(text);
    if (!info) return std::nullopt;
    const std::size_t name_size = scheme_name(*info).size();

    // The scheme name holds no '%', so decoding leaves it where it is.
    std::optional<Text> decoded;
    if (holds_escape(text.substr(name_size))) {
        decoded = percent_decoded(text);
        if (!decoded) return std::nullopt;
        text = *decoded;
    }
    const std::string_view after_name = text.substr(name_size);
    if (after_name.substr(0, kSeparator.size()) != kSeparator) return std::nullopt;

    Text body = without_spaces(after_name.substr(kSeparator.size()));
    if (ends_with_browser_slash(body)) body.pop_back();
    return CanonicalLink{info->scheme, Text(info->prefix) + body};
}

std::optional<ForgivingConversion> convert_forgivingly(std::string_view raw,
                                                       std::optional<Scheme> scheme) {
    std::optional<CanonicalLink> outer = read_link_forgivingly(raw);
    if (!outer || (scheme && outer->scheme != *scheme)) return std::nullopt;
    ForgivingConversion result{*outer, *outer, Text()};
    for (int level = 1;; ++level) {
        ConversionResult address = convert_link(result.inner.scheme, result.inner.link);
        if (!address) return std::nullopt;
        if (!begins_like_link(*address)) {
            result.address = std::move(*address);
            return result;
        }
        if (level == kMaxNestedLinks) return std::nullopt;
        std::optional<CanonicalLink> inner = read_link_forgivingly(*address);
        if (!inner) return std::nullopt;
        result.inner = std::move(*inner);
    }
}

}  // namespace vantrel
