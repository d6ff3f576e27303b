// Conversions between code-page texts and UTF-16 buffers. The expectations hold for every
// implementation of the code-page seam on a system whose ANSI code page is 936.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "text/encoding.h"
#include "text/tests/text_printers.h"

namespace quorvant {
namespace {

using namespace std::string_view_literals;

constexpr std::optional<std::int32_t> kOmitted = std::nullopt;

// A UTF-16 buffer as the routines write it: two bytes a unit, low byte first.
Bytes Utf16(std::u16string_view units) {
  Bytes bytes;
  for (const char16_t unit : units) {
    const std::uint8_t pair[2] = {static_cast<std::uint8_t>(unit & 0xFF),
                                  static_cast<std::uint8_t>(unit >> 8)};
    bytes.append(pair, 2);
  }
  return bytes;
}

std::string Page(std::optional<std::int32_t> codePage) {
  return codePage ? "code page " + std::to_string(*codePage) : "code page omitted";
}

TEST(ToWideTest, ConvertsIntoABufferSizedByTheAnsiCodePage) {
  struct Case {
    Text text;
    std::optional<std::int32_t> codePage;
    Bytes expected;
  };
  const Case cases[] = {
      {"\xD6\xD0", 936, Utf16(u"\u4E2D\0"sv)},
      {"\xD6\xD0", 0, Utf16(u"\u4E2D\0"sv)},
      {"\xD6\xD0\xCE\xC4", 936, Utf16(u"\u4E2D\u6587\0"sv)},
      {"\x80", 936, Utf16(u"\u20AC\0"sv)},
      {"abc", kOmitted, Utf16(u"abc\0"sv)},
      {"abc", 936, Utf16(u"abc\0"sv)},
      // An omitted code page reads the text as UTF-8.
      {"\xE4\xB8\xAD"
       "a",
       kOmitted, Utf16(u"\u4E2Da\0"sv)},
      {"\xE4\xB8\xAD"
       "a",
       65001, Utf16(u"\u4E2Da\0"sv)},
      // E4 B8 80 is two characters in code page 936 but one in UTF-8: the buffer keeps the
      // ANSI size and zero bytes follow what was written.
      {"\xE4\xB8\x80", kOmitted, Utf16(u"\u4E00\0\0"sv)},
      // Outside the basic plane: a surrogate pair.
      {"\xF0\x9F\x98\x80", kOmitted, Utf16(u"\U0001F600\0"sv)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text) + " " + Page(c.codePage));
    EXPECT_EQ(ToWide(c.text, c.codePage), c.expected);
  }
}

TEST(ToWideTest, EmptyTextGivesEmptyBuffer) {
  for (const auto codePage :
       {kOmitted, std::optional<std::int32_t>(0), std::optional(936), std::optional(65001)}) {
    SCOPED_TRACE(Page(codePage));
    EXPECT_TRUE(ToWide("", codePage).empty());
  }
}

TEST(ToWideTest, GrowsTheBufferRatherThanLoseTheText) {
  // Code page 936 bytes read as UTF-8 are two invalid bytes: three units where the ANSI code
  // page counts two.
  EXPECT_EQ(ToWide("\xD6\xD0", 65001), Utf16(u"\uFFFD\uFFFD\0"sv));
}

TEST(FromWideTest, ConvertsUpToTheFirstZeroUnit) {
  struct Case {
    Bytes units;
    std::optional<std::int32_t> codePage;
    Text expected;
  };
  const Case cases[] = {
      {Utf16(u"\u4E2D\0"sv), kOmitted, "\xD6\xD0"},
      {Utf16(u"\u4E2D\0"sv), 0, "\xD6\xD0"},
      {Utf16(u"\u4E2D\0"sv), 936, "\xD6\xD0"},
      {Utf16(u"\u4E2D\0"sv), 65001, "\xE4\xB8\xAD"},
      {Utf16(u"\u4E2D\u6587a\0"sv), 65001,
       "\xE4\xB8\xAD\xE6\x96\x87"
       "a"},
      {Utf16(u"abc\0"sv), kOmitted, "abc"},
      {Utf16(u"\u20AC\0"sv), 936, "\x80"},
      // Units after the first zero unit are not converted.
      {Utf16(u"a\0b\0"sv), kOmitted, "a"},
      {Utf16(u"\0a\0"sv), kOmitted, ""},
      // A buffer without a zero unit ends where its bytes end; a half unit is ignored.
      {Utf16(u"\u4E2D"sv), kOmitted, "\xD6\xD0"},
      {Utf16(u"\u4E2D"sv) + Bytes("A"sv), kOmitted, "\xD6\xD0"},
      {Utf16(u"\U0001F600\0"sv), 65001, "\xF0\x9F\x98\x80"},
      // Code page 936 has no such character: each of the two units becomes "?".
      {Utf16(u"\U0001F600\0"sv), 936, "??"},
      {Bytes(), kOmitted, ""},
      {Bytes(), 65001, ""},
      {Bytes("a"sv), kOmitted, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.units) + " " + Page(c.codePage));
    EXPECT_EQ(FromWide(c.units, c.codePage), c.expected);
  }
}

TEST(FromWideTest, GrowsTheOutputRatherThanLoseTheText) {
  // The euro sign is one byte in code page 936 and three in UTF-8, so three of them do not fit
  // into twice the ANSI size.
  EXPECT_EQ(FromWide(Utf16(u"\u20AC\u20AC\u20AC\0"sv), 65001),
            Text("\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"));
}

TEST(AnsiToUtf8Test, ConvertsCodePage936ToUtf8) {
  struct Case {
    Text text;
    Text expected;
  };
  const Case cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"Hello, world! ~`|\t\r\n", "Hello, world! ~`|\t\r\n"},
      {"\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
      {"\xA3\xA4"
       "AbC"
       "\xA3\xA4",
       "\xEF\xBF\xA5"
       "AbC"
       "\xEF\xBF\xA5"},
      {"\xA1\xB6"
       "x"
       "\xA1\xB7",
       "\xE3\x80\x8A"
       "x"
       "\xE3\x80\x8B"},
      {"a\x80", "a\xE2\x82\xAC"},
      {"\x80\x80\x80", "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(AnsiToUtf8(c.text), c.expected);
  }
}

TEST(AnsiToUtf8Test, ConvertsLongTexts) {
  std::string text;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    text +=
        "\xD6\xD0"
        "a";
    expected +=
        "\xE4\xB8\xAD"
        "a";
  }
  EXPECT_EQ(AnsiToUtf8(Text(text)), Text(expected));
}

TEST(CodePageRoundTrip, TextsComeBackUnchanged) {
  const Text texts[] = {"abc", "\xD6\xD0\xCE\xC4",
                        "\xA1\xB6"
                        "AbC123"
                        "\xA1\xB7",
                        "\xA3\xA4 x \xA1\xA1", "\x81\x40\xFE\x4F"};
  for (const Text& text : texts) {
    SCOPED_TRACE(testing::PrintToString(text));
    EXPECT_EQ(FromWide(ToWide(text, 936)), text);
    EXPECT_EQ(FromWide(ToWide(text, 936), 936), text);
    EXPECT_EQ(FromWide(ToWide(AnsiToUtf8(text)), 0), text);
  }
}

}  // namespace
}  // namespace quorvant
