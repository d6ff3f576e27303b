#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/window_description.h"

// Drives the Win32 window the way the system delivers input, through the thread's message
// queue, and reads it back with the Windows API. Input is posted to the window's own thread
// rather than sent through the desktop, so that tests running side by side cannot take each
// other's keys.
namespace quorvant::win32_test {

// Runs the program's message processing over everything that is waiting.
void Pump();

std::wstring Utf16(std::u8string_view text);
std::wstring TextOf(HWND hwnd);
// The control's place in its parent's client area.
Bounds BoundsOf(HWND control);

// A key pressed and released on `target`, with Shift held or not.
void PressKey(HWND target, UINT key, bool shift = false);
// Alt+F4 on `target`.
void PressAltF4(HWND target);
// Characters typed into `target`, one WM_CHAR each.
void Type(HWND target, std::wstring_view text);

// A control's pixels as it paints itself, frame included.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};
Picture Render(HWND control);

// The text colour that the window gives a label when it paints.
COLORREF LabelTextColour(HWND window, HWND label);
// The colour of the text that `control` draws, read from its pixels; it is drawn with an
// unsmoothed copy of its font for this, so that every text pixel has the text's colour.
COLORREF DrawnTextColour(HWND control);

// The plain text on the clipboard (CF_TEXT), bytes without the terminating NUL.
std::optional<std::string> ClipboardText();
void PutOnClipboard(std::wstring_view text);

// Holds the clipboard open from another thread, as another program would, while it exists.
class ClipboardHolder {
 public:
  ClipboardHolder();
  ~ClipboardHolder();
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  bool holding() const { return holding_; }

 private:
  static DWORD WINAPI Hold(void* self);

  HANDLE opened_;
  HANDLE release_;
  HANDLE thread_ = nullptr;
  bool holding_ = false;
};

}  // namespace quorvant::win32_test
