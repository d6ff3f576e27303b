#include "app/decode_share_code.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/main_window_events.h"
#include "app/tests/fake_ui.h"
#include "app/window_description.h"
#include "json/script_host.h"
#include "text/tests/text_printers.h"
#include "tools/decoding_service/decoding_service.h"
#include "web/inet.h"

// The decode handler against the stand-in service on loopback, with the window in memory, so
// that the order of its effects on the controls can be seen.
namespace quorvant {
namespace {

using decoding_service::DecodingService;
using decoding_service::FaultMode;
using decoding_service::ServiceOptions;
using fakes::FakeDesktop;
using fakes::FakeWindow;

constexpr char kFailureText[] = "淘口令解密失败，请确认输入的淘口令是否正确";
constexpr char kOldHint[] = "提示：复制成功";

// What the window showed while the result box's change handler ran.
struct Seen {
  Text result;
  Text hint;
  bool hintVisible;
  std::int32_t engines;
};

class SeeingEvents final : public WindowEvents {
 public:
  explicit SeeingEvents(WindowEvents& inner) : inner_(inner) {}
  void Created(Controls& window) override { inner_.Created(window); }
  void AboutToBeDestroyed(Controls& window) override { inner_.AboutToBeDestroyed(window); }
  void Run(Handler handler, Controls& window) override {
    if (handler == Handler::kUpdateCopyButton) {
      const auto& fake = static_cast<const FakeWindow&>(window);
      seen.push_back({fake.state(Control::编辑框_解密后).text,
                      fake.state(Control::标签_复制提示).text,
                      fake.state(Control::标签_复制提示).visible, LiveScriptEngines()});
    }
    inner_.Run(handler, window);
  }

  std::vector<Seen> seen;

 private:
  WindowEvents& inner_;
};

class DecodeShareCodeTest : public ::testing::Test {
 protected:
  // An endless answer must end the decode soon.
  void SetUp() override { SetScriptTimeBudget(500); }
  void TearDown() override { SetScriptTimeBudget(kDefaultScriptTimeBudget); }
};

TEST_F(DecodeShareCodeTest, WritesTheResultThenTheHintAndPutsTheCursorBack) {
  struct Case {
    const char* name;
    std::optional<ServiceOptions> service;  // none: nothing listens at the address
    Text code;
    Text result;
    Text hint;
  };
  const Case cases[] = {
      {"angle-bracket code", ServiceOptions{}, "《Rt8pWm2XcLs《",
       "https://item.shop.example/item.htm?id=652387104519&ut_sk=1.share", "提示：解密成功"},
      {"link with Chinese", ServiceOptions{}, "《Qm4vZt7NbWd《",
       "https://search.shop.example/search?q=连衣裙&tab=mall&sort=sale-desc"
       "&filter=reserve_price%5B100%2C300%5D&spm=a21bo.jianhua.201867-main.3",
       "提示：解密成功"},
      {"no link", ServiceOptions{.fault = FaultMode::kNoUrl}, "￥Hn3yQf7JkEz￥", "",
       "提示：解密成功"},
      {"unknown code", ServiceOptions{}, "￥Zz9zZz9zZz9￥", kFailureText, "提示：解密失败"},
      {"html page", ServiceOptions{.fault = FaultMode::kHtmlError}, "￥Hn3yQf7JkEz￥", kFailureText,
       "提示：解密失败"},
      {"endless script", ServiceOptions{.fault = FaultMode::kEndlessScript}, "￥Hn3yQf7JkEz￥",
       kFailureText, "提示：解密失败"},
      {"no service", std::nullopt, "￥Hn3yQf7JkEz￥", kFailureText, "提示：解密失败"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto service = std::make_unique<DecodingService>(c.service.value_or(ServiceOptions{}));
    ASSERT_NE(service->Port(), 0);
    const AppSettings settings{"https://home.test/", "Home[home.test]", Text(service->Endpoint())};
    if (!c.service) service.reset();

    FakeDesktop desktop;
    MainWindowEvents events{settings, desktop};
    SeeingEvents seeing{events};
    FakeWindow window{MainWindowDescription(settings), seeing};
    seeing.Created(window);
    window.WriteEdit(Control::编辑框_解密后, "用户写的字");
    window.WriteEdit(Control::编辑框_淘口令, c.code);
    seeing.seen.clear();
    const std::int32_t comBefore = ComInitializations();

    seeing.Run(Handler::kDecodeShareCode, window);

    EXPECT_EQ(window.state(Control::编辑框_解密后).text, c.result);
    EXPECT_EQ(window.state(Control::标签_复制提示).text, Text(c.hint));
    EXPECT_TRUE(window.state(Control::标签_复制提示).visible);
    EXPECT_EQ(window.state(Control::按钮_复制).disabled, c.result.empty());
    // The copy button's handler ran once, inside the write, before the hint changed.
    ASSERT_EQ(seeing.seen.size(), 1u);
    EXPECT_EQ(seeing.seen[0].result, c.result);
    EXPECT_EQ(seeing.seen[0].hint, Text(kOldHint));
    EXPECT_FALSE(seeing.seen[0].hintVisible);
    EXPECT_EQ(seeing.seen[0].engines, 1) << "the document's engine, and no other";
    EXPECT_EQ(window.busyCursor, (std::vector<bool>{true, false}));
    // Nothing of the decode is left behind.
    EXPECT_EQ(inet::OpenHandleCount(), 0);
    EXPECT_EQ(LiveScriptEngines(), 0);
    EXPECT_EQ(ComInitializations(), comBefore);
    EXPECT_EQ(window.state(Control::编辑框_淘口令).text, c.code);
    EXPECT_TRUE(desktop.opened.empty());
  }
}

}  // namespace
}  // namespace quorvant
