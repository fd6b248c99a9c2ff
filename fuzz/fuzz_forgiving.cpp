// Fuzzes forgiving reading and the finishing of addresses. Properties:
// - a link that is read is canonical: the routing table takes it, its prefix names its scheme,
//   it holds no zero byte;
// - a conversion's outer and inner links are canonical, and the strict converter turns the
//   inner one into the address;
// - the ASCII form is printable ASCII without spaces; a file name is one segment without
//   control bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "vantrel/address.h"
#include "vantrel/forgiving.h"
#include "vantrel/routing.h"

using namespace vantrel;

namespace {

void check_canonical(const CanonicalLink& link) {
    if (route_link(link.link) != TargetBox::encoded) std::abort();
    if (scheme_of(link.link) != link.scheme) std::abort();
    if (link.link.find('\0') != Text::npos) std::abort();
}

void check_finishing(std::string_view address) {
    (void)charset_name(charset_of(address));
    for (char c : ascii_form(address)) {
        if (c <= 0x20 || c >= 0x7F) std::abort();
    }
    for (char c : file_name_of(address)) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const std::optional<CanonicalLink> read = read_link_forgivingly(input)) {
        check_canonical(*read);
    }
    if (const std::optional<ForgivingConversion> result = convert_forgivingly(input)) {
        check_canonical(result->outer);
        check_canonical(result->inner);
        if (convert_link(result->inner.scheme, result->inner.link) != result->address) std::abort();
        check_finishing(result->address);
    }
    check_finishing(input);
    return 0;
}
