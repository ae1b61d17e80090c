#include "CommandLine.h"

namespace vantorel {
namespace {

bool isSeparator(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x01 && byte <= 0x20;
}

bool isTokenByte(char c) {
    return static_cast<unsigned char>(c) > 0x20;
}

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& line) {
    // A NUL byte ends the line, as it ends the platform's command-line text.
    const std::string text = line.substr(0, line.find('\0'));
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    const std::size_t end = text.size();
    for (;;) {
        for (;;) {
            while (pos < end && isSeparator(text[pos])) ++pos;
            if (pos + 1 < end && text[pos] == '"' && text[pos + 1] == '"')
                pos += 2;
            else
                break;
        }
        if (pos >= end) break;

        std::string token;
        while (pos < end && isTokenByte(text[pos])) {
            if (text[pos] == '"') {
                const std::size_t close = text.find('"', pos + 1);
                const std::size_t stop = close == std::string::npos ? end : close;
                token.append(text, pos + 1, stop - pos - 1);
                pos = close == std::string::npos ? end : close + 1;
            } else {
                token += text[pos++];
            }
        }
        if (token.empty() && pos >= end) break;
        tokens.push_back(std::move(token));
    }
    return tokens;
}

}  // namespace vantorel
