#pragma once

#include <windows.h>

namespace vantorel {

// The `ordinal`-th (counting from 1) descendant of `parent` whose class name is
// exactly `className` (case-sensitive), in the system's enumeration order
// (children, their children, and so on); null when there are fewer.
HWND findDescendant(HWND parent, const char* className, int ordinal);

}  // namespace vantorel
