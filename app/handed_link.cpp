#include "handed_link.h"

#include "vantrel/contract.h"
#include "vantrel/forgiving.h"

namespace vantrel {

Text link_text_of(const std::wstring& argument) {
    if (argument.empty()) return {};
    const int length = static_cast<int>(argument.size());
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, argument.data(), length,
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    Text bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, argument.data(), length, bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

std::optional<Text> link_from_copy_data(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kCopyDataLinkTag || data->cbData > kCopyDataLinkLimit) {
        return std::nullopt;
    }
    if (data->cbData == 0) return Text{};
    if (!data->lpData) return std::nullopt;
    const std::string_view bytes(static_cast<const char*>(data->lpData), data->cbData);
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    return Text(bytes);
}

HandedLink read_handed_link(std::string_view raw) {
    if (text_starts_with_any_case(raw, "http://") || text_starts_with_any_case(raw, "https://")) {
        return {HandedLink::Kind::plain, Text(raw), {}};
    }
    if (const std::optional<ForgivingConversion> converted = convert_forgivingly(raw)) {
        return {HandedLink::Kind::encoded, converted->inner.link, converted->inner.scheme};
    }
    // A link that reads as one of the four but does not convert goes in as it reads, and its
    // conversion shows the format error as a click would.
    if (const std::optional<CanonicalLink> link = read_link_forgivingly(raw)) {
        return {HandedLink::Kind::encoded, link->link, link->scheme};
    }
    return {};
}

}  // namespace vantrel
