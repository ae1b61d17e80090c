#include "app/win32/picker/PickerRules.h"

#include "form/PickerPlacement.h"

namespace vantorel {

POINT dialogOrigin(const RECT& monitor, SIZE dialog) {
    const PickerOrigin at = pickerOrigin(monitor.left, monitor.top, monitor.right - monitor.left,
                                         monitor.bottom - monitor.top, dialog.cx, dialog.cy);
    return POINT{at.left, at.top};
}

bool isFileSystemFolder(const std::string& path) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
    if (path.size() < 2 || path[1] != ':') return false;
    const char letter = path[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

}  // namespace vantorel
