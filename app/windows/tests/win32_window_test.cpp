#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window_events.h"
#include "app/tests/fake_ui.h"
#include "app/window_description.h"
#include "app/windows/tests/win32_test_driver.h"
#include "app/windows/win32_desktop.h"
#include "app/windows/win32_main_window.h"
#include "text/tests/text_printers.h"

// The Win32 window read back with the Windows API, driven through its message queue.
namespace quorvant {
namespace {

using fakes::RecordingEvents;
using win32_test::Pump;
using win32_test::TextOf;
using win32_test::Utf16;

using TestDesktop = fakes::RefusableDesktop<Win32Desktop>;

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  std::wstring lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), ::towlower);
  return lower;
}

LONG_PTR StyleOf(HWND hwnd) {
  return GetWindowLongPtrW(hwnd, GWL_STYLE);
}

class Win32WindowTest : public ::testing::Test {
 protected:
  Win32WindowTest() {
    EXPECT_TRUE(window.Open());
    Pump();
  }

  HWND W(Control control) const { return window.Hwnd(control); }
  int Runs(Handler handler) const {
    return static_cast<int>(std::count(recorder.ran.begin(), recorder.ran.end(), handler));
  }

  const AppSettings settings{"https://home.test/start", "测试站[home.test]",
                             "http://127.0.0.1:9/index.php?m=api&a=taokoulingjm"};
  const WindowDescription description = MainWindowDescription(settings);
  TestDesktop desktop;
  MainWindowEvents events{settings, desktop};
  RecordingEvents recorder{events};
  Win32MainWindow window{description, recorder, desktop};
};

TEST_F(Win32WindowTest, StartsWithCopyDisabledHintHiddenAndFocusInTheCodeBox) {
  EXPECT_FALSE(IsWindowEnabled(W(Control::按钮_复制)));
  EXPECT_FALSE(IsWindowVisible(W(Control::标签_复制提示)));
  EXPECT_EQ(GetFocus(), W(Control::编辑框_淘口令));
}

TEST_F(Win32WindowTest, ControlsMatchTheirDescription) {
  struct Case {
    Control control;
    const char8_t* text;  // as the user reads it
    const wchar_t* windowClass;
  };
  const Case cases[] = {
      {Control::超级链接框1, u8"测试站[home.test]", L"quorvanthyperlink"},
      {Control::标签2, u8"格式：《Rt8pWm2XcLs《或￥Hn3yQf7JkEz￥", L"static"},
      {Control::标签1, u8"说明：在淘口令框内输入淘口令后点击解密即可", L"static"},
      {Control::标签_复制提示, u8"提示：复制成功", L"static"},
      {Control::按钮_复制, u8"复制内容", L"button"},
      {Control::编辑框_解密后, u8"", L"edit"},
      {Control::编辑框_淘口令, u8"", L"edit"},
      {Control::标签3, u8"淘口令：", L"static"},
      {Control::按钮_解密, u8"解密", L"button"},
      {Control::标签4, u8"_____________________________________________________", L"static"},
  };
  const auto defaultFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const Case& c : cases) {
    const ControlDescription& control = DescriptionOf(description, c.control);
    SCOPED_TRACE(static_cast<int>(c.control));
    const HWND hwnd = W(c.control);
    EXPECT_EQ(ClassOf(hwnd), c.windowClass);
    EXPECT_EQ(win32_test::BoundsOf(hwnd), control.bounds);
    EXPECT_EQ(TextOf(hwnd), Utf16(c.text));
    EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, control.visible);
    EXPECT_EQ((StyleOf(hwnd) & WS_TABSTOP) != 0, control.tabStop);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETFONT, 0, 0), defaultFont);
    if (control.kind == ControlKind::kLabel) {
      const Rgb& rgb = control.textColour;
      EXPECT_EQ(win32_test::LabelTextColour(window.hwnd(), hwnd),
                RGB(rgb.red, rgb.green, rgb.blue));
      // One line, left-aligned, vertically centred, "&" shown as it is.
      EXPECT_EQ(StyleOf(hwnd) & (SS_TYPEMASK | SS_CENTERIMAGE | SS_NOPREFIX),
                SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX);
    }
  }
  EXPECT_EQ(win32_test::LabelTextColour(window.hwnd(), W(Control::标签_复制提示)), RGB(255, 0, 0));
}

