#pragma once

#include <string>

namespace vantorel {

// Asks the desktop to open a document or web address with its default
// application. Nothing waits for it and no failure is reported.
void shellOpen(const std::string& target);

}  // namespace vantorel
