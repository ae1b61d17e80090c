#pragma once

#include <QString>
#include <string>

namespace vantorel {

// What a control shows for the program's single-byte texts: UTF-8 as it is,
// anything else read as Windows-1252.
QString displayString(const std::string& bytes);

// The bytes behind a control's text: `shownFrom` while the text still shows
// it, otherwise the text as UTF-8 (what the user typed).
std::string bytesOfShown(const QString& shown, const std::string& shownFrom);

}  // namespace vantorel
