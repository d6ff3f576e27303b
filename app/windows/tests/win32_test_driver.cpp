#include "app/windows/tests/win32_test_driver.h"

#include <cstring>
#include <map>
#include <vector>

#include "app/windows/message_loop.h"

namespace quorvant::win32_test {
namespace {

LPARAM KeyParameter(UINT key, bool up) {
  const UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  LPARAM parameter = 1 | (static_cast<LPARAM>(scanCode) << 16);
  if (up) parameter |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return parameter;
}

void SetKeyDown(UINT key, bool down) {
  BYTE state[256];
  GetKeyboardState(state);
  state[key] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

}  // namespace

void Pump() {
  win32::ProcessWaitingMessages();
}

std::wstring Utf16(std::u8string_view text) {
  if (text.empty()) return {};
  const auto* bytes = reinterpret_cast<const char*>(text.data());
  const int size = static_cast<int>(text.size());
  std::wstring wide(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes, size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes, size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

Bounds BoundsOf(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void PressKey(HWND target, UINT key, bool shift) {
  if (shift) SetKeyDown(VK_SHIFT, true);
  PostMessageW(target, WM_KEYDOWN, key, KeyParameter(key, false));
  PostMessageW(target, WM_KEYUP, key, KeyParameter(key, true));
  Pump();
  if (shift) SetKeyDown(VK_SHIFT, false);
}

void PressAltF4(HWND target) {
  constexpr LPARAM kAltHeld = LPARAM{1} << 29;
  SetKeyDown(VK_MENU, true);
  PostMessageW(target, WM_SYSKEYDOWN, VK_F4, KeyParameter(VK_F4, false) | kAltHeld);
  PostMessageW(target, WM_SYSKEYUP, VK_F4, KeyParameter(VK_F4, true) | kAltHeld);
  Pump();
  SetKeyDown(VK_MENU, false);
}

void Type(HWND target, std::wstring_view text) {
  for (const wchar_t unit : text) PostMessageW(target, WM_CHAR, unit, 1);
  Pump();
}

COLORREF LabelTextColour(HWND window, HWND label) {
  const HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(label));
  const COLORREF colour = GetTextColor(dc);
  DeleteDC(dc);
  return colour;
}

Picture Render(HWND control) {
  RECT frame;
  GetWindowRect(control, &frame);
  Picture picture{frame.right - frame.left, frame.bottom - frame.top, {}};
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
  SendMessageW(control, WM_PRINT, reinterpret_cast<WPARAM>(dc),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (int i = 0; i < picture.width * picture.height; ++i) {
    const std::uint32_t pixel = pixels[i];
    picture.pixels.push_back(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
  }
  SelectObject(dc, previousBitmap);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return picture;
}

COLORREF DrawnTextColour(HWND control) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  GetObjectW(font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof description,
             &description);
  description.lfQuality = NONANTIALIASED_QUALITY;
  const HFONT sharp = CreateFontIndirectW(&description);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(sharp), FALSE);
  const Picture picture = Render(control);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  DeleteObject(sharp);

  const COLORREF background = GetSysColor(COLOR_BTNFACE);
  std::map<COLORREF, int> counts;
  for (const COLORREF colour : picture.pixels) {
    if (colour != background) ++counts[colour];
  }
  COLORREF most = background;
  int mostCount = 0;
  for (const auto& [colour, count] : counts) {
    if (count > mostCount) {
      most = colour;
      mostCount = count;
    }
  }
  return most;
}

std::optional<std::string> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (const HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = std::string(bytes);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PutOnClipboard(std::wstring_view text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const std::size_t size = (text.size() + 1) * sizeof(wchar_t);
  if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)) {
    std::memcpy(GlobalLock(memory), text.data(), text.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

ClipboardHolder::ClipboardHolder()
    : opened_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = CreateThread(nullptr, 0, &Hold, this, 0, nullptr);
  if (thread_ != nullptr) WaitForSingleObject(opened_, INFINITE);
}

ClipboardHolder::~ClipboardHolder() {
  SetEvent(release_);
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  CloseHandle(opened_);
  CloseHandle(release_);
}

// Opened for a window of this thread's own, as a program does: the clipboard tells its users
// apart by the window that opened it.
DWORD WINAPI ClipboardHolder::Hold(void* self) {
  auto* holder = static_cast<ClipboardHolder*>(self);
  const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  holder->holding_ = owner != nullptr && OpenClipboard(owner) != FALSE;
  SetEvent(holder->opened_);
  WaitForSingleObject(holder->release_, INFINITE);
  if (holder->holding_) CloseClipboard();
  if (owner != nullptr) DestroyWindow(owner);
  return 0;
}

}  // namespace quorvant::win32_test
