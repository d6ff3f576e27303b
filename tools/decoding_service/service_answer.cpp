#include "tools/decoding_service/service_answer.h"

#include <optional>
#include <vector>

#include "tools/decoding_service/form_fields.h"
#include "tools/decoding_service/php_json.h"
#include "tools/decoding_service/share_code_table.h"
#include "tools/decoding_service/utf8.h"

namespace quorvant::decoding_service {
namespace {

constexpr std::string_view kJsonType = "application/json";
constexpr std::string_view kHtmlType = "text/html; charset=UTF-8";

bool IsDecodeApi(std::string_view target) {
  const std::size_t question = target.find('?');
  if (target.substr(0, question) != kApiPath || question == std::string_view::npos) return false;
  const auto query = ParseFormFields(target.substr(question + 1));
  const auto m = query.find("m");
  const auto a = query.find("a");
  return m != query.end() && m->second == "api" && a != query.end() && a->second == "taokoulingjm";
}

std::string HtmlPage(std::string_view title, std::string_view message) {
  std::string page = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
  page.append(title).append("</title>\n</head>\n<body>\n<h1>").append(title);
  page.append("</h1>\n<p>").append(message).append("</p>\n<hr>\n</body>\n</html>\n");
  return page;
}

// What the service makes of the fields: the outcome text and, on success, the link.
struct Decoding {
  std::int64_t code;
  std::string ret;
  std::optional<std::string> url;
};

Decoding Decode(std::string_view formBody, const ServiceOptions& options) {
  const auto fields = ParseFormFields(formBody);
  const auto field = [&fields](const std::string& name) {
    const auto found = fields.find(name);
    return found == fields.end() ? std::string() : found->second;
  };
  if (field("username") != options.accountName || field("password") != options.accountPassword) {
    return {403, Utf8(u8"账号或密码错误"), std::nullopt};
  }
  const std::string pasted = field("text");
  if (pasted.empty()) return {202, Utf8(u8"淘口令不能为空"), std::nullopt};
  std::optional<std::string> link = LinkOfPastedText(pasted);
  if (!link) return {201, Utf8(u8"淘口令不存在或已失效"), std::nullopt};
  return {200, Utf8(u8"调用成功"), std::move(link)};
}

ServiceAnswer JsonAnswer(const Decoding& decoding, const ServiceOptions& options) {
  std::vector<JsonMember> members = {{"code", decoding.code}, {"ret", decoding.ret}};
  if (options.fault == FaultMode::kHugeBody) {
    // Padding ahead of the link, so that the link is read only when the whole body arrives.
    members.push_back({"desc", std::string(options.hugeBodyBytes, 'x')});
  }
  if (decoding.url && options.fault != FaultMode::kNoUrl) members.push_back({"url", *decoding.url});
  const NonAscii nonAscii =
      options.fault == FaultMode::kRawUtf8Marker ? NonAscii::kRaw : NonAscii::kEscaped;
  ServiceAnswer answer{200, std::string(kJsonType), EncodeJsonObject(members, nonAscii)};
  if (options.fault == FaultMode::kStall) answer.delivery = Delivery::kStallAfterHead;
  if (options.fault == FaultMode::kCloseMidBody) answer.delivery = Delivery::kCloseMidBody;
  return answer;
}

std::string_view ReasonOf(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Unknown";
  }
}

}  // namespace

ServiceAnswer AnswerRequest(const ServiceRequest& request, const ServiceOptions& options) {
  if (!IsDecodeApi(request.target)) {
    return {404, std::string(kHtmlType),
            HtmlPage("404 Not Found", "The requested URL was not found on this server.")};
  }
  switch (options.fault) {
    case FaultMode::kHtmlError:
      return {500, std::string(kHtmlType),
              HtmlPage("500 Internal Server Error",
                       "The server encountered an internal error and was unable to complete "
                       "your request.")};
    case FaultMode::kEndlessScript:
      return {200, std::string(kJsonType), "(function(){while(true){}})()"};
    default:
      // Only a POST carries form fields, as with PHP's $_POST.
      return JsonAnswer(
          Decode(request.method == "POST" ? request.body : std::string_view(), options), options);
  }
}

std::string HeaderBlockOf(const ServiceAnswer& answer) {
  std::string block = "HTTP/1.1 " + std::to_string(answer.status) + " ";
  block.append(ReasonOf(answer.status)).append("\r\nContent-Type: ").append(answer.contentType);
  block += "\r\nContent-Length: " + std::to_string(answer.body.size());
  block += "\r\nConnection: close\r\n\r\n";
  return block;
}

}  // namespace quorvant::decoding_service
