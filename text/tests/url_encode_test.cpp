#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "text/encoding.h"
#include "text/tests/text_printers.h"

namespace quorvant {
namespace {

struct Case {
  Text text;
  bool keepPlain;
  bool viaUtf8;
  Text expected;
};

std::string Describe(const Case& c) {
  return testing::PrintToString(c.text) + (c.keepPlain ? " keepPlain" : "") +
         (c.viaUtf8 ? " viaUtf8" : "");
}

TEST(UrlEncodeTest, PercentEncodesBytes) {
  const Case cases[] = {
      {"", false, false, ""},
      {"", true, false, ""},
      {"", false, true, ""},
      {"", true, true, ""},
      {"ab", false, false, "%61%62"},
      {"ab", true, false, "ab"},
      {"a b/", true, false, "a%20b%2F"},
      {"a-b.9_~", true, false, "a-b.9%5F%7E"},
      {"AZaz09", true, false, "AZaz09"},
      {"@[`{:+", true, false, "%40%5B%60%7B%3A%2B"},
      {"\n", true, false, "%0A"},
      {"\x01\x7F\xFF", true, false, "%01%7F%FF"},
      {"\xD6\xD0", false, false, "%D6%D0"},
      {"\xD6\xD0", true, false, "%D6%D0"},
      {"\xD6\xD0", false, true, "%E4%B8%AD"},
      {"\xD6\xD0", true, true, "%E4%B8%AD"},
      {"a\xD6\xD0", true, true, "a%E4%B8%AD"},
      // A share code between two full-width yen signs, as the decode sends it.
      {"\xA3\xA4"
       "Ab1"
       "\xA3\xA4",
       false, true, "%EF%BF%A5%41%62%31%EF%BF%A5"},
      // Between the angle quotes, with keepPlain.
      {"\xA1\xB6"
       "x"
       "\xA1\xB7",
       true, true, "%E3%80%8Ax%E3%80%8B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c));
    EXPECT_EQ(UrlEncode(c.text, c.keepPlain, c.viaUtf8), c.expected);
  }
  EXPECT_EQ(UrlEncode("a b"), Text("%61%20%62"));
}

TEST(UrlEncodeTest, KeepsExactlyTheUnreservedSetWhenAsked) {
  const std::string kept = "-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (int byte = 1; byte <= 0xFF; ++byte) {
    SCOPED_TRACE(byte);
    const char c = static_cast<char>(byte);
    char percent[4];
    std::snprintf(percent, sizeof percent, "%%%02X", byte);
    const Text one(std::string(1, c));
    EXPECT_EQ(UrlEncode(one, true), kept.find(c) != std::string::npos ? one : Text(percent));
    EXPECT_EQ(UrlEncode(one, false), Text(percent));
  }
}

}  // namespace
}  // namespace quorvant
