#pragma once

#include <string>

namespace vantorel {

// "Socket Error # <number>", CR LF and the number's text (empty when the
// number has none), the form in which socket failures reach the user.
std::string socketErrorMessage(int number);

}  // namespace vantorel
