#include "line_reader.h"

#include <cstring>

namespace {

constexpr std::size_t kBlockSize = 1 << 16;

}  // namespace

LineReader::LineReader(std::FILE* input) : input_(input), block_(kBlockSize) {}

LineReader::LineReader(std::string_view text) : pending_(text) {}

bool LineReader::refill() {
    if (!input_) return false;
    const std::size_t got = std::fread(block_.data(), 1, block_.size(), input_);
    if (got == 0) {
        failed_ = std::ferror(input_) != 0;
        return false;
    }
    pending_ = std::string_view(block_.data(), got);
    return true;
}

bool LineReader::next(std::string& line) {
    line.clear();
    bool any = false;  // a line that ends without a line break still counts
    for (;;) {
        if (pending_.empty() && !refill()) {
            // The last line, without a line break (a CR of its CR LF may have come alone).
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return any && !failed_;
        }
        const char* newline =
            static_cast<const char*>(std::memchr(pending_.data(), '\n', pending_.size()));
        const std::size_t take =
            newline ? static_cast<std::size_t>(newline - pending_.data()) : pending_.size();
        line.append(pending_.data(), take);
        any = true;
        if (newline) {
            pending_.remove_prefix(take + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        pending_ = {};
    }
}
