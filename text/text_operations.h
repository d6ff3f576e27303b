#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"

// Pure operations on Text and Bytes. Positions are 1-based byte positions, -1 means not found.
// Every scan treats a byte of 0x80 or above as the first byte of a two-byte character and never
// matches at its second byte. Optional parameters are std::optional where omitting one differs
// from passing zero.
namespace quorvant {

std::int32_t TextLength(const Text& text);
Text LeftOf(const Text& text, std::int32_t n);
Text RightOf(const Text& text, std::int32_t n);
Text MidOf(const Text& text, std::int32_t start, std::int32_t n);

// First occurrence at or after start (omitted: the whole text).
std::int32_t FindText(const Text& text, const Text& sought, std::optional<std::int32_t> start = {},
                      bool ignoreCase = false);
// Last occurrence that ends before start (omitted: the whole text).
std::int32_t FindTextReverse(const Text& text, const Text& sought,
                             std::optional<std::int32_t> start = {}, bool ignoreCase = false);
// Omitted count, or a negative one, replaces every occurrence.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = {},
                 std::optional<std::int32_t> start = {}, std::optional<std::int32_t> count = {},
                 bool caseSensitive = false);
// Omitted maxCount means no limit; a delimiter at the very end adds no empty member.
TextArray SplitText(const Text& text, const Text& delimiter = ",",
                    std::optional<std::int32_t> maxCount = {});

// Blanks are the space and the full-width space (A1 A1).
Text TrimBoth(const Text& text);
Text RemoveSpaces(const Text& text);
Text ToLower(const Text& text);

std::int32_t ToInt(const Text& text);
Text HexText(std::int32_t value);
Text NumberToText(std::int32_t value);
Text NumberToText(double value);
Text CharOf(std::int32_t code);

template <class... Rest>
constexpr std::int32_t BitOr(std::int32_t a, std::int32_t b, Rest... rest) {
  return (a | ... | static_cast<std::int32_t>(rest)) | b;
}

Bytes ToBytes(const Text& text);
// The bytes before the first zero byte.
Text BytesToText(const Bytes& bytes);
std::int32_t BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, std::int32_t n);
Text BlankText(std::int32_t n);
Bytes BlankBytes(std::int32_t n);

}  // namespace quorvant
