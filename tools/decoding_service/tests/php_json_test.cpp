#include "tools/decoding_service/php_json.h"

#include <gtest/gtest.h>

#include "tools/decoding_service/utf8.h"

namespace quorvant::decoding_service {
namespace {

TEST(EncodeJsonObject, WritesStringsAsAPhpApiDoes) {
  struct Case {
    std::string value;
    NonAscii nonAscii;
    std::string_view json;
  };
  const Case cases[] = {
      {Utf8(u8"调用成功"), NonAscii::kEscaped, R"({"v":"\u8c03\u7528\u6210\u529f"})"},
      {Utf8(u8"调用成功"), NonAscii::kRaw,
       "{\"v\":\"\xe8\xb0\x83\xe7\x94\xa8\xe6\x88\x90\xe5\x8a\x9f\"}"},
      {Utf8(u8"￥A《"), NonAscii::kEscaped, R"({"v":"\uffe5A\u300a"})"},
      {Utf8(u8"😀"), NonAscii::kEscaped, R"({"v":"\ud83d\ude00"})"},
      {Utf8(u8"😀"), NonAscii::kRaw, "{\"v\":\"\xf0\x9f\x98\x80\"}"},
      {"https://a.b/c?d=1&e=2", NonAscii::kEscaped, R"({"v":"https:\/\/a.b\/c?d=1&e=2"})"},
      {"\"q\" \\ \b\f\n\r\t\x01\x1f\x7f", NonAscii::kEscaped,
       "{\"v\":\"\\\"q\\\" \\\\ \\b\\f\\n\\r\\t\\u0001\\u001f\x7f\"}"},
      // Bytes that are not UTF-8: a lone lead byte, a stray continuation, an overlong slash and
      // an encoded surrogate each come out as the replacement character.
      {"a\xe8"
       "b\x80\xc0\xaf\xed\xa0\x80",
       NonAscii::kRaw, R"({"v":"a\ufffdb\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd"})"},
      {"\xe8\xb0", NonAscii::kEscaped, R"({"v":"\ufffd\ufffd"})"},
      {"", NonAscii::kEscaped, R"({"v":""})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    const JsonMember members[] = {{"v", c.value}};
    EXPECT_EQ(EncodeJsonObject(members, c.nonAscii), c.json);
  }
}

TEST(EncodeJsonObject, KeepsMemberOrderAndWritesIntegers) {
  const JsonMember members[] = {
      {"code", std::int64_t{200}}, {"ret", "ok"}, {"n", std::int64_t{-7}}};
  EXPECT_EQ(EncodeJsonObject(members, NonAscii::kEscaped), R"({"code":200,"ret":"ok","n":-7})");
  EXPECT_EQ(EncodeJsonObject({}, NonAscii::kEscaped), "{}");
}

}  // namespace
}  // namespace quorvant::decoding_service
