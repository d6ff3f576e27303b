#include "app/tests/fake_ui.h"

namespace quorvant::fakes {

FakeWindow::FakeWindow(const WindowDescription& description, WindowEvents& events)
    : description_(description), events_(events) {
  for (const ControlDescription& control : description_.controls) {
    mutableState(control.control) = {control.text, control.visible, !control.enabled};
  }
}

const FakeWindow::State& FakeWindow::state(Control control) const {
  return states_[static_cast<std::size_t>(control)];
}

FakeWindow::State& FakeWindow::mutableState(Control control) {
  return states_[static_cast<std::size_t>(control)];
}

Text FakeWindow::ReadEdit(Control box) const {
  return state(box).text;
}

void FakeWindow::WriteEdit(Control box, const Text& text) {
  mutableState(box).text = text;
  const ControlDescription& control = DescriptionOf(description_, box);
  if (control.event == ControlEvent::kContentChanged) events_.Run(control.handler, *this);
}

void FakeWindow::WriteCaption(Control control, const Text& caption) {
  mutableState(control).text = caption;
}

void FakeWindow::SetVisible(Control control, bool visible) {
  mutableState(control).visible = visible;
}

void FakeWindow::SetDisabled(Control control, bool disabled) {
  mutableState(control).disabled = disabled;
}

void FakeWindow::SetFocus(Control control) {
  focus_ = control;
}

bool FakeDesktop::SetClipboardText(const Text& text) {
  if (!clipboardWorks) return false;
  clipboard = text;
  return true;
}

bool FakeDesktop::OpenUrl(const Text& address) {
  opened.push_back(address);
  return true;
}

void RecordingEvents::Run(Handler handler, Controls& window) {
  ran.push_back(handler);
  inner_.Run(handler, window);
}

}  // namespace quorvant::fakes
