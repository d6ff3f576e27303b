// Compares the scanning operations with plain restatements of their rules over many random texts
// made to provoke the two-byte rules: second bytes that look like ASCII letters, blanks or
// delimiters, full-width spaces, lead bytes without their second byte, and starts and counts
// outside the text.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "text/tests/text_printers.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

constexpr int kCases = 20000;
constexpr std::uint32_t kSeed = 20240611;

// ---- The reference: simple loops over the bytes, written from the rules alone. ----

bool IsHigh(const std::string& s, std::int64_t i) {
  return static_cast<unsigned char>(s[static_cast<std::size_t>(i)]) >= 0x80;
}

char LowerLetter(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool SameAt(const std::string& text, std::int64_t at, const std::string& sought, bool fold) {
  for (std::size_t i = 0; i < sought.size(); ++i) {
    char a = text[static_cast<std::size_t>(at) + i];
    char b = sought[i];
    if (fold) {
      a = LowerLetter(a);
      b = LowerLetter(b);
    }
    if (a != b) return false;
  }
  return true;
}

std::int64_t StartOffset(std::optional<std::int32_t> start) {
  if (!start) return 0;
  const std::int64_t b = std::int64_t{*start} - 1;
  return b < 0 ? 0 : b;
}

std::int32_t ReferenceFind(const std::string& text, const std::string& sought,
                           std::optional<std::int32_t> start, bool ignoreCase) {
  const auto length = static_cast<std::int64_t>(text.size());
  const auto m = static_cast<std::int64_t>(sought.size());
  const std::int64_t b = StartOffset(start);
  if (b >= length) return -1;
  if (m == 0) return 1;
  std::int64_t c = b;
  while (c < length) {
    if (length - c >= m && SameAt(text, c, sought, ignoreCase))
      return static_cast<std::int32_t>(c + 1);
    if (IsHigh(text, c)) {
      if (c + 1 >= length) break;
      c += 2;
    } else {
      c += 1;
    }
  }
  return -1;
}

std::int32_t ReferenceFindReverse(const std::string& text, const std::string& sought,
                                  std::optional<std::int32_t> start, bool ignoreCase) {
  const auto length = static_cast<std::int64_t>(text.size());
  const auto m = static_cast<std::int64_t>(sought.size());
  std::int64_t region = length;
  if (start) {
    std::int64_t r = std::int64_t{*start} - 1;
    if (r < 0) r = 0;
    region = (r == 0) ? 0 : (r < length ? r : length);
  }
  if (m == 0) return region > 0 ? 1 : -1;
  std::int32_t result = -1;
  std::int64_t c = 0;
  while (c + m <= region) {
    if (SameAt(text, c, sought, ignoreCase)) result = static_cast<std::int32_t>(c + 1);
    if (IsHigh(text, c)) {
      if (c + 1 >= length) break;
      c += 2;
    } else {
      c += 1;
    }
  }
  return result;
}

std::string ReferenceReplace(const std::string& text, const std::string& sought,
                             const std::string& replacement, std::optional<std::int32_t> start,
                             std::optional<std::int32_t> count, bool caseSensitive) {
  const auto length = static_cast<std::int64_t>(text.size());
  const auto m = static_cast<std::int64_t>(sought.size());
  const std::int64_t b = StartOffset(start);
  const bool unlimited = !count || *count < 0;
  if (length == 0 || m == 0 || b >= length || (count && *count == 0)) return text;
  std::string out = text.substr(0, static_cast<std::size_t>(b));
  std::int64_t c = b;
  std::int64_t replaced = 0;
  while (length - c >= m) {
    if (SameAt(text, c, sought, !caseSensitive)) {
      out += replacement;
      c += m;
      ++replaced;
      if (!unlimited && replaced == *count) break;
      continue;
    }
    if (IsHigh(text, c)) {
      if (c + 1 >= length) {
        c = length;  // dropped
        break;
      }
      out += text.substr(static_cast<std::size_t>(c), 2);
      c += 2;
    } else {
      out += text[static_cast<std::size_t>(c)];
      c += 1;
    }
  }
  out += text.substr(static_cast<std::size_t>(c));
  return out;
}

std::vector<std::string> ReferenceSplit(const std::string& text, const std::string& delimiter,
                                        std::optional<std::int32_t> maxCount) {
  const auto length = static_cast<std::int64_t>(text.size());
  const auto m = static_cast<std::int64_t>(delimiter.size());
  std::int64_t limit = -1;
  if (maxCount) limit = *maxCount < 0 ? 0 : *maxCount;
  std::vector<std::string> pieces;
  if (length == 0 || limit == 0) return pieces;
  if (m == 0) return {text};
  std::int64_t cut = 0;
  std::int64_t c = 0;
  while (c < length) {
    if (length - c >= m && SameAt(text, c, delimiter, false)) {
      pieces.push_back(
          text.substr(static_cast<std::size_t>(cut), static_cast<std::size_t>(c - cut)));
      c += m;
      cut = c;
      if (static_cast<std::int64_t>(pieces.size()) == limit) return pieces;
      continue;
    }
    if (IsHigh(text, c)) {
      if (c + 1 >= length) break;
      c += 2;
    } else {
      c += 1;
    }
  }
  if (cut < length) pieces.push_back(text.substr(static_cast<std::size_t>(cut)));
  return pieces;
}

// The text cut into whole characters; `lone` tells whether a lead byte without its second byte
// was left over at the end.
struct Characters {
  std::vector<std::string> list;
  bool lone = false;
};

Characters CharactersOf(const std::string& text) {
  Characters result;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t width = static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
    if (i + width > text.size()) {
      result.lone = true;
      break;
    }
    result.list.push_back(text.substr(i, width));
    i += width;
  }
  return result;
}

