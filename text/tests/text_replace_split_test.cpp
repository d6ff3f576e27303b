#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "text/tests/text_printers.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

constexpr std::optional<std::int32_t> kOmitted = std::nullopt;

std::string Optional(std::optional<std::int32_t> value) {
  return value ? std::to_string(*value) : "omitted";
}

TEST(ReplaceTextTest, ReplacesNonOverlappingOccurrences) {
  struct Case {
    Text text;
    Text sought;
    Text replacement;
    std::optional<std::int32_t> start;
    std::optional<std::int32_t> count;
    bool caseSensitive;
    Text expected;
  };
  const Case cases[] = {
      {"aXbxc", "x", "-", kOmitted, kOmitted, false, "a-b-c"},
      {"aXbxc", "x", "-", kOmitted, kOmitted, true, "aXb-c"},
      {"aXbxc", "x", "-", kOmitted, 1, false, "a-bxc"},
      {"aXbxc", "x", "-", 3, kOmitted, false, "aXb-c"},
      {"aXbxc", "x", "-", 0, kOmitted, false, "a-b-c"},
      {"aXbxc", "x", "-", INT_MIN, kOmitted, false, "a-b-c"},
      {"aXbxc", "x", "-", kOmitted, -1, false, "a-b-c"},
      {"aXbxc", "x", "-", kOmitted, INT_MIN, false, "a-b-c"},
      {"aXbxc", "x", "-", kOmitted, INT_MAX, false, "a-b-c"},
      {"aaa", "aa", "a", kOmitted, kOmitted, true, "aa"},
      {"aaaa", "aa", "a", kOmitted, kOmitted, true, "aa"},
      // The replacement is never searched again.
      {"ab", "a", "aa", kOmitted, kOmitted, true, "aab"},
      {"Abc aBC abc", "abc", "abc", kOmitted, kOmitted, false, "abc abc abc"},
      {"a\xD6\xD0"
       "b",
       "\xD6\xD0", "\xCE\xC4\xCE\xC4", kOmitted, kOmitted, true,
       "a\xCE\xC4\xCE\xC4"
       "b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " sought " + testing::PrintToString(c.sought) +
                 " start " + Optional(c.start) + " count " + Optional(c.count) +
                 (c.caseSensitive ? " exact" : " folded"));
    EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.start, c.count, c.caseSensitive),
              c.expected);
  }
  // An omitted replacement removes the occurrences.
  EXPECT_EQ(ReplaceText("a,b,c", ","), Text("abc"));
}

TEST(ReplaceTextTest, LeavesTheTextAloneWhenThereIsNothingToDo) {
  struct Case {
    Text text;
    Text sought;
    std::optional<std::int32_t> start;
    std::optional<std::int32_t> count;
  };
  const Case cases[] = {
      {"", "a", kOmitted, kOmitted},
      {"abc", "", kOmitted, kOmitted},
      {"abc", "a", 4, kOmitted},
      {"abc", "a", INT_MAX, kOmitted},
      {"abc", "a", kOmitted, 0},
      {"abc", "x", kOmitted, kOmitted},
      {"ab\xB0", "b\xB0x", kOmitted, kOmitted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " sought " + testing::PrintToString(c.sought) +
                 " start " + Optional(c.start) + " count " + Optional(c.count));
    EXPECT_EQ(ReplaceText(c.text, c.sought, "-", c.start, c.count, true), c.text);
  }
}

