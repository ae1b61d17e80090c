#include "app/win32/picker/WindowSearch.h"

#include <cstring>

namespace vantorel {
namespace {

struct Search {
    const char* className;
    int remaining;
    HWND found;
};

BOOL CALLBACK visit(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    char name[300] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, search->className) != 0 || --search->remaining > 0) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND findDescendant(HWND parent, const char* className, int ordinal) {
    if (!parent || ordinal < 1) return nullptr;
    Search search{className, ordinal, nullptr};
    EnumChildWindows(parent, &visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace vantorel
