// The ui seam over Win32: the window and its controls, the clipboard and the shell.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "app/ui.h"
#include "app/windows/message_loop.h"
#include "app/windows/win32_desktop.h"
#include "app/windows/win32_main_window.h"

namespace quorvant {

// The GUI thread is initialised for OLE before anything else and stays so until the process
// ends: the script engines of the JSON documents rely on it.
struct GuiApplication::State {
  State() : oleReady(SUCCEEDED(OleInitialize(nullptr))) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  ~State() {
    if (oleReady) OleUninitialize();
  }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  bool oleReady;
  Win32Desktop desktop;
};

GuiApplication::GuiApplication(int&, char**) : state_(std::make_unique<State>()) {}
GuiApplication::~GuiApplication() = default;

Desktop& GuiApplication::desktop() {
  return state_->desktop;
}

// With no window left, as when the window could not be created, there is nothing to wait for.
int GuiApplication::RunMessageLoop() {
  if (Win32MainWindow::OpenCount() == 0) return 1;
  return win32::RunMessageLoop();
}

struct GuiWindow::State {
  State(const WindowDescription& description, WindowEvents& events, Desktop& desktop)
      : window(description, events, desktop) {}
  Win32MainWindow window;
};

GuiWindow::GuiWindow(const WindowDescription& description, WindowEvents& events, Desktop& desktop)
    : state_(std::make_unique<State>(description, events, desktop)) {
  // As a toolkit does, the system's reason is shown; the loop then finds no window and ends.
  if (!state_->window.Open()) {
    const DWORD error = GetLastError();
    wchar_t* reason = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
    MessageBoxW(nullptr, reason != nullptr ? reason : L"", L"Quorvant", MB_OK | MB_ICONERROR);
    LocalFree(reason);
  }
}
GuiWindow::~GuiWindow() = default;

}  // namespace quorvant
