#pragma once

#include <windows.h>

#include "app/ui.h"
#include "app/window_description.h"

namespace quorvant {

// A one-line link without underline, centred, with a hand cursor. A left press hands its target
// to the desktop and, when the desktop took it, shows the visited colour; the hover colour wins
// while the mouse is over the control, which holds the mouse capture until the mouse leaves.
// Its caption is its window text; an empty caption shows the target.
class Win32Hyperlink {
 public:
  Win32Hyperlink(const ControlDescription& description, const HyperlinkColours& colours,
                 Desktop& desktop);
  Win32Hyperlink(const Win32Hyperlink&) = delete;
  Win32Hyperlink& operator=(const Win32Hyperlink&) = delete;

  // The control as a child of `parent`; null when it could not be made. This object must
  // outlive the control.
  HWND Create(HWND parent, DWORD style, int id);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HWND hwnd, HDC dc) const;
  void Track(HWND hwnd, POINT point);
  void SetHovered(HWND hwnd, bool hovered);
  void Press(HWND hwnd, POINT point);
  COLORREF Colour() const;

  ControlDescription description_;
  HyperlinkColours colours_;
  Desktop& desktop_;
  HFONT font_ = nullptr;
  bool hovered_ = false;
  bool visited_ = false;
};

}  // namespace quorvant
