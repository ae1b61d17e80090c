#pragma once

#include <string>

namespace vantorel {

// Turns a Windows date picture ("M/d/yyyy", "dd.MM.yy", "d' de 'MMMM") into
// an strftime picture for the Microsoft C runtime, whose "#" flag drops the
// leading zero. Era marks ("g", "gg") are left out; quoted text and any other
// character stand as written.
std::string strftimeFromDatePicture(const std::string& picture);

}  // namespace vantorel
