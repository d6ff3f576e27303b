#pragma once

#include <memory>

#include "app/control.h"
#include "text/text.h"

// The ui seam: what the window's handlers need from the platform's toolkit, clipboard and shell.
// One implementation per platform, picked by the build.
namespace quorvant {

struct WindowDescription;

// The controls of a live window.
class Controls {
 public:
  virtual ~Controls() = default;

  // The box's content; the empty text for an empty box. Line breaks as the platform's box keeps
  // them.
  virtual Text ReadEdit(Control box) const = 0;
  // Shows the text in the box. The box's content-changed event runs once before this returns,
  // also when the text equals the box's content.
  virtual void WriteEdit(Control box, const Text& text) = 0;
  // A label's, button's or hyperlink's caption; visibility is left as it is.
  virtual void WriteCaption(Control control, const Text& caption) = 0;
  virtual void SetVisible(Control control, bool visible) = 0;
  // Greyed and closed to input while disabled.
  virtual void SetDisabled(Control control, bool disabled) = 0;
  virtual void SetFocus(Control control) = 0;
  // The system's busy cursor over the window while true, the usual one again when false. It
  // shows at once, although the handler that asks for it keeps the thread from its message loop.
  virtual void ShowBusyCursor(bool busy) = 0;
};

// The system around the window.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // True when the text was put on the clipboard as plain text.
  virtual bool SetClipboardText(const Text& text) = 0;
  // Hands the address to the system's default browser; true when the system took it.
  virtual bool OpenUrl(const Text& address) = 0;
};

// The window's events, called by the toolkit on the GUI thread, each to completion.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;

  // The window and all its controls exist and are shown.
  virtual void Created(Controls& window) = 0;
  // The window is closing, by whatever route; its controls are still in place.
  virtual void AboutToBeDestroyed(Controls& window) = 0;
  // A control was clicked or its content changed; runs the handler its description names.
  virtual void Run(Handler handler, Controls& window) = 0;
};

// The toolkit of the process: prepares the GUI thread (on Windows it is initialised for OLE
// first) and runs the message loop.
class GuiApplication {
 public:
  GuiApplication(int& argc, char** argv);
  ~GuiApplication();
  GuiApplication(const GuiApplication&) = delete;
  GuiApplication& operator=(const GuiApplication&) = delete;

  Desktop& desktop();
  // Returns when no window of the program is left.
  int RunMessageLoop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A top-level window built from its description: centred on the screen and shown, then its
// created event runs. Closing it runs the about-to-be-destroyed event once.
class GuiWindow {
 public:
  GuiWindow(const WindowDescription& description, WindowEvents& events, Desktop& desktop);
  ~GuiWindow();
  GuiWindow(const GuiWindow&) = delete;
  GuiWindow& operator=(const GuiWindow&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quorvant
