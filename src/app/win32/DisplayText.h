#pragma once

#include <string>

namespace vantorel {

// The program's messages break lines with LF CR; Windows' text drawing wants
// CR LF. Every line break (LF CR, CR LF, a lone LF or CR) becomes one CR LF.
std::string displayText(const std::string& text);

}  // namespace vantorel