bool IsBlank(const std::string& character) {
  return character == " " || character == "\xA1\xA1";
}

std::string ReferenceTrimBoth(const std::string& text) {
  const Characters chars = CharactersOf(text);
  std::size_t first = 0;
  while (first < chars.list.size() && IsBlank(chars.list[first])) ++first;
  std::size_t last = chars.list.size();
  if (!chars.lone) {
    while (last > first && IsBlank(chars.list[last - 1])) --last;
  }
  std::string out;
  for (std::size_t i = first; i < last; ++i) out += chars.list[i];
  return out;
}

std::string ReferenceRemoveSpaces(const std::string& text) {
  std::string out;
  for (const std::string& character : CharactersOf(text).list) {
    if (!IsBlank(character)) out += character;
  }
  return out;
}

std::string ReferenceToLower(const std::string& text) {
  const Characters chars = CharactersOf(text);
  std::string out;
  for (const std::string& character : chars.list) {
    out += character.size() == 1 ? std::string(1, LowerLetter(character[0])) : character;
  }
  if (chars.lone) out += text.back();
  return out;
}

// ---- Random cases. ----

class CaseMaker {
 public:
  CaseMaker() : random_(kSeed) {}

  // A text of whole characters from small alphabets, so that matches, near matches and second
  // bytes that look like sought bytes are frequent; sometimes ended by a lone lead byte.
  std::string RandomText(int maxCharacters) {
    static const std::string kLetters = "aAbBxXzZ";
    static const std::string kOthers = ",.:-1\t";
    static const std::string kLeads = "\xB0\xA1\xD6";
    static const std::string kLowTrails = "AaBx, :";
    static const std::string kHighTrails = "\xA1\xB0\xD0\xD6";
    std::string text;
    const int characters = Below(maxCharacters + 1);
    for (int i = 0; i < characters; ++i) {
      switch (Below(6)) {
        case 0:
          text += Pick(kLetters);
          break;
        case 1:
          text += Pick(kOthers);
          break;
        case 2:
          text += ' ';
          break;
        case 3:
          text += "\xA1\xA1";
          break;
        case 4:
          text += Pick(kLeads);
          text += Pick(kLowTrails);
          break;
        default:
          text += Pick(kLeads);
          text += Pick(kHighTrails);
          break;
      }
    }
    if (Below(5) == 0) text += Pick(kLeads);
    return text;
  }

  // A sought text: a piece of the text (possibly starting at a second byte), a fresh short text,
  // one byte, or nothing; with letter case shuffled now and then.
  std::string Sought(const std::string& text) {
    std::string sought;
    switch (Below(10)) {
      case 0:
        break;
      case 1:
      case 2:
        sought = std::string(1, Pick(std::string("aAx,\xB0\xA1\xD0 ")));
        break;
      case 3:
      case 4:
      case 5:
        sought = RandomText(2);
        break;
      default:
        if (!text.empty()) {
          const std::size_t at = static_cast<std::size_t>(Below(static_cast<int>(text.size())));
          sought = text.substr(at, static_cast<std::size_t>(1 + Below(4)));
        }
        break;
    }
    if (Below(3) == 0) {
      for (char& c : sought) {
        if (c >= 'a' && c <= 'z')
          c = static_cast<char>(c - 32);
        else if (c >= 'A' && c <= 'Z')
          c = static_cast<char>(c + 32);
      }
    }
    return sought;
  }

