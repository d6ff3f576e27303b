#include "app/windows/win32_main_window.h"

#include <string>

#include "app/windows/control_ids.h"
#include "app/windows/win32_text.h"

namespace quorvant {
namespace {

int gOpenWindows = 0;

COLORREF ToColorref(const Rgb& rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

bool RegisterMainWindowClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    // The program's icon when it has one, else the system's.
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
    if (windowClass.hIcon == nullptr)
      windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = win32::kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  return registered;
}

// Labels: one line, left-aligned, vertically centred, no "&" prefixes. Edit boxes: a flat
// one-pixel border; the result box wraps its lines instead of scrolling sideways.
DWORD KindStyle(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX;
    case ControlKind::kPushButton:
      return BS_PUSHBUTTON;
    case ControlKind::kSingleLineEdit:
      return WS_BORDER | ES_LEFT | ES_AUTOHSCROLL;
    case ControlKind::kMultiLineEdit:
      return WS_BORDER | ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
    case ControlKind::kHyperlink:
      return 0;
  }
  return 0;
}

const wchar_t* KindClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return L"STATIC";
    case ControlKind::kPushButton:
      return L"BUTTON";
    case ControlKind::kSingleLineEdit:
    case ControlKind::kMultiLineEdit:
      return L"EDIT";
    case ControlKind::kHyperlink:
      return nullptr;
  }
  return nullptr;
}

bool IsEdit(ControlKind kind) {
  return kind == ControlKind::kSingleLineEdit || kind == ControlKind::kMultiLineEdit;
}

