#include <gtest/gtest.h>

#include <string>

#include "json/json_document.h"
#include "text/tests/text_printers.h"
#include "text/text_operations.h"

// The service's answer is evaluated as script. Whatever it holds, Parse ends within the time
// budget in a defined result and the document takes the next answer as if nothing happened.
namespace quorvant {
namespace {

constexpr char kAnswer[] = R"({"ret":"调用成功","url":"https://example.com/item?id=1"})";

class HostileText : public testing::Test {
 protected:
  void SetUp() override { SetScriptTimeBudget(300); }
  void TearDown() override { SetScriptTimeBudget(kDefaultScriptTimeBudget); }
};

std::string Nested(int depth) {
  return std::string(static_cast<std::size_t>(depth), '[') +
         std::string(static_cast<std::size_t>(depth), ']');
}

TEST_F(HostileText, ParseFailsAndTheDocumentStaysUsable) {
  struct Case {
    const char* name;
    Text text;
    Text toText;
  };
  const Bytes cutByNul("{\"ret\":\"a\0\"}", 12);
  const Case cases[] = {
      {"endless loop in a string", R"("while (true) {}")", "null"},
      {"endless loop in a call", "(function () { for (;;) {} })()", "null"},
      {"loop that swallows errors",
       "(function () { for (;;) { try { for (;;) {} } catch (e) {} } })()", "null"},
      {"deep recursion", "(function f() { return f() + 1; })()", "null"},
      {"deeply nested literal", Text(Nested(100000)), "null"},
      {"huge string", "'x'.repeat(1 << 30)", "null"},
      {"huge join", "new Array(1e9).join('x')", "null"},
      {"huge fill", "{a: new Array(4e9).fill(0)}", "null"},
      {"growing until stopped", "(function () { var s = 'x'; for (;;) { s += s; } })()", "null"},
      {"thrown exception", "(function () { throw new Error('no'); })()", "null"},
      {"HTML page", "<!DOCTYPE html>\r\n<html><body><h1>500</h1></body></html>", "null"},
      {"statement", "var x = 1;", "null"},
      {"empty text", "", ""},
      {"text cut short by a NUL", BytesToText(cutByNul), "null"},
      {"text too long to compile in time", Text("[" + std::string(kMaxScriptLength, ' ') + "]"),
       "null"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JsonDocument document;
    EXPECT_FALSE(document.Parse(c.text));
    EXPECT_EQ(document.ToText(), c.toText);
    EXPECT_EQ(document.GetText("ret"), Text());
    ASSERT_TRUE(document.Parse(kAnswer));
    EXPECT_EQ(document.GetText("ret"), Text("调用成功"));
  }
}

// An answer may load and still hold script that runs when a member is read.
TEST_F(HostileText, ReadsThatNeverEndYieldTheEmptyText) {
  struct Case {
    Text answer;
    bool asJson;
  };
  const Case cases[] = {
      {"{ret: {toString: function () { for (;;) {} }, valueOf: function () { for (;;) {} }}}",
       false},
      {"{ret: {toJSON: function () { for (;;) {} }}}", true},
#ifndef _WIN32
      // Accessor syntax is newer than the script control's JScript, which cannot load this.
      {"{get ret() { for (;;) {} }}", false},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.answer));
    JsonDocument document;
    document.Parse(c.answer);
    EXPECT_EQ(document.GetText("ret", c.asJson), Text());
    document.SetValue("after", "still usable");
    EXPECT_EQ(document.GetText("after"), Text("still usable"));
  }
}

}  // namespace
}  // namespace quorvant
