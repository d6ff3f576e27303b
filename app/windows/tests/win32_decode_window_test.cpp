#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_events.h"
#include "app/tests/fake_ui.h"
#include "app/window_description.h"
#include "app/windows/tests/win32_test_driver.h"
#include "app/windows/win32_main_window.h"
#include "json/script_host.h"
#include "tools/decoding_service/decoding_service.h"
#include "web/inet.h"

// Decodes end to end: the Win32 window, typed into and clicked, against the stand-in decoding
// service on loopback, over WinINet and the script control.
namespace quorvant {
namespace {

using decoding_service::DecodingService;
using decoding_service::FaultMode;
using decoding_service::ServiceOptions;
using fakes::FakeDesktop;
using fakes::RecordingEvents;
using win32_test::TextOf;
using win32_test::Utf16;

constexpr char8_t kFailureText[] = u8"淘口令解密失败，请确认输入的淘口令是否正确";
constexpr char8_t kFailureHint[] = u8"提示：解密失败";
constexpr char8_t kSuccessHint[] = u8"提示：解密成功";

// The window of the program with its decode button posting to `endpoint`.
class DecodeWindow {
 public:
  explicit DecodeWindow(const std::string& endpoint)
      : settings_{"https://home.test/", "Home[home.test]", Text(endpoint)} {
    EXPECT_TRUE(window_.Open());
    win32_test::Pump();
  }

  HWND W(Control control) const { return window_.Hwnd(control); }
  HWND hwnd() const { return window_.hwnd(); }
  std::wstring Result() const { return TextOf(W(Control::编辑框_解密后)); }
  int CopyButtonUpdates() const {
    return static_cast<int>(
        std::count(recorder_.ran.begin(), recorder_.ran.end(), Handler::kUpdateCopyButton));
  }

  // Types into the code box as a user does and presses the decode button.
  void Decode(const std::wstring& code) {
    const HWND box = W(Control::编辑框_淘口令);
    SetWindowTextW(box, L"");
    win32_test::Type(box, code);
    EXPECT_EQ(TextOf(box), code);
    SendMessageW(W(Control::按钮_解密), BM_CLICK, 0, 0);
    win32_test::Pump();
  }

