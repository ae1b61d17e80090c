#include "AccountList.h"

#include <fstream>

#include "platform/Failure.h"

namespace vantorel::service {

namespace {

constexpr std::size_t kLongestAccountsFile = 1 << 20;

// Compares without stopping at the first difference, so the reply time
// does not tell how much of a guessed password was right.
bool sameText(std::string_view a, std::string_view b) {
    unsigned difference = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < b.size(); ++i) {
        difference |=
            static_cast<unsigned char>(i < a.size() ? a[i] : 0) ^ static_cast<unsigned char>(b[i]);
    }
    return difference == 0;
}

}  // namespace

AccountList AccountList::demo() {
    AccountList list;
    list.accounts_.emplace_back("demo", "demo");
    return list;
}

AccountList AccountList::fromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure("Cannot read the accounts file " + path);
    std::string text;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        text.append(block, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kLongestAccountsFile) {
            throw Failure("The accounts file " + path + " is larger than 1 MiB");
        }
    }
    return fromText(text, path);
}

AccountList AccountList::fromText(std::string_view text, const std::string& origin) {
    AccountList list;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            throw Failure(origin + " line " + std::to_string(lineNumber) +
                          ": expected login:password");
        }
        list.accounts_.emplace_back(line.substr(0, colon), line.substr(colon + 1));
    }
    if (list.accounts_.empty()) throw Failure(origin + " holds no account");
    return list;
}

bool AccountList::accepts(std::string_view login, std::string_view password) const {
    bool accepted = false;
    for (const auto& [name, secret] : accounts_) {
        // Every account is compared, for the same reason as above.
        const bool match = sameText(login, name) & sameText(password, secret);
        accepted = accepted || match;
    }
    return accepted;
}

}  // namespace vantorel::service
