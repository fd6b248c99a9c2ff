// vantrel-convert: the link converters and the Base64 decoder on the command line.
//
//   vantrel-convert SCHEME [LINK]   SCHEME: thunder, flashget, qqdl, rayfile or auto
//   vantrel-convert base64
//   vantrel-convert --help
//
// Bytes pass through unchanged in both directions; nothing is re-encoded.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "vantrel/base64.h"
#include "vantrel/links.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFormatError = 2;
constexpr int kExitUsage = 64;    // EX_USAGE
constexpr int kExitIoError = 74;  // EX_IOERR

constexpr std::string_view kFormatError =
    "\xE6\xA0\xBC\xE5\xBC\x8F\xE9\x94\x99\xE8\xAF\xAF\xEF\xBC\x81"              // 格式错误！
    "\xE8\xAF\xB7\xE8\xBE\x93\xE5\x85\xA5\xE6\xAD\xA3\xE7\xA1\xAE\xE7\x9A\x84"  // 请输入正确的
    "\xE5\x9C\xB0\xE5\x9D\x80\xEF\xBC\x81";                                     // 地址！

constexpr const char kUsage[] =
    "usage: vantrel-convert SCHEME [LINK]\n"
    "       vantrel-convert base64\n"
    "       vantrel-convert --help\n";

constexpr const char kHelp[] =
    "Converts an encoded download link into its plain address, as the converted-address\n"
    "box of Vantrel shows it.\n"
    "\n"
    "  vantrel-convert SCHEME [LINK]\n"
    "      SCHEME is thunder (thunder://), flashget (Flashget://), qqdl (qqdl://),\n"
    "      rayfile (fs2you://) or auto, which picks the scheme by the link's prefix\n"
    "      (case-sensitive). LINK is the text of the encoded-address box; without it the\n"
    "      whole of standard input is read, byte for byte, nothing stripped, and cut at its\n"
    "      first zero byte.\n"
    "      On success the final text of the converted-address box goes to standard output,\n"
    "      byte for byte, followed by one newline; exit status 0.\n"
    "      A link without the scheme's prefix (for auto: without any known prefix) is a\n"
    "      format error: nothing on standard output, the message\n"
    "      \"\xE6\xA0\xBC\xE5\xBC\x8F\xE9\x94\x99\xE8\xAF\xAF\xEF\xBC\x81\xE8\xAF\xB7\xE8\xBE\x93"
    "\xE5\x85\xA5\xE6\xAD\xA3\xE7\xA1\xAE\xE7\x9A\x84\xE5\x9C\xB0\xE5\x9D\x80\xEF\xBC\x81\" "
    "(UTF-8) on standard error; exit status 2.\n"
    "\n"
    "  vantrel-convert base64\n"
    "      Decodes standard input (cut at its first zero byte) with the link decoder's own\n"
    "      Base64 rules and writes the raw bytes to standard output, nothing added;\n"
    "      exit status 0.\n"
    "\n"
    "  vantrel-convert --help\n"
    "      Shows this text on standard output; exit status 0.\n"
    "\n"
    "Bytes are not re-encoded: links and addresses are bytes of the ANSI code page (936 on\n"
    "Chinese Windows) and pass through unchanged.\n"
    "Other exit statuses: 64 for a usage error (message on standard error), 74 when\n"
    "standard input cannot be read or standard output cannot be written.\n";

bool read_all(std::FILE* in, std::string& out) {
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        out.append(buffer, got);
    return !std::ferror(in);
}

bool write_all(std::FILE* out, const void* data, std::size_t size) {
    return (size == 0 || std::fwrite(data, 1, size, out) == size) && std::fflush(out) == 0;
}

// Standard input as a text: everything up to its first zero byte.
std::optional<std::string> read_stdin_text() {
    std::string all;
    if (!read_all(stdin, all)) return std::nullopt;
    all.resize(std::strlen(all.c_str()));
    return all;
}

int io_error(const char* what) {
    std::fprintf(stderr, "vantrel-convert: cannot %s\n", what);
    return kExitIoError;
}

int usage_error(const char* problem) {
    std::fprintf(stderr, "vantrel-convert: %s\n%s", problem, kUsage);
    return kExitUsage;
}

std::optional<vantrel::Scheme> scheme_by_name(std::string_view name) {
    for (const vantrel::SchemeInfo& info : vantrel::kSchemes) {
        if (name == info.name) return info.scheme;
    }
    return std::nullopt;
}

int decode_stdin() {
    const std::optional<std::string> text = read_stdin_text();
    if (!text) return io_error("read standard input");
    const vantrel::Bytes bytes = vantrel::decode_base64(*text);
    if (!write_all(stdout, bytes.data(), bytes.size())) return io_error("write standard output");
    return kExitOk;
}

int convert(std::string_view scheme_name, std::optional<std::string> link) {
    const bool automatic = scheme_name == "auto";
    const std::optional<vantrel::Scheme> named = scheme_by_name(scheme_name);
    if (!automatic && !named) return usage_error("unknown scheme");
    if (!link) {
        link = read_stdin_text();
        if (!link) return io_error("read standard input");
    }

    const std::optional<vantrel::Scheme> scheme = automatic ? vantrel::scheme_of(*link) : named;
    const vantrel::ConversionResult result =
        scheme ? vantrel::convert_link(*scheme, *link) : std::nullopt;
    if (!result) {
        write_all(stderr, kFormatError.data(), kFormatError.size());
        write_all(stderr, "\n", 1);
        return kExitFormatError;
    }
    const std::string line = *result + "\n";
    if (!write_all(stdout, line.data(), line.size())) return io_error("write standard output");
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    if (argc < 2) return usage_error("missing SCHEME");
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h") {
        if (argc != 2) return usage_error("--help takes no arguments");
        if (!write_all(stdout, kHelp, sizeof kHelp - 1)) return io_error("write standard output");
        return kExitOk;
    }
    if (command == "base64") {
        if (argc != 2) return usage_error("base64 reads standard input and takes no arguments");
        return decode_stdin();
    }
    if (argc > 3) return usage_error("too many arguments");
    return convert(command, argc == 3 ? std::optional<std::string>(argv[2]) : std::nullopt);
}
