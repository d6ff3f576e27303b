#include <QApplication>

#include "app/qt_desktop.h"
#include "app/ui.h"
#include "app/ui_qt.h"

namespace quorvant {

// The GUI thread needs no preparation beyond the toolkit's own.
struct GuiApplication::State {
  State(int& argc, char** argv) : application(argc, argv) {}
  QApplication application;
  QtDesktop desktop;
};

GuiApplication::GuiApplication(int& argc, char** argv)
    : state_(std::make_unique<State>(argc, argv)) {}
GuiApplication::~GuiApplication() = default;

Desktop& GuiApplication::desktop() {
  return state_->desktop;
}

int GuiApplication::RunMessageLoop() {
  return QApplication::exec();
}

struct GuiWindow::State {
  State(const WindowDescription& description, WindowEvents& events, Desktop& desktop)
      : window(description, events, desktop) {}
  QtMainWindow window;
};

GuiWindow::GuiWindow(const WindowDescription& description, WindowEvents& events, Desktop& desktop)
    : state_(std::make_unique<State>(description, events, desktop)) {
  state_->window.Open();
}
GuiWindow::~GuiWindow() = default;

}  // namespace quorvant
