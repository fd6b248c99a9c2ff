#include "url_scheme_keys.h"

#include "vantrel/links.h"

namespace vantrel {

std::vector<std::wstring> url_scheme_names() {
    std::vector<std::wstring> names;
    for (const SchemeInfo& info : kSchemes) {
        const std::string_view name = info.url_scheme;
        names.emplace_back(name.begin(), name.end());
    }
    return names;
}

}  // namespace vantrel
