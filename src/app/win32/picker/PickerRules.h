#pragma once

#include <windows.h>

#include <string>

namespace vantorel {

// Where the dialog opens on a monitor, by the pickers' one rule (pickerOrigin).
POINT dialogOrigin(const RECT& monitor, SIZE dialog);

// Whether a path the dialog reports names a folder of the file system (a
// drive path or a network path) rather than a place without one, such as the
// computer's list of drives, which some dialogs report by its shell name
// ("::{...}").
bool isFileSystemFolder(const std::string& path);

}  // namespace vantorel
