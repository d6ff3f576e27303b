#include "json/json_script.h"

#include <gtest/gtest.h>

#include "json/script_host.h"
#include "text/tests/text_printers.h"

// The serialiser and checker of the JSON script are what the Windows engine runs; here they run
// in an engine whose own JSON was removed first, beside one that keeps it.
namespace quorvant {
namespace {

ScriptHost EngineWith(const Text& setup) {
  ScriptHost host = ScriptHost::Create();
  host.SetLanguage("JavaScript");
  if (!setup.empty()) host.AddCode(setup);
  host.AddCode(JsonScript());
  return host;
}

class JsonScriptTest : public testing::Test {
 protected:
  // Both answers in ASCII, so that no code-page conversion hides a difference.
  static Text Escaped(const ScriptHost& host, const Text& expression) {
    return host.Eval("escape(String(" + expression + "))", ResultKind::kText).text;
  }
  // The error a call throws, as "name: message", or "none".
  static Text Thrown(const ScriptHost& host, const Text& call) {
    return host
        .Eval("(function () { try { " + call +
                  "; return 'none'; } catch (e) { return e.name + ': ' + e.message; } })()",
              ResultKind::kText)
        .text;
  }

  ScriptHost native_ = EngineWith({});
  ScriptHost scripted_ = EngineWith("delete JSON");
};

TEST_F(JsonScriptTest, TheScriptedEngineRunsTheScriptsOwnJson) {
  EXPECT_EQ(scripted_.Eval("typeof JSON.stringify + typeof JSON.parse", ResultKind::kText).text,
            Text("functionfunction"));
  // Only the script's serialiser refuses a replacer that is neither function nor array.
  EXPECT_EQ(Thrown(scripted_, "JSON.stringify(1, 5)"), Text("Error: JSON.stringify"));
}

TEST_F(JsonScriptTest, StringifiesLikeTheNativeSerialiser) {
  const char* arguments[] = {
      "'plain'",
      "'quote \" backslash \\\\ slash /'",
      "'\\b\\t\\n\\f\\r\\u0001\\u001f'",
      "'\\u00e9\\u8c03'",
      "0",
      "-0",
      "1.5",
      "-2e-7",
      "1e21",
      "NaN",
      "Infinity",
      "-Infinity",
      "true",
      "null",
      "undefined",
      "function () {}",
      "[]",
      "{}",
      "[[]]",
      "{a: {b: {}}}",
      "[1, 'a', [true, null], {b: 2}]",
      "[1, , 3]",
      "[undefined, function () {}]",
      "{a: undefined, b: function () {}, c: 1}",
      "{2: 'two', 1: 'one', z: 0, y: 1}",
      "new Date(Date.UTC(2001, 1, 3, 4, 5, 6))",
      "[new Date(NaN)]",
      "{toJSON: function (key) { return 'key=' + key; }}",
      "{a: {toJSON: function (key) { return key + '!'; }}}",
      "[new String('s'), new Number(3), new Boolean(false)]",
      "{a: 1, b: [1, {c: []}], d: 'x'}, null, 2",
      "{a: 1, b: [1, 2]}, null, '\\t'",
      "{a: [1]}, null, 'abcdefghijklmnop'",
      "{a: [1]}, null, 20",
      "{a: [1]}, null, 0",
      "{a: [1]}, null, new Number(3)",
      "[[], {}], null, 2",
      "{a: 1, b: [2, 3]}, function (key, value) { return typeof value === 'number' ? 10 * value "
      ": value; }",
      "{a: 1, b: 'drop'}, function (key, value) { return value === 'drop' ? undefined : value; }",
      "{a: 1}, function (key, value) { return key === '' ? [this[key].a] : value; }",
  };
  for (const char* args : arguments) {
    SCOPED_TRACE(args);
    const Text call = Text("JSON.stringify(") + args + ")";
    const Text expected = Escaped(native_, call);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Escaped(scripted_, call), expected);
  }
}

// The script escapes more characters than the native serialiser: the control ranges and the
// characters an evaluator may drop or take for line ends, always as lower-case \u escapes.
TEST_F(JsonScriptTest, EscapesTheCharactersItsClassNames) {
  struct Case {
    const char* value;
    const char* json;
  };
  const Case cases[] = {
      {"'\\u007f\\u009f\\u00ad'", R"("\u007f\u009f\u00ad")"},
      {"'\\u0600\\u0604\\u070f\\u17b4\\u17b5'", R"("\u0600\u0604\u070f\u17b4\u17b5")"},
      {"'\\u200c\\u200f\\u2028\\u2029\\u202f'", R"("\u200c\u200f\u2028\u2029\u202f")"},
      {"'\\u2060\\u206f\\ufeff\\ufff0\\uffff'", R"("\u2060\u206f\ufeff\ufff0\uffff")"},
      {"'a\\u000bb\\u001Bc'", R"("a\u000bb\u001bc")"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(scripted_.Eval(Text("JSON.stringify(") + c.value + ")", ResultKind::kText).text,
              Text(c.json));
    EXPECT_TRUE(scripted_
                    .Eval(Text("JSON.parse(JSON.stringify(") + c.value + ")) === " + c.value,
                          ResultKind::kTruth)
                    .truth);
  }
}

TEST_F(JsonScriptTest, RefusesWhatHasNoJsonText) {
  struct Case {
    const char* call;
    const char* error;
  };
  const Case cases[] = {
      {"var a = {}; a.self = a; JSON.stringify(a)", "TypeError: JSON.stringify"},
      {"var a = []; a.push({list: [a]}); JSON.stringify(a)", "TypeError: JSON.stringify"},
      {"var a = {}; a.self = a; JSON.stringify({x: a}, null, 2)", "TypeError: JSON.stringify"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    EXPECT_EQ(Thrown(scripted_, c.call), Text(c.error));
    EXPECT_NE(Thrown(native_, c.call), Text("none"));
  }
  // A value met twice without a cycle is written twice.
  EXPECT_EQ(Escaped(scripted_, "JSON.stringify((function () { var s = [1]; return [s, s]; })())"),
            Escaped(native_, "JSON.stringify((function () { var s = [1]; return [s, s]; })())"));
  for (const char* replacer : {"5", "'x'", "true"}) {
    SCOPED_TRACE(replacer);
    EXPECT_EQ(Thrown(scripted_, Text("JSON.stringify({}, ") + replacer + ")"),
              Text("Error: JSON.stringify"));
  }
}

TEST_F(JsonScriptTest, ParsesLikeTheNativeParser) {
  const char* texts[] = {
      R"('{"a":1,"b":[true,false,null],"c":{"d":"e"}}')",
      R"(' [ 1 , -2.5e+3 , 0.25, 1E5, -0, 2e-5 ] ')",
      R"('"\\u8c03\\u7528 \\" \\\\ \\/ \\b\\f\\n\\r\\t"')",
      R"('123')",
      R"('true')",
      R"('null')",
      R"('\t\n\r {} ')",
      R"('[]')",
      R"('{"":0}')",
      R"('{"@":"#@"}')",
      R"('{"a":{"b":{"c":[[[[1]]]]}},"a2":[{},[]]}')",
      R"('{"a":1,"a":2}')",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const Text call = Text("JSON.stringify(JSON.parse(") + text + "))";
    const Text expected = Escaped(native_, call);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Escaped(scripted_, call), expected);
  }
  // Characters an evaluator may mistreat in source text survive the evaluation.
  EXPECT_TRUE(scripted_
                  .Eval("JSON.parse('\"\\u2028\\u2029\\u00ad\\ufeff\"') === "
                        "'\\u2028\\u2029\\u00ad\\ufeff'",
                        ResultKind::kTruth)
                  .truth);
}

TEST_F(JsonScriptTest, RejectsTextsThatAreNoJson) {
  const char* texts[] = {
      R"('')",
      R"('{')",
      R"('[1,]')",
      R"("{'a':1}")",
      R"('{a:1}')",
      R"('01')",
      R"('+1')",
      R"('NaN')",
      R"('Infinity')",
      R"('undefined')",
      R"('[1 2]')",
      R"('"\\x41"')",
      R"('"a\tb"')",
      R"('"a\u0000b"')",
      R"('alert(1)')",
      R"('{"a":1}x')",
      R"('1e')",
      R"('--1')",
      R"('"\\u12"')",
      R"('[,1]')",
      R"('{"a" 1}')",
      R"('{1:2}')",
      R"('(1)')",
      R"('/x/')",
      R"('new Date()')",
      R"('true false')",
      R"('"open')",
      R"('{"a":1,}')",
      R"('[] []')",
      R"('[@]')",
      R"('{"a":1 "b":2}')",
      R"('{"a":[}')",
      R"('[{]}')",
      R"('"\u2028"+1')",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const Text call = Text("JSON.parse(") + text + ")";
    EXPECT_EQ(Thrown(scripted_, call), Text("SyntaxError: JSON.parse"));
    EXPECT_NE(Thrown(native_, call), Text("none"));
  }
  // The Qt engine's own parser lets a number end in a point or begin with one.
  for (const char* text : {"'1.'", "'.5'"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Thrown(scripted_, Text("JSON.parse(") + text + ")"), Text("SyntaxError: JSON.parse"));
  }
}

// The Qt engine's own JSON ignores member lists and revivers, so these answers are the ones the
// standard gives.
TEST_F(JsonScriptTest, HonoursMemberListsAndRevivers) {
  struct Case {
    const char* call;
    const char* json;
  };
  const Case cases[] = {
      {"JSON.stringify({a: 1, b: 2, c: {a: 3, d: 4}}, ['a', 'c'])", R"({"a":1,"c":{"a":3}})"},
      {"JSON.stringify({1: 'one', 2: 'two'}, [1])", R"({"1":"one"})"},
      {"JSON.stringify({a: 1, b: 2}, ['b', 'b', new String('a'), {}])", R"({"b":2,"a":1})"},
      {"JSON.stringify([{a: 1, b: 2}], ['b'], 1)", "[\n {\n  \"b\": 2\n }\n]"},
      {R"(JSON.stringify(JSON.parse('{"a":1,"b":[2,3],"c":{"d":4}}', function (k, v) { return typeof v === 'number' ? v + 1 : v; })))",
       R"({"a":2,"b":[3,4],"c":{"d":5}})"},
      {R"(JSON.stringify(JSON.parse('{"a":1,"b":2,"c":[1,2,3]}', function (k, v) { return k === 'a' || k === '1' ? undefined : v; })))",
       R"({"b":2,"c":[1,null,3]})"},
      {R"(JSON.stringify(JSON.parse('[1]', function (k, v) { return k === '' ? {root: v, holder: typeof this} : v; })))",
       R"({"root":[1],"holder":"object"})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    EXPECT_EQ(scripted_.Eval(c.call, ResultKind::kText).text, Text(c.json));
  }
}

// Where dates have no toJSON of their own, the script gives them one (UTC, seconds, Z) and lets
// the value wrappers stand for their values; where they have one, it adds nothing.
TEST(JsonScriptDates, AddsToJsonOnlyWhereDatesLackIt) {
  const ScriptHost bare = EngineWith("delete JSON; delete Date.prototype.toJSON");
  struct Case {
    const char* expression;
    const char* json;
  };
  const Case cases[] = {
      {"new Date(Date.UTC(2001, 1, 3, 4, 5, 6, 789))", R"("2001-02-03T04:05:06Z")"},
      {"new Date(Date.UTC(1999, 11, 31, 23, 59, 59))", R"("1999-12-31T23:59:59Z")"},
      {"new Date(NaN)", "null"},
      {"{d: new Date(0)}", R"({"d":"1970-01-01T00:00:00Z"})"},
      {"[new String('s'), new Number(2), new Boolean(true)]", R"(["s",2,true])"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    EXPECT_EQ(bare.Eval(Text("JSON.stringify(") + c.expression + ")", ResultKind::kText).text,
              Text(c.json));
  }
  EXPECT_EQ(bare.Eval("typeof String.prototype.toJSON + typeof Number.prototype.toJSON + "
                      "typeof Boolean.prototype.toJSON",
                      ResultKind::kText)
                .text,
            Text("functionfunctionfunction"));

  const ScriptHost dated =
      EngineWith("delete JSON; Date.prototype.toJSON = function () { return 'own'; }");
  EXPECT_EQ(
      dated
          .Eval("JSON.stringify([new Date(0)]) + typeof String.prototype.toJSON", ResultKind::kText)
          .text,
      Text(R"(["own"]undefined)"));
}

// Every object inherits the two helper members, enumerable, and get__count allows for them.
TEST(JsonScriptHelpers, InheritsTheTwoHelpersAndCountsWithoutThem) {
  struct Case {
    const char* expression;
    const char* text;
  };
  const Case cases[] = {
      {"({a: 1, b: 'x'}).toJSONString()", R"({"a":1,"b":"x"})"},
      {"[1, 2].toJSONString()", "[1,2]"},
      {"'[3, 4]'.parseJSON()[1]", "4"},
      {"(function () { var n = 0; for (var k in {}) n++; return n; })()", "2"},
      {"get__count({a: 1, b: 2})", "2"},
      {"get__count([1, 2, 3])", "3"},
      {"get__count({})", "0"},
  };
  for (const char* setup : {"", "delete JSON"}) {
    const ScriptHost host = EngineWith(setup);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(setup) + " / " + c.expression);
      EXPECT_EQ(host.Eval(c.expression, ResultKind::kText).text, Text(c.text));
    }
  }
}

TEST(JsonScriptText, IsAsciiWithCrLfLinesAndNoFinalLineEnd) {
  const Text& script = JsonScript();
  ASSERT_GT(script.size(), 0);
  for (std::int32_t i = 0; i < script.size(); ++i) {
    ASSERT_LT(script.at(i), 0x80) << "offset " << i;
    if (script.at(i) == '\n') {
      ASSERT_TRUE(i > 0 && script.at(i - 1) == '\r') << "offset " << i;
    }
    if (script.at(i) == '\r') {
      ASSERT_TRUE(i + 1 < script.size() && script.at(i + 1) == '\n') << "offset " << i;
    }
  }
  EXPECT_NE(script.at(script.size() - 1), '\n');
}

// The Windows engine knows none of these; the script must not lean on them.
TEST(JsonScriptText, UsesNothingNewerThanTheOldestEngine) {
  const char* newer[] = {"=>",
                         "let ",
                         "const ",
                         "Object.keys",
                         "Array.isArray",
                         "Object.create",
                         "defineProperty",
                         "forEach",
                         ".map(",
                         ".filter(",
                         ".trim(",
                         "get ",
                         "set ",
                         "Symbol",
                         "`"};
  const std::string_view script = JsonScript().view();
  for (const char* construct : newer) {
    SCOPED_TRACE(construct);
    EXPECT_EQ(script.find(construct), std::string_view::npos);
  }
  // No trailing comma before a closing bracket or brace, also where the serialiser is carried
  // as a string and its line ends are \n escapes.
  for (std::size_t comma = script.find(','); comma != std::string_view::npos;
       comma = script.find(',', comma + 1)) {
    std::size_t next = comma + 1;
    while (next < script.size()) {
      if (script.substr(next, 2) == "\\n") {
        next += 2;
      } else if (script[next] == ' ' || script[next] == '\t' || script[next] == '\r' ||
                 script[next] == '\n') {
        ++next;
      } else {
        break;
      }
    }
    ASSERT_LT(next, script.size());
    EXPECT_TRUE(script[next] != ']' && script[next] != '}') << "offset " << comma;
  }
}

}  // namespace
}  // namespace quorvant
