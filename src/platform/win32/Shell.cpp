#include "../Shell.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

namespace vantorel {

void shellOpen(const std::string& target) {
    ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vantorel
