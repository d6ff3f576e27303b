#include "app/windows/win32_hyperlink.h"

#include <windowsx.h>

#include <string>

#include "app/windows/win32_text.h"

namespace quorvant {
namespace {

constexpr wchar_t kClassName[] = L"QuorvantHyperlink";

COLORREF ToColorref(const Rgb& rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

POINT PointOf(LPARAM lParam) {
  return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool RegisterHyperlinkClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    return RegisterClassW(&windowClass) != 0;
  }();
  return registered;
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

Win32Hyperlink::Win32Hyperlink(const ControlDescription& description,
                               const HyperlinkColours& colours, Desktop& desktop)
    : description_(description), colours_(colours), desktop_(desktop) {}

HWND Win32Hyperlink::Create(HWND parent, DWORD style, int id) {
  if (!RegisterHyperlinkClass(&Procedure)) return nullptr;
  const Bounds& b = description_.bounds;
  return CreateWindowExW(0, kClassName, win32::Wide(description_.text).c_str(), style, b.left,
                         b.top, b.width, b.height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK Win32Hyperlink::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Hyperlink*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(hwnd, message, wParam, lParam);
}

LRESULT Win32Hyperlink::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(hwnd, &paint);
      Paint(hwnd, dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      Track(hwnd, PointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd) SetHovered(hwnd, false);
      return 0;
    case WM_LBUTTONDOWN:
      Press(hwnd, PointOf(lParam));
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Hyperlink::Paint(HWND hwnd, HDC dc) const {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  std::wstring caption = WindowText(hwnd);
  if (caption.empty()) caption = win32::Wide(description_.target);
  const HGDIOBJ previousFont = font_ != nullptr ? SelectObject(dc, font_) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Colour());
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (previousFont != nullptr) SelectObject(dc, previousFont);
}

// The capture tells the control when the mouse leaves: moves outside it still arrive here.
void Win32Hyperlink::Track(HWND hwnd, POINT point) {
  RECT client;
  GetClientRect(hwnd, &client);
  const bool inside = PtInRect(&client, point) != FALSE;
  if (inside && !hovered_) {
    SetCapture(hwnd);
    SetHovered(hwnd, true);
  } else if (!inside && hovered_) {
    SetHovered(hwnd, false);
    if (GetCapture() == hwnd) ReleaseCapture();
  }
}

void Win32Hyperlink::SetHovered(HWND hwnd, bool hovered) {
  if (hovered_ == hovered) return;
  hovered_ = hovered;
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Win32Hyperlink::Press(HWND hwnd, POINT point) {
  RECT client;
  GetClientRect(hwnd, &client);
  // While the control holds the capture, a press may come from outside it.
  if (!PtInRect(&client, point) || !desktop_.OpenUrl(description_.target)) return;
  visited_ = true;
  InvalidateRect(hwnd, nullptr, TRUE);
}

COLORREF Win32Hyperlink::Colour() const {
  if (hovered_) return ToColorref(colours_.hover);
  if (visited_) return ToColorref(colours_.visited);
  return ToColorref(colours_.normal);
}

}  // namespace quorvant
