#include "text/encoding.h"

#include <bit>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "text/code_pages.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

bool IsKeptPlain(unsigned char byte) {
  return byte == '-' || byte == '.' || (byte >= '0' && byte <= '9') ||
         (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// UTF-16 buffers hold their units low byte first, as the machine does.
static_assert(std::endian::native == std::endian::little);

// The units of a UTF-16 buffer, always ended by a zero unit even when the buffer lacks one; a
// last odd byte is half a unit and left out.
std::u16string UnitsOf(const Bytes& buffer) {
  std::u16string units(static_cast<std::size_t>(buffer.size() / 2), u'\0');
  std::memcpy(units.data(), buffer.data(), 2 * units.size());
  return units;
}

}  // namespace

Text UrlEncode(const Text& text, bool keepPlain, bool viaUtf8) {
  if (text.empty()) return {};
  const Text utf8 = viaUtf8 ? AnsiToUtf8(text) : Text();
  const std::string_view source = viaUtf8 ? utf8.view() : text.view();
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(source.size() * 3);
  for (const char c : source) {
    const auto byte = static_cast<unsigned char>(c);
    if (keepPlain && IsKeptPlain(byte)) {
      out += c;
    } else {
      out += '%';
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0x0F];
    }
  }
  return Text(std::move(out));
}

Text AnsiToUtf8(const Text& text) {
  return FromWide(ToWide(text, kGbkCodePage), kUtf8CodePage);
}

Bytes ToWide(const Text& text, std::optional<std::int32_t> codePage) {
  // The empty text is an absent one: the size query fails and the result is empty.
  const char* source = text.empty() ? nullptr : text.c_str();
  const std::int32_t units = code_pages::MultiByteToWide(kAnsiCodePage, source, nullptr, 0);
  if (units <= 0) return {};
  const auto page = static_cast<std::uint32_t>(codePage.value_or(kUtf8CodePage));
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  if (code_pages::MultiByteToWide(page, source, wide.data(), units) == 0) {
    // The size came from the ANSI code page; where the text needs more units in `page`, the
    // buffer takes that size rather than losing the text.
    const std::int32_t needed = code_pages::MultiByteToWide(page, source, nullptr, 0);
    if (needed > units) {
      wide.assign(static_cast<std::size_t>(needed), u'\0');
      code_pages::MultiByteToWide(page, source, wide.data(), needed);
    }
  }
  return Bytes(wide.data(), 2 * static_cast<std::int32_t>(wide.size()));
}

Text FromWide(const Bytes& units, std::optional<std::int32_t> codePage) {
  if (units.size() < 2) return {};
  const std::u16string wide = UnitsOf(units);
  const std::int32_t needed = code_pages::WideToMultiByte(kAnsiCodePage, wide.c_str(), nullptr, 0);
  if (needed <= 0) return {};
  const auto page = static_cast<std::uint32_t>(codePage.value_or(kAnsiCodePage));
  // Twice the ANSI size leaves room for UTF-8's three bytes where code page 936 has two.
  std::string output(static_cast<std::size_t>(2 * needed), ' ');
  if (code_pages::WideToMultiByte(page, wide.c_str(), output.data(), 2 * needed) > 0) {
    return Text(std::move(output));
  }
  // Characters that the ANSI code page writes in one byte may need three in `page` (the euro
  // sign, replacement characters): size the output for `page` rather than lose the text.
  const std::int32_t full = code_pages::WideToMultiByte(page, wide.c_str(), nullptr, 0);
  if (full <= 2 * needed) return {};
  output.assign(static_cast<std::size_t>(full), ' ');
  if (code_pages::WideToMultiByte(page, wide.c_str(), output.data(), full) <= 0) return {};
  return Text(std::move(output));
}

Text TextBetween(const Text& text, const Text& leftMarker, const Text& rightMarker,
                 std::int32_t start, bool ignoreCase) {
  const Text quote = "\"";
  const Text left = ReplaceText(leftMarker, "#引号", quote, std::nullopt, std::nullopt, true);
  const Text right = ReplaceText(rightMarker, "#引号", quote, std::nullopt, std::nullopt, true);
  std::int32_t a = FindText(text, left, start, ignoreCase);
  if (a == -1) return {};
  a += TextLength(left);
  const std::int32_t b = FindText(text, right, a, ignoreCase);
  if (b == -1) return {};
  return MidOf(text, a, b - a);
}

Text ValueAfterColon(const Text& text) {
  const std::int32_t a = FindText(text, ":");
  if (a == -1) return {};
  return TrimBoth(RightOf(text, TextLength(text) - a));
}

}  // namespace quorvant
