#pragma once

#include "app/app_settings.h"
#include "app/main_window_events.h"
#include "app/ui.h"

namespace quorvant {

// MainWindow: the window built from its description, with its handlers connected.
class MainWindow {
 public:
  MainWindow(const AppSettings& settings, Desktop& desktop);

 private:
  MainWindowEvents events_;
  GuiWindow window_;
};

}  // namespace quorvant
