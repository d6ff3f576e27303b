#include "app/qt_edit_boxes.h"

#include <QPainter>

#include "app/qt_text.h"

namespace quorvant {
namespace {

// The border takes the frame colour of the window's palette. Style sheets would do the same at
// the cost of a style sheet engine for the whole window.
void SetEditColours(QWidget* box) {
  QPalette colours = box->palette();
  const QColor border = colours.color(QPalette::Dark);
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  colours.setColor(QPalette::WindowText, border);
  colours.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
  box->setPalette(colours);
}

// A frameless line edit that draws its own one-pixel border.
class BorderedLineEdit final : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};

}  // namespace

QLineEdit* CreateLineEdit(const ControlDescription& control, QWidget* parent) {
  auto* box = new BorderedLineEdit(ToQString(control.text), parent);
  box->setFrame(false);
  box->setTextMargins(1, 1, 1, 1);
  SetEditColours(box);
  return box;
}

QPlainTextEdit* CreateMultiLineEdit(const ControlDescription& control, QWidget* parent) {
  auto* box = new QPlainTextEdit(ToQString(control.text), parent);
  box->setFrameStyle(QFrame::Box | QFrame::Plain);
  box->setLineWidth(1);
  box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Tab moves the focus on; Enter inserts a line break.
  box->setTabChangesFocus(true);
  SetEditColours(box);
  return box;
}

}  // namespace quorvant
