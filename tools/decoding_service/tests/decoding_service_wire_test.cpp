#include "tools/decoding_service/decoding_service.h"

#include <gtest/gtest.h>

#include "text/text_operations.h"
#include "web/fetch_page.h"
#include "web/inet.h"

namespace quorvant::decoding_service {
namespace {

constexpr char kKnownCodeBody[] =
    "username=qorbex&password=qorbex&text=%EF%BF%A5Hn3yQf7JkEz%EF%BF%A5";
constexpr std::string_view kSuccess =
    R"({"code":200,"ret":"\u8c03\u7528\u6210\u529f","url":"https:\/\/m.shop.example\/h.5Hn3yQf?sm=7f2a1c"})";

class DecodingServiceWireTest : public ::testing::Test {
 protected:
  // A stalled answer must end the client's wait quickly.
  void SetUp() override { inet::SetTimeouts({2000, 500}); }
  void TearDown() override { inet::SetTimeouts(inet::kDefaultTimeouts); }

  static std::string Post(const std::string& url) {
    return std::string(FetchPage(Text(url), 1, kKnownCodeBody).view());
  }
};

TEST_F(DecodingServiceWireTest, DeliversEachAnswerAsItsFaultModeSays) {
  struct Case {
    FaultMode fault;
    std::string_view body;  // the whole body received
  };
  const Case cases[] = {
      {FaultMode::kNone, kSuccess},
      {FaultMode::kCloseMidBody, kSuccess.substr(0, kSuccess.size() / 2)},
      {FaultMode::kStall, ""},
      {FaultMode::kEndlessScript, "(function(){while(true){}})()"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(NameOf(c.fault));
    const DecodingService service({.fault = c.fault});
    ASSERT_NE(service.Port(), 0);
    EXPECT_EQ(Post(service.Endpoint()), c.body);
    ASSERT_EQ(service.Requests().size(), 1u);
    EXPECT_EQ(service.Requests()[0].rfind("POST /index.php?m=api&a=taokoulingjm HTTP/1.1\r\n", 0),
              0u);
  }
}

TEST_F(DecodingServiceWireTest, SendsAHugeBodyWhole) {
  const DecodingService service({.fault = FaultMode::kHugeBody, .hugeBodyBytes = 6u << 20});
  const std::string body = Post(service.Endpoint());
  const std::string_view link = R"(","url":"https:\/\/m.shop.example\/h.5Hn3yQf?sm=7f2a1c"})";
  EXPECT_GT(body.size(), 6u << 20);
  EXPECT_EQ(body.substr(body.size() - link.size()), link);
}

TEST_F(DecodingServiceWireTest, AnswersOtherAddressesWithNotFound) {
  const DecodingService service;
  const std::string url = "http://127.0.0.1:" + std::to_string(service.Port()) + "/index.php";
  Text headers;
  const Bytes page = FetchPage(Text(url), 1, kKnownCodeBody, {}, {}, {}, headers);
  EXPECT_EQ(FindText(headers, "HTTP/1.1 404 Not Found\r\n"), 1);
  EXPECT_NE(page.view().find("<h1>404 Not Found</h1>"), std::string_view::npos);
}

TEST_F(DecodingServiceWireTest, ListensAtAGivenPortUnlessItIsTaken) {
  std::uint16_t port = 0;
  {
    const DecodingService first;
    port = first.Port();
    ASSERT_NE(port, 0);
    EXPECT_EQ(Post(first.Endpoint()), kSuccess);
    const DecodingService taken({}, port);
    EXPECT_EQ(taken.Port(), 0);
  }
  // Free again right after the first service and its connection are gone.
  const DecodingService again({}, port);
  EXPECT_EQ(again.Port(), port);
  EXPECT_EQ(Post(again.Endpoint()), kSuccess);
}

}  // namespace
}  // namespace quorvant::decoding_service
