#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/window_description.h"

// Edit boxes with a one-pixel line border, white background and black text, whose selection
// shows only while they have the focus.
namespace quorvant {

QLineEdit* CreateLineEdit(const ControlDescription& control, QWidget* parent);
// Word-wrapped at the box's width, with a vertical scroll bar; Tab moves the focus on.
QPlainTextEdit* CreateMultiLineEdit(const ControlDescription& control, QWidget* parent);

}  // namespace quorvant
