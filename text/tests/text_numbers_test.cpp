#include <gtest/gtest.h>

#include <climits>

#include "text/tests/text_printers.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

TEST(ToIntTest, ReadsALeadingDecimalNumber) {
  struct Case {
    Text text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {" 42abc", 42},
      {"-7", -7},
      {"+5", 5},
      {"abc", 0},
      {"", 0},
      {"12 34", 12},
      {"\t\n\v\f\r 9", 9},
      {"--3", 0},
      {" + 3", 0},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      // 32-bit arithmetic wraps without notice.
      {"4294967297", 1},
      {"2147483648", INT_MIN},
      {"-4294967295", 1},
      // Full-width digits, signs and blanks read as their ASCII forms.
      {"\xA3\xB1\xA3\xB2", 12},
      {"\xA3\xAD\xA3\xB3", -3},
      {"\xA3\xAB"
       "8",
       8},
      {"\xA1\xA1"
       "8",
       8},
      {"\xA3\xB4"
       "2"
       "\xA3\xB1",
       421},
      {"\xA3\xB9\xA3\xA5", 9},
      // Other two-byte characters stay, so a digit as a second byte is no digit.
      {"\xB0"
       "1",
       0},
      {"5\xA3", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(ToInt(c.text), c.expected);
  }
}

TEST(HexTextTest, WritesUpperCaseWithoutPadding) {
  struct Case {
    std::int32_t value;
    Text expected;
  };
  const Case cases[] = {
      {10, "A"},        {255, "FF"},           {0, "0"}, {0x1234ABCD, "1234ABCD"},
      {-1, "FFFFFFFF"}, {INT_MIN, "80000000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(HexText(c.value), c.expected);
  }
}

TEST(NumberToTextTest, WritesIntegersInDecimal) {
  struct Case {
    std::int32_t value;
    Text expected;
  };
  const Case cases[] = {{0, "0"}, {-5, "-5"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(NumberToText(c.value), c.expected);
  }
}

TEST(NumberToTextTest, WritesRealsWithThirteenDigitsAndThreeDigitExponents) {
  struct Case {
    double value;
    Text expected;
  };
  const Case cases[] = {
      {3.0, "3"},
      {0.1, "0.1"},
      {1e20, "1e+020"},
      {1.5, "1.5"},
      {-2.5e-7, "-2.5e-007"},
      {0.0, "0"},
      {100.0, "100"},
      {0.0001, "0.0001"},
      {1e-5, "1e-005"},
      {1e100, "1e+100"},
      {1234567890123.0, "1234567890123"},
      {12345678901234.0, "1.234567890123e+013"},
      {1.0 / 3.0, "0.3333333333333"},
      {2.0 / 3.0, "0.6666666666667"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(NumberToText(c.value), c.expected);
  }
}

TEST(CharOfTest, KeepsTheLowByte) {
  struct Case {
    std::int32_t code;
    Text expected;
  };
  const Case cases[] = {
      {65, "A"}, {0x141, "A"}, {0xD6, "\xD6"}, {-1, "\xFF"}, {0, ""}, {256, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(CharOf(c.code), c.expected);
  }
}

TEST(BitOrTest, CombinesEveryArgument) {
  struct Case {
    std::int32_t result;
    std::int32_t expected;
  };
  const Case cases[] = {
      {BitOr(1, 2), 3},
      {BitOr(1, 2, 4, 8), 15},
      {BitOr(0x10, 0x10), 0x10},
      {BitOr(-1, 0), -1},
      {BitOr(0, 0, 0x40000000), 0x40000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(c.result, c.expected);
  }
}

}  // namespace
}  // namespace quorvant
