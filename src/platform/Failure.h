#pragma once

#include <stdexcept>
#include <string>

namespace vantorel {

// The one failure type of the program: it carries the message text that the
// user eventually sees, either in the error box or after "Exception: ".
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

}  // namespace vantorel