TEST(ReplaceTextTest, RespectsTwoByteCharacters) {
  struct Case {
    Text text;
    Text sought;
    std::optional<std::int32_t> start;
    std::optional<std::int32_t> count;
    bool caseSensitive;
    Text expected;
  };
  const Case cases[] = {
      {"\xB0\xA1\xB0\xA2", "\xA1\xB0", kOmitted, kOmitted, true, "\xB0\xA1\xB0\xA2"},
      {"\xB0\xA1\xB0\xA2", "\xB0\xA2", kOmitted, kOmitted, true, "\xB0\xA1-"},
      {"\xB0"
       "AA",
       "A", kOmitted, kOmitted, true,
       "\xB0"
       "A-"},
      {"\xB0"
       "Aa",
       "a", kOmitted, kOmitted, false,
       "\xB0"
       "A-"},
      // A start inside a character counts characters from there.
      {"\xB0"
       "AA",
       "A", 2, kOmitted, true, "\xB0--"},
      // With a one-byte sought text the scan reaches a lone lead byte at the end and drops it.
      {"ab\xB0", "x", kOmitted, kOmitted, true, "ab"},
      {"\xB0\xB1\xB2", "x", kOmitted, kOmitted, true, "\xB0\xB1"},
      {"ab\xB0", "\xB0", kOmitted, kOmitted, true, "ab-"},
      {"b\xB0", "b", kOmitted, kOmitted, true, "-"},
      // A longer sought text stops the scan before it, and a used-up count ends it early.
      {"ab\xB0", "xy", kOmitted, kOmitted, true, "ab\xB0"},
      {"xa\xB0", "x", kOmitted, 1, true, "-a\xB0"},
      // A second byte at the end is no lone lead byte.
      {"a\xB0\xB1", "x", kOmitted, kOmitted, true, "a\xB0\xB1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " sought " + testing::PrintToString(c.sought) +
                 " start " + Optional(c.start) + " count " + Optional(c.count));
    EXPECT_EQ(ReplaceText(c.text, c.sought, "-", c.start, c.count, c.caseSensitive), c.expected);
  }
}

TEST(SplitTextTest, CutsAtEveryDelimiter) {
  struct Case {
    Text text;
    std::optional<Text> delimiter;
    std::optional<std::int32_t> maxCount;
    std::vector<Text> pieces;
  };
  const Case cases[] = {
      {",a,,b,", std::nullopt, kOmitted, {"", "a", "", "b"}},
      {"a,b", std::nullopt, kOmitted, {"a", "b"}},
      {"abc", ",", kOmitted, {"abc"}},
      {",", ",", kOmitted, {""}},
      {",,", ",", kOmitted, {"", ""}},
      {"", ",", kOmitted, {}},
      {"", "", kOmitted, {}},
      {"a,b", "", kOmitted, {"a,b"}},
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b,c", ",", 3, {"a", "b", "c"}},
      {"a,b,c", ",", 1, {"a"}},
      {"a,b,c", ",", INT_MAX, {"a", "b", "c"}},
      {"a,b,c", ",", 0, {}},
      {"a,b,c", ",", -1, {}},
      {"a,b,c", ",", INT_MIN, {}},
      {"abc", ",", 0, {}},
      {"abc", "", 0, {}},
      {"a,b,", ",", 2, {"a", "b"}},
      {"a,b,,", ",", 3, {"a", "b", ""}},
      {"a::b::", "::", kOmitted, {"a", "b"}},
      {"a:::b", "::", kOmitted, {"a", ":b"}},
      // Delimiters are compared exactly and only at character starts.
      {"a,B,b", "b", kOmitted, {"a,B,"}},
      {"\xB0,a,b", ",", kOmitted, {"\xB0,a", "b"}},
      {"a\xA3\xAC"
       "b",
       "\xA3\xAC",
       kOmitted,
       {"a", "b"}},
      {"\xB0\xA3\xAC"
       "b",
       "\xA3\xAC",
       kOmitted,
       {"\xB0\xA3\xAC"
        "b"}},
      // A lone lead byte at the end belongs to the last piece.
      {"a,\xB0", ",", kOmitted, {"a", "\xB0"}},
      {"a\xB0", "\xB0", kOmitted, {"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " at " +
                 (c.delimiter ? testing::PrintToString(*c.delimiter) : "default") + " max " +
                 Optional(c.maxCount));
    const TextArray pieces =
        c.delimiter ? SplitText(c.text, *c.delimiter, c.maxCount) : SplitText(c.text);
    EXPECT_EQ(std::vector<Text>(pieces.begin(), pieces.end()), c.pieces);
  }
}

}  // namespace
}  // namespace quorvant
