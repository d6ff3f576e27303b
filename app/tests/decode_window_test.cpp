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
#include "app/tests/decode_cases.h"
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
using fakes::FakeDesktop;
using fakes::RecordingEvents;

using decode_cases::OutcomeCase;
using decode_cases::WireCase;

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
    window.Decode(QString::fromUtf8(decode_cases::kYuanSignCode));
    EXPECT_EQ(window.Result(), QString::fromUtf8(decode_cases::kYuanSignLink));
    EXPECT_EQ(window.CopyButtonUpdates(), before + decode);
  }
  EXPECT_EQ(service.Requests().size(), 2u);
}

TEST_F(DecodeWindowTest, SendsTheFormAsItIsOnTheWire) {
  for (const WireCase& c : decode_cases::WireCases()) {
    SCOPED_TRACE(reinterpret_cast<const char*>(c.code));
    const DecodingService service;
    DecodeWindow window(service.Endpoint());
    window.Decode(QString::fromUtf8(c.code));

    const std::vector<std::string> requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    decode_cases::ExpectDecodeRequest(requests[0], service.Endpoint(), c.encoded);
  }
}

}  // namespace
}  // namespace quorvant
