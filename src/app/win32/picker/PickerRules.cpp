#include "app/win32/picker/PickerRules.h"

namespace vantorel {

POINT dialogOrigin(const RECT& monitor, SIZE dialog) {
    const LONG width = monitor.right - monitor.left;
    const LONG height = monitor.bottom - monitor.top;
    return POINT{monitor.left + (width - dialog.cx) / 2, monitor.top + (height - dialog.cy) / 3};
}

bool isFileSystemFolder(const std::string& path) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
    if (path.size() < 2 || path[1] != ':') return false;
    const char letter = path[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

}  // namespace vantorel
