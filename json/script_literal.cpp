#include "json/script_literal.h"

#include <string>

#include "text/encoding.h"

namespace quorvant {

Text ScriptStringLiteral(const Text& value) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  // The units the engine would have read from the text itself.
  const Bytes units = ToWide(value, kGbkCodePage);
  std::string literal = "'";
  for (std::int32_t i = 0; i + 3 < units.size(); i += 2) {
    const unsigned unit = units.data()[i] | (units.data()[i + 1] << 8);
    if (unit == '\\' || unit == '\'') {
      literal += '\\';
      literal += static_cast<char>(unit);
    } else if (unit >= 0x20 && unit < 0x7F) {
      literal += static_cast<char>(unit);
    } else {
      literal += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) literal += kHexDigits[(unit >> shift) & 0xF];
    }
  }
  literal += '\'';
  return Text(literal);
}

}  // namespace quorvant
