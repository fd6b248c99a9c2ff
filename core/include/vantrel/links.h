// The four link schemes: each turns the text of the encoded-address box into the text the
// converted-address box is to show, or reports the format error.
#pragma once

#include <functional>
#include <optional>

#include "vantrel/text.h"

namespace vantrel {

enum class Scheme { thunder, flashget, qqdl, rayfile };

struct SchemeInfo {
    Scheme scheme;
    const char* prefix;  // "thunder://", "Flashget://", "qqdl://", "fs2you://"
    const char* name;    // "thunder", "flashget", "qqdl", "rayfile"
    const char*
        url_scheme;  // the prefix's scheme in lower case: "thunder", "flashget", "qqdl", "fs2you"
};

// The four schemes in radio-button order.
extern const SchemeInfo kSchemes[4];
const SchemeInfo& scheme_info(Scheme scheme);

// The final text of the converted-address box, or nullopt for the format error
// (the link does not begin with the scheme's prefix).
using ConversionResult = std::optional<Text>;

// FlashGet shows its intermediate values in the converted-address box while it works
// (the still encoded body while it is decoded). The window layer passes a writer that
// puts each one into the box; the final text is the return value.
using BoxWriter = std::function<void(const Text&)>;

ConversionResult convert_thunder(std::string_view link);
ConversionResult convert_flashget(std::string_view link, const BoxWriter& intermediate = {});
ConversionResult convert_qqdl(std::string_view link);
ConversionResult convert_rayfile(std::string_view link);

ConversionResult convert_link(Scheme scheme, std::string_view link,
                              const BoxWriter& intermediate = {});

// Picks the scheme by the link's prefix (case-sensitive); nullopt when none matches.
std::optional<Scheme> scheme_of(std::string_view link);

}  // namespace vantrel
