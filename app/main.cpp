#include "app/app_settings.h"
#include "app/main_window.h"
#include "app/ui.h"

int main(int argc, char* argv[]) {
  quorvant::GuiApplication application(argc, argv);
  quorvant::MainWindow window(quorvant::CompiledSettings(), application.desktop());
  return application.RunMessageLoop();
}
