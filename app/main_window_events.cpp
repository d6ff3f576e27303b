#include "app/main_window_events.h"

#include <utility>

#include "app/decode_share_code.h"
#include "app/handlers.h"

namespace quorvant {

MainWindowEvents::MainWindowEvents(AppSettings settings, Desktop& desktop)
    : settings_(std::move(settings)), desktop_(desktop) {}

void MainWindowEvents::Created(Controls& window) {
  PrepareMainWindow(window);
}

void MainWindowEvents::AboutToBeDestroyed(Controls&) {
  OpenHomePage(desktop_, settings_.homePageUrl);
}

void MainWindowEvents::Run(Handler handler, Controls& window) {
  switch (handler) {
    case Handler::kUpdateCopyButton:
      UpdateCopyButton(window);
      break;
    case Handler::kCopyResult:
      CopyResult(window, desktop_);
      break;
    case Handler::kDecodeShareCode:
      DecodeShareCode(window, settings_.decodeEndpoint);
      break;
    case Handler::kNone:
      break;
  }
}

}  // namespace quorvant
