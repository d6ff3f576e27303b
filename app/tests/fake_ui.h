#pragma once

#include <array>
#include <optional>
#include <vector>

#include "app/ui.h"
#include "app/window_description.h"

// In-memory stand-ins for the ui seam, for testing the handlers without a toolkit.
namespace quorvant::fakes {

// Keeps each control's text and states; a write of an edit box runs its content-changed event
// as the real toolkits do.
class FakeWindow final : public Controls {
 public:
  struct State {
    Text text;
    bool visible = true;
    bool disabled = false;
  };

  FakeWindow(const WindowDescription& description, WindowEvents& events);

  const State& state(Control control) const;
  std::optional<Control> focus() const { return focus_; }

  Text ReadEdit(Control box) const override;
  void WriteEdit(Control box, const Text& text) override;
  void WriteCaption(Control control, const Text& caption) override;
  void SetVisible(Control control, bool visible) override;
  void SetDisabled(Control control, bool disabled) override;
  void SetFocus(Control control) override;
  void ShowBusyCursor(bool busy) override { busyCursor.push_back(busy); }

  // Every change of the cursor, in order: true for busy.
  std::vector<bool> busyCursor;

 private:
  State& mutableState(Control control);

  WindowDescription description_;
  WindowEvents& events_;
  std::array<State, kControlCount> states_;
  std::optional<Control> focus_;
};

// A clipboard that can be made to refuse, and a browser that only remembers addresses.
class FakeDesktop final : public Desktop {
 public:
  bool SetClipboardText(const Text& text) override;
  bool OpenUrl(const Text& address) override;

  bool clipboardWorks = true;
  std::optional<Text> clipboard;
  std::vector<Text> opened;
};

// The platform's real clipboard, which can be made to refuse, and a browser that only remembers
// addresses.
template <class RealDesktop>
class RefusableDesktop final : public Desktop {
 public:
  bool SetClipboardText(const Text& text) override {
    return clipboardWorks && real_.SetClipboardText(text);
  }
  bool OpenUrl(const Text& address) override {
    opened.push_back(address);
    return browserAccepts;
  }

  bool clipboardWorks = true;
  bool browserAccepts = true;
  std::vector<Text> opened;

 private:
  RealDesktop real_;
};

// Passes every event on and remembers which handlers ran.
class RecordingEvents final : public WindowEvents {
 public:
  explicit RecordingEvents(WindowEvents& inner) : inner_(inner) {}

  void Created(Controls& window) override { inner_.Created(window); }
  void AboutToBeDestroyed(Controls& window) override { inner_.AboutToBeDestroyed(window); }
  void Run(Handler handler, Controls& window) override;

  std::vector<Handler> ran;

 private:
  WindowEvents& inner_;
};

}  // namespace quorvant::fakes
