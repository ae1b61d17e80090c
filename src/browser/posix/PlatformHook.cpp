#include "browser/BrowserHook.h"

namespace vantorel::BrowserHook {

void registerForThisPlatform(const std::string& installPath) {
    if (installPath.empty()) return;  // no installed program to point at
    registerHook(locationsFor(installPath));
}

}  // namespace vantorel::BrowserHook
