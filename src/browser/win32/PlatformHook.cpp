#include "browser/BrowserHook.h"

namespace vantorel::BrowserHook {

// The menu-extension entry is all that Windows needs.
void registerForThisPlatform(const std::string&) {}

}  // namespace vantorel::BrowserHook
