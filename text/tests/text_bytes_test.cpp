#include <gtest/gtest.h>

#include <climits>
#include <string_view>

#include "text/tests/text_printers.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

using namespace std::string_view_literals;

TEST(ToBytesTest, HoldsTheTextWithoutItsTerminator) {
  EXPECT_EQ(ToBytes("ab"), Bytes("ab"sv));
  EXPECT_EQ(ToBytes("\xD6\xD0"), Bytes("\xD6\xD0"sv));
  EXPECT_TRUE(ToBytes("").empty());
}

TEST(BytesToTextTest, StopsAtTheFirstZeroByte) {
  struct Case {
    std::string_view bytes;
    Text expected;
  };
  const Case cases[] = {
      {"ab\0c"sv, "ab"},
      {"abc"sv, "abc"},
      {"\0abc"sv, ""},
      {""sv, ""},
      {"\xD6\xD0\0\0"sv, "\xD6\xD0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(Bytes(c.bytes)));
    EXPECT_EQ(BytesToText(Bytes(c.bytes)), c.expected);
  }
}

TEST(BytesLengthTest, CountsZeroBytesToo) {
  EXPECT_EQ(BytesLength(Bytes("a\0b\0"sv)), 4);
  EXPECT_EQ(BytesLength(Bytes()), 0);
}

TEST(BytesLeftTest, ClampsTheCount) {
  struct Case {
    std::int32_t n;
    std::string_view expected;
  };
  const Bytes source("a\0bc"sv);
  const Case cases[] = {
      {2, "a\0"sv}, {4, "a\0bc"sv}, {5, "a\0bc"sv},  {INT_MAX, "a\0bc"sv},
      {0, ""sv},    {-1, ""sv},     {INT_MIN, ""sv},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(BytesLeft(source, c.n), Bytes(c.expected));
  }
  EXPECT_EQ(BytesLeft(Bytes(), 3), Bytes());
}

TEST(BlankValues, SpacesForTextZerosForBytes) {
  struct Case {
    std::int32_t n;
    Text text;
    std::string_view bytes;
  };
  const Case cases[] = {
      {3, "   ", "\0\0\0"sv}, {1, " ", "\0"sv}, {0, "", ""sv}, {-1, "", ""sv}, {INT_MIN, "", ""sv},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(BlankText(c.n), c.text);
    EXPECT_EQ(BlankBytes(c.n), Bytes(c.bytes));
  }
}

}  // namespace
}  // namespace quorvant
