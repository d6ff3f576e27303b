#include "json/json_document.h"
#include "text/tests/text_printers.h"

#include <gtest/gtest.h>

#include <functional>

// Loading, reading and the life cycle of a document.
namespace quorvant {
namespace {

constexpr char kAnswer[] =
    R"({"ret":"调用成功","url":"https://example.com/item?id=123456","code":200})";

TEST(JsonDocument, NewDocumentIsAnEmptyObject) {
  const JsonDocument document;
  EXPECT_EQ(document.ToText(), Text("{}"));
  EXPECT_EQ(document.TypeOf(), JsonDocument::kObject);
}

TEST(JsonDocument, ParseTellsWhetherTheRootExists) {
  struct Case {
    Text text;
    bool parsed;
    Text toText;
  };
  const Case cases[] = {
      {kAnswer, true, kAnswer},
      {R"({"ret":"\u8c03\u7528\u6210\u529f"})", true, R"({"ret":"调用成功"})"},
      {"[1, {\"a\": [true, null]}]", true, R"([1,{"a":[true,null]}])"},
      {"0", true, "0"},
      {"false", true, "false"},
      {"null", false, "null"},
      {"", false, ""},
      {"<html><body>502 Bad Gateway</body></html>", false, "null"},
      {"{\"ret\":", false, "null"},
      // A JSON string has its content evaluated as script.
      {R"("1+1")", true, "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    JsonDocument document;
    EXPECT_EQ(document.Parse(c.text), c.parsed);
    EXPECT_EQ(document.ToText(), c.toText);
  }
}

TEST(JsonDocument, ReadsTheServiceAnswer) {
  JsonDocument document;
  ASSERT_TRUE(document.Parse(kAnswer));
  EXPECT_EQ(document.GetText("ret"), Text("调用成功"));
  EXPECT_EQ(document.GetText("url"), Text("https://example.com/item?id=123456"));
  EXPECT_EQ(document.GetText("code"), Text("200"));
  EXPECT_EQ(document.GetNumber("code"), 200);
}

TEST(JsonDocument, GetTextFollowsPathsAndFormsTexts) {
  struct Case {
    Text root;
    Text path;
    bool asJson;
    Text text;
  };
  const Case cases[] = {
      {R"({"a":null})", "a", false, ""},
      {R"({"a":1})", "missing", false, ""},
      {R"({"a":1})", "missing.deeper", false, ""},
      {R"({"a":1})", "missing", true, ""},
      {R"({"s":"a\"b\\c\nd/é"})", "s", true, R"("a\"b\\c\nd/é")"},
      {R"({"s":"plain"})", "s", false, "plain"},
      {R"({"o":{"k":[1,"x"]}})", "o", true, R"({"k":[1,"x"]})"},
      {R"([{"id":"first"},{"id":"second"}])", "[1].id", false, "second"},
      {R"({"list":["x","y"]})", "list[1]", false, "y"},
      {R"({"data":{"list":[{"id":7}]}})", "data.list[0].id", false, "7"},
      // Numbers by a path without "[" read as numbers: at most 13 significant digits.
      {R"({"n":0.30000000000000004})", "n", false, "0.3"},
      {R"({"n":12})", "n", false, "12"},
      {R"({"n":0.1234567890123456})", "n", false, "0.1234567890123"},
      {R"({"n":-1.5e-7})", "n", false, "-1.5e-007"},
      // A number reached through "[" comes back through the engine's own text conversion.
      {R"([0.1234567890123456])", "[0]", false, "0.123456789012346"},
      {R"({"b":true})", "b", false, "-1"},
      // An empty path gives an expression that is no script.
      {R"({"a":1})", "", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.root) + " / " + testing::PrintToString(c.path));
    JsonDocument document;
    ASSERT_TRUE(document.Parse(c.root));
    EXPECT_EQ(document.GetText(c.path, c.asJson), c.text);
  }
}

TEST(JsonDocument, TypeOfTellsTheKindOfValue) {
  struct Case {
    Text path;
    std::int32_t type;
  };
  const Case cases[] = {
      {"missing", JsonDocument::kNull}, {"n", JsonDocument::kNull},
      {"s", JsonDocument::kString},     {"i", JsonDocument::kNumber},
      {"o", JsonDocument::kObject},     {"a", JsonDocument::kArray},
      {"b", JsonDocument::kOther},      {"a[0]", JsonDocument::kNumber},
      {"[0]", JsonDocument::kOther},    {"", JsonDocument::kObject},
  };
  JsonDocument document;
  ASSERT_TRUE(document.Parse(R"({"n":null,"s":"x","i":0,"o":{},"a":[1],"b":false})"));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.path));
    EXPECT_EQ(document.TypeOf(c.path), c.type);
  }
  ASSERT_TRUE(document.Parse("[1,2]"));
  EXPECT_EQ(document.TypeOf(), JsonDocument::kArray);
}

