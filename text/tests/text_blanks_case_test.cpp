#include <gtest/gtest.h>

#include "text/tests/text_printers.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

struct Case {
  Text text;
  Text expected;
};

TEST(TrimBothTest, RemovesSpacesAndFullWidthSpacesAtBothEnds) {
  const Case cases[] = {
      {"  ab  ", "ab"},
      {"\xA1\xA1 ab \xA1\xA1", "ab"},
      {" \xA1\xA1\xA1\xA1 a b \xA1\xA1 ", "a b"},
      {"\tab\t", "\tab\t"},
      {" \tab\t ", "\tab\t"},
      {"\r\nab\r\n", "\r\nab\r\n"},
      {"", ""},
      {"   ", ""},
      {"\xA1\xA1", ""},
      {"a", "a"},
      // Blanks are whole characters: A1 A1 across a character boundary is not one.
      {"x\xB0\xA1\xA1\xA1", "x\xB0\xA1"},
      {"\xA1\xA2 ", "\xA1\xA2"},
      {"\xB0 x", "\xB0 x"},
      // A lone lead byte at the end is dropped and the end is then left as it is.
      {"a  \xB0", "a  "},
      {"  \xB0", ""},
      {"\xB0\xA1\xA1", "\xB0\xA1"},
      {"\xA1\xA1\xA1", ""},
      {" a \xA1", "a "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(TrimBoth(c.text), c.expected);
  }
}

TEST(RemoveSpacesTest, DropsEveryBlankCharacter) {
  const Case cases[] = {
      {" a\tb \xA1\xA1 c\r\n", "a\tbc\r\n"},
      {"   ", ""},
      {"", ""},
      {"\xA1\xA1\xD6\xD0\xA1\xA1", "\xD6\xD0"},
      // A space as a second byte belongs to its character.
      {"\xB0 x", "\xB0 x"},
      {"x\xB0\xA1\xA1\xA1", "x\xB0\xA1"},
      // A lone lead byte at the end is dropped.
      {"a \xB0", "a"},
      {"\xB0\xA1\xA1", "\xB0\xA1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(RemoveSpaces(c.text), c.expected);
  }
}

TEST(ToLowerTest, FoldsAsciiLettersOutsideTwoByteCharacters) {
  const Case cases[] = {
      {"ABC xyz", "abc xyz"},
      {"AZ@[`{", "az@[`{"},
      {"", ""},
      {"\xB0"
       "AB",
       "\xB0"
       "Ab"},
      {"\xC1\xC2", "\xC1\xC2"},
      {"\xD6\xD0"
       "Q",
       "\xD6\xD0"
       "q"},
      {"A\xB0", "a\xB0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(ToLower(c.text), c.expected);
  }
}

}  // namespace
}  // namespace quorvant
