#include "app/main_window.h"

#include "app/window_description.h"

namespace quorvant {

MainWindow::MainWindow(const AppSettings& settings, Desktop& desktop)
    : events_(settings, desktop), window_(MainWindowDescription(settings), events_, desktop) {}

}  // namespace quorvant
