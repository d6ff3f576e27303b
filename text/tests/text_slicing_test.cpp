#include <gtest/gtest.h>

#include <climits>

#include "text/tests/text_printers.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

TEST(TextLengthTest, CountsBytes) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("abc"), 3);
  EXPECT_EQ(TextLength("\xD6\xD0"
                       "a"),
            3);
}

TEST(LeftRightOf, ClampToTheText) {
  struct Case {
    Text text;
    std::int32_t n;
    Text left;
    Text right;
  };
  const Case cases[] = {
      {"abcde", 2, "ab", "de"},
      {"abcde", 5, "abcde", "abcde"},
      {"abcde", 9, "abcde", "abcde"},
      {"abcde", INT_MAX, "abcde", "abcde"},
      {"abcde", 0, "", ""},
      {"abcde", -3, "", ""},
      {"abcde", INT_MIN, "", ""},
      {"", 3, "", ""},
      // Slicing counts bytes and may cut a two-byte character.
      {"\xD6\xD0\xCE\xC4", 1, "\xD6", "\xC4"},
      {"\xD6\xD0\xCE\xC4", 3, "\xD6\xD0\xCE", "\xD0\xCE\xC4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " n=" + std::to_string(c.n));
    EXPECT_EQ(LeftOf(c.text, c.n), c.left);
    EXPECT_EQ(RightOf(c.text, c.n), c.right);
  }
}

TEST(MidOfTest, TakesBytesFromAOneBasedStart) {
  struct Case {
    Text text;
    std::int32_t start;
    std::int32_t n;
    Text expected;
  };
  const Case cases[] = {
      {"abcde", 1, 2, "ab"},
      {"abcde", 2, 3, "bcd"},
      {"abcde", 4, 9, "de"},
      {"abcde", 5, 1, "e"},
      {"abcde", 2, INT_MAX, "bcde"},
      {"abcde", 6, 1, ""},
      {"abcde", 0, 3, ""},
      {"abcde", -1, 3, ""},
      {"abcde", INT_MIN, 3, ""},
      {"abcde", INT_MAX, 3, ""},
      {"abcde", 2, 0, ""},
      {"abcde", 2, -1, ""},
      {"", 1, 1, ""},
      {"\xD6\xD0\xCE\xC4", 2, 2, "\xD0\xCE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " start=" + std::to_string(c.start) +
                 " n=" + std::to_string(c.n));
    EXPECT_EQ(MidOf(c.text, c.start, c.n), c.expected);
  }
}

}  // namespace
}  // namespace quorvant
