// The program's start-up, ending as soon as the window is ready for input. Closing opens no
// browser: the home page goes to a desktop that only takes note of it.
#include <QApplication>

#include "app/app_settings.h"
#include "app/bench/ready_probe.h"
#include "app/main_window_events.h"
#include "app/qt_desktop.h"
#include "app/ui_qt.h"
#include "app/window_description.h"

namespace {

class QuietDesktop final : public quorvant::Desktop {
 public:
  bool SetClipboardText(const quorvant::Text& text) override {
    return real_.SetClipboardText(text);
  }
  bool OpenUrl(const quorvant::Text&) override { return true; }

 private:
  quorvant::QtDesktop real_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QuietDesktop desktop;
  const quorvant::AppSettings settings = quorvant::CompiledSettings();
  quorvant::MainWindowEvents events(settings, desktop);
  quorvant::QtMainWindow window(quorvant::MainWindowDescription(settings), events, desktop);
  quorvant::bench::CloseWhenReady(window);
  window.Open();
  return QApplication::exec();
}
