#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include "app/main_window_events.h"
#include "app/qt_desktop.h"
#include "app/tests/fake_ui.h"
#include "app/ui_qt.h"
#include "app/window_description.h"
#include "text/tests/text_printers.h"

namespace quorvant {
namespace {

using fakes::RecordingEvents;

using TestDesktop = fakes::RefusableDesktop<QtDesktop>;

QString TextOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) return box->toPlainText();
  return {};
}

QColor TextColourOf(QWidget* widget) {
  return widget->palette().color(QPalette::WindowText);
}

class QtWindowTest : public ::testing::Test {
 protected:
  QtWindowTest() {
    QGuiApplication::clipboard()->clear();
    window.Open();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QWidget* W(Control control) const { return window.widget(control); }
  int Runs(Handler handler) const {
    return static_cast<int>(std::count(recorder.ran.begin(), recorder.ran.end(), handler));
  }

  const AppSettings settings{"https://home.test/start", "测试站[home.test]",
                             "http://127.0.0.1:9/index.php?m=api&a=taokoulingjm"};
  const WindowDescription description = MainWindowDescription(settings);
  TestDesktop desktop;
  MainWindowEvents events{settings, desktop};
  RecordingEvents recorder{events};
  QtMainWindow window{description, recorder, desktop};
};

TEST_F(QtWindowTest, StartsWithCopyDisabledHintHiddenAndFocusInTheCodeBox) {
  EXPECT_FALSE(W(Control::按钮_复制)->isEnabled());
  EXPECT_FALSE(W(Control::标签_复制提示)->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), W(Control::编辑框_淘口令));
}

TEST_F(QtWindowTest, ControlsMatchTheirDescription) {
  struct Case {
    Control control;
    const char8_t* text;  // as the user reads it
  };
  const Case cases[] = {
      {Control::超级链接框1, u8"测试站[home.test]"},
      {Control::标签2, u8"格式：《Rt8pWm2XcLs《或￥Hn3yQf7JkEz￥"},
      {Control::标签1, u8"说明：在淘口令框内输入淘口令后点击解密即可"},
      {Control::标签_复制提示, u8"提示：复制成功"},
      {Control::按钮_复制, u8"复制内容"},
      {Control::编辑框_解密后, u8""},
      {Control::编辑框_淘口令, u8""},
      {Control::标签3, u8"淘口令："},
      {Control::按钮_解密, u8"解密"},
      {Control::标签4, u8"_____________________________________________________"},
  };
  for (const Case& c : cases) {
    const ControlDescription& control = DescriptionOf(description, c.control);
    SCOPED_TRACE(static_cast<int>(c.control));
    const Bounds& b = control.bounds;
    EXPECT_EQ(W(c.control)->geometry(), QRect(b.left, b.top, b.width, b.height));
    EXPECT_EQ(TextOf(W(c.control)), QString::fromUtf8(c.text));
    EXPECT_EQ(W(c.control)->isVisibleTo(&window), control.visible);
    EXPECT_EQ(W(c.control)->focusPolicy() != Qt::NoFocus, control.tabStop);
    if (control.kind == ControlKind::kLabel) {
      const Rgb& rgb = control.textColour;
      EXPECT_EQ(TextColourOf(W(c.control)), QColor(rgb.red, rgb.green, rgb.blue));
      EXPECT_EQ(qobject_cast<QLabel*>(W(c.control))->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    }
  }
  EXPECT_EQ(TextColourOf(W(Control::标签_复制提示)), QColor(255, 0, 0));
}

TEST_F(QtWindowTest, WindowIsFixedCentredAndHasNoMaximizeBox) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Quorvant"));
  EXPECT_EQ(window.size(), QSize(279, 220));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  const QRect screen = window.screen()->geometry();
  EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(screen.left() + (screen.width() - 285) / 2,
                                                     screen.top() + (screen.height() - 252) / 2));
  // The code box overlaps its label and lies above it.
  EXPECT_EQ(window.childAt(60, 10), W(Control::编辑框_淘口令));
}

