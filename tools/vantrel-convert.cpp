// vantrel-convert: the link converters and the Base64 decoder on the command line.
//
//   vantrel-convert [OPTIONS] SCHEME [LINK]   SCHEME: thunder, flashget, qqdl, rayfile or auto
//   vantrel-convert base64
//   vantrel-convert --help
//
// Without options, bytes pass through unchanged in both directions; nothing is re-encoded.
// The options read damaged links forgivingly, take a link per line (streamed) and write the
// ASCII form, JSON Lines or aria2c's input-file format.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "line_reader.h"
#include "result_formats.h"
#include "vantrel/base64.h"
#include "vantrel/forgiving.h"
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
    "usage: vantrel-convert [--lenient] [--lines] [--format raw|ascii|json|aria2] SCHEME [LINK]\n"
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
    "standard input cannot be read or standard output cannot be written.\n"
    "\n"
    "Options (before SCHEME) for links from browsers, web pages, chats and files:\n"
    "\n"
    "  --lenient\n"
    "      Reads each link forgivingly first: surrounding spaces and one pair of quotes or\n"
    "      <> go; a percent-encoded link (thunder%3A%2F%2F..., %2B in the body) is decoded\n"
    "      once; the scheme name counts in any case (with auto too); spaces and line breaks\n"
    "      inside the link go; a browser's trailing '/' goes; a link whose address is\n"
    "      itself a link is converted again, up to 4 links deep.\n"
    "      Example: vantrel-convert --lenient auto \\\n"
    "               ' FLASHGET://W0ZMQVNIR0VUXWh0dHA6Ly9hL2IuemlwW0ZMQVNIR0VUXQ==&k=1/'\n"
    "\n"
    "  --lines\n"
    "      LINK, or standard input, holds one link per line (LF or CR LF), read as a\n"
    "      stream: input of any length works. In the raw and ascii formats output line N\n"
    "      answers input line N: a blank input line gives a blank output line, a failed\n"
    "      link a blank output line and \"line N: "
    "\xE6\xA0\xBC\xE5\xBC\x8F\xE9\x94\x99\xE8\xAF\xAF\xEF\xBC\x81\xE8\xAF\xB7\xE8\xBE\x93"
    "\xE5\x85\xA5\xE6\xAD\xA3\xE7\xA1\xAE\xE7\x9A\x84\xE5\x9C\xB0\xE5\x9D\x80\xEF\xBC\x81\"\n"
    "      on standard error (every format reports failures there). A line holding a zero\n"
    "      byte is a format error. In the raw format an address that holds a line break\n"
    "      cannot stand on one line: it fails with its own message.\n"
    "      Example: vantrel-convert --lenient --lines auto < links.txt > addresses.txt\n"
    "\n"
    "  --format raw|ascii|json|aria2   (also --format=NAME)\n"
    "      raw (the default): the address, byte for byte.\n"
    "      ascii: the address with every byte >= 0x80, control byte, space and \"<>\\^`{|}\n"
    "        written as %XX (upper-case hex), so that any downloader can request it;\n"
    "        existing %XX stay.\n"
    "      json: JSON Lines, one object per non-blank input line, always valid UTF-8:\n"
    "        \"line\" (number), \"input\" (the line as text), and either \"scheme\" (thunder,\n"
    "        flashget, qqdl, rayfile), \"address\" (as text), \"ascii\", \"charset\" (ascii,\n"
    "        utf-8, or gbk for anything else, read as code page 936) and \"name\" (the file\n"
    "        name, \"\" when there is none), or \"error\": \"format\". Bytes that are invalid\n"
    "        in their charset become U+FFFD.\n"
    "      aria2: aria2c's input-file format: per converted link its ascii form on a line,\n"
    "        then \"  out=NAME\" when the address names a file; failures go only to standard\n"
    "        error.\n"
    "      Example: vantrel-convert --format json thunder \\\n"
    "               'thunder://QUFodHRwOi8vZXhhbXBsZS5jb20vZmlsZS56aXBaWg=='\n"
    "      Example: vantrel-convert --lenient --lines --format aria2 auto < links.txt \\\n"
    "               | aria2c -i -\n"
    "\n"
    "With options the exit statuses stay: 0 when every link converted (a blank line is no\n"
    "link), 2 when any failed (the others are still written), 64 for a usage error, 74 for\n"
    "an I/O error.\n";

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

struct Options {
    bool lenient = false;
    bool lines = false;
    Format format = Format::raw;
};

// Which scheme a link is read as: by its prefix (auto) or the one named.
struct SchemeChoice {
    bool automatic;
    std::optional<vantrel::Scheme> named;
};

std::optional<Converted> convert_link_text(std::string_view link, SchemeChoice choice,
                                           bool lenient) {
    if (lenient) {
        const std::optional<vantrel::ForgivingConversion> result =
            vantrel::convert_forgivingly(link, choice.named);
        if (!result) return std::nullopt;
        return Converted{result->outer.scheme, result->address};
    }
    const std::optional<vantrel::Scheme> scheme =
        choice.automatic ? vantrel::scheme_of(link) : choice.named;
    if (!scheme) return std::nullopt;
    vantrel::ConversionResult address = vantrel::convert_link(*scheme, link);
    if (!address) return std::nullopt;
    return Converted{*scheme, std::move(*address)};
}

