#include <gtest/gtest.h>

#include <optional>

#include "app/main_window_events.h"
#include "app/tests/fake_ui.h"
#include "app/window_description.h"
#include "text/tests/text_printers.h"

namespace quorvant {
namespace {

using fakes::FakeDesktop;
using fakes::FakeWindow;

// The main window's handlers connected to an in-memory window, as the program connects them.
class HandlersTest : public ::testing::Test {
 protected:
  const AppSettings settings{"https://home.test/start", "测试站[home.test]",
                             "http://127.0.0.1:9/index.php?m=api&a=taokoulingjm"};
  FakeDesktop desktop;
  MainWindowEvents events{settings, desktop};
  FakeWindow window{MainWindowDescription(settings), events};
};

TEST_F(HandlersTest, PrepareMainWindowDisablesCopyAndFocusesTheCodeBox) {
  ASSERT_FALSE(window.state(Control::按钮_复制).disabled);
  events.Created(window);
  EXPECT_TRUE(window.state(Control::按钮_复制).disabled);
  EXPECT_EQ(window.focus(), Control::编辑框_淘口令);
  EXPECT_FALSE(window.state(Control::标签_复制提示).visible);
}

TEST_F(HandlersTest, CopyButtonFollowsTheResultBox) {
  struct Case {
    const char* name;
    Text before;
    Text written;
    bool disabled;
  };
  const Case cases[] = {
      {"text into empty box", "", "a", false},      {"emptied", "a", "", true},
      {"empty into empty box", "", "", true},       {"blank only", "x", " ", false},
      {"two-byte characters", "", "淘口令", false}, {"line break only", "", "\n", false},
  };
  events.Created(window);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.WriteEdit(Control::编辑框_解密后, c.before);
    window.WriteEdit(Control::编辑框_解密后, c.written);
    EXPECT_EQ(window.state(Control::按钮_复制).disabled, c.disabled);
  }
}

TEST_F(HandlersTest, CodeBoxWritesLeaveTheCopyButtonAlone) {
  events.Created(window);
  window.WriteEdit(Control::编辑框_淘口令, "《Rt8pWm2XcLs《");
  EXPECT_TRUE(window.state(Control::按钮_复制).disabled);
}

TEST_F(HandlersTest, CopyShowsTheHintOnlyWhenTheClipboardTookTheText) {
  struct Hint {
    Text caption;
    bool visible;
  };
  struct Case {
    const char* name;
    bool clipboardWorks;
    Hint before;
    std::optional<Text> clipboard;
    Hint after;
  };
  const Text result = "第一行\n第二行 https://x.test/?a=1";
  const Case cases[] = {
      {"first copy", true, {"提示：复制成功", false}, result, {"提示：复制成功", true}},
      {"after a failed decode", true, {"提示：解密失败", true}, result, {"提示：复制成功", true}},
      {"clipboard refuses",
       false,
       {"提示：复制成功", false},
       std::nullopt,
       {"提示：复制成功", false}},
      {"clipboard refuses after a decode",
       false,
       {"提示：解密失败", true},
       std::nullopt,
       {"提示：解密失败", true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindow fresh(MainWindowDescription(settings), events);
    desktop.clipboard.reset();
    desktop.clipboardWorks = c.clipboardWorks;
    fresh.WriteCaption(Control::标签_复制提示, c.before.caption);
    fresh.SetVisible(Control::标签_复制提示, c.before.visible);
    fresh.WriteEdit(Control::编辑框_解密后, result);

    events.Run(Handler::kCopyResult, fresh);

    EXPECT_EQ(desktop.clipboard, c.clipboard);
    EXPECT_EQ(fresh.state(Control::标签_复制提示).text, c.after.caption);
    EXPECT_EQ(fresh.state(Control::标签_复制提示).visible, c.after.visible);
    EXPECT_EQ(fresh.ReadEdit(Control::编辑框_解密后), result);
  }
}

TEST_F(HandlersTest, ClosingOpensTheHomePageItWasGiven) {
  events.AboutToBeDestroyed(window);
  ASSERT_EQ(desktop.opened.size(), 1u);
  EXPECT_EQ(desktop.opened.front(), settings.homePageUrl);
}

}  // namespace
}  // namespace quorvant
