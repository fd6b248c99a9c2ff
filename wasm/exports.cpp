// The C functions that the WebAssembly module exports: the one door from JavaScript into the
// core. vantrel.mjs is their only caller.
//
// Bytes cross by pointer and length: JavaScript asks vantrel_alloc for room, copies a link
// into it, and hands it to vantrel_convert, which returns a record (below) that JavaScript
// reads and gives back to vantrel_free. Names come back as pointers to zero-terminated static
// strings, so the scheme and charset names are written down once, in the core.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "vantrel/address.h"
#include "vantrel/forgiving.h"
#include "vantrel/links.h"

#define VANTREL_EXPORT(name) extern "C" __attribute__((export_name(name)))

namespace {

// The record vantrel_convert returns: ten 32-bit words, in this order, then the bytes they
// point to, all in one allocation. vantrel.mjs reads the words by these positions.
struct ConversionRecord {
    std::uint32_t ok;          // 1: converted; 0: the format error (every other word is 0)
    const char* scheme;        // the scheme's name ("thunder", "flashget", "qqdl", "rayfile")
    const char* charset;       // the address's charset name ("ascii", "utf-8", "gbk")
    const char* name_charset;  // the file name's charset name
    const char* address;       // the plain address, as the converter returns it
    std::uint32_t address_size;
    const char* ascii;  // the address with every byte a URL may not hold as %XX
    std::uint32_t ascii_size;
    const char* name;  // the file name's bytes
    std::uint32_t name_size;
};
static_assert(sizeof(ConversionRecord) == 40, "vantrel.mjs reads ten 32-bit words");

// Scheme codes are positions in kSchemes; the one past the last means "by the link's prefix".
constexpr std::uint32_t kAutomatic = std::size(vantrel::kSchemes);

struct Conversion {
    vantrel::Scheme scheme;
    vantrel::Text address;
};

// The strict conversion is exactly vantrel-convert's; the lenient one reads the link as
// browsers and pages damage it and unwraps nested links.
std::optional<Conversion> convert(std::uint32_t scheme_code, bool lenient, std::string_view link) {
    std::optional<vantrel::Scheme> scheme;
    if (scheme_code < kAutomatic) scheme = vantrel::kSchemes[scheme_code].scheme;
    if (lenient) {
        const auto result = vantrel::convert_forgivingly(link, scheme);
        if (!result) return std::nullopt;
        return Conversion{result->outer.scheme, result->address};
    }
    if (!scheme) scheme = vantrel::scheme_of(link);
    if (!scheme) return std::nullopt;
    vantrel::ConversionResult address = vantrel::convert_link(*scheme, link);
    if (!address) return std::nullopt;
    return Conversion{*scheme, std::move(*address)};
}

ConversionRecord* new_record(std::size_t payload) {
    void* memory = std::calloc(1, sizeof(ConversionRecord) + payload);
    return static_cast<ConversionRecord*>(memory);
}

// Copies `bytes` to `at` and returns where the copy starts; `at` moves past it.
const char* put(char*& at, std::string_view bytes, std::uint32_t& size) {
    const char* start = at;
    std::memcpy(at, bytes.data(), bytes.size());
    at += bytes.size();
    size = static_cast<std::uint32_t>(bytes.size());
    return start;
}

}  // namespace

VANTREL_EXPORT("vantrel_alloc") void* vantrel_alloc(std::uint32_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

VANTREL_EXPORT("vantrel_free") void vantrel_free(void* memory) {
    std::free(memory);
}

// The name and the exact prefix of scheme code `index` (the schemes' order), or null past the
// last one.
VANTREL_EXPORT("vantrel_scheme_name") const char* vantrel_scheme_name(std::uint32_t index) {
    return index < std::size(vantrel::kSchemes) ? vantrel::kSchemes[index].name : nullptr;
}

VANTREL_EXPORT("vantrel_scheme_prefix") const char* vantrel_scheme_prefix(std::uint32_t index) {
    return index < std::size(vantrel::kSchemes) ? vantrel::kSchemes[index].prefix : nullptr;
}

// Converts the `size` bytes at `link` (read up to the first zero byte, as vantrel-convert
// reads its input) with scheme code `scheme` (a position in kSchemes, or one past the last
// for the link's own prefix).
// Returns a record for vantrel_free, or null when memory ran out.
VANTREL_EXPORT("vantrel_convert")
ConversionRecord* vantrel_convert(std::uint32_t scheme, std::uint32_t lenient, const char* link,
                                  std::uint32_t size) {
    const std::string_view bytes(link, size);
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    const std::optional<Conversion> conversion = convert(scheme, lenient != 0, text);
    if (!conversion) return new_record(0);

    const vantrel::Text& address = conversion->address;
    const vantrel::Text ascii = vantrel::ascii_form(address);
    const vantrel::Text name = vantrel::file_name_of(address);
    ConversionRecord* record = new_record(address.size() + ascii.size() + name.size());
    if (!record) return nullptr;
    char* at = reinterpret_cast<char*>(record + 1);
    record->ok = 1;
    record->scheme = vantrel::scheme_info(conversion->scheme).name;
    record->charset = vantrel::charset_name(vantrel::charset_of(address));
    record->name_charset = vantrel::charset_name(vantrel::charset_of(name));
    record->address = put(at, address, record->address_size);
    record->ascii = put(at, ascii, record->ascii_size);
    record->name = put(at, name, record->name_size);
    return record;
}
