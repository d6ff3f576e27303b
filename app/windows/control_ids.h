#pragma once

#include "app/control.h"

// How the Windows build names the main window and its controls, so that the window can be found
// and its controls read back with the Windows API.
namespace quorvant::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"QuorvantMainWindow";

// The child-window identifier of each control. They stay clear of IDOK and IDCANCEL, which the
// dialog manager sends for Enter and Escape.
inline constexpr int ControlId(Control control) {
  return 1000 + static_cast<int>(control);
}

}  // namespace quorvant::win32
