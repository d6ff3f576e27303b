#include <gtest/gtest.h>

#include <string>

#include "text/encoding.h"
#include "text/tests/text_printers.h"

namespace quorvant {
namespace {

TEST(TextBetweenTest, TakesTheBytesBetweenTheMarkers) {
  struct Case {
    Text text;
    Text left;
    Text right;
    std::int32_t start;
    bool ignoreCase;
    Text expected;
  };
  const Case cases[] = {
      {"k=v; path=/", "k=", ";", 0, false, "v"},
      {"k=v;w;", "k=", ";", 0, false, "v"},
      {"k=v; path=/", "x=", ";", 0, false, ""},
      {"a;k=v", "k=", ";", 0, false, ""},
      {"k=;", "k=", ";", 0, false, ""},
      {"k=v", "k=", ";", 0, false, ""},
      {"", "k=", ";", 0, false, ""},
      // "#引号" in a marker stands for a double quote.
      {"x=\"1\"", "x=#引号", "#引号", 0, false, "1"},
      {"{\"url\":\"http://a/b\"}", "#引号url#引号:#引号", "#引号", 0, false, "http://a/b"},
      {"x=#\xD2\xFD\xBA\xC5"
       "1\"",
       "x=#引号", "#引号", 0, false, ""},
      // Only the first left marker at or after start counts.
      {"a=1;a=2;", "a=", ";", 0, false, "1"},
      {"a=1;a=2;", "a=", ";", 2, false, "2"},
      {"a=1;a=2;", "a=", ";", -4, false, "1"},
      {"a=1;a=2;", "a=", ";", 9, false, ""},
      {"Host: x\r\n", "host: ", "\r\n", 0, true, "x"},
      {"Host: x\r\n", "host: ", "\r\n", 0, false, ""},
      {"abc;d", "", ";", 0, false, "abc"},
      // A marker byte that is the second byte of a character is no marker.
      {"k=\xB0;ab;", "k=", ";", 0, false, "\xB0;ab"},
      {"\xB0k=v;", "k=", ";", 0, false, ""},
      {"\xB0"
       "k=v;",
       "\xB0"
       "k",
       ";", 0, false, "=v"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " between " + testing::PrintToString(c.left) +
                 " and " + testing::PrintToString(c.right) + " from " + std::to_string(c.start));
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected);
  }
  EXPECT_EQ(TextBetween("k=v; path=/", "k=", ";"), Text("v"));
}

TEST(TextBetweenTest, QuotePlaceholderIsCodePage936) {
  // The sources are compiled to code page 936, so the placeholder is these six bytes.
  EXPECT_EQ(Text("#引号"), Text("#\xD2\xFD\xBA\xC5"));
}

TEST(ValueAfterColonTest, TrimsWhatFollowsTheFirstColon) {
  struct Case {
    Text text;
    Text expected;
  };
  const Case cases[] = {
      {"User-Agent:  abc ", "abc"},
      {"a:b:c", "b:c"},
      {"abc", ""},
      {":", ""},
      {"", ""},
      {"a:\xA1\xA1x\xA1\xA1", "x"},
      {"k:\tv", "\tv"},
      {"Cookie: a=1; b=2", "a=1; b=2"},
      {"\xB0:x:y", "y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(ValueAfterColon(c.text), c.expected);
  }
}

}  // namespace
}  // namespace quorvant
