#pragma once

#include "app/app_settings.h"
#include "app/ui.h"

namespace quorvant {

// Routes the main window's events to its handlers.
class MainWindowEvents final : public WindowEvents {
 public:
  MainWindowEvents(AppSettings settings, Desktop& desktop);

  void Created(Controls& window) override;
  void AboutToBeDestroyed(Controls& window) override;
  void Run(Handler handler, Controls& window) override;

 private:
  AppSettings settings_;
  Desktop& desktop_;
};

}  // namespace quorvant
