#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantorel::service {

// The accounts the service accepts: one "login:password" a line in a text
// file (the password is everything after the first colon), or the one demo
// account when no file is given.
class AccountList {
public:
    static AccountList demo();
    // Throws vantorel::Failure naming the file and line when it cannot be used.
    static AccountList fromFile(const std::string& path);
    static AccountList fromText(std::string_view text, const std::string& origin);

    bool accepts(std::string_view login, std::string_view password) const;
    std::size_t size() const { return accounts_.size(); }

private:
    std::vector<std::pair<std::string, std::string>> accounts_;
};

}  // namespace vantorel::service
