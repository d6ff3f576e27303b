#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/main_window_events.h"
#include "app/tests/fake_ui.h"
#include "app/ui_qt.h"
#include "app/window_description.h"
#include "json/script_host.h"
#include "tools/decoding_service/decoding_service.h"
#include "web/inet.h"

// Decodes end to end: the real window, typed into and clicked, against the stand-in decoding
// service on loopback.
namespace quorvant {
namespace {

using decoding_service::DecodingService;
using decoding_service::FaultMode;
using decoding_service::ServiceOptions;
using fakes::FakeDesktop;
using fakes::RecordingEvents;

constexpr char8_t kFailureText[] = u8"淘口令解密失败，请确认输入的淘口令是否正确";
constexpr char8_t kFailureHint[] = u8"提示：解密失败";
constexpr char8_t kSuccessHint[] = u8"提示：解密成功";

// The window of the program with its decode button posting to `endpoint`.
class DecodeWindow {
 public:
  explicit DecodeWindow(const std::string& endpoint)
      : settings_{"https://home.test/", "Home[home.test]", Text(endpoint)} {
    window_.Open();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  QWidget* W(Control control) const { return window_.widget(control); }
  QString Result() const {
    return qobject_cast<QPlainTextEdit*>(W(Control::编辑框_解密后))->toPlainText();
  }
  QLabel* Hint() const { return qobject_cast<QLabel*>(W(Control::标签_复制提示)); }
  bool CopyEnabled() const { return W(Control::按钮_复制)->isEnabled(); }
  int CopyButtonUpdates() const {
    return static_cast<int>(
        std::count(recorder_.ran.begin(), recorder_.ran.end(), Handler::kUpdateCopyButton));
  }

  // Types into the code box as a user does and presses the decode button.
  void Decode(const QString& code) {
    QLineEdit* box = qobject_cast<QLineEdit*>(W(Control::编辑框_淘口令));
    box->clear();
    // One key event per character, carrying its text as a keyboard or input method delivers it.
    for (const QChar character : code) {
      QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
    EXPECT_EQ(box->text(), code);
    QTest::mouseClick(W(Control::按钮_解密), Qt::LeftButton);
  }

 private:
  const AppSettings settings_;
  FakeDesktop desktop_;
  MainWindowEvents events_{settings_, desktop_};
  RecordingEvents recorder_{events_};
  QtMainWindow window_{MainWindowDescription(settings_), recorder_, desktop_};
};

class DecodeWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetScriptTimeBudget(kDefaultScriptTimeBudget);
    inet::SetTimeouts(inet::kDefaultTimeouts);
  }
};

TEST_F(DecodeWindowTest, ShowsTheLinkOrTheFailureText) {
  struct Case {
    const char* name;
    std::optional<ServiceOptions> service;  // none: nothing listens at the address
    const char8_t* code;
    const char8_t* result;
    const char8_t* hint;
    // Shortened where the answer never ends or never comes; elsewhere the platform's own, which
    // a huge answer needs on a slow build.
    std::int32_t scriptBudget = kDefaultScriptTimeBudget;
    inet::Timeouts timeouts = inet::kDefaultTimeouts;
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
      {"wrong account", ServiceOptions{.accountPassword = "changed"}, u8"《Rt8pWm2XcLs《",
       kFailureText, kFailureHint},
      {"HTML error page", ServiceOptions{.fault = FaultMode::kHtmlError}, u8"《Rt8pWm2XcLs《",
       kFailureText, kFailureHint},
      {"marker as raw UTF-8", ServiceOptions{.fault = FaultMode::kRawUtf8Marker},
       u8"《Rt8pWm2XcLs《", kFailureText, kFailureHint},
      {"no service", std::nullopt, u8"《Rt8pWm2XcLs《", kFailureText, kFailureHint},
      {"script that never ends", ServiceOptions{.fault = FaultMode::kEndlessScript},
       u8"《Rt8pWm2XcLs《", kFailureText, kFailureHint, 500},
      {"stalled answer",
       ServiceOptions{.fault = FaultMode::kStall},
       u8"《Rt8pWm2XcLs《",
       kFailureText,
       kFailureHint,
       kDefaultScriptTimeBudget,
       {2000, 500}},
      {"closed mid-body", ServiceOptions{.fault = FaultMode::kCloseMidBody}, u8"《Rt8pWm2XcLs《",
       kFailureText, kFailureHint},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetScriptTimeBudget(c.scriptBudget);
    inet::SetTimeouts(c.timeouts);
    auto service = std::make_unique<DecodingService>(c.service.value_or(ServiceOptions{}));
    ASSERT_NE(service->Port(), 0);
    DecodeWindow window(service->Endpoint());
    if (!c.service) service.reset();
    // What the user typed into the result box goes, whatever the outcome.
    QTest::keyClicks(window.W(Control::编辑框_解密后), "typed by hand");
    const std::int32_t comBefore = ComInitializations();

    window.Decode(QString::fromUtf8(c.code));

    EXPECT_EQ(window.Result(), QString::fromUtf8(c.result));
    EXPECT_EQ(window.Hint()->text(), QString::fromUtf8(c.hint));
    EXPECT_TRUE(window.Hint()->isVisible());
    EXPECT_EQ(window.Hint()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(window.CopyEnabled(), !QString::fromUtf8(c.result).isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "busy cursor left on";
    EXPECT_EQ(inet::OpenHandleCount(), 0);
    EXPECT_EQ(LiveScriptEngines(), 0);
    EXPECT_EQ(ComInitializations(), comBefore);
  }
}

TEST_F(DecodeWindowTest, EveryDecodeRunsTheCopyButtonHandler) {
  const DecodingService service;
  DecodeWindow window(service.Endpoint());
  const int before = window.CopyButtonUpdates();
  for (int decode = 1; decode <= 2; ++decode) {
    SCOPED_TRACE(decode);
    window.Decode(QString::fromUtf8(u8"￥Hn3yQf7JkEz￥"));
    EXPECT_EQ(window.Result(), QStringLiteral("https://m.tb.cn/h.5Hn3yQf?sm=7f2a1c"));
    EXPECT_EQ(window.CopyButtonUpdates(), before + decode);
  }
  EXPECT_EQ(service.Requests().size(), 2u);
}

// The header lines of a raw request, each without its CR LF.
std::vector<std::string> HeaderLinesOf(const std::string& request) {
  std::vector<std::string> lines;
  const std::size_t end = request.find("\r\n\r\n");
  for (std::size_t at = request.find("\r\n") + 2; at < end + 2;) {
    const std::size_t next = request.find("\r\n", at);
    lines.push_back(request.substr(at, next - at));
    at = next + 2;
  }
  return lines;
}

TEST_F(DecodeWindowTest, SendsTheFormAsItIsOnTheWire) {
  struct Case {
    const char8_t* code;  // as typed
    const char* encoded;  // the text field on the wire
  };
  const Case cases[] = {
      {u8"《Rt8pWm2XcLs《", "%E3%80%8A%52%74%38%70%57%6D%32%58%63%4C%73%E3%80%8A"},
      {u8"abc", "%61%62%63"},
      {u8"a b", "%61%20%62"},
      {u8"淘", "%E6%B7%98"},
      {u8" ￥x￥　", "%20%EF%BF%A5%78%EF%BF%A5%E3%80%80"},
      {u8"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(reinterpret_cast<const char*>(c.code));
    const DecodingService service;
    DecodeWindow window(service.Endpoint());
    window.Decode(QString::fromUtf8(c.code));

    const std::vector<std::string> requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& request = requests[0];
    const std::string body = std::string("username=qorbex&password=qorbex&text=") + c.encoded;
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "POST /index.php?m=api&a=taokoulingjm HTTP/1.1");
    EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), body);

    // The four lines the program composes, in this order; the rest are the platform's own.
    const std::string composed[] = {"Accept: */*", "Referer: " + service.Endpoint(),
                                    "Accept-Language: zh-cn",
                                    "Content-Type: application/x-www-form-urlencoded"};
    const std::vector<std::string> lines = HeaderLinesOf(request);
    auto next = lines.begin();
    for (const std::string& line : composed) {
      next = std::find(next, lines.end(), line);
      EXPECT_NE(next, lines.end()) << line;
      EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line;
    }
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"),
              1);
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(), "Content-Length: " + std::to_string(body.size())),
        1);
    for (const std::string& line : lines) {
      EXPECT_NE(line.rfind("Cookie:", 0), 0u) << "no cookie is sent";
    }
  }
}

}  // namespace
}  // namespace quorvant
