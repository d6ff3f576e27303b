#include "tools/decoding_service/service_answer.h"

#include <gtest/gtest.h>

#include "tools/decoding_service/share_code_table.h"
#include "tools/decoding_service/utf8.h"

namespace quorvant::decoding_service {
namespace {

constexpr std::string_view kApiTarget = "/index.php?m=api&a=taokoulingjm";
constexpr std::string_view kAccount = "username=qorbex&password=qorbex&text=";

// The form value a client sends for a pasted text: every UTF-8 byte as "%" and two hex digits.
std::string EncodeEveryByte(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
  return out;
}

std::string AccountBody(std::u8string_view pasted) {
  return std::string(kAccount) + EncodeEveryByte(Utf8(pasted));
}

TEST(AnswerRequest, AnswersTheDecodeApi) {
  struct Case {
    std::string_view name;
    std::string_view method;
    std::string_view target;
    std::string body;
    std::string_view json;
  };
  const Case cases[] = {
      {"angle-bracket code", "POST", kApiTarget, AccountBody(u8"《Rt8pWm2XcLs《"),
       R"({"code":200,"ret":"\u8c03\u7528\u6210\u529f","url":"https:\/\/item.shop.example\/item.htm?id=652387104519&ut_sk=1.share"})"},
      {"yuan-sign code inside chat words", "POST", kApiTarget,
       AccountBody(u8"【淘宝】复制这条信息￥Hn3yQf7JkEz￥后打开手机淘宝"),
       R"({"code":200,"ret":"\u8c03\u7528\u6210\u529f","url":"https:\/\/m.shop.example\/h.5Hn3yQf?sm=7f2a1c"})"},
      {"query members in another order", "POST", "/index.php?a=taokoulingjm&m=api",
       AccountBody(u8"￥Hn3yQf7JkEz￥"),
       R"({"code":200,"ret":"\u8c03\u7528\u6210\u529f","url":"https:\/\/m.shop.example\/h.5Hn3yQf?sm=7f2a1c"})"},
      {"unknown code", "POST", kApiTarget, AccountBody(u8"《Zz9zZz9zZz9《"),
       R"({"code":201,"ret":"\u6dd8\u53e3\u4ee4\u4e0d\u5b58\u5728\u6216\u5df2\u5931\u6548"})"},
      {"code with the wrong signs", "POST", kApiTarget, AccountBody(u8"￥Rt8pWm2XcLs￥"),
       R"({"code":201,"ret":"\u6dd8\u53e3\u4ee4\u4e0d\u5b58\u5728\u6216\u5df2\u5931\u6548"})"},
      {"empty code", "POST", kApiTarget, std::string(kAccount),
       R"({"code":202,"ret":"\u6dd8\u53e3\u4ee4\u4e0d\u80fd\u4e3a\u7a7a"})"},
      {"wrong password", "POST", kApiTarget,
       "username=qorbex&password=qorbe&text=" + EncodeEveryByte(Utf8(u8"《Rt8pWm2XcLs《")),
       R"({"code":403,"ret":"\u8d26\u53f7\u6216\u5bc6\u7801\u9519\u8bef"})"},
      {"no account fields", "POST", kApiTarget,
       "text=" + EncodeEveryByte(Utf8(u8"《Rt8pWm2XcLs《")),
       R"({"code":403,"ret":"\u8d26\u53f7\u6216\u5bc6\u7801\u9519\u8bef"})"},
      {"GET carries no form", "GET", kApiTarget, AccountBody(u8"《Rt8pWm2XcLs《"),
       R"({"code":403,"ret":"\u8d26\u53f7\u6216\u5bc6\u7801\u9519\u8bef"})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ServiceAnswer answer = AnswerRequest({c.method, c.target, c.body}, {});
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.contentType, "application/json");
    EXPECT_EQ(answer.body, c.json);
    EXPECT_EQ(answer.delivery, Delivery::kWhole);
  }
}

TEST(AnswerRequest, RefusesAnotherAccount) {
  const ServiceOptions options{.accountName = "shop", .accountPassword = "secret"};
  struct Case {
    std::string_view account;
    bool accepted;
  };
  const Case cases[] = {
      {"username=shop&password=secret", true},
      {"username=qorbex&password=qorbex", false},
      {"username=shop&password=Secret", false},
      {"username=shop", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.account);
    const std::string body =
        std::string(c.account) + "&text=" + EncodeEveryByte(Utf8(u8"￥Hn3yQf7JkEz￥"));
    const ServiceAnswer answer = AnswerRequest({"POST", kApiTarget, body}, options);
    EXPECT_EQ(answer.body.find(R"("code":200)") != std::string::npos, c.accepted);
    EXPECT_EQ(answer.body.find(R"("code":403)") != std::string::npos, !c.accepted);
  }
}

TEST(AnswerRequest, DecodesEveryKnownCode) {
  for (const ShareCode& known : KnownShareCodes()) {
    const std::string code = Utf8(known.code);
    SCOPED_TRACE(code);
    const ServiceAnswer answer = AnswerRequest({"POST", kApiTarget, AccountBody(known.code)}, {});
    ASSERT_EQ(LinkOfPastedText(code), Utf8(known.link));
    EXPECT_NE(answer.body.find(R"("ret":"\u8c03\u7528\u6210\u529f","url":"https:\/\/)"),
              std::string::npos);
    // The answer is pure ASCII whatever the link holds.
    for (const char c : answer.body) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  }
}

TEST(AnswerRequest, OtherAddressesAreNotFound) {
  const std::string_view targets[] = {"/",
                                      "/index.php",
                                      "/index.php?m=api",
                                      "/index.php?m=api&a=other",
                                      "/api.php?m=api&a=taokoulingjm",
                                      "/index.phpx?m=api&a=taokoulingjm"};
  for (const std::string_view target : targets) {
    SCOPED_TRACE(target);
    const ServiceAnswer answer =
        AnswerRequest({"POST", target, AccountBody(u8"《Rt8pWm2XcLs《")}, {});
    EXPECT_EQ(answer.status, 404);
    EXPECT_EQ(answer.contentType, "text/html; charset=UTF-8");
    EXPECT_NE(answer.body.find("<h1>404 Not Found</h1>"), std::string::npos);
  }
}

TEST(AnswerRequest, MisbehavesAsTheFaultModeSays) {
  struct Case {
    FaultMode fault;
    std::u8string_view pasted;
    int status;
    std::string_view contentType;
    std::string_view body;  // the whole body, or with an HTML page a part of it
    Delivery delivery;
  };
  const Case cases[] = {
      {FaultMode::kRawUtf8Marker, u8"《Rt8pWm2XcLs《", 200, "application/json",
       "{\"code\":200,\"ret\":\"\xe8\xb0\x83\xe7\x94\xa8\xe6\x88\x90\xe5\x8a\x9f\",\"url\":"
       "\"https:\\/\\/item.shop.example\\/item.htm?id=652387104519&ut_sk=1.share\"}",
       Delivery::kWhole},
      {FaultMode::kNoUrl, u8"《Rt8pWm2XcLs《", 200, "application/json",
       R"({"code":200,"ret":"\u8c03\u7528\u6210\u529f"})", Delivery::kWhole},
      {FaultMode::kNoUrl, u8"《Zz9zZz9zZz9《", 200, "application/json",
       R"({"code":201,"ret":"\u6dd8\u53e3\u4ee4\u4e0d\u5b58\u5728\u6216\u5df2\u5931\u6548"})",
       Delivery::kWhole},
      {FaultMode::kEndlessScript, u8"《Rt8pWm2XcLs《", 200, "application/json",
       "(function(){while(true){}})()", Delivery::kWhole},
      {FaultMode::kStall, u8"￥Hn3yQf7JkEz￥", 200, "application/json",
       R"({"code":200,"ret":"\u8c03\u7528\u6210\u529f","url":"https:\/\/m.shop.example\/h.5Hn3yQf?sm=7f2a1c"})",
       Delivery::kStallAfterHead},
      {FaultMode::kCloseMidBody, u8"￥Hn3yQf7JkEz￥", 200, "application/json",
       R"({"code":200,"ret":"\u8c03\u7528\u6210\u529f","url":"https:\/\/m.shop.example\/h.5Hn3yQf?sm=7f2a1c"})",
       Delivery::kCloseMidBody},
      {FaultMode::kHtmlError, u8"《Rt8pWm2XcLs《", 500, "text/html; charset=UTF-8",
       "<h1>500 Internal Server Error</h1>", Delivery::kWhole},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(NameOf(c.fault));
    const ServiceAnswer answer =
        AnswerRequest({"POST", kApiTarget, AccountBody(c.pasted)}, {.fault = c.fault});
    EXPECT_EQ(answer.status, c.status);
    EXPECT_EQ(answer.contentType, c.contentType);
    if (c.contentType == "application/json") {
      EXPECT_EQ(answer.body, c.body);
    } else {
      EXPECT_EQ(answer.body.rfind("<!DOCTYPE html>", 0), 0u);
      EXPECT_NE(answer.body.find(c.body), std::string::npos);
    }
    EXPECT_EQ(answer.delivery, c.delivery);
  }
}

TEST(AnswerRequest, HugeBodyPadsASuccessAheadOfTheLink) {
  for (const std::size_t padding : {std::size_t{1}, std::size_t{3} << 20}) {
    SCOPED_TRACE(padding);
    const ServiceAnswer answer =
        AnswerRequest({"POST", kApiTarget, AccountBody(u8"￥Hn3yQf7JkEz￥")},
                      {.fault = FaultMode::kHugeBody, .hugeBodyBytes = padding});
    const std::string head = R"({"code":200,"ret":"\u8c03\u7528\u6210\u529f","desc":")";
    const std::string tail = R"(","url":"https:\/\/m.shop.example\/h.5Hn3yQf?sm=7f2a1c"})";
    ASSERT_EQ(answer.body.size(), head.size() + padding + tail.size());
    EXPECT_EQ(answer.body.substr(0, head.size()), head);
    EXPECT_EQ(answer.body.substr(head.size() + padding), tail);
    EXPECT_EQ(answer.body.find_first_not_of('x', head.size()), head.size() + padding);
  }
}