void write_format_error() {
    write_all(stderr, kFormatError.data(), kFormatError.size());
    write_all(stderr, "\n", 1);
}

// One link: the LINK argument or the whole of standard input.
int convert_one(const Options& options, SchemeChoice choice, std::optional<std::string> link) {
    if (!link) {
        link = read_stdin_text();
        if (!link) return io_error("read standard input");
    }
    const std::optional<Converted> converted = convert_link_text(*link, choice, options.lenient);
    ResultWriter writer(options.format);
    std::string out;
    if (!converted) {
        write_format_error();
        // A single link's failure leaves standard output empty, but for a JSON object.
        if (options.format == Format::json) writer.failure(1, *link, out);
        if (!write_all(stdout, out.data(), out.size())) return io_error("write standard output");
        return kExitFormatError;
    }
    writer.success(1, *link, *converted, out);
    if (!write_all(stdout, out.data(), out.size())) return io_error("write standard output");
    return kExitOk;
}

bool is_blank(std::string_view line) {
    return line.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

bool holds_line_break(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Writes what has gathered in `buffer` once it is large enough (or `all` is set).
bool drain(std::FILE* stream, std::string& buffer, bool all) {
    constexpr std::size_t kChunk = 1 << 16;
    if (buffer.size() < kChunk && !all) return true;
    const bool written =
        buffer.empty() || std::fwrite(buffer.data(), 1, buffer.size(), stream) == buffer.size();
    buffer.clear();
    return written && (!all || std::fflush(stream) == 0);
}

// One link per line of the LINK argument or of standard input, streamed.
int convert_lines(const Options& options, SchemeChoice choice,
                  const std::optional<std::string>& text) {
    LineReader reader = text ? LineReader(*text) : LineReader(stdin);
    ResultWriter writer(options.format);
    std::string line, out, errors;
    long long number = 0;
    bool any_failed = false;
    while (reader.next(line)) {
        ++number;
        std::optional<Converted> converted;
        if (is_blank(line)) {
            writer.blank(out);
        } else if (line.find('\0') == std::string::npos &&
                   (converted = convert_link_text(line, choice, options.lenient))) {
            if (options.format == Format::raw && holds_line_break(converted->address)) {
                errors += "line " + std::to_string(number) +
                          ": the address holds a line break; --format ascii writes it\n";
                writer.failure(number, line, out);
                any_failed = true;
            } else {
                writer.success(number, line, *converted, out);
            }
        } else {
            errors += "line " + std::to_string(number) + ": ";
            errors += kFormatError;
            errors += '\n';
            writer.failure(number, line, out);
            any_failed = true;
        }
        if (!drain(stdout, out, false)) return io_error("write standard output");
        drain(stderr, errors, false);
    }
    drain(stderr, errors, true);
    if (!drain(stdout, out, true)) return io_error("write standard output");
    if (reader.failed()) return io_error("read standard input");
    return any_failed ? kExitFormatError : kExitOk;
}

int convert(const Options& options, std::string_view scheme_name, std::optional<std::string> link) {
    const SchemeChoice choice{scheme_name == "auto", scheme_by_name(scheme_name)};
    if (!choice.automatic && !choice.named) return usage_error("unknown scheme");
    if (options.lines) return convert_lines(options, choice, link);
    return convert_one(options, choice, std::move(link));
}

// Reads the options before SCHEME; returns the index of SCHEME, or 0 after a usage error
// (its message written).
int read_options(int argc, char** argv, Options& options) {
    constexpr std::string_view kFormatOption = "--format";
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.substr(0, 2) != "--") break;
        if (arg == "--lenient") {
            options.lenient = true;
        } else if (arg == "--lines") {
            options.lines = true;
        } else if (arg == kFormatOption || arg.substr(0, kFormatOption.size() + 1) == "--format=") {
            std::string_view name;
            if (arg == kFormatOption) {
                if (++i == argc) return usage_error("--format needs raw, ascii, json or aria2"), 0;
                name = argv[i];
            } else {
                name = arg.substr(kFormatOption.size() + 1);
            }
            const std::optional<Format> format = format_by_name(name);
            if (!format) return usage_error("unknown format"), 0;
            options.format = *format;
        } else {
            return usage_error("unknown option"), 0;
        }
    }
    if (i == argc) return usage_error("missing SCHEME"), 0;
    return i;
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
    Options options;
    const int scheme_at = read_options(argc, argv, options);
    if (scheme_at == 0) return kExitUsage;
    if (argc - scheme_at > 2) return usage_error("too many arguments");
    return convert(
        options, argv[scheme_at],
        argc - scheme_at == 2 ? std::optional<std::string>(argv[scheme_at + 1]) : std::nullopt);
}
