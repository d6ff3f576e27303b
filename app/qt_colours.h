#pragma once

#include <QColor>

#include "app/window_description.h"

namespace quorvant {

inline QColor ToQColor(const Rgb& rgb) {
  return {rgb.red, rgb.green, rgb.blue};
}

}  // namespace quorvant
