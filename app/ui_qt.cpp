#include "app/ui_qt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "app/qt_colours.h"
#include "app/qt_edit_boxes.h"
#include "app/qt_hyperlink.h"
#include "app/qt_text.h"

namespace quorvant {
namespace {

constexpr int kGuiFontPixels = 11;

QRect ToQRect(const Bounds& bounds) {
  return {bounds.left, bounds.top, bounds.width, bounds.height};
}

QLabel* CreateLabel(const ControlDescription& control, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(ToQString(control.text));
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, ToQColor(control.textColour));
  label->setPalette(colours);
  return label;
}

QPushButton* CreateButton(const ControlDescription& control, QWidget* parent) {
  auto* button = new QPushButton(ToQString(control.text), parent);
  // Enter presses no button.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

QtMainWindow::QtMainWindow(const WindowDescription& description, WindowEvents& events,
                           Desktop& desktop)
    : description_(description), events_(events) {
  SetUpFrame();
  CreateControls(desktop);
}

void QtMainWindow::SetUpFrame() {
  setWindowTitle(ToQString(description_.caption));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(description_.clientSize.width, description_.clientSize.height);
  // The system's GUI font family at the height of Windows' default GUI font (8 pt, 11 px), which
  // the boxes were sized for; at the usual 9 pt two captions would not fit their boxes.
  QFont font = QApplication::font();
  font.setPixelSize(kGuiFontPixels);
  setFont(font);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  setPalette(colours);
  setAutoFillBackground(true);
}

// Created last row first: each new child lies above the earlier ones, and Qt's Tab order is the
// order of creation.
void QtMainWindow::CreateControls(Desktop& desktop) {
  for (auto control = description_.controls.rbegin(); control != description_.controls.rend();
       ++control) {
    QWidget* widget = CreateControl(*control, desktop);
    widget->setGeometry(ToQRect(control->bounds));
    widget->setFocusPolicy(control->tabStop ? Qt::StrongFocus : Qt::NoFocus);
    widget->setEnabled(control->enabled);
    widget->setVisible(control->visible);
    widgets_[static_cast<std::size_t>(control->control)] = widget;
    ConnectEvent(*control);
  }
}

QWidget* QtMainWindow::CreateControl(const ControlDescription& control, Desktop& desktop) {
  switch (control.kind) {
    case ControlKind::kHyperlink:
      return new QtHyperlink(control, description_.hyperlinkColours, desktop, this);
    case ControlKind::kLabel:
      return CreateLabel(control, this);
    case ControlKind::kPushButton:
      return CreateButton(control, this);
    case ControlKind::kSingleLineEdit:
      return CreateLineEdit(control, this);
    case ControlKind::kMultiLineEdit:
      return CreateMultiLineEdit(control, this);
  }
  return new QWidget(this);
}

void QtMainWindow::ConnectEvent(const ControlDescription& control) {
  const Control id = control.control;
  QWidget* widget = this->widget(id);
  if (control.event == ControlEvent::kClicked) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      connect(button, &QPushButton::clicked, this, [this, id] { RunEvent(id); });
    }
  } else if (control.event == ControlEvent::kContentChanged) {
    // A write from code runs the event itself (WriteEdit); these report the user's changes.
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      connect(line, &QLineEdit::textEdited, this, [this, id] { RunEvent(id); });
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
      connect(box, &QPlainTextEdit::textChanged, this, [this, id] {
        if (!writing_) RunEvent(id);
      });
    }
  }
}

// Escape closes the window from any control: none of them takes the key for itself.
void QtMainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void QtMainWindow::CentreOnScreen() {
  const QRect screen = this->screen()->geometry();
  move(screen.left() + (screen.width() - description_.outerSize.width) / 2,
       screen.top() + (screen.height() - description_.outerSize.height) / 2);
}

void QtMainWindow::Open() {
  CentreOnScreen();
  show();
  events_.Created(*this);
}

QWidget* QtMainWindow::widget(Control control) const {
  return widgets_[static_cast<std::size_t>(control)];
}

void QtMainWindow::RunEvent(Control control) {
  events_.Run(DescriptionOf(description_, control).handler, *this);
}

Text QtMainWindow::ReadEdit(Control box) const {
  if (auto* line = qobject_cast<QLineEdit*>(widget(box))) return FromQString(line->text());
  if (auto* multi = qobject_cast<QPlainTextEdit*>(widget(box))) {
    return FromQString(multi->toPlainText());
  }
  return {};
}

void QtMainWindow::WriteEdit(Control box, const Text& text) {
  writing_ = true;
  if (auto* line = qobject_cast<QLineEdit*>(widget(box))) line->setText(ToQString(text));
  if (auto* multi = qobject_cast<QPlainTextEdit*>(widget(box))) {
    multi->setPlainText(ToQString(text));
  }
  writing_ = false;
  if (DescriptionOf(description_, box).event == ControlEvent::kContentChanged) RunEvent(box);
}

void QtMainWindow::WriteCaption(Control control, const Text& caption) {
  QWidget* target = widget(control);
  if (auto* link = dynamic_cast<QtHyperlink*>(target)) {
    link->SetCaption(ToQString(caption));
  } else if (auto* label = qobject_cast<QLabel*>(target)) {
    label->setText(ToQString(caption));
  } else if (auto* button = qobject_cast<QPushButton*>(target)) {
    button->setText(ToQString(caption));
  }
}

void QtMainWindow::SetVisible(Control control, bool visible) {
  widget(control)->setVisible(visible);
}

void QtMainWindow::SetDisabled(Control control, bool disabled) {
  widget(control)->setEnabled(!disabled);
}

void QtMainWindow::SetFocus(Control control) {
  widget(control)->setFocus(Qt::OtherFocusReason);
}

// The override cursor covers the controls' own cursors too; the platform sends it out at once.
void QtMainWindow::ShowBusyCursor(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

// Every route of closing comes here; the home page opens once, and closing always goes on.
void QtMainWindow::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    events_.AboutToBeDestroyed(*this);
  }
  event->accept();
}

}  // namespace quorvant
