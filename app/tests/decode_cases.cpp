#include "app/tests/decode_cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quorvant::decode_cases {
namespace {

using decoding_service::FaultMode;
using decoding_service::ServiceOptions;

constexpr char8_t kAngleCode[] = u8"《Rt8pWm2XcLs《";
constexpr char8_t kAngleLink[] =
    u8"https://item.shop.example/item.htm?id=652387104519&ut_sk=1.share";

const OutcomeCase kOutcomeCases[] = {
    {"angle-bracket code", ServiceOptions{}, kAngleCode, kAngleLink, kSuccessHint},
    {"yuan-sign code", ServiceOptions{}, kYuanSignCode, kYuanSignLink, kSuccessHint},
    {"huge answer", ServiceOptions{.fault = FaultMode::kHugeBody}, kYuanSignCode, kYuanSignLink,
     kSuccessHint},
    {"success without a link", ServiceOptions{.fault = FaultMode::kNoUrl}, kAngleCode, u8"",
     kSuccessHint},
    {"unknown code", ServiceOptions{}, u8"《Zz9zZz9zZz9《", kFailureText, kFailureHint},
    {"wrong account", ServiceOptions{.accountPassword = "changed"}, kAngleCode, kFailureText,
     kFailureHint},
    {"HTML error page", ServiceOptions{.fault = FaultMode::kHtmlError}, kAngleCode, kFailureText,
     kFailureHint},
    {"marker as raw UTF-8", ServiceOptions{.fault = FaultMode::kRawUtf8Marker}, kAngleCode,
     kFailureText, kFailureHint},
    {"no service", std::nullopt, kAngleCode, kFailureText, kFailureHint},
    {"script that never ends", ServiceOptions{.fault = FaultMode::kEndlessScript}, kAngleCode,
     kFailureText, kFailureHint, 500},
    {"stalled answer",
     ServiceOptions{.fault = FaultMode::kStall},
     kAngleCode,
     kFailureText,
     kFailureHint,
     kDefaultScriptTimeBudget,
     {2000, 500}},
    {"closed mid-body", ServiceOptions{.fault = FaultMode::kCloseMidBody}, kAngleCode, kFailureText,
     kFailureHint},
};

const WireCase kWireCases[] = {
    {kAngleCode, "%E3%80%8A%52%74%38%70%57%6D%32%58%63%4C%73%E3%80%8A"},
    {u8"abc", "%61%62%63"},
    {u8"a b", "%61%20%62"},
    {u8"淘", "%E6%B7%98"},
    {u8" ￥x￥　", "%20%EF%BF%A5%78%EF%BF%A5%E3%80%80"},
    {u8"", ""},
};

// The header lines of a raw request, each without its CR LF.
std::vector<std::string> HeaderLinesOf(const std::string& request) {
  std::vector<std::string> lines;
  const std::size_t end = request.find("\r\n\r\n");
  for (std::size_t at = request.find("\r\n") + 2; at < end + 2;) {
    const std::size_t next = request.find("\r\n", at);
    lines.push_back(request.substr(at, next - at));
    at = next + 2;
  }
  return lines;
}

}  // namespace

std::span<const OutcomeCase> OutcomeCases() {
  return kOutcomeCases;
}

std::span<const WireCase> WireCases() {
  return kWireCases;
}

void ExpectDecodeRequest(const std::string& request, const std::string& endpoint,
                         const char* encoded) {
  const std::string body = std::string("username=qorbex&password=qorbex&text=") + encoded;
  EXPECT_EQ(request.substr(0, request.find("\r\n")),
            "POST /index.php?m=api&a=taokoulingjm HTTP/1.1");
  EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), body);

  // The four lines the program composes, in this order; the rest are the platform's own.
  const std::string composed[] = {"Accept: */*", "Referer: " + endpoint, "Accept-Language: zh-cn",
                                  "Content-Type: application/x-www-form-urlencoded"};
  const std::vector<std::string> lines = HeaderLinesOf(request);
  auto next = lines.begin();
  for (const std::string& line : composed) {
    next = std::find(next, lines.end(), line);
    EXPECT_NE(next, lines.end()) << line;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line;
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"),
            1);
  EXPECT_EQ(
      std::count(lines.begin(), lines.end(), "Content-Length: " + std::to_string(body.size())), 1);
  for (const std::string& line : lines) {
    EXPECT_NE(line.rfind("Cookie:", 0), 0u) << "no cookie is sent";
  }
}

}  // namespace quorvant::decode_cases
