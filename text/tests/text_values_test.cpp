#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "text/tests/text_printers.h"
#include "text/text.h"

namespace quorvant {
namespace {

using namespace std::string_view_literals;

TEST(TextValue, StopsAtTheFirstNul) {
  struct Case {
    std::string_view source;
    std::string_view kept;
  };
  const Case cases[] = {
      {""sv, ""sv},
      {"abc"sv, "abc"sv},
      {"ab\0c"sv, "ab"sv},
      {"\0abc"sv, ""sv},
      {"\xD6\xD0\0\xD6\xD0"sv, "\xD6\xD0"sv},
      {"abc\0"sv, "abc"sv},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(Text(c.kept)));
    const Text fromView(c.source);
    EXPECT_EQ(fromView.view(), c.kept);
    EXPECT_EQ(fromView.size(), static_cast<std::int32_t>(c.kept.size()));
    const std::string copied(c.source);
    EXPECT_EQ(Text(copied).view(), c.kept);
    EXPECT_EQ(Text(std::string(c.source)).view(), c.kept);
    // The C string is always terminated right after the kept bytes.
    EXPECT_EQ(std::strlen(fromView.c_str()), c.kept.size());
  }
}

TEST(TextValue, AbsentAndEmptyAreOneValue) {
  const char* absent = nullptr;
  EXPECT_EQ(Text(absent), Text());
  EXPECT_EQ(Text(""), Text());
  EXPECT_TRUE(Text(absent).empty());
  EXPECT_STREQ(Text(absent).c_str(), "");
  EXPECT_EQ(Text("ab") + Text(absent), Text("ab"));
  EXPECT_EQ(Text(absent) + Text(), Text());
}

TEST(TextValue, ConcatenatesAndComparesBytes) {
  struct Case {
    Text left;
    Text right;
    Text joined;
  };
  const Case cases[] = {
      {"ab", "cd", "abcd"},
      {"", "cd", "cd"},
      {"ab", "", "ab"},
      {"\xD6", "\xD0", "\xD6\xD0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.joined));
    EXPECT_EQ(c.left + c.right, c.joined);
    Text grown = c.left;
    grown += c.right;
    EXPECT_EQ(grown, c.joined);
    // Concatenation does not touch its operands.
    EXPECT_EQ((c.left + c.right).size(), c.left.size() + c.right.size());
  }
  EXPECT_EQ(Text("a") + "b" + "c", Text("abc"));
  EXPECT_NE(Text("abc"), Text("ABC"));
  EXPECT_NE(Text("ab"), Text("abc"));
}

TEST(TextValue, ByteAccessOutsideTheTextReadsZero) {
  const Text text("\xD6\xD0z");
  EXPECT_EQ(text.at(0), 0xD6);
  EXPECT_EQ(text.at(2), 'z');
  EXPECT_EQ(text.at(3), 0);
  EXPECT_EQ(text.at(-1), 0);
  EXPECT_EQ(text.at(1000), 0);
}

TEST(BytesValue, KeepsEveryByteIncludingZero) {
  struct Case {
    std::string_view bytes;
  };
  const Case cases[] = {{""sv}, {"\0"sv}, {"a\0b"sv}, {"\0\0\xFF"sv}, {"ab\0"sv}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(Bytes(c.bytes)));
    const Bytes bytes(c.bytes);
    EXPECT_EQ(bytes.size(), static_cast<std::int32_t>(c.bytes.size()));
    EXPECT_EQ(bytes.view(), c.bytes);
    EXPECT_EQ(Bytes(c.bytes.data(), static_cast<std::int32_t>(c.bytes.size())), bytes);
  }
}

TEST(BytesValue, EqualityNeedsSameLengthAndBytes) {
  struct Case {
    std::string_view left;
    std::string_view right;
    bool equal;
  };
  const Case cases[] = {
      {""sv, ""sv, true},         {"\0"sv, ""sv, false},       {"a\0"sv, "a"sv, false},
      {"a\0b"sv, "a\0b"sv, true}, {"a\0b"sv, "a\0c"sv, false}, {"\0\0"sv, "\0"sv, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(Bytes(c.left)) + " vs " +
                 testing::PrintToString(Bytes(c.right)));
    EXPECT_EQ(Bytes(c.left) == Bytes(c.right), c.equal);
  }
}

TEST(BytesValue, AppendsAndConcatenates) {
  Bytes bytes;
  bytes.append("a\0", 2);
  bytes.append(nullptr, 5);
  bytes.append("zz", -1);
  bytes.append("b", 1);
  EXPECT_EQ(bytes, Bytes("a\0b"sv));
  EXPECT_EQ(Bytes("\0"sv) + Bytes("x\0"sv), Bytes("\0x\0"sv));
  EXPECT_EQ(Bytes() + Bytes(), Bytes());
  EXPECT_TRUE((Bytes() + Bytes()).empty());
  EXPECT_EQ(Bytes(nullptr, 3), Bytes());
}

TEST(BytesValue, GrowingKeepsEveryByteAndCopiesStayApart) {
  Bytes grown;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    const char chunk[3] = {static_cast<char>(i & 0xFF), '\0', static_cast<char>(i >> 8)};
    grown.append(chunk, 3);
    expected.append(chunk, 3);
  }
  EXPECT_EQ(grown.view(), expected);

  Bytes copy = grown;
  copy.append("x", 1);
  EXPECT_EQ(grown.size(), 15000);
  EXPECT_EQ(copy.size(), 15001);

  Bytes moved = std::move(copy);
  EXPECT_EQ(moved.size(), 15001);
  EXPECT_TRUE(copy.empty());  // NOLINT: a moved-from value reads as empty
  copy.append("y", 1);
  EXPECT_EQ(copy, Bytes("y"sv));
}

TEST(BytesValue, AppendingItsOwnBytesSurvivesTheBufferMoving) {
  Bytes bytes("abc"sv);
  for (int round = 0; round < 12; ++round) bytes.append(bytes.data(), bytes.size());
  ASSERT_EQ(bytes.size(), 3 * 4096);
  for (std::int32_t i = 0; i < bytes.size(); ++i) {
    ASSERT_EQ(bytes.data()[i], "abc"[i % 3]) << "at " << i;
  }
  Bytes twice("\0z"sv);
  twice += twice;
  EXPECT_EQ(twice, Bytes("\0z\0z"sv));
}

TEST(TextArrayValue, NumbersMembersFromOneAndCopiesThem) {
  TextArray array;
  EXPECT_EQ(array.count(), 0);
  Text member = "first";
  array.Append(member);
  member = "changed";
  array.Append("");
  array.Append("\xD6\xD0");
  ASSERT_EQ(array.count(), 3);
  EXPECT_EQ(array.at(1), Text("first"));
  EXPECT_EQ(array.at(2), Text());
  EXPECT_EQ(array.at(3), Text("\xD6\xD0"));
}

TEST(TextArrayValue, IndexOutsideTheMembersReadsEmpty) {
  TextArray array;
  array.Append("only");
  for (const std::int32_t index : {0, -1, 2, 1000}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(array.at(index), Text());
  }
  EXPECT_EQ(TextArray().at(1), Text());
}

}  // namespace
}  // namespace quorvant
