#include "vantrel/paths.h"

namespace vantrel {

PathParts split_at_last_backslash(std::string_view path) {
    std::size_t last = std::string_view::npos;
    for (std::size_t p = 0; p < path.size(); ++p) {
        const auto byte = static_cast<unsigned char>(path[p]);
        if (is_lead_byte(byte)) {
            ++p;  // its partner, whatever it is
        } else if (byte == '\\') {
            last = p;
        }
    }
    if (last == std::string_view::npos) return {Text(), Text(path)};
    return {Text(path.substr(0, last)), Text(path.substr(last + 1))};
}

}  // namespace vantrel