TEST(HeaderBlockOf, AnnouncesTheWholeBody) {
  EXPECT_EQ(HeaderBlockOf({200, "application/json", "{}", Delivery::kCloseMidBody}),
            "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 2\r\n"
            "Connection: close\r\n\r\n");
  EXPECT_EQ(HeaderBlockOf({500, "text/html; charset=UTF-8", "", Delivery::kWhole}),
            "HTTP/1.1 500 Internal Server Error\r\nContent-Type: text/html; charset=UTF-8\r\n"
            "Content-Length: 0\r\nConnection: close\r\n\r\n");
}

TEST(FaultModeNamed, NamesRoundTripAndUnknownNamesAreRefused) {
  for (const FaultMode mode : {FaultMode::kNone, FaultMode::kHtmlError, FaultMode::kRawUtf8Marker,
                               FaultMode::kNoUrl, FaultMode::kEndlessScript, FaultMode::kHugeBody,
                               FaultMode::kStall, FaultMode::kCloseMidBody}) {
    SCOPED_TRACE(NameOf(mode));
    EXPECT_FALSE(NameOf(mode).empty());
    EXPECT_EQ(FaultModeNamed(NameOf(mode)), mode);
  }
  EXPECT_EQ(FaultModeNamed("stalls"), std::nullopt);
  EXPECT_EQ(FaultModeNamed(""), std::nullopt);
}

}  // namespace
}  // namespace quorvant::decoding_service
