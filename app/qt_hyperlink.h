#pragma once

#include <QLabel>

#include "app/ui.h"
#include "app/window_description.h"

namespace quorvant {

// A one-line link without underline that opens its target on a left press and then shows its
// visited colour; the hover colour wins while the mouse is over it.
class QtHyperlink final : public QLabel {
 public:
  QtHyperlink(const ControlDescription& description, const HyperlinkColours& colours,
              Desktop& desktop, QWidget* parent);

  void SetCaption(const QString& caption);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Recolour();

  QString target_;
  Text targetText_;
  HyperlinkColours colours_;
  Desktop& desktop_;
  bool hovered_ = false;
  bool visited_ = false;
};

}  // namespace quorvant