Win32MainWindow* WindowOf(HWND hwnd) {
  return reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool IsMainWindow(HWND hwnd) {
  wchar_t name[64] = {};
  return hwnd != nullptr && GetClassNameW(hwnd, name, 64) > 0 &&
         std::wstring(name) == win32::kMainWindowClass;
}

bool KeyDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

Win32MainWindow::Win32MainWindow(const WindowDescription& description, WindowEvents& events,
                                 Desktop& desktop)
    : description_(description), events_(events), desktop_(desktop) {}

Win32MainWindow::~Win32MainWindow() {
  destroyEventDue_ = false;
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

int Win32MainWindow::OpenCount() {
  return gOpenWindows;
}

bool Win32MainWindow::Open() {
  if (!RegisterMainWindowClass(&Procedure)) return false;
  const Size& outer = description_.outerSize;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - outer.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - outer.height) / 2;
  const HWND hwnd = CreateWindowExW(
      0, win32::kMainWindowClass, win32::Wide(description_.caption).c_str(), kFrameStyle, left, top,
      outer.width, outer.height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (hwnd == nullptr) return false;
  if (!CreateControls()) {
    destroyEventDue_ = false;
    DestroyWindow(hwnd);
    return false;
  }
  ArrangeStacking();
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  events_.Created(*this);
  return true;
}

// Created last row first, which is also the order Tab follows.
bool Win32MainWindow::CreateControls() {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  for (auto control = description_.controls.rbegin(); control != description_.controls.rend();
       ++control) {
    const HWND hwnd = CreateControl(*control);
    if (hwnd == nullptr) return false;
    controls_[static_cast<std::size_t>(control->control)] = hwnd;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    // No limit beyond the system's maximum.
    if (IsEdit(control->kind)) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
  }
  return true;
}

// Siblings clip one another, so that the stacking decides what shows where controls overlap.
HWND Win32MainWindow::CreateControl(const ControlDescription& control) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | KindStyle(control.kind);
  if (control.visible) style |= WS_VISIBLE;
  if (!control.enabled) style |= WS_DISABLED;
  if (control.tabStop) style |= WS_TABSTOP;
  const int id = win32::ControlId(control.control);
  if (control.kind == ControlKind::kHyperlink) {
    hyperlink_ = std::make_unique<Win32Hyperlink>(control, description_.hyperlinkColours, desktop_);
    return hyperlink_->Create(hwnd_, style, id);
  }
  const Bounds& b = control.bounds;
  return CreateWindowExW(0, KindClass(control.kind), win32::Wide(control.text).c_str(), style,
                         b.left, b.top, b.width, b.height, hwnd_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// The first control of the description lies above all others.
void Win32MainWindow::ArrangeStacking() const {
  for (const ControlDescription& control : description_.controls) {
    SetWindowPos(Hwnd(control.control), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

LRESULT CALLBACK Win32MainWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32MainWindow*>(
        reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ++gOpenWindows;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  Win32MainWindow* self = WindowOf(hwnd);
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->controls_.fill(nullptr);
    if (--gOpenWindows == 0) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT Win32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnStaticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLOREDIT: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_ACTIVATE:
      // The focus comes back to the control that had it, as in a dialog.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) savedFocus_ = focus;
      } else if (savedFocus_ != nullptr && IsChild(hwnd_, savedFocus_)) {
        ::SetFocus(savedFocus_);
        return 0;
      }
      break;
    case WM_DESTROY:
      // The controls are still in place here; they are destroyed after their parent's event.
      if (destroyEventDue_) {
        destroyEventDue_ = false;
        events_.AboutToBeDestroyed(*this);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Win32MainWindow::OnCommand(int id, int code) {
  for (const ControlDescription& control : description_.controls) {
    if (win32::ControlId(control.control) != id) continue;
    const bool clicked = control.event == ControlEvent::kClicked && code == BN_CLICKED;
    // A write from code runs the event itself (WriteEdit); this reports the user's changes.
    const bool changed =
        control.event == ControlEvent::kContentChanged && code == EN_CHANGE && !writing_;
    if (clicked || changed) RunEvent(control.control);
    return;
  }
}

LRESULT Win32MainWindow::OnStaticColour(HDC dc, HWND hwnd) const {
  for (const ControlDescription& control : description_.controls) {
    if (Hwnd(control.control) == hwnd) SetTextColor(dc, ToColorref(control.textColour));
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Win32MainWindow::RunEvent(Control control) {
  events_.Run(DescriptionOf(description_, control).handler, *this);
}

bool Win32MainWindow::TakeKeyboardMessage(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.hwnd == nullptr) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!IsMainWindow(root)) return false;
  Win32MainWindow* self = WindowOf(root);
  return self != nullptr && self->TakeKey(message);
}

bool Win32MainWindow::TakeKey(const MSG& message) {
  switch (message.wParam) {
    case VK_TAB:
      if (KeyDown(VK_CONTROL) || KeyDown(VK_MENU)) return false;
      MoveFocus(KeyDown(VK_SHIFT) ? -1 : 1);
      return true;
    case VK_ESCAPE:
      // Exactly as the close box does.
      SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_RETURN:
      // Enter is bound to no button; only the multi-line box takes it, as a line break.
      for (const ControlDescription& control : description_.controls) {
        if (control.kind == ControlKind::kMultiLineEdit && Hwnd(control.control) == GetFocus()) {
          return false;
        }
      }
      return true;
    default:
      return false;
  }
}

// Tab stops in creation order (the description's rows last first), skipping those that are
// hidden or disabled; the dialog manager's own order would follow the stacking instead.
void Win32MainWindow::MoveFocus(int step) {
  const int count = static_cast<int>(kControlCount);
  const auto rowAt = [&](int position) { return count - 1 - ((position % count + count) % count); };
  const HWND focus = GetFocus();
  int position = step > 0 ? -1 : count;
  for (int i = 0; i < count; ++i) {
    const HWND hwnd = controls_[static_cast<std::size_t>(rowAt(i))];
    if (hwnd != nullptr && (hwnd == focus || IsChild(hwnd, focus))) position = i;
  }
  for (int n = 1; n <= count; ++n) {
    const ControlDescription& control =
        description_.controls[static_cast<std::size_t>(rowAt(position + step * n))];
    const HWND hwnd = Hwnd(control.control);
    if (!control.tabStop || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) continue;
    ::SetFocus(hwnd);
    // Entering an edit box by Tab selects its content, as the dialog manager does.
    if (IsEdit(control.kind)) SendMessageW(hwnd, EM_SETSEL, 0, -1);
    return;
  }
}

Text Win32MainWindow::ReadEdit(Control box) const {
  const HWND hwnd = Hwnd(box);
  if (hwnd == nullptr) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return win32::Narrow(text);
}

// A single-line box reports a write from code as a change and a multi-line box does not; both
// are silenced during the write and the event runs once afterwards.
void Win32MainWindow::WriteEdit(Control box, const Text& text) {
  const HWND hwnd = Hwnd(box);
  if (hwnd == nullptr) return;
  writing_ = true;
  SetWindowTextW(hwnd, win32::Wide(text).c_str());
  writing_ = false;
  if (DescriptionOf(description_, box).event == ControlEvent::kContentChanged) RunEvent(box);
}

void Win32MainWindow::WriteCaption(Control control, const Text& caption) {
  if (const HWND hwnd = Hwnd(control)) SetWindowTextW(hwnd, win32::Wide(caption).c_str());
}

void Win32MainWindow::SetVisible(Control control, bool visible) {
  if (const HWND hwnd = Hwnd(control)) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32MainWindow::SetDisabled(Control control, bool disabled) {
  if (const HWND hwnd = Hwnd(control)) EnableWindow(hwnd, disabled ? FALSE : TRUE);
}

void Win32MainWindow::SetFocus(Control control) {
  if (const HWND hwnd = Hwnd(control)) ::SetFocus(hwnd);
}

// While busy the thread takes no messages, so no WM_SETCURSOR puts the class cursor back early.
void Win32MainWindow::ShowBusyCursor(bool busy) {
  if (busy) {
    cursorBeforeBusy_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  } else {
    SetCursor(cursorBeforeBusy_ != nullptr ? cursorBeforeBusy_ : LoadCursor(nullptr, IDC_ARROW));
    cursorBeforeBusy_ = nullptr;
  }
}

}  // namespace quorvant
