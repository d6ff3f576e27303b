#include "text/text_operations.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace quorvant {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

bool IsLeadByte(char byte) {
  return static_cast<unsigned char>(byte) >= 0x80;
}

unsigned char FoldAscii(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return (value >= 'A' && value <= 'Z') ? static_cast<unsigned char>(value + ('a' - 'A')) : value;
}

// Whether the bytes of `sought` stand at `offset` of `text`; the caller checks that they fit.
bool MatchesAt(std::string_view text, std::size_t offset, std::string_view sought, bool foldCase) {
  if (!foldCase) return text.compare(offset, sought.size(), sought) == 0;
  for (std::size_t i = 0; i < sought.size(); ++i) {
    if (FoldAscii(text[offset + i]) != FoldAscii(sought[i])) return false;
  }
  return true;
}

// The width of the character at `offset`: 1, 2, or 0 for a lead byte with nothing after it,
// which ends every scan.
std::size_t CharWidthAt(std::string_view text, std::size_t offset) {
  if (!IsLeadByte(text[offset])) return 1;
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

// Whether a character starts at `offset` when characters are counted from `boundary`, a known
// character start at or before it. A byte below 0x80 always ends a character, alone or as a
// second byte, so only the run of bytes of 0x80 or above right before `offset` decides: from the
// character start that ends that run, its bytes pair up.
bool StartsCharacter(std::string_view text, std::size_t boundary, std::size_t offset) {
  std::size_t runStart = offset;
  while (runStart > boundary && IsLeadByte(text[runStart - 1])) --runStart;
  return (offset - runStart) % 2 == 0;
}

// Offset of the first place at or after `from` where `sought` (not empty) matches with ASCII
// letters folded, regardless of character boundaries; kNotFound when there is none.
std::size_t FindFolded(std::string_view text, std::string_view sought, std::size_t from) {
  if (sought.size() > text.size()) return kNotFound;
  const unsigned char first = FoldAscii(sought[0]);
  for (std::size_t offset = from; offset <= text.size() - sought.size(); ++offset) {
    if (FoldAscii(text[offset]) == first && MatchesAt(text, offset, sought, true)) return offset;
  }
  return kNotFound;
}

// Offset of the first occurrence of `sought` (not empty) at or after `from` that starts a
// character, counting characters from `from`; kNotFound when there is none. The byte search runs
// at memchr speed and a candidate that turns out to be a second byte costs only a look back over
// the bytes since the last known character start, so the whole scan stays linear.
std::size_t NextOccurrence(std::string_view text, std::string_view sought, std::size_t from,
                           bool foldCase) {
  std::size_t boundary = from;
  for (;;) {
    const std::size_t candidate =
        foldCase ? FindFolded(text, sought, boundary) : text.find(sought, boundary);
    if (candidate == kNotFound || StartsCharacter(text, boundary, candidate)) return candidate;
    // The candidate is the second byte of a character, so the next character starts after it.
    boundary = candidate + 1;
  }
}

// The search start of FindText and ReplaceText: byte offset start - 1, at least 0.
std::int64_t BeginOffset(std::optional<std::int32_t> start) {
  return start ? std::max<std::int64_t>(std::int64_t{*start} - 1, 0) : 0;
}

}  // namespace

std::int32_t TextLength(const Text& text) {
  return text.size();
}

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
  const std::int64_t begin = BeginOffset(start);
  if (begin >= text.size()) return -1;
  if (sought.empty()) return 1;
  const std::size_t found =
      NextOccurrence(text.view(), sought.view(), static_cast<std::size_t>(begin), ignoreCase);
  return found == kNotFound ? -1 : static_cast<std::int32_t>(found + 1);
}

std::int32_t FindTextReverse(const Text& text, const Text& sought,
                             std::optional<std::int32_t> start, bool ignoreCase) {
  std::int64_t region = text.size();
  if (start) {
    const std::int64_t r = std::max<std::int64_t>(std::int64_t{*start} - 1, 0);
    region = std::min<std::int64_t>(r, text.size());
  }
  if (sought.empty()) return region > 0 ? 1 : -1;
  // Only occurrences that end inside the region count; the last one found wins.
  const std::string_view searched = text.view().substr(0, static_cast<std::size_t>(region));
  std::int32_t result = -1;
  std::size_t from = 0;
  for (;;) {
    const std::size_t found = NextOccurrence(searched, sought.view(), from, ignoreCase);
    if (found == kNotFound) return result;
    result = static_cast<std::int32_t>(found + 1);
    from = found + (IsLeadByte(searched[found]) ? 2 : 1);
  }
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement,
                 std::optional<std::int32_t> start, std::optional<std::int32_t> count,
                 bool caseSensitive) {
  const std::int64_t begin = BeginOffset(start);
  const bool limited = count && *count >= 0;
  if (text.empty() || sought.empty() || begin >= text.size() || (limited && *count == 0)) {
    return text;
  }
  const std::string_view view = text.view();
  const std::string_view find = sought.view();
  // The occurrences first, so that the result is allocated once at its final size.
  std::vector<std::size_t> found;
  std::size_t offset = static_cast<std::size_t>(begin);
  const auto countReached = [&] {
    return limited && found.size() == static_cast<std::size_t>(*count);
  };
  while (!countReached()) {
    const std::size_t at = NextOccurrence(view, find, offset, !caseSensitive);
    if (at == kNotFound) break;
    found.push_back(at);
    offset = at + find.size();
  }
  // A scan that runs to the end with a one-byte sought text reaches the last byte; when that is
  // a lead byte without its second byte, it is dropped.
  std::size_t end = view.size();
  if (!countReached() && find.size() == 1 && offset < end && IsLeadByte(view[end - 1]) &&
      StartsCharacter(view, offset, end - 1)) {
    --end;
  }
  std::string out;
  out.reserve(end - found.size() * find.size() + found.size() * replacement.view().size());
  std::size_t copied = 0;
  for (const std::size_t at : found) {
    out += view.substr(copied, at - copied);
    out += replacement.view();
    copied = at + find.size();
  }
  out += view.substr(copied, end - copied);
  return Text(std::move(out));
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
  for (;;) {
    const std::size_t found = NextOccurrence(view, cut, pieceStart, false);
    if (found == kNotFound) break;
    pieces.Append(Text(view.substr(pieceStart, found - pieceStart)));
    pieceStart = found + cut.size();
    if (maxCount && pieces.count() == limit) return pieces;
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
  return Text(std::move(out));
}

Text ToLower(const Text& text) {
  std::string out(text.view());
  for (std::size_t offset = 0; offset < out.size(); ++offset) {
    if (IsLeadByte(out[offset])) {
      ++offset;  // the second byte of a two-byte character stays as it is
      continue;
    }
    out[offset] = static_cast<char>(FoldAscii(out[offset]));
  }
  return Text(std::move(out));
}

std::int32_t ToInt(const Text& text) {
  // Full-width digits, signs, letters and blanks read as their ASCII forms.
  const std::string_view view = text.view();
  std::string ascii;
  std::size_t offset = 0;
  while (offset < view.size()) {
    const auto lead = static_cast<unsigned char>(view[offset]);
    if (!IsLeadByte(view[offset]) || offset + 1 >= view.size()) {
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

Text NumberToText(std::int32_t value) {
  return Text(std::to_string(value));
}

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

Bytes ToBytes(const Text& text) {
  return Bytes(text.view());
}

Text BytesToText(const Bytes& bytes) {
  return Text(bytes.view());
}

std::int32_t BytesLength(const Bytes& bytes) {
  return bytes.size();
}

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
