#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"

// Percent-encoding, code-page conversion and extraction of values between markers.
namespace quorvant {

inline constexpr std::int32_t kAnsiCodePage = 0;
inline constexpr std::int32_t kGbkCodePage = 936;
inline constexpr std::int32_t kUtf8CodePage = 65001;

// keepPlain leaves "-", ".", digits and ASCII letters as they are; viaUtf8 encodes the text's
// UTF-8 form. Every other byte becomes "%" and two upper-case hex digits.
Text UrlEncode(const Text& text, bool keepPlain = false, bool viaUtf8 = false);
// The UTF-8 bytes of a code page 936 text.
Text AnsiToUtf8(const Text& text);
// A UTF-16LE buffer ended by a zero unit; omitted codePage: UTF-8.
Bytes ToWide(const Text& text, std::optional<std::int32_t> codePage = {});
// Omitted codePage: the ANSI code page.
Text FromWide(const Bytes& units, std::optional<std::int32_t> codePage = {});
// The bytes between the first left marker at or after start and the next right marker.
// "#引号" in a marker stands for a double quote.
Text TextBetween(const Text& text, const Text& leftMarker, const Text& rightMarker,
                 std::int32_t start = 0, bool ignoreCase = false);
// What follows the first colon, blanks trimmed.
Text ValueAfterColon(const Text& text);

}  // namespace quorvant
