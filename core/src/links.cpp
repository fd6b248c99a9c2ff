// The four link schemes. Each checks its prefix (case-sensitive, nothing trimmed), decodes
// the rest of the link and applies the scheme's own clean-up.
#include "vantrel/links.h"

#include "vantrel/base64.h"

namespace vantrel {

const SchemeInfo kSchemes[4] = {
    {Scheme::thunder, "thunder://", "thunder", "thunder"},
    {Scheme::flashget, "Flashget://", "flashget", "flashget"},
    {Scheme::qqdl, "qqdl://", "qqdl", "qqdl"},
    {Scheme::rayfile, "fs2you://", "rayfile", "fs2you"},
};

const SchemeInfo& scheme_info(Scheme scheme) {
    for (const SchemeInfo& info : kSchemes) {
        if (info.scheme == scheme) return info;
    }
    return kSchemes[0];
}

namespace {

constexpr std::string_view kFlashgetMarker = "[FLASHGET]";
constexpr std::string_view kFlashgetEnd = "&";
constexpr std::int64_t kFlashgetBodyLimit = 1000;
constexpr std::string_view kRayfileSeparator = "|";
constexpr std::string_view kRayfileAddressPrefix = "http://";

// The link without its prefix (a view into the link), or nullopt when the link does not
// begin with it.
std::optional<std::string_view> body_after_prefix(std::string_view link, Scheme scheme) {
    const std::string_view prefix = scheme_info(scheme).prefix;
    if (!text_starts_with(link, prefix)) return std::nullopt;
    return link.substr(prefix.size());
}

Text decode_to_text(std::string_view body) {
    return to_text(decode_base64(body));
}

void write_box(const BoxWriter& box, const Text& text) {
    if (box) box(text);
}

}  // namespace

ConversionResult convert_thunder(std::string_view link) {
    const std::optional<std::string_view> body = body_after_prefix(link, Scheme::thunder);
    if (!body) return std::nullopt;
    const Text decoded = decode_to_text(*body);
    // Two bytes of decoration at each end, whatever they are.
    return text_mid(decoded, 3, text_length(decoded) - 4);
}

ConversionResult convert_flashget(std::string_view link, const BoxWriter& intermediate) {
    if (!body_after_prefix(link, Scheme::flashget)) return std::nullopt;
    const std::string_view prefix = scheme_info(Scheme::flashget).prefix;
    const int prefix_at = text_find(link, prefix);
    const int end_at = text_find(link, kFlashgetEnd);

    // Only the part before the first "&" counts, and of its body the first 1000 bytes.
    std::string_view link_part = link;
    Text before_end;
    if (end_at >= 1) {
        before_end = text_left(link, end_at - 1);
        write_box(intermediate, before_end);
        link_part = before_end;
    }
    const Text encoded = text_mid(link_part, prefix_at + text_length(prefix), kFlashgetBodyLimit);
    write_box(intermediate, encoded);
    const Text decoded = decode_to_text(encoded);
    write_box(intermediate, decoded);
    return text_replace(decoded, kFlashgetMarker);
}

ConversionResult convert_qqdl(std::string_view link) {
    const std::optional<std::string_view> body = body_after_prefix(link, Scheme::qqdl);
    if (!body) return std::nullopt;
    return decode_to_text(*body);
}

ConversionResult convert_rayfile(std::string_view link) {
    const std::optional<std::string_view> body = body_after_prefix(link, Scheme::rayfile);
    if (!body) return std::nullopt;
    const Text decoded = decode_to_text(*body);
    // The address is what comes before the first "|"; none at all leaves "http://" alone.
    const Text through_separator = text_left(decoded, text_find(decoded, kRayfileSeparator));
    const Text address = text_left(through_separator, text_length(through_separator) - 1);
    return text_concat({kRayfileAddressPrefix, address});
}

ConversionResult convert_link(Scheme scheme, std::string_view link, const BoxWriter& intermediate) {
    switch (scheme) {
        case Scheme::thunder:
            return convert_thunder(link);
        case Scheme::flashget:
            return convert_flashget(link, intermediate);
        case Scheme::qqdl:
            return convert_qqdl(link);
        case Scheme::rayfile:
            return convert_rayfile(link);
    }
    return std::nullopt;
}

std::optional<Scheme> scheme_of(std::string_view link) {
    for (const SchemeInfo& info : kSchemes) {
        if (text_starts_with(link, info.prefix)) return info.scheme;
    }
    return std::nullopt;
}

}  // namespace vantrel