  // A start or count: omitted, inside the text, at or past its end, zero, negative or extreme.
  std::optional<std::int32_t> Number(const std::string& text) {
    const auto length = static_cast<std::int32_t>(text.size());
    switch (Below(10)) {
      case 0:
      case 1:
        return std::nullopt;
      case 2:
        return 0;
      case 3:
        return -1 - Below(3);
      case 4:
        return Below(2) == 0 ? INT_MIN : INT_MAX;
      case 5:
        return length + Below(3);
      default:
        return 1 + Below(length + 1);
    }
  }

  bool Flag() { return Below(2) == 0; }

 private:
  int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
  char Pick(const std::string& from) {
    return from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
  }

  std::mt19937 random_;
};

std::string Show(const std::string& bytes) {
  return testing::PrintToString(Text(bytes));
}

std::string Show(std::optional<std::int32_t> number) {
  return number ? std::to_string(*number) : "omitted";
}

std::vector<std::string> Pieces(const TextArray& array) {
  std::vector<std::string> pieces;
  for (const Text& piece : array) pieces.emplace_back(piece.view());
  return pieces;
}

TEST(TextOperationsAgainstReference, FindTextBothWays) {
  using Search = std::int32_t (*)(const Text&, const Text&, std::optional<std::int32_t>, bool);
  using ReferenceSearch =
      std::int32_t (*)(const std::string&, const std::string&, std::optional<std::int32_t>, bool);
  struct Direction {
    const char* name;
    Search search;
    ReferenceSearch reference;
  };
  const Direction directions[] = {{"FindText", &FindText, &ReferenceFind},
                                  {"FindTextReverse", &FindTextReverse, &ReferenceFindReverse}};
  for (const Direction& direction : directions) {
    SCOPED_TRACE(direction.name);
    CaseMaker maker;
    for (int i = 0; i < kCases; ++i) {
      const std::string text = maker.RandomText(16);
      const std::string sought = maker.Sought(text);
      const auto start = maker.Number(text);
      const bool ignoreCase = maker.Flag();
      ASSERT_EQ(direction.search(Text(text), Text(sought), start, ignoreCase),
                direction.reference(text, sought, start, ignoreCase))
          << Show(text) << " sought " << Show(sought) << " start " << Show(start) << " ignoreCase "
          << ignoreCase;
    }
  }
}

TEST(TextOperationsAgainstReference, ReplaceText) {
  CaseMaker maker;
  for (int i = 0; i < kCases; ++i) {
    const std::string text = maker.RandomText(16);
    const std::string sought = maker.Sought(text);
    const std::string replacement =
        maker.Flag() ? sought + maker.RandomText(1) : maker.RandomText(2);
    const auto start = maker.Number(text);
    const auto count = maker.Number(text);
    const bool caseSensitive = maker.Flag();
    ASSERT_EQ(ReplaceText(Text(text), Text(sought), Text(replacement), start, count, caseSensitive)
                  .view(),
              ReferenceReplace(text, sought, replacement, start, count, caseSensitive))
        << Show(text) << " sought " << Show(sought) << " by " << Show(replacement) << " start "
        << Show(start) << " count " << Show(count) << " caseSensitive " << caseSensitive;
  }
}

TEST(TextOperationsAgainstReference, SplitText) {
  CaseMaker maker;
  for (int i = 0; i < kCases; ++i) {
    const std::string text = maker.RandomText(16);
    const std::string delimiter = maker.Sought(text);
    const auto maxCount = maker.Number(text);
    ASSERT_EQ(Pieces(SplitText(Text(text), Text(delimiter), maxCount)),
              ReferenceSplit(text, delimiter, maxCount))
        << Show(text) << " at " << Show(delimiter) << " max " << Show(maxCount);
  }
}

TEST(TextOperationsAgainstReference, BlanksAndCase) {
  CaseMaker maker;
  for (int i = 0; i < kCases; ++i) {
    const std::string text = maker.RandomText(12);
    ASSERT_EQ(TrimBoth(Text(text)).view(), ReferenceTrimBoth(text)) << Show(text);
    ASSERT_EQ(RemoveSpaces(Text(text)).view(), ReferenceRemoveSpaces(text)) << Show(text);
    ASSERT_EQ(ToLower(Text(text)).view(), ReferenceToLower(text)) << Show(text);
  }
}

}  // namespace
}  // namespace quorvant