// The edit control takes WS_BORDER over and draws the border itself, so it is read from the
// pixels: a one-pixel line, then the white inside; no 3-D edge.
TEST_F(Win32WindowTest, EditBoxesHaveAFlatBorderAndTheirScrolling) {
  struct Case {
    Control box;
    LONG_PTR present;
    LONG_PTR absent;
  };
  const Case cases[] = {
      {Control::编辑框_淘口令, ES_AUTOHSCROLL, ES_MULTILINE | WS_VSCROLL | ES_READONLY},
      {Control::编辑框_解密后, ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL,
       ES_AUTOHSCROLL | WS_HSCROLL | ES_READONLY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.box));
    const HWND box = W(c.box);
    EXPECT_EQ(StyleOf(box) & c.present, c.present);
    EXPECT_EQ(StyleOf(box) & c.absent, 0);
    EXPECT_EQ(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    const win32_test::Picture picture = win32_test::Render(box);
    const int middle = picture.height / 2;
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_NE(picture.at(0, middle), white);
    EXPECT_EQ(picture.at(1, middle), white);
    EXPECT_NE(picture.at(picture.width / 2, 0), white);
    EXPECT_EQ(picture.at(picture.width / 2, 1), white);
  }
}

TEST_F(Win32WindowTest, WindowIsFixedCentredAndHasNoMaximizeBox) {
  EXPECT_EQ(TextOf(window.hwnd()), L"Quorvant");
  RECT frame;
  GetWindowRect(window.hwnd(), &frame);
  EXPECT_EQ(frame.right - frame.left, 285);
  EXPECT_EQ(frame.bottom - frame.top, 252);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 285) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 252) / 2);
  const LONG_PTR style = StyleOf(window.hwnd());
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_EQ(GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetMenu(window.hwnd()), nullptr);
  EXPECT_EQ(GetClassLongPtrW(window.hwnd(), GCLP_HBRBACKGROUND),
            reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
  // Where controls overlap, the one listed first lies above.
  const auto topAt = [this](int x, int y) {
    return ChildWindowFromPointEx(window.hwnd(), POINT{x, y}, CWP_SKIPINVISIBLE);
  };
  EXPECT_EQ(topAt(60, 10), W(Control::编辑框_淘口令));
  EXPECT_EQ(topAt(210, 148), W(Control::按钮_复制));
}

TEST_F(Win32WindowTest, UserChangesToTheResultBoxToggleTheCopyButton) {
  struct Case {
    const char* name;
    const char* before;
    std::function<void(HWND)> edit;
    bool enabled;
  };
  const Case cases[] = {
      {"type one character", "", [](HWND box) { win32_test::Type(box, L"x"); }, true},
      {"type and delete it", "",
       [](HWND box) {
         win32_test::Type(box, L"x");
         win32_test::Type(box, L"\b");
       },
       false},
      {"paste", "",
       [](HWND box) {
         win32_test::PutOnClipboard(Utf16(u8"链接"));
         PostMessageW(box, WM_PASTE, 0, 0);
         Pump();
       },
       true},
      {"select all and delete", "abc",
       [](HWND box) {
         SendMessageW(box, EM_SETSEL, 0, -1);
         win32_test::PressKey(box, VK_DELETE);
       },
       false},
      {"Enter alone", "", [](HWND box) { win32_test::PressKey(box, VK_RETURN); }, true},
  };
  const HWND box = W(Control::编辑框_解密后);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.WriteEdit(Control::编辑框_解密后, c.before);
    SetFocus(box);
    recorder.ran.clear();
    c.edit(box);
    EXPECT_EQ(IsWindowEnabled(W(Control::按钮_复制)) != FALSE, c.enabled);
    EXPECT_GE(Runs(Handler::kUpdateCopyButton), 1);
  }
}

// A single-line box reports a write from code and a multi-line one does not: both must run
// the change event exactly once per write.
TEST_F(Win32WindowTest, EveryWriteRunsTheChangeEventOnce) {
  struct Case {
    Control box;
    Text first;
    Text second;
    int runs;  // of the second write
  };
  const Case cases[] = {
      {Control::编辑框_解密后, "a", "a", 1}, {Control::编辑框_解密后, "", "", 1},
      {Control::编辑框_解密后, "a", "b", 1}, {Control::编辑框_解密后, "一\r\n二", "一\r\n二", 1},
      {Control::编辑框_淘口令, "a", "a", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.first) + " then " + ::testing::PrintToString(c.second));
    window.WriteEdit(c.box, c.first);
    recorder.ran.clear();
    window.WriteEdit(c.box, c.second);
    Pump();
    EXPECT_EQ(Runs(Handler::kUpdateCopyButton), c.runs);
    EXPECT_EQ(window.ReadEdit(c.box), c.second);
  }
}

