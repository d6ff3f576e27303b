#include "app/handlers.h"

namespace quorvant {

void PrepareMainWindow(Controls& window) {
  window.SetDisabled(Control::按钮_复制, true);
  window.SetFocus(Control::编辑框_淘口令);
}

void UpdateCopyButton(Controls& window) {
  window.SetDisabled(Control::按钮_复制, window.ReadEdit(Control::编辑框_解密后).empty());
}

void CopyResult(Controls& window, Desktop& desktop) {
  if (!desktop.SetClipboardText(window.ReadEdit(Control::编辑框_解密后))) return;
  window.WriteCaption(Control::标签_复制提示, "提示：复制成功");
  window.SetVisible(Control::标签_复制提示, true);
}

void OpenHomePage(Desktop& desktop, const Text& homePageUrl) {
  desktop.OpenUrl(homePageUrl);
}

}  // namespace quorvant
