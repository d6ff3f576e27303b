#include "app/qt_hyperlink.h"

#include <QMouseEvent>

#include "app/qt_colours.h"
#include "app/qt_text.h"

namespace quorvant {
namespace {}  // namespace

QtHyperlink::QtHyperlink(const ControlDescription& description, const HyperlinkColours& colours,
                         Desktop& desktop, QWidget* parent)
    : QLabel(parent),
      target_(ToQString(description.target)),
      targetText_(description.target),
      colours_(colours),
      desktop_(desktop) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignCenter);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  SetCaption(ToQString(description.text));
  Recolour();
}

void QtHyperlink::SetCaption(const QString& caption) {
  setText(caption.isEmpty() ? target_ : caption);
}

void QtHyperlink::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  Recolour();
  QLabel::enterEvent(event);
}

void QtHyperlink::leaveEvent(QEvent* event) {
  hovered_ = false;
  Recolour();
  QLabel::leaveEvent(event);
}

void QtHyperlink::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  if (desktop_.OpenUrl(targetText_)) {
    visited_ = true;
    Recolour();
  }
  event->accept();
}

void QtHyperlink::Recolour() {
  const Rgb& rgb = hovered_ ? colours_.hover : visited_ ? colours_.visited : colours_.normal;
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, ToQColor(rgb));
  setPalette(colours);
}

}  // namespace quorvant
