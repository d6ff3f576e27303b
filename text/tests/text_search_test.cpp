#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "text/tests/text_printers.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

constexpr std::optional<std::int32_t> kWhole = std::nullopt;

struct SearchCase {
  Text text;
  Text sought;
  std::optional<std::int32_t> start;
  bool ignoreCase;
  std::int32_t expected;
};

std::string Describe(const SearchCase& c) {
  return testing::PrintToString(c.text) + " sought " + testing::PrintToString(c.sought) +
         " start " + (c.start ? std::to_string(*c.start) : "omitted") +
         (c.ignoreCase ? " ignoring case" : "");
}

TEST(FindTextTest, FindsTheFirstOccurrenceAtOrAfterStart) {
  const SearchCase cases[] = {
      {"abcabc", "c", kWhole, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 6, false, 6},
      {"abcabc", "c", 7, false, -1},
      {"abcabc", "c", 8, false, -1},
      {"abcabc", "c", INT_MAX, false, -1},
      {"abcabc", "c", 0, false, 3},
      {"abcabc", "c", -5, false, 3},
      {"abcabc", "c", INT_MIN, false, 3},
      {"abcabc", "bca", kWhole, false, 2},
      {"abcabc", "abcabcx", kWhole, false, -1},
      {"abcabc", "x", kWhole, false, -1},
      {"", "a", kWhole, false, -1},
      // Case is folded for ASCII letters only, and only on request.
      {"ABC", "b", kWhole, true, 2},
      {"ABC", "b", kWhole, false, -1},
      {"a[c", "{", kWhole, true, -1},
      {"x@", "`", kWhole, true, -1},
      // An empty sought text is found at 1 whenever anything is searched.
      {"abc", "", kWhole, false, 1},
      {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},
      {"", "", kWhole, false, -1},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(Describe(c));
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected);
  }
}

TEST(FindTextTest, NeverMatchesAtASecondByte) {
  // D6 D0 | x | D0 D6 | D0 (a lead byte without its second byte at the end)
  const Text mixed("\xD6\xD0x\xD0\xD6\xD0");
  const SearchCase cases[] = {
      {"\xB0\xA1\xB0\xA2", "\xA1\xB0", kWhole, false, -1},
      {"\xB0\xA1\xB0\xA2", "\xB0\xA2", kWhole, false, 3},
      {"\xB0\xA1\xB0\xA2", "\xA2", kWhole, false, -1},
      // ASCII letters as second bytes are skipped too, folded or not.
      {"\xB0"
       "AA",
       "A", kWhole, false, 3},
      {"\xB0"
       "Aa",
       "a", kWhole, true, 3},
      {"\xB0"
       "A",
       "A", kWhole, true, -1},
      // Folding inside a match does not care about boundaries.
      {"\xB0"
       "a",
       "\xB0"
       "A",
       kWhole, true, 1},
      {"\xB0"
       "a",
       "\xB0"
       "A",
       kWhole, false, -1},
      {mixed, "\xD0", kWhole, false, 4},
      {mixed, "\xD6\xD0", kWhole, false, 1},
      // A start inside a character counts characters from there.
      {mixed, "\xD6\xD0", 2, false, -1},
      {mixed, "\xD6\xD0", 5, false, 5},
      {"\xB0"
       "AA",
       "A", 2, false, 2},
      // The lone lead byte at the end is still a candidate.
      {"ab\xB0", "\xB0", kWhole, false, 3},
      {"ab\xB0", "b\xB0", kWhole, false, 2},
      // A long run of two-byte characters whose second bytes hold the sought byte.
      {"\xC1\xC1\xC1\xC1\xC1\xC1"
       "A",
       "\xC1"
       "A",
       kWhole, false, -1},
      {"\xC1\xC1\xC1\xC1\xC1\xC1\xC1"
       "A",
       "\xC1"
       "A",
       kWhole, false, 7},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(Describe(c));
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected);
  }
}

TEST(FindTextReverseTest, FindsTheLastOccurrenceEndingBeforeStart) {
  const SearchCase cases[] = {
      {"a.b.c", ".", kWhole, false, 4},
      {"a.b.c", ".", 5, false, 4},
      {"a.b.c", ".", 4, false, 2},
      {"a.b.c", ".", 3, false, 2},
      {"a.b.c", ".", 2, false, -1},
      {"a.b.c", ".", 1, false, -1},
      {"a.b.c", ".", 0, false, -1},
      {"a.b.c", ".", -1, false, -1},
      {"a.b.c", ".", INT_MIN, false, -1},
      {"a.b.c", ".", 6, false, 4},
      {"a.b.c", ".", INT_MAX, false, 4},
      {"a.b.c", "x", kWhole, false, -1},
      {"", ".", kWhole, false, -1},
      // Every character is a candidate, so occurrences may overlap.
      {"aaa", "aa", kWhole, false, 2},
      {"aaa", "aa", 4, false, 2},
      {"aaa", "aa", 3, false, 1},
      {"aXbx", "x", kWhole, true, 4},
      {"aXbx", "x", 4, true, 2},
      {"aXbx", "x", 4, false, -1},
      {"abc", "", kWhole, false, 1},
      {"abc", "", 2, false, 1},
      {"abc", "", 1, false, -1},
      {"", "", kWhole, false, -1},
      {"\xB0\xA1\xB0\xA2", "\xA1\xB0", kWhole, false, -1},
      {"A\xB0"
       "A",
       "A", kWhole, false, 1},
      {"A\xB0"
       "a",
       "a", kWhole, true, 1},
      {"ab\xB0", "\xB0", kWhole, false, 3},
      // The region is cut in bytes, so a character may end just past it.
      {"a\xB0\xB1", "\xB0", 3, false, 2},
      {"a\xB0\xB1", "\xB0\xB1", 3, false, -1},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(Describe(c));
    EXPECT_EQ(FindTextReverse(c.text, c.sought, c.start, c.ignoreCase), c.expected);
  }
}

TEST(FindTextReverseTest, WalksBackwardsWhenFedItsOwnResult) {
  struct Case {
    Text text;
    Text sought;
    std::vector<std::int32_t> positions;
  };
  const Case cases[] = {
      {"x-x-x", "x", {5, 3, 1}},
      {"\xD6\xD0"
       "a\xD6\xD0",
       "\xD6\xD0",
       {4, 1}},
      {"abab", "ab", {3, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    std::vector<std::int32_t> found;
    for (std::int32_t at = FindTextReverse(c.text, c.sought); at != -1 && found.size() < 10;
         at = FindTextReverse(c.text, c.sought, at)) {
      found.push_back(at);
    }
    EXPECT_EQ(found, c.positions);
  }
}

}  // namespace
}  // namespace quorvant
