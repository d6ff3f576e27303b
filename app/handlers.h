#pragma once

#include "app/ui.h"
#include "text/text.h"

// The main window's handlers, written against the ui seam.
namespace quorvant {

// Window created: the copy button starts disabled and the code box takes the focus.
void PrepareMainWindow(Controls& window);
// Result box changed: the copy button is enabled exactly when the box holds text.
void UpdateCopyButton(Controls& window);
// Copy button clicked: the result box's text goes to the clipboard; only when that worked the
// hint says so.
void CopyResult(Controls& window, Desktop& desktop);
// Window about to be destroyed.
void OpenHomePage(Desktop& desktop, const Text& homePageUrl);

}  // namespace quorvant
