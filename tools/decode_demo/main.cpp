// quorvant-decode-demo --port N --code CODE --screenshot PATH
//
// The program's window, built from the same sources, whose decode button posts to the stand-in
// decoding service at 127.0.0.1:N instead of the compiled-in service. It types the code into the
// code box, presses the decode button, prints what the result box then shows, saves a picture
// of the screen and ends. The home page is named but never opened.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include "app/app_settings.h"
#include "app/main_window_events.h"
#include "app/qt_desktop.h"
#include "app/ui_qt.h"
#include "app/window_description.h"

namespace {

using quorvant::Control;

// The real clipboard; the browser is only named, so that a demo starts none.
class DemoDesktop final : public quorvant::Desktop {
 public:
  bool SetClipboardText(const quorvant::Text& text) override {
    return clipboard_.SetClipboardText(text);
  }
  bool OpenUrl(const quorvant::Text&) override { return true; }

 private:
  quorvant::QtDesktop clipboard_;
};

struct Options {
  long port = 0;
  QString code;
  QString screenshot;
};

bool ParseOptions(int argc, char* argv[], Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view name = argv[i];
    // Arguments are UTF-8 whatever the locale of the virtual screen's session.
    const QString value = QString::fromUtf8(argv[i + 1]);
    if (name == "--port") {
      char* end = nullptr;
      options.port = std::strtol(argv[i + 1], &end, 10);
      if (*end != '\0' || options.port <= 0 || options.port > 65535) return false;
    } else if (name == "--code") {
      options.code = value;
    } else if (name == "--screenshot") {
      options.screenshot = value;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && options.port != 0 && !options.screenshot.isEmpty();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs("usage: quorvant-decode-demo --port N --code CODE --screenshot PATH\n", stderr);
    return 2;
  }

  quorvant::AppSettings settings = quorvant::CompiledSettings();
  settings.decodeEndpoint = quorvant::Text("http://127.0.0.1:" + std::to_string(options.port) +
                                           "/index.php?m=api&a=taokoulingjm");
  DemoDesktop desktop;
  quorvant::MainWindowEvents events(settings, desktop);
  quorvant::QtMainWindow window(quorvant::MainWindowDescription(settings), events, desktop);
  window.Open();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fputs("quorvant-decode-demo: the window did not show\n", stderr);
    return 1;
  }

  // Typed one character at a time, as a keyboard or an input method delivers them.
  QWidget* codeBox = window.widget(Control::编辑框_淘口令);
  for (const QChar character : options.code) {
    QTest::sendKeyEvent(QTest::Click, codeBox, Qt::Key_unknown, QString(character), Qt::NoModifier);
  }
  QTest::mouseClick(window.widget(Control::按钮_解密), Qt::LeftButton);
  QTest::qWait(500);  // lets the window repaint before the picture

  const auto* result = qobject_cast<QPlainTextEdit*>(window.widget(Control::编辑框_解密后));
  std::printf("typed:      %s\n", options.code.toUtf8().constData());
  std::printf("result box: %s\n", result->toPlainText().toUtf8().constData());
  if (!window.screen()->grabWindow(0).save(options.screenshot)) {
    std::fprintf(stderr, "quorvant-decode-demo: cannot save %s\n",
                 options.screenshot.toUtf8().constData());
    return 1;
  }
  return 0;
}
