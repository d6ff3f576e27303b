// The code-page seam against its contract: size queries count the terminator, conversions write
// it, and a buffer that is too small is refused.
#include <gtest/gtest.h>

#include <string>

#include "text/code_pages.h"

namespace quorvant::code_pages {
namespace {

TEST(MultiByteToWideTest, SizesAndConvertsUpToTheTerminator) {
  struct Case {
    std::uint32_t codePage;
    const char* text;
    std::u16string expected;  // terminator included
  };
  const Case cases[] = {
      {936, "\xD6\xD0", std::u16string(u"\u4E2D", 1) + u'\0'},
      {0, "\xD6\xD0", std::u16string(u"\u4E2D", 1) + u'\0'},
      {65001, "\xE4\xB8\xAD", std::u16string(u"\u4E2D", 1) + u'\0'},
      {65001, "\xF0\x9F\x98\x80", std::u16string(u"\U0001F600", 2) + u'\0'},
      {936, "ab", std::u16string(u"ab", 2) + u'\0'},
      {936, "", std::u16string(1, u'\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.codePage) + " " + c.text);
    const auto size = static_cast<std::int32_t>(c.expected.size());
    EXPECT_EQ(MultiByteToWide(c.codePage, c.text, nullptr, 0), size);
    std::u16string out(c.expected.size(), u'x');
    // A size query ignores the buffer.
    EXPECT_EQ(MultiByteToWide(c.codePage, c.text, out.data(), 0), size);
    EXPECT_EQ(MultiByteToWide(c.codePage, c.text, out.data(), size), size);
    EXPECT_EQ(out, c.expected);
    if (size > 1) {
      std::u16string small(c.expected.size() - 1, u'x');
      EXPECT_EQ(MultiByteToWide(c.codePage, c.text, small.data(), size - 1), 0);
    }
  }
}

TEST(MultiByteToWideTest, AbsentTextFails) {
  EXPECT_EQ(MultiByteToWide(936, nullptr, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWide(65001, nullptr, nullptr, 0), 0);
}

TEST(WideToMultiByteTest, SizesAndConvertsUpToTheTerminator) {
  struct Case {
    std::uint32_t codePage;
    std::u16string units;  // terminator not included
    std::string expected;  // terminator included
  };
  const Case cases[] = {
      {936, u"\u4E2D", std::string("\xD6\xD0", 2) + '\0'},
      {0, u"\u4E2D", std::string("\xD6\xD0", 2) + '\0'},
      {65001, u"\u4E2D", std::string("\xE4\xB8\xAD", 3) + '\0'},
      {65001, u"\U0001F600", std::string("\xF0\x9F\x98\x80", 4) + '\0'},
      {936, u"\U0001F600", std::string("??", 2) + '\0'},
      {936, u"ab", std::string("ab", 2) + '\0'},
      {65001, u"", std::string(1, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.codePage) + " " + std::to_string(c.units.size()) + " units");
    const auto size = static_cast<std::int32_t>(c.expected.size());
    EXPECT_EQ(WideToMultiByte(c.codePage, c.units.c_str(), nullptr, 0), size);
    std::string out(c.expected.size(), 'x');
    EXPECT_EQ(WideToMultiByte(c.codePage, c.units.c_str(), out.data(), 0), size);
    EXPECT_EQ(WideToMultiByte(c.codePage, c.units.c_str(), out.data(), size), size);
    EXPECT_EQ(out, c.expected);
    if (size > 1) {
      std::string small(c.expected.size() - 1, 'x');
      EXPECT_EQ(WideToMultiByte(c.codePage, c.units.c_str(), small.data(), size - 1), 0);
    }
  }
}

TEST(WideToMultiByteTest, AbsentUnitsFail) {
  EXPECT_EQ(WideToMultiByte(936, nullptr, nullptr, 0), 0);
}

}  // namespace
}  // namespace quorvant::code_pages
