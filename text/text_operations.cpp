#include "text/text_operations.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace quorvant {
namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

unsigned char FoldAscii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Whether the bytes of `sought` stand at `offset` of `text`; the caller checks that they fit.
bool MatchesAt(std::string_view text, std::size_t offset, std::string_view sought, bool foldCase) {
  if (!foldCase) return text.compare(offset, sought.size(), sought) == 0;
  for (std::size_t i = 0; i < sought.size(); ++i) {
    if (FoldAscii(static_cast<unsigned char>(text[offset + i])) !=
        FoldAscii(static_cast<unsigned char>(sought[i]))) {
      return false;
    }
  }
  return true;
}

// The width of the character at `offset`: 1, 2, or 0 for a lead byte with nothing after it,
// which ends every scan.
std::size_t CharWidthAt(std::string_view text, std::size_t offset) {
  if (!IsLeadByte(static_cast<unsigned char>(text[offset]))) return 1;
  return offset + 1 < text.size() ? 2 : 0;
}

// Width of a blank at `offset` (space or the full-width space A1 A1), 0 when none stands there.
std::size_t BlankWidthAt(std::string_view text, std::size_t offset) {
  if (text[offset] == ' ') return 1;
  if (offset + 1 < text.size() && static_cast<unsigned char>(text[offset]) == 0xA1 &&
      static_cast<unsigned char>(text[offset + 1]) == 0xA1) {
    return 2;
  }
  return 0;
}

// Position of the first occurrence found by the forward scan starting at `from`, or npos.
std::size_t ScanForward(std::string_view text, std::string_view sought, std::size_t from,
                        bool foldCase) {
  std::size_t offset = from;
  while (offset < text.size()) {
    if (text.size() - offset >= sought.size() && MatchesAt(text, offset, sought, foldCase)) {
      return offset;
    }
    const std::size_t width = CharWidthAt(text, offset);
    if (width == 0) break;
    offset += width;
  }
  return std::string_view::npos;
}

}  // namespace

std::int32_t TextLength(const Text& text) { return text.size(); }

Text LeftOf(const Text& text, std::int32_t n) {
  if (n <= 0) return {};
  return Text(text.view().substr(0, static_cast<std::size_t>(n)));
}

Text RightOf(const Text& text, std::int32_t n) {
  if (n <= 0) return {};
  const std::size_t keep = std::min<std::size_t>(static_cast<std::size_t>(n), text.view().size());
  return Text(text.view().substr(text.view().size() - keep));
}

Text MidOf(const Text& text, std::int32_t start, std::int32_t n) {
  const std::int64_t offset = static_cast<std::int64_t>(start) - 1;
  if (offset < 0 || offset >= text.size() || n <= 0) return {};
  return Text(text.view().substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(n)));
}

std::int32_t FindText(const Text& text, const Text& sought, std::optional<std::int32_t> start,
                      bool ignoreCase) {
  const std::int64_t begin = start ? std::max<std::int64_t>(std::int64_t{*start} - 1, 0) : 0;
  if (begin >= text.size()) return -1;
  if (sought.empty()) return 1;
  const std::size_t found =
      ScanForward(text.view(), sought.view(), static_cast<std::size_t>(begin), ignoreCase);
  return found == std::string_view::npos ? -1 : static_cast<std::int32_t>(found + 1);
}

std::int32_t FindTextReverse(const Text& text, const Text& sought,
                             std::optional<std::int32_t> start, bool ignoreCase) {
  std::int64_t region = text.size();
  if (start) {
    const std::int64_t r = std::max<std::int64_t>(std::int64_t{*start} - 1, 0);
    region = r == 0 ? 0 : std::min<std::int64_t>(r, text.size());
  }
  if (sought.empty()) return region > 0 ? 1 : -1;
  const std::string_view view = text.view();
  const std::size_t m = sought.view().size();
  std::int32_t result = -1;
  std::size_t offset = 0;
  while (static_cast<std::int64_t>(offset + m) <= region) {
    if (MatchesAt(view, offset, sought.view(), ignoreCase)) {
      result = static_cast<std::int32_t>(offset + 1);
    }
    const std::size_t width = CharWidthAt(view, offset);
    if (width == 0) break;
    offset += width;
  }
  return result;
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement,
                 std::optional<std::int32_t> start, std::optional<std::int32_t> count,
                 bool caseSensitive) {
  const std::int64_t begin = start ? std::max<std::int64_t>(std::int64_t{*start} - 1, 0) : 0;
  const bool limited = count && *count >= 0;
  if (text.empty() || sought.empty() || begin >= text.size() || (limited && *count == 0)) {
    return text;
  }
  const std::string_view view = text.view();
  const std::string_view find = sought.view();
  std::string out(view.substr(0, static_cast<std::size_t>(begin)));
  std::size_t offset = static_cast<std::size_t>(begin);
  std::int32_t replaced = 0;
  while (view.size() - offset >= find.size()) {
    if (MatchesAt(view, offset, find, !caseSensitive)) {
      out += replacement.view();
      offset += find.size();
      if (limited && ++replaced == *count) break;
      continue;
    }
    const std::size_t width = CharWidthAt(view, offset);
    if (width == 0) {
      offset = view.size();  // a lone lead byte at the end is dropped
      break;
    }
    out += view.substr(offset, width);
    offset += width;
  }
  out += view.substr(offset);
  return Text(out);
}

