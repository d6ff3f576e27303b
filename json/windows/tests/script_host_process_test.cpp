#include <gtest/gtest.h>

#include "json/script_host.h"
#include "text/tests/text_printers.h"

// What the engines' host processes must keep from the program: a host that served one engine
// serves the next one as a new engine, and a host ended for overrunning its budget comes back
// holding what the completed calls made, no more and no less.
namespace quorvant {
namespace {

ScriptHost JavaScriptHost() {
  ScriptHost host = ScriptHost::Create();
  host.SetLanguage("JavaScript");
  return host;
}

TEST(ScriptHostProcess, ANewEngineFindsNothingOfAReleasedOne) {
  for (int engine = 1; engine <= 3; ++engine) {
    SCOPED_TRACE(engine);
    ScriptHost host = JavaScriptHost();
    ASSERT_FALSE(host.empty());
    EXPECT_EQ(host.Eval("typeof kept", ResultKind::kText).text, Text("undefined"));
    EXPECT_TRUE(host.AddCode("var kept = 1"));
  }
}

class ScriptHostProcessBudget : public testing::Test {
 protected:
  void SetUp() override { SetScriptTimeBudget(200); }
  void TearDown() override { SetScriptTimeBudget(kDefaultScriptTimeBudget); }
};

TEST_F(ScriptHostProcessBudget, AnOverrunKeepsWhatTheCompletedCallsMade) {
  struct Case {
    const char* overrun;
    ResultKind kind;
  };
  const Case cases[] = {
      {"while (true) {}", ResultKind::kNone},
      {"a = 100; while (true) {}", ResultKind::kNumber},
      {"({toString: function () { n = 100; for (;;) {} }})", ResultKind::kText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.overrun);
    const ScriptHost host = JavaScriptHost();
    ASSERT_TRUE(
        host.AddCode("var a = 1; var n = 0; var o = {toString: function () { n++; return 'o'; }}"));
    EXPECT_EQ(host.Eval("a = a + 1", ResultKind::kNumber).number, 2);
    // A conversion that runs script counts among the completed calls too.
    EXPECT_EQ(host.Eval("o", ResultKind::kText).text, Text("o"));
    EXPECT_EQ(host.Eval(c.overrun, c.kind).text, Text());
    EXPECT_EQ(host.Eval("a + ',' + n", ResultKind::kText).text, Text("2,1"));
  }
}

}  // namespace
}  // namespace quorvant
