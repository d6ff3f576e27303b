#pragma once

#include <array>

#include <QWidget>

#include "app/ui.h"
#include "app/window_description.h"

namespace quorvant {

// A window description built with Qt Widgets: a fixed, centred top-level window whose controls
// report their events to WindowEvents.
class QtMainWindow final : public QWidget, public Controls {
 public:
  QtMainWindow(const WindowDescription& description, WindowEvents& events, Desktop& desktop);

  // Centres and shows the window, then runs its created event.
  void Open();
  QWidget* widget(Control control) const;

  Text ReadEdit(Control box) const override;
  void WriteEdit(Control box, const Text& text) override;
  void WriteCaption(Control control, const Text& caption) override;
  void SetVisible(Control control, bool visible) override;
  void SetDisabled(Control control, bool disabled) override;
  void SetFocus(Control control) override;
  void ShowBusyCursor(bool busy) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SetUpFrame();
  void CreateControls(Desktop& desktop);
  QWidget* CreateControl(const ControlDescription& control, Desktop& desktop);
  void ConnectEvent(const ControlDescription& control);
  void CentreOnScreen();
  void RunEvent(Control control);

  WindowDescription description_;
  WindowEvents& events_;
  std::array<QWidget*, kControlCount> widgets_{};
  // Set while code writes an edit box, so that the write runs the change event only once.
  bool writing_ = false;
  bool closed_ = false;
};

}  // namespace quorvant