TEST_F(Win32WindowTest, CopyPutsTheExactTextOnTheClipboardAndShowsTheRedHint) {
  const Text text = "第一行\r\n第二行 https://x.test/?q=1&淘";
  window.WriteEdit(Control::编辑框_解密后, text);
  for (int press = 1; press <= 2; ++press) {
    SCOPED_TRACE(press);
    SendMessageW(W(Control::按钮_复制), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(win32_test::ClipboardText(), std::string(text.view()));
    EXPECT_TRUE(IsWindowVisible(W(Control::标签_复制提示)));
    EXPECT_EQ(TextOf(W(Control::标签_复制提示)), Utf16(u8"提示：复制成功"));
    EXPECT_EQ(win32_test::LabelTextColour(window.hwnd(), W(Control::标签_复制提示)),
              RGB(255, 0, 0));
  }
}

TEST_F(Win32WindowTest, CopyWhileAnotherProgramHoldsTheClipboardChangesNothingOnScreen) {
  win32_test::PutOnClipboard(L"before");
  window.WriteEdit(Control::编辑框_解密后, "abc");
  {
    const win32_test::ClipboardHolder holder;
    ASSERT_TRUE(holder.holding());
    SendMessageW(W(Control::按钮_复制), BM_CLICK, 0, 0);
    Pump();
  }
  EXPECT_FALSE(IsWindowVisible(W(Control::标签_复制提示)));
  EXPECT_EQ(win32_test::ClipboardText(), "before");
  EXPECT_EQ(window.ReadEdit(Control::编辑框_解密后), Text("abc"));
}

TEST_F(Win32WindowTest, EveryRouteOfClosingOpensTheHomePageOnce) {
  struct Case {
    const char* name;
    std::function<void(const Win32MainWindow&)> close;
  };
  const Case cases[] = {
      {"Escape in the code box",
       [](const Win32MainWindow& w) {
         win32_test::PressKey(w.Hwnd(Control::编辑框_淘口令), VK_ESCAPE);
       }},
      {"Escape in the result box",
       [](const Win32MainWindow& w) {
         win32_test::PressKey(w.Hwnd(Control::编辑框_解密后), VK_ESCAPE);
       }},
      {"Escape on the decode button",
       [](const Win32MainWindow& w) {
         win32_test::PressKey(w.Hwnd(Control::按钮_解密), VK_ESCAPE);
       }},
      {"close box",
       [](const Win32MainWindow& w) { PostMessageW(w.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Alt+F4", [](const Win32MainWindow& w) { win32_test::PressAltF4(w.hwnd()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDesktop own;
    MainWindowEvents ownEvents(settings, own);
    Win32MainWindow fresh(description, ownEvents, own);
    ASSERT_TRUE(fresh.Open());
    const HWND hwnd = fresh.hwnd();
    c.close(fresh);
    Pump();
    EXPECT_FALSE(IsWindow(hwnd));
    // A second request to close opens nothing more.
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_EQ(own.opened.size(), 1u);
    EXPECT_EQ(own.opened.front(), settings.homePageUrl);
  }
}

TEST_F(Win32WindowTest, EnterInTheCodeBoxDoesNothing) {
  const HWND code = W(Control::编辑框_淘口令);
  win32_test::Type(code, L"abc");
  recorder.ran.clear();
  win32_test::PressKey(code, VK_RETURN);
  EXPECT_TRUE(IsWindowVisible(window.hwnd()));
  EXPECT_EQ(GetFocus(), code);
  EXPECT_EQ(window.ReadEdit(Control::编辑框_淘口令), Text("abc"));
  EXPECT_EQ(window.ReadEdit(Control::编辑框_解密后), Text());
  EXPECT_TRUE(recorder.ran.empty());
  EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(Win32WindowTest, TabMovesThroughTheTabStopsInCreationOrder) {
  struct Case {
    const char* name;
    Text result;  // what the result box holds, which decides the copy button
    bool shift;
    std::vector<Control> stops;
  };
  using enum Control;
  const Case cases[] = {
      {"Tab, copy disabled", "", false, {编辑框_解密后, 按钮_解密, 编辑框_淘口令}},
      {"Shift+Tab, copy disabled", "", true, {按钮_解密, 编辑框_解密后, 编辑框_淘口令}},
      {"Tab, copy enabled", "x", false, {编辑框_解密后, 按钮_复制, 按钮_解密, 编辑框_淘口令}},
      {"Shift+Tab, copy enabled", "x", true, {按钮_解密, 按钮_复制, 编辑框_解密后, 编辑框_淘口令}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.WriteEdit(编辑框_解密后, c.result);
    window.SetFocus(编辑框_淘口令);
    for (const Control stop : c.stops) {
      win32_test::PressKey(GetFocus(), VK_TAB, c.shift);
      EXPECT_EQ(GetFocus(), W(stop)) << static_cast<int>(stop);
    }
  }
}

TEST_F(Win32WindowTest, HyperlinkOpensItsTargetAndShowsItsState) {
  const HWND link = W(Control::超级链接框1);
  EXPECT_EQ(GetClassLongPtrW(link, GCLP_HCURSOR),
            reinterpret_cast<LONG_PTR>(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND))));

  const COLORREF normal = RGB(0, 0, 255), hover = RGB(0, 120, 215), visited = RGB(128, 0, 0);
  const auto mouse = [link](UINT message, int x, int y) {
    return [link, message, x, y] {
      SendMessageW(link, message, 0, MAKELPARAM(x, y));
      Pump();
    };
  };
  const auto over = mouse(WM_MOUSEMOVE, 5, 5);
  const auto gone = mouse(WM_MOUSEMOVE, -5, -5);
  struct Step {
    const char* name;
    std::function<void()> act;
    COLORREF colour;
    std::size_t opened;
    bool captured;
  };
  const Step steps[] = {
      {"initially", [] {}, normal, 0, false},
      {"mouse over", over, hover, 0, true},
      {"mouse gone", gone, normal, 0, false},
      {"right press", mouse(WM_RBUTTONDOWN, 5, 5), normal, 0, false},
      {"browser refuses",
       [this, press = mouse(WM_LBUTTONDOWN, 5, 5)] {
         desktop.browserAccepts = false;
         press();
       },
       normal, 1, false},
      {"browser takes it",
       [this, press = mouse(WM_LBUTTONDOWN, 5, 5)] {
         desktop.browserAccepts = true;
         press();
       },
       visited, 2, false},
      {"mouse over again", over, hover, 2, true},
      {"mouse gone again", gone, visited, 2, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(win32_test::DrawnTextColour(link), step.colour);
    EXPECT_EQ(desktop.opened.size(), step.opened);
    EXPECT_EQ(GetCapture() == link, step.captured);
  }
  for (const Text& address : desktop.opened) EXPECT_EQ(address, settings.homePageUrl);
}

TEST_F(Win32WindowTest, HyperlinkShowsItsTargetWhenItHasNoCaption) {
  const HWND link = W(Control::超级链接框1);
  window.WriteCaption(Control::超级链接框1, "");
  EXPECT_EQ(TextOf(link), L"");
  // The drawn text is the target's: wider than nothing, in the link's colour.
  EXPECT_EQ(win32_test::DrawnTextColour(link), RGB(0, 0, 255));
}

// The real clipboard as the copy handler uses it.
TEST(Win32Desktop, PutsTheTextOnTheClipboardAsPlainText) {
  const Text texts[] = {"abc", "", "第一行\r\n第二行", "tab\there"};
  Win32Desktop desktop;
  for (const Text& text : texts) {
    SCOPED_TRACE(::testing::PrintToString(text));
    EXPECT_TRUE(desktop.SetClipboardText(text));
    EXPECT_EQ(win32_test::ClipboardText(), std::string(text.view()));
  }
  win32_test::PutOnClipboard(L"kept");
  {
    const win32_test::ClipboardHolder holder;
    ASSERT_TRUE(holder.holding());
    EXPECT_FALSE(desktop.SetClipboardText("refused"));
  }
  EXPECT_EQ(win32_test::ClipboardText(), "kept");
}

}  // namespace
}  // namespace quorvant
