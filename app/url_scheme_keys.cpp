#include "url_scheme_keys.h"

#include "vantrel/links.h"
#include "vantrel/text.h"

namespace vantrel {

std::vector<std::wstring> url_scheme_names() {
    std::vector<std::wstring> names;
    for (const SchemeInfo& info : kSchemes) {
        std::wstring name;
        for (const char* c = info.prefix; *c && *c != ':'; ++c) {
            name += static_cast<wchar_t>(ascii_lower(*c));
        }
        names.push_back(name);
    }
    return names;
}

}  // namespace vantrel
