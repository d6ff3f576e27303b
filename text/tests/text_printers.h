#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

#include "text/text.h"

// Failure messages show texts and byte sets with every byte outside printable ASCII as \xNN, so
// that a wrong second byte or a stray NUL is visible.
namespace quorvant {

inline void PrintEscaped(std::string_view bytes, std::ostream* out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  *out << '"';
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
      *out << c;
    } else {
      *out << "\\x" << kHex[byte >> 4] << kHex[byte & 0x0F];
    }
  }
  *out << '"';
}

inline void PrintTo(const Text& text, std::ostream* out) {
  PrintEscaped(text.view(), out);
}

inline void PrintTo(const Bytes& bytes, std::ostream* out) {
  *out << "Bytes";
  PrintEscaped(bytes.view(), out);
}

inline void PrintTo(const TextArray& array, std::ostream* out) {
  *out << '{';
  for (std::int32_t i = 1; i <= array.count(); ++i) {
    if (i > 1) *out << ", ";
    PrintTo(array.at(i), out);
  }
  *out << '}';
}

}  // namespace quorvant
