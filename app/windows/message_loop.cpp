#include "app/windows/message_loop.h"

#include "app/windows/win32_main_window.h"

namespace quorvant::win32 {

void ProcessMessage(MSG& message) {
  if (Win32MainWindow::TakeKeyboardMessage(message)) return;
  const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) ProcessMessage(message);
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

void ProcessWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) ProcessMessage(message);
  }
}

}  // namespace quorvant::win32
