#include "tools/decoding_service/form_fields.h"

#include <gtest/gtest.h>

namespace quorvant::decoding_service {
namespace {

TEST(FormDecode, DecodesLikeAPhpFormReader) {
  struct Case {
    std::string_view encoded;
    std::string_view decoded;
  };
  const Case cases[] = {
      {"%61%62%63", "abc"},
      {"a+b", "a b"},
      {"%61%20%62", "a b"},
      {"%e6%B7%98", "\xe6\xb7\x98"},
      {"%2B", "+"},
      {"%00x", std::string_view("\0x", 2)},
      {"100%", "100%"},
      {"%4", "%4"},
      {"%zz1", "%zz1"},
      {"%%41", "%A"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.encoded);
    EXPECT_EQ(FormDecode(c.encoded), c.decoded);
  }
}

TEST(ParseFormFields, SplitsDecodesAndKeepsTheLastOfAName) {
  struct Case {
    std::string_view form;
    std::map<std::string, std::string> fields;
  };
  const Case cases[] = {
      {"username=qorbex&password=qorbex&text=%61%62",
       {{"username", "qorbex"}, {"password", "qorbex"}, {"text", "ab"}}},
      {"text=", {{"text", ""}}},
      {"a=1&a=2", {{"a", "2"}}},
      {"flag&&x=1=2", {{"flag", ""}, {"x", "1=2"}}},
      {"%74ext=%26%3D", {{"text", "&="}}},
      {"&", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form);
    EXPECT_EQ(ParseFormFields(c.form), c.fields);
  }
}

}  // namespace
}  // namespace quorvant::decoding_service
