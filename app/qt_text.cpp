#include "app/qt_text.h"

#include <cstdint>

#include "text/encoding.h"

namespace quorvant {

QString ToQString(const Text& text) {
  const Bytes wide = ToWide(text, kGbkCodePage);
  QString result;
  result.reserve(wide.size() / 2);
  for (std::int32_t i = 0; i + 1 < wide.size(); i += 2) {
    const auto unit = static_cast<char16_t>(wide.data()[i] | (wide.data()[i + 1] << 8));
    if (unit == 0) break;
    result.append(QChar(unit));
  }
  return result;
}

Text FromQString(const QString& text) {
  Bytes wide;
  for (const QChar c : text) {
    const std::uint8_t unit[2] = {static_cast<std::uint8_t>(c.unicode() & 0xFF),
                                  static_cast<std::uint8_t>(c.unicode() >> 8)};
    wide.append(unit, 2);
  }
  return FromWide(wide, kGbkCodePage);
}

}  // namespace quorvant