TEST_F(QtWindowTest, UserChangesToTheResultBoxToggleTheCopyButton) {
  struct Case {
    const char* name;
    const char* before;
    std::function<void(QWidget*)> edit;
    bool enabled;
  };
  const Case cases[] = {
      {"type one character", "", [](QWidget* box) { QTest::keyClicks(box, "x"); }, true},
      {"type and delete it", "",
       [](QWidget* box) {
         QTest::keyClicks(box, "x");
         QTest::keyClick(box, Qt::Key_Backspace);
       },
       false},
      {"paste", "",
       [](QWidget* box) {
         QGuiApplication::clipboard()->setText(QString::fromUtf8(u8"链接"));
         QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
       },
       true},
      {"select all and delete", "abc",
       [](QWidget* box) {
         QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
         QTest::keyClick(box, Qt::Key_Delete);
       },
       false},
      {"Enter alone", "", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }, true},
  };
  QWidget* box = W(Control::编辑框_解密后);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.WriteEdit(Control::编辑框_解密后, c.before);
    box->setFocus();
    recorder.ran.clear();
    c.edit(box);
    EXPECT_EQ(W(Control::按钮_复制)->isEnabled(), c.enabled);
    EXPECT_GE(Runs(Handler::kUpdateCopyButton), 1);
  }
}

TEST_F(QtWindowTest, EveryWriteRunsTheChangeEventOnce) {
  struct Case {
    Control box;
    Text first;
    Text second;
    int runs;  // of the second write
  };
  const Case cases[] = {
      {Control::编辑框_解密后, "a", "a", 1}, {Control::编辑框_解密后, "", "", 1},
      {Control::编辑框_解密后, "a", "b", 1}, {Control::编辑框_解密后, "一\n二", "一\n二", 1},
      {Control::编辑框_淘口令, "a", "a", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.first) + " then " + ::testing::PrintToString(c.second));
    window.WriteEdit(c.box, c.first);
    recorder.ran.clear();
    window.WriteEdit(c.box, c.second);
    EXPECT_EQ(Runs(Handler::kUpdateCopyButton), c.runs);
    EXPECT_EQ(window.ReadEdit(c.box), c.second);
  }
}