TEST(JsonDocument, FailedParseLeavesANullRootAndAUsableDocument) {
  JsonDocument document;
  EXPECT_FALSE(document.Parse("<!DOCTYPE html><html><head><title>Error</title></head></html>"));
  EXPECT_EQ(document.ToText(), Text("null"));
  EXPECT_EQ(document.GetText("ret"), Text());
  EXPECT_EQ(document.GetNumber("ret"), 0);
  ASSERT_TRUE(document.Parse(kAnswer));
  EXPECT_EQ(document.GetText("ret"), Text("调用成功"));
}

TEST(JsonDocument, CopiesShareOneEngine) {
  JsonDocument source;
  ASSERT_TRUE(source.Parse(kAnswer));
  {
    JsonDocument copy(source);
    EXPECT_EQ(copy.GetText("url"), source.GetText("url"));
    copy.SetValue("note", "set through the copy");
  }
  EXPECT_EQ(source.GetText("note"), Text("set through the copy"));

  JsonDocument assigned;
  assigned = source;
  EXPECT_EQ(assigned.ToText(), source.ToText());
  // A new engine for the source leaves the copy with the old one.
  ASSERT_TRUE(source.Parse("[1]"));
  EXPECT_EQ(assigned.GetText("ret"), Text("调用成功"));
}

class JsonDocumentWithoutEngine : public testing::Test {
 protected:
  void SetUp() override { SetScriptEnginesAvailable(false); }
  void TearDown() override { SetScriptEnginesAvailable(true); }
};

TEST_F(JsonDocumentWithoutEngine, EveryOperationYieldsItsZero) {
  JsonDocument document;
  EXPECT_FALSE(document.Parse(kAnswer));
  EXPECT_EQ(document.ToText(), Text());
  EXPECT_EQ(document.GetText("ret"), Text());
  EXPECT_EQ(document.GetText("ret", true), Text());
  EXPECT_EQ(document.GetNumber("code"), 0);
  EXPECT_EQ(document.TypeOf(), JsonDocument::kOther);
  EXPECT_EQ(document.Count(), 0);
  EXPECT_FALSE(document.Has("ret"));
  TextArray names;
  names.Append("old");
  EXPECT_EQ(document.MemberNames(names), 0);
  EXPECT_EQ(names.count(), 0);
  // Engines that become available later reach the document only through Initialize.
  SetScriptEnginesAvailable(true);
  EXPECT_FALSE(document.Parse(kAnswer));
  document.Initialize();
  EXPECT_TRUE(document.Parse(kAnswer));
}

// The engine stays; the script and the empty root are loaded into it again.
TEST_F(JsonDocumentWithoutEngine, InitializeKeepsAnEngineItCannotReplace) {
  SetScriptEnginesAvailable(true);
  JsonDocument document;
  document.SetValue("dropped", "yes");
  SetScriptEnginesAvailable(false);
  document.Initialize();
  EXPECT_EQ(document.ToText(), Text("{}"));
  document.SetValue("kept", "yes");
  EXPECT_EQ(document.GetText("kept"), Text("yes"));
}

// A document initialises COM once while it lives, however many engines it makes, and its
// destruction undoes that once; a copy counts as a document of its own. So COM stays
// initialised while any document exists and every life leaves the thread's count as it was.
TEST(JsonDocumentCom, EachLifeKeepsTheThreadsCount) {
  struct Case {
    const char* name;
    std::function<void(std::int32_t before)> life;
  };
  const Case cases[] = {
      {"construct",
       [](std::int32_t before) {
         JsonDocument document;
         EXPECT_EQ(ComInitializations(), before + 1);
       }},
      {"construct, parse",
       [](std::int32_t before) {
         JsonDocument document;
         document.Parse("{}");
         EXPECT_EQ(ComInitializations(), before + 1);
       }},
      {"construct, parse twice",
       [](std::int32_t before) {
         JsonDocument document;
         document.Parse("{}");
         document.Parse("[]");
         EXPECT_EQ(ComInitializations(), before + 1);
       }},
      {"construct, initialize",
       [](std::int32_t before) {
         JsonDocument document;
         document.Initialize();
         EXPECT_EQ(ComInitializations(), before + 1);
       }},
      {"construct, copy",
       [](std::int32_t before) {
         JsonDocument document;
         JsonDocument copy(document);
         EXPECT_EQ(ComInitializations(), before + 2);
       }},
      {"sub document",
       [](std::int32_t before) {
         JsonDocument document;
         document.SubDocument("a");
         EXPECT_EQ(ComInitializations(), before + 1);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::int32_t before = ComInitializations();
    c.life(before);
    EXPECT_EQ(ComInitializations(), before);
  }
}

TEST_F(JsonDocumentWithoutEngine, ParseWithoutEngineInitialisesNothing) {
  const std::int32_t before = ComInitializations();
  {
    JsonDocument document;
    EXPECT_EQ(ComInitializations(), before + 1);
    document.Parse("{}");
    EXPECT_EQ(ComInitializations(), before + 1);
  }
  EXPECT_EQ(ComInitializations(), before);
}

}  // namespace
}  // namespace quorvant