TextArray SplitText(const Text& text, const Text& delimiter, std::optional<std::int32_t> maxCount) {
  TextArray pieces;
  const std::int32_t limit = maxCount ? std::max(*maxCount, 0) : 0;
  if (text.empty() || (maxCount && limit == 0)) return pieces;
  if (delimiter.empty()) {
    pieces.Append(text);
    return pieces;
  }
  const std::string_view view = text.view();
  const std::string_view cut = delimiter.view();
  std::size_t pieceStart = 0;
  std::size_t offset = 0;
  while (offset < view.size()) {
    if (view.size() - offset >= cut.size() && MatchesAt(view, offset, cut, false)) {
      pieces.Append(Text(view.substr(pieceStart, offset - pieceStart)));
      offset += cut.size();
      pieceStart = offset;
      if (maxCount && pieces.count() == limit) return pieces;
      continue;
    }
    const std::size_t width = CharWidthAt(view, offset);
    if (width == 0) break;
    offset += width;
  }
  if (pieceStart < view.size()) pieces.Append(Text(view.substr(pieceStart)));
  return pieces;
}

Text TrimBoth(const Text& text) {
  const std::string_view view = text.view();
  std::size_t first = 0;
  while (first < view.size()) {
    const std::size_t blank = BlankWidthAt(view, first);
    if (blank == 0) break;
    first += blank;
  }
  std::size_t contentEnd = first;
  std::size_t offset = first;
  while (offset < view.size()) {
    const std::size_t width = CharWidthAt(view, offset);
    if (width == 0) {
      // A lead byte without its second byte is dropped; the end is then not trimmed.
      return Text(view.substr(first, view.size() - 1 - first));
    }
    if (BlankWidthAt(view, offset) == 0) contentEnd = offset + width;
    offset += width;
  }
  return Text(view.substr(first, contentEnd - first));
}

Text RemoveSpaces(const Text& text) {
  const std::string_view view = text.view();
  std::string out;
  out.reserve(view.size());
  std::size_t offset = 0;
  while (offset < view.size()) {
    const std::size_t width = CharWidthAt(view, offset);
    if (width == 0) break;
    if (BlankWidthAt(view, offset) == 0) out += view.substr(offset, width);
    offset += width;
  }
  return Text(out);
}

Text ToLower(const Text& text) {
  std::string out(text.view());
  std::size_t offset = 0;
  while (offset < out.size()) {
    const auto byte = static_cast<unsigned char>(out[offset]);
    if (IsLeadByte(byte)) {
      offset += 2;
      continue;
    }
    out[offset] = static_cast<char>(FoldAscii(byte));
    ++offset;
  }
  return Text(out);
}

std::int32_t ToInt(const Text& text) {
  // Full-width digits, signs, letters and blanks read as their ASCII forms.
  const std::string_view view = text.view();
  std::string ascii;
  std::size_t offset = 0;
  while (offset < view.size()) {
    const auto lead = static_cast<unsigned char>(view[offset]);
    if (!IsLeadByte(lead) || offset + 1 >= view.size()) {
      ascii += view[offset++];
      continue;
    }
    const auto trail = static_cast<unsigned char>(view[offset + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      ascii += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      ascii += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      ascii += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      ascii += '*';
    } else {
      ascii += view.substr(offset, 2);
    }
    offset += 2;
  }
  std::size_t at = 0;
  while (at < ascii.size() && std::strchr(" \t\n\v\f\r", ascii[at]) != nullptr) ++at;
  bool negative = false;
  if (at < ascii.size() && (ascii[at] == '+' || ascii[at] == '-')) negative = ascii[at++] == '-';
  std::uint32_t value = 0;
  for (; at < ascii.size() && ascii[at] >= '0' && ascii[at] <= '9'; ++at) {
    value = value * 10u + static_cast<std::uint32_t>(ascii[at] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Text HexText(std::int32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%X", static_cast<std::uint32_t>(value));
  return Text(digits);
}

Text NumberToText(std::int32_t value) { return Text(std::to_string(value)); }

Text NumberToText(double value) {
  char formatted[64];
  std::snprintf(formatted, sizeof formatted, "%.13g", value);
  std::string text(formatted);
  // The exponent always has three digits, whatever the C library writes.
  const std::size_t e = text.find('e');
  if (e != std::string::npos && e + 2 < text.size()) {
    const std::string digits = text.substr(e + 2);
    const std::size_t padding = digits.size() < 3 ? 3 - digits.size() : 0;
    text = text.substr(0, e + 2) + std::string(padding, '0') + digits;
  }
  return Text(text);
}

Text CharOf(std::int32_t code) {
  const char byte = static_cast<char>(code & 0xFF);
  return Text(std::string_view(&byte, 1));
}

Bytes ToBytes(const Text& text) { return Bytes(text.view()); }

Text BytesToText(const Bytes& bytes) { return Text(bytes.view()); }

std::int32_t BytesLength(const Bytes& bytes) { return bytes.size(); }

Bytes BytesLeft(const Bytes& bytes, std::int32_t n) {
  return Bytes(bytes.data(), std::clamp(n, 0, bytes.size()));
}

Text BlankText(std::int32_t n) {
  return n <= 0 ? Text() : Text(std::string(static_cast<std::size_t>(n), ' '));
}

Bytes BlankBytes(std::int32_t n) {
  return n <= 0 ? Bytes() : Bytes(std::string(static_cast<std::size_t>(n), '\0'));
}

}  // namespace quorvant
