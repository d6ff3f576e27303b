#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "app/ui.h"
#include "app/window_description.h"
#include "app/windows/win32_hyperlink.h"

namespace quorvant {

// A window description built with Win32 controls: a fixed, centred top-level window whose
// controls report their events to WindowEvents.
class Win32MainWindow final : public Controls {
 public:
  Win32MainWindow(const WindowDescription& description, WindowEvents& events, Desktop& desktop);
  // A window still open is destroyed without its about-to-be-destroyed event, as an object
  // that goes away is not a user closing it.
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  // Creates the window centred on the screen with its controls, shows it, then runs its created
  // event. False when the window could not be created; then no event runs.
  bool Open();

  // The window and its controls while the window exists, null otherwise.
  HWND hwnd() const { return hwnd_; }
  HWND Hwnd(Control control) const { return controls_[static_cast<std::size_t>(control)]; }

  // The window's own keyboard rules, applied to a message before the dialog manager sees it:
  // Tab and Shift+Tab move through the tab stops in creation order, Escape closes the window
  // from any control, Enter does nothing outside the multi-line box. True when the message was
  // taken.
  static bool TakeKeyboardMessage(const MSG& message);

  // Windows of this kind that exist; the message loop ends when none is left.
  static int OpenCount();

  Text ReadEdit(Control box) const override;
  void WriteEdit(Control box, const Text& text) override;
  void WriteCaption(Control control, const Text& caption) override;
  void SetVisible(Control control, bool visible) override;
  void SetDisabled(Control control, bool disabled) override;
  void SetFocus(Control control) override;
  void ShowBusyCursor(bool busy) override;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  HWND CreateControl(const ControlDescription& control);
  void ArrangeStacking() const;
  bool TakeKey(const MSG& message);
  void MoveFocus(int step);
  void OnCommand(int id, int code);
  LRESULT OnStaticColour(HDC dc, HWND control) const;
  void RunEvent(Control control);
  WindowDescription description_;
  WindowEvents& events_;
  Desktop& desktop_;
  HWND hwnd_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  std::unique_ptr<Win32Hyperlink> hyperlink_;
  // The control that had the focus when the window was last deactivated.
  HWND savedFocus_ = nullptr;
  // The cursor the busy cursor replaced.
  HCURSOR cursorBeforeBusy_ = nullptr;
  // Set while code writes an edit box, so that the write runs the change event only once.
  bool writing_ = false;
  // Cleared once the about-to-be-destroyed event ran, or when this object goes away first.
  bool destroyEventDue_ = true;
};

}  // namespace quorvant
