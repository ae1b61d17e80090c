#include "../Shell.h"

#include <windows.h>
#include <shellapi.h>

namespace vantorel {

void shellOpen(const std::string& target) {
    ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vantorel