 private:
  const AppSettings settings_;
  FakeDesktop desktop_;
  MainWindowEvents events_{settings_, desktop_};
  RecordingEvents recorder_{events_};
  Win32MainWindow window_{MainWindowDescription(settings_), recorder_, desktop_};
};

class Win32DecodeWindowTest : public ::testing::Test {
 protected:
  // An endless answer and a silent service must end a decode soon.
  void SetUp() override {
    SetScriptTimeBudget(500);
    inet::SetTimeouts({2000, 500});
  }
  void TearDown() override {
    SetScriptTimeBudget(kDefaultScriptTimeBudget);
    inet::SetTimeouts(inet::kDefaultTimeouts);
  }
};

TEST_F(Win32DecodeWindowTest, ShowsTheLinkOrTheFailureText) {
  struct Case {
    const char* name;
    std::optional<ServiceOptions> service;  // none: nothing listens at the address
    const char8_t* code;
    const char8_t* result;
    const char8_t* hint;
  };
  const Case cases[] = {
      {"angle-bracket code", ServiceOptions{}, u8"《Rt8pWm2XcLs《",
       u8"https://item.shop.example/item.htm?id=652387104519&ut_sk=1.share", kSuccessHint},
      {"yuan-sign code", ServiceOptions{}, u8"￥Hn3yQf7JkEz￥",
       u8"https://m.tb.cn/h.5Hn3yQf?sm=7f2a1c", kSuccessHint},
      {"huge answer", ServiceOptions{.fault = FaultMode::kHugeBody}, u8"￥Hn3yQf7JkEz￥",
       u8"https://m.tb.cn/h.5Hn3yQf?sm=7f2a1c", kSuccessHint},
      {"success without a link", ServiceOptions{.fault = FaultMode::kNoUrl}, u8"《Rt8pWm2XcLs《",
       u8"", kSuccessHint},
      {"unknown code", ServiceOptions{}, u8"《Zz9zZz9zZz9《", kFailureText, kFailureHint},
      {"HTML error page", ServiceOptions{.fault = FaultMode::kHtmlError}, u8"《Rt8pWm2XcLs《",
       kFailureText, kFailureHint},
      {"marker as raw UTF-8", ServiceOptions{.fault = FaultMode::kRawUtf8Marker},
       u8"《Rt8pWm2XcLs《", kFailureText, kFailureHint},
      {"no service", std::nullopt, u8"《Rt8pWm2XcLs《", kFailureText, kFailureHint},
      {"script that never ends", ServiceOptions{.fault = FaultMode::kEndlessScript},
       u8"《Rt8pWm2XcLs《", kFailureText, kFailureHint},
      {"stalled answer", ServiceOptions{.fault = FaultMode::kStall}, u8"《Rt8pWm2XcLs《",
       kFailureText, kFailureHint},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto service = std::make_unique<DecodingService>(c.service.value_or(ServiceOptions{}));
    ASSERT_NE(service->Port(), 0);
    DecodeWindow window(service->Endpoint());
    if (!c.service) service.reset();
    // What the user typed into the result box goes, whatever the outcome.
    win32_test::Type(window.W(Control::编辑框_解密后), L"typed by hand");
    const std::int32_t comBefore = ComInitializations();

    window.Decode(Utf16(c.code));

    const HWND hint = window.W(Control::标签_复制提示);
    EXPECT_EQ(window.Result(), Utf16(c.result));
    EXPECT_EQ(TextOf(hint), Utf16(c.hint));
    EXPECT_TRUE(IsWindowVisible(hint));
    EXPECT_EQ(win32_test::LabelTextColour(window.hwnd(), hint), RGB(255, 0, 0));
    EXPECT_EQ(IsWindowEnabled(window.W(Control::按钮_复制)) != FALSE,
              !std::u8string_view(c.result).empty());
    EXPECT_EQ(inet::OpenHandleCount(), 0);
    EXPECT_EQ(LiveScriptEngines(), 0);
    EXPECT_EQ(ComInitializations(), comBefore);
  }
}

TEST_F(Win32DecodeWindowTest, EveryDecodeRunsTheCopyButtonHandler) {
  const DecodingService service;
  DecodeWindow window(service.Endpoint());
  const int before = window.CopyButtonUpdates();
  for (int decode = 1; decode <= 2; ++decode) {
    SCOPED_TRACE(decode);
    window.Decode(Utf16(u8"￥Hn3yQf7JkEz￥"));
    EXPECT_EQ(window.Result(), L"https://m.tb.cn/h.5Hn3yQf?sm=7f2a1c");
    EXPECT_EQ(window.CopyButtonUpdates(), before + decode);
  }
  EXPECT_EQ(service.Requests().size(), 2u);
}

TEST_F(Win32DecodeWindowTest, SendsTheFormAsItIsOnTheWire) {
  struct Case {
    const char8_t* code;  // as typed
    const char* encoded;  // the text field on the wire
  };
  const Case cases[] = {
      {u8"《Rt8pWm2XcLs《", "%E3%80%8A%52%74%38%70%57%6D%32%58%63%4C%73%E3%80%8A"},
      {u8"a b", "%61%20%62"},
      {u8"淘", "%E6%B7%98"},
      {u8"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(reinterpret_cast<const char*>(c.code));
    const DecodingService service;
    DecodeWindow window(service.Endpoint());
    window.Decode(Utf16(c.code));

    const std::vector<std::string> requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& request = requests[0];
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "POST /index.php?m=api&a=taokoulingjm HTTP/1.1");
    EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4),
              std::string("username=qorbex&password=qorbex&text=") + c.encoded);
    for (const std::string line :
         {"Accept: */*", "Accept-Language: zh-cn",
          "Content-Type: application/x-www-form-urlencoded",
          "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"}) {
      EXPECT_NE(request.find("\r\n" + line + "\r\n"), std::string::npos) << line;
    }
    EXPECT_NE(request.find("\r\nReferer: " + service.Endpoint() + "\r\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace quorvant