TEST_F(QtWindowTest, CopyPutsTheExactTextOnTheClipboardAndShowsTheRedHint) {
  window.WriteEdit(Control::编辑框_解密后, "第一行\n第二行 https://x.test/?q=1&淘");
  const QString expected = QString::fromUtf8(u8"第一行\n第二行 https://x.test/?q=1&淘");
  for (int press = 1; press <= 2; ++press) {
    SCOPED_TRACE(press);
    QTest::mouseClick(W(Control::按钮_复制), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    EXPECT_TRUE(W(Control::标签_复制提示)->isVisible());
    EXPECT_EQ(TextOf(W(Control::标签_复制提示)), QString::fromUtf8(u8"提示：复制成功"));
    EXPECT_EQ(TextColourOf(W(Control::标签_复制提示)), QColor(255, 0, 0));
  }
}

TEST_F(QtWindowTest, FailedCopyChangesNothingOnScreen) {
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  desktop.clipboardWorks = false;
  window.WriteEdit(Control::编辑框_解密后, "abc");
  QTest::mouseClick(W(Control::按钮_复制), Qt::LeftButton);
  EXPECT_FALSE(W(Control::标签_复制提示)->isVisible());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
  EXPECT_EQ(window.ReadEdit(Control::编辑框_解密后), Text("abc"));
}

TEST_F(QtWindowTest, EveryRouteOfClosingOpensTheHomePageOnce) {
  struct Case {
    const char* name;
    std::function<void(QtMainWindow&)> close;
  };
  const Case cases[] = {
      {"Escape in the code box",
       [](QtMainWindow& w) { QTest::keyClick(w.widget(Control::编辑框_淘口令), Qt::Key_Escape); }},
      {"Escape in the result box",
       [](QtMainWindow& w) { QTest::keyClick(w.widget(Control::编辑框_解密后), Qt::Key_Escape); }},
      {"Escape on the decode button",
       [](QtMainWindow& w) { QTest::keyClick(w.widget(Control::按钮_解密), Qt::Key_Escape); }},
      {"close box", [](QtMainWindow& w) { w.close(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDesktop own;
    MainWindowEvents ownEvents(settings, own);
    QtMainWindow fresh(description, ownEvents, own);
    fresh.Open();
    fresh.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fresh));
    c.close(fresh);
    EXPECT_FALSE(fresh.isVisible());
    // A second request to close, as a window manager may send, opens nothing more.
    fresh.close();
    QCloseEvent again;
    QApplication::sendEvent(&fresh, &again);
    ASSERT_EQ(own.opened.size(), 1u);
    EXPECT_EQ(own.opened.front(), settings.homePageUrl);
  }
}

TEST_F(QtWindowTest, EnterInTheCodeBoxDoesNothing) {
  QWidget* code = W(Control::编辑框_淘口令);
  QTest::keyClicks(code, "abc");
  recorder.ran.clear();
  QTest::keyClick(code, Qt::Key_Return);
  QTest::keyClick(code, Qt::Key_Enter);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), code);
  EXPECT_EQ(window.ReadEdit(Control::编辑框_淘口令), Text("abc"));
  EXPECT_EQ(window.ReadEdit(Control::编辑框_解密后), Text());
  EXPECT_TRUE(recorder.ran.empty());
  EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(QtWindowTest, TabMovesThroughTheTabStopsInCreationOrder) {
  struct Case {
    const char* name;
    Text result;  // what the result box holds, which decides the copy button
    Qt::KeyboardModifiers modifiers;
    std::vector<Control> stops;
  };
  using enum Control;
  const Case cases[] = {
      {"Tab, copy disabled", "", Qt::NoModifier, {编辑框_解密后, 按钮_解密, 编辑框_淘口令}},
      {"Shift+Tab, copy disabled",
       "",
       Qt::ShiftModifier,
       {按钮_解密, 编辑框_解密后, 编辑框_淘口令}},
      {"Tab, copy enabled",
       "x",
       Qt::NoModifier,
       {编辑框_解密后, 按钮_复制, 按钮_解密, 编辑框_淘口令}},
      {"Shift+Tab, copy enabled",
       "x",
       Qt::ShiftModifier,
       {按钮_解密, 按钮_复制, 编辑框_解密后, 编辑框_淘口令}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.WriteEdit(编辑框_解密后, c.result);
    window.SetFocus(编辑框_淘口令);
    for (const Control stop : c.stops) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, c.modifiers);
      EXPECT_EQ(QApplication::focusWidget(), W(stop)) << static_cast<int>(stop);
    }
  }
}

TEST_F(QtWindowTest, HyperlinkOpensItsTargetAndShowsItsState) {
  QWidget* link = W(Control::超级链接框1);
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(link->font().underline());
  EXPECT_EQ(qobject_cast<QLabel*>(link)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);

  const QColor normal(0, 0, 255), hover(0, 120, 215), visited(128, 0, 0);
  struct Step {
    const char* name;
    std::function<void()> act;
    QColor colour;
    std::size_t opened;
  };
  auto enter = [link] {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(link, &event);
  };
  auto leave = [link] {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(link, &event);
  };
  auto press = [link](Qt::MouseButton button) {
    return [link, button] { QTest::mousePress(link, button, {}, QPoint(5, 5)); };
  };
  const Step steps[] = {
      {"initially", [] {}, normal, 0},
      {"mouse over", enter, hover, 0},
      {"mouse gone", leave, normal, 0},
      {"right press", press(Qt::RightButton), normal, 0},
      {"browser refuses",
       [this, press] {
         desktop.browserAccepts = false;
         press(Qt::LeftButton)();
       },
       normal, 1},
      {"browser takes it",
       [this, press] {
         desktop.browserAccepts = true;
         press(Qt::LeftButton)();
       },
       visited, 2},
      {"mouse over again", enter, hover, 2},
      {"mouse gone again", leave, visited, 2},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(TextColourOf(link), step.colour);
    EXPECT_EQ(desktop.opened.size(), step.opened);
  }
  for (const Text& address : desktop.opened) EXPECT_EQ(address, settings.homePageUrl);
}

}  // namespace
}  // namespace quorvant
