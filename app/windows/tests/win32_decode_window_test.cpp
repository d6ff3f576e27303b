#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_events.h"
#include "app/tests/decode_cases.h"
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
using fakes::FakeDesktop;
using fakes::RecordingEvents;
using win32_test::TextOf;
using win32_test::Utf16;

using decode_cases::OutcomeCase;
using decode_cases::WireCase;

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
  void TearDown() override {
    SetScriptTimeBudget(kDefaultScriptTimeBudget);
    inet::SetTimeouts(inet::kDefaultTimeouts);
  }
};

TEST_F(Win32DecodeWindowTest, ShowsTheLinkOrTheFailureText) {
  for (const OutcomeCase& c : decode_cases::OutcomeCases()) {
    SCOPED_TRACE(c.name);
    SetScriptTimeBudget(c.scriptBudget);
    inet::SetTimeouts(c.timeouts);
    auto service =
        std::make_unique<DecodingService>(c.service.value_or(decoding_service::ServiceOptions{}));
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
    window.Decode(Utf16(decode_cases::kYuanSignCode));
    EXPECT_EQ(window.Result(), Utf16(decode_cases::kYuanSignLink));
    EXPECT_EQ(window.CopyButtonUpdates(), before + decode);
  }
  EXPECT_EQ(service.Requests().size(), 2u);
}

TEST_F(Win32DecodeWindowTest, SendsTheFormAsItIsOnTheWire) {
  for (const WireCase& c : decode_cases::WireCases()) {
    SCOPED_TRACE(reinterpret_cast<const char*>(c.code));
    const DecodingService service;
    DecodeWindow window(service.Endpoint());
    window.Decode(Utf16(c.code));

    const std::vector<std::string> requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    decode_cases::ExpectDecodeRequest(requests[0], service.Endpoint(), c.encoded);
  }
}

}  // namespace
}  // namespace quorvant
