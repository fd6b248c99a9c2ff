// Code page 936 through glibc's iconv ("CP936", which like Windows maps 0x80 to the euro sign).
#include <iconv.h>

#include <cerrno>

#include "gbk_decoder.h"

namespace {

void* const kNoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t as_iconv(void* converter) {
    return static_cast<iconv_t>(converter);
}

}  // namespace

// The descriptor is opened at the first use, so that runs that never need it do not depend on
// glibc's code page tables.
GbkDecoder::GbkDecoder() : converter_(kNoConverter) {}

GbkDecoder::~GbkDecoder() {
    if (converter_ != kNoConverter) iconv_close(as_iconv(converter_));
}

void GbkDecoder::append_utf8(std::string_view bytes, std::string& out) {
    if (converter_ == kNoConverter) converter_ = iconv_open("UTF-8", "CP936");
    if (converter_ == kNoConverter) {
        // Without the tables (a glibc without its gconv modules) no byte >= 0x80 can be read.
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80) {
                out += c;
            } else {
                out += kReplacementCharacter;
            }
        }
        return;
    }
    iconv(as_iconv(converter_), nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    const std::size_t start = out.size();
    std::size_t used = start;
    // Each byte gives at most 3 bytes of UTF-8 (a replacement character or the euro sign).
    out.resize(start + 3 * bytes.size() + 4);
    while (in_left > 0) {
        char* target = out.data() + used;
        std::size_t target_left = out.size() - used;
        const std::size_t result =
            iconv(as_iconv(converter_), &in, &in_left, &target, &target_left);
        used = out.size() - target_left;
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL (cut off at the end): one byte becomes U+FFFD, then on.
        if (out.size() - used < kReplacementCharacter.size()) out.resize(out.size() * 2);
        out.replace(used, kReplacementCharacter.size(), kReplacementCharacter);
        used += kReplacementCharacter.size();
        ++in;
        --in_left;
        iconv(as_iconv(converter_), nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
}
