#include "web/cookies.h"

#include <gtest/gtest.h>

namespace quorvant {
namespace {

TextArray ArrayOf(std::initializer_list<Text> members) {
  TextArray list;
  for (const Text& member : members) list.Append(member);
  return list;
}

TEST(MergeCookies, FoldsReceivedItemsIntoHeldOnes) {
  const struct {
    Text held;
    Text received;
    Text merged;
    Text receivedWithoutBlanks;
  } cases[] = {
      {"lang=en; theme=dark", "lang=zh; count=2", "lang=zh; count=2; theme=dark",
       "lang=zh;count=2"},
      {"a=1; b=2", "b=deleted", "a=1", "b=deleted"},
      {"a=1", "a=deleted", "", "a=deleted"},
      {"a=1;a=2", "c=3", "c=3; a=1", "c=3"},
      {"a=1;;b=2", "c=3", "c=3; a=1; ; b=2", "c=3"},
      {"", "x=1", "x=1", "x=1"},
      {"x=1", "", "x=1", ""},
      {"", "", "", ""},
      {"a=1; b=2", "a=1; a=1", "a=1; b=2", "a=1;a=1"},
      {"a = 1", "a=2", "a=2", "a=2"},
      {"msg=hello world", "x=1", "x=1; msg=helloworld", "x=1"},
      {"a=1", "A=2", "A=2; a=1", "A=2"},
      {"k", "k=v", "k=v", "k=v"},
      {"a=1; path=/", "b=2", "b=2; a=1; path=/", "b=2"},
      {"x=DELETED", "y=1", "y=1; x=DELETED", "y=1"},
      {"a=1; ", "b=2; ", "b=2; a=1", "b=2;"},
      // The full-width space is a blank too.
      {"a=\xA1\xA1"
       "1",
       "b\xA1\xA1=2", "b=2; a=1", "b=2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "held [" << c.held.c_str() << "] received [" << c.received.c_str() << "]");
    Text held = c.held;
    Text received = c.received;
    const Text result = MergeCookies(held, received);
    EXPECT_EQ(result, c.merged);
    EXPECT_EQ(held, c.merged);
    EXPECT_EQ(received, c.receivedWithoutBlanks);
  }
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  const struct {
    Text item;
    Text name;
  } cases[] = {{"a=1", "a"}, {" a =1=2", "a"}, {"k", "k"}, {"=v", ""}, {"", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item.c_str());
    EXPECT_EQ(CookieName(c.item), c.name);
  }
}

TEST(HasCookieName, ComparesNamesExactly) {
  const TextArray list = ArrayOf({"a=1", " b =2", "=3"});
  EXPECT_TRUE(HasCookieName(list, "b"));
  EXPECT_TRUE(HasCookieName(list, ""));
  EXPECT_FALSE(HasCookieName(list, "A"));
  EXPECT_FALSE(HasCookieName(TextArray(), ""));
}

TEST(JoinDistinct, KeepsTheFirstOfEachItem) {
  const struct {
    Text text;
    Text separator;
    Text joined;
  } cases[] = {
      {"a; b; a; ; ; c", "; ", "a; b; ; c"},
      {"a,A,a", ",", "a,A"},
      {"", "; ", ""},
      {"x", "", "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.c_str());
    EXPECT_EQ(JoinDistinct(c.text, c.separator), c.joined);
  }
}

TEST(IndexOfText, FindsTheFirstEqualMember) {
  const TextArray list = ArrayOf({"a", "", "b", "a"});
  EXPECT_EQ(IndexOfText(list, "a"), 1);
  EXPECT_EQ(IndexOfText(list, ""), 2);
  EXPECT_EQ(IndexOfText(list, "b"), 3);
  EXPECT_EQ(IndexOfText(list, "B"), -1);
  EXPECT_EQ(IndexOfText(TextArray(), ""), -1);
}

}  // namespace
}  // namespace quorvant
