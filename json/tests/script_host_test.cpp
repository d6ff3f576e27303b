#include "json/script_host.h"
#include "text/tests/text_printers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvant {
namespace {

ScriptHost JavaScriptHost() {
  ScriptHost host = ScriptHost::Create();
  host.SetLanguage("JavaScript");
  return host;
}

// The text form of a result is that of the system's variant conversion, on every platform.
TEST(ScriptHost, ConvertsResultsToTheKindAskedFor) {
  struct Case {
    const char* code;
    Text text;
    double number;
    bool truth;
  };
  const Case cases[] = {
      {"'abc'", "abc", 0, false},
      {"'12'", "12", 12, true},
      {"' 2.5 '", " 2.5 ", 2.5, true},
      {"''", "", 0, false},
      {"12", "12", 12, true},
      {"0.1+0.2", "0.3", 0.1 + 0.2, true},
      {"1/3", "0.333333333333333", 1.0 / 3, true},
      {"-0", "0", 0, false},
      {"1e21", "1E+21", 1e21, true},
      {"true", "-1", -1, true},
      {"false", "0", 0, false},
      {"null", "", 0, false},
      {"undefined", "", 0, false},
      {"[1,'a']", "1,a", 0, false},
      {"({toString: function () { return 'own'; }})", "own", 0, false},
      {"var v = 5; v * 2", "10", 10, true},
      {"'调用'", "调用", 0, false},
      {"'\\u8c03\\u7528'", "调用", 0, false},
  };
  const ScriptHost host = JavaScriptHost();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(host.Eval(c.code, ResultKind::kText).text, c.text);
    EXPECT_EQ(host.Eval(c.code, ResultKind::kNumber).number, c.number);
    EXPECT_EQ(host.Eval(c.code, ResultKind::kTruth).truth, c.truth);
  }
}

TEST(ScriptHost, FailureYieldsTheZeroOfEveryKind) {
  const char* failing[] = {
      "1 +",             // does not compile
      "throw 'text'",    // throws a value that would convert
      "missing.member",  // a missing object on the way
  };
  const ScriptHost host = JavaScriptHost();
  for (const char* code : failing) {
    SCOPED_TRACE(code);
    EXPECT_EQ(host.Eval(code, ResultKind::kText).text, Text());
    EXPECT_EQ(host.Eval(code, ResultKind::kNumber).number, 0);
    EXPECT_FALSE(host.Eval(code, ResultKind::kTruth).truth);
    EXPECT_FALSE(host.AddCode(code));
  }
  // A value that cannot be converted fails only where a result is asked for.
  const char* unconvertible =
      "({valueOf: function () { throw 1; }, toString: function () { throw 2; }})";
  EXPECT_TRUE(host.AddCode(unconvertible));
  EXPECT_EQ(host.Eval(unconvertible, ResultKind::kText).text, Text());
  EXPECT_EQ(host.Eval(unconvertible, ResultKind::kNumber).number, 0);
  EXPECT_EQ(host.Eval("'still usable'", ResultKind::kText).text, Text("still usable"));
}

TEST(ScriptHost, RunsNothingBeforeTheLanguageIsSet) {
  const ScriptHost host = ScriptHost::Create();
  ASSERT_FALSE(host.empty());
  EXPECT_FALSE(host.AddCode("var a = 1"));
  EXPECT_EQ(host.Eval("1", ResultKind::kNumber).number, 0);
  EXPECT_FALSE(host.SetLanguage("VBScript"));
  EXPECT_TRUE(host.SetLanguage("JavaScript"));
  EXPECT_EQ(host.Eval("1", ResultKind::kNumber).number, 1);
}

TEST(ScriptHost, DeclarationsPersistAndCopiesShareTheEngine) {
  ScriptHost host = JavaScriptHost();
  ASSERT_TRUE(host.AddCode("var kept = 'k'; function twice(x) { return 2 * x; }"));
  const ScriptHost copy = host;
  host.Release();
  EXPECT_TRUE(host.empty());
  EXPECT_EQ(copy.Eval("kept + twice(21)", ResultKind::kText).text, Text("k42"));
}

TEST(ScriptHost, AnEmptyHostFailsWithoutEffect) {
  const ScriptHost host;
  EXPECT_TRUE(host.empty());
  EXPECT_FALSE(host.SetLanguage("JavaScript"));
  EXPECT_FALSE(host.AddCode("var a = 1"));
  EXPECT_EQ(host.Eval("'a'", ResultKind::kText).text, Text());
}

TEST(ScriptHost, RefusedEnginesGiveEmptyHosts) {
  SetScriptEnginesAvailable(false);
  const ScriptHost host = ScriptHost::Create();
  SetScriptEnginesAvailable(true);
  EXPECT_TRUE(host.empty());
  EXPECT_FALSE(ScriptHost::Create().empty());
}

// Server text runs in the engine: it must find nothing that reaches outside it.
TEST(ScriptHost, GivesScriptsNoHostObjects) {
  const char* names[] = {
      "console",        "print",         "gc",        "Qt",      "qsTr",       "require",
      "XMLHttpRequest", "ActiveXObject", "GetObject", "WScript", "setTimeout", "process"};
  const ScriptHost host = JavaScriptHost();
  for (const char* name : names) {
    SCOPED_TRACE(name);
    EXPECT_EQ(host.Eval(Text("typeof ") + name, ResultKind::kText).text, Text("undefined"));
  }
}

class ScriptHostBudget : public testing::Test {
 protected:
  void SetUp() override { SetScriptTimeBudget(200); }
  void TearDown() override { SetScriptTimeBudget(kDefaultScriptTimeBudget); }
};

TEST_F(ScriptHostBudget, StopsEndlessScriptsAndStaysUsable) {
  const char* endless[] = {
      "while (true) {}",
      "for (;;) { try { while (true) {} } catch (e) {} }",
      "(function f() { try { while (true) {} } finally { f(); } })()",
  };
  const ScriptHost host = JavaScriptHost();
  for (const char* code : endless) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(host.AddCode(code));
    EXPECT_FALSE(host.Eval(Text(code) + "; true", ResultKind::kTruth).truth);
    EXPECT_EQ(host.Eval("6 * 7", ResultKind::kNumber).number, 42);
  }
}

TEST_F(ScriptHostBudget, StopsConversionsThatNeverEnd) {
  const ScriptHost host = JavaScriptHost();
  EXPECT_EQ(host.Eval("({toString: function () { while (true) {} }})", ResultKind::kText).text,
            Text());
  EXPECT_EQ(host.Eval("'after'", ResultKind::kText).text, Text("after"));
}

TEST(ScriptHost, EndsDeepRecursionInAFailure) {
  const ScriptHost host = JavaScriptHost();
  EXPECT_FALSE(host.Eval("(function f() { return f() + 1; })(); true", ResultKind::kTruth).truth);
  EXPECT_EQ(host.Eval("'after'", ResultKind::kText).text, Text("after"));
}

}  // namespace
}  // namespace quorvant
