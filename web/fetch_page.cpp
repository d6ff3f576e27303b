#include "web/fetch_page.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "text/encoding.h"
#include "text/text_operations.h"
#include "web/cookies.h"
#include "web/inet.h"
#include "web/url.h"

namespace quorvant {
namespace {

constexpr std::int32_t kReadChunk = 1024;
constexpr std::int32_t kHeaderBufferSize = 5000;
constexpr bool kIgnoreCase = true;
constexpr bool kCaseSensitive = true;

// Closes its handle when it goes, so that every path closes what it opened, the latest first.
class OpenHandle {
 public:
  explicit OpenHandle(inet::Handle handle) : handle_(handle) {}
  ~OpenHandle() {
    if (handle_ != nullptr) inet::Close(handle_);
  }
  OpenHandle(const OpenHandle&) = delete;
  OpenHandle& operator=(const OpenHandle&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  inet::Handle get() const { return handle_; }

 private:
  inet::Handle handle_;
};

Text VerbOf(std::int32_t method) {
  switch (method) {
    case 1:
      return "POST";
    case 2:
      return "HEAD";
    default:
      return "GET";
  }
}

bool IsSecureUrl(const Text& url) {
  return ToLower(LeftOf(url, 8)) == "https://";
}

Text AgentFor(const Text& extraHeaders) {
  if (FindText(extraHeaders, "User-Agent:", std::nullopt, kIgnoreCase) == -1) {
    return DefaultUserAgent;
  }
  const Text agent = TrimBoth(TextBetween(extraHeaders + "\r\n", "User-Agent:", "\r\n"));
  return agent.empty() ? ValueAfterColon(extraHeaders) : agent;
}

std::uint32_t RequestFlags(bool cookiesGiven, bool noRedirect, bool secure) {
  std::uint32_t flags = inet::kFlagReload | inet::kFlagNeedFile;
  if (cookiesGiven) flags |= inet::kFlagNoCookies;
  if (noRedirect) flags |= inet::kFlagNoAutoRedirect;
  flags |= secure ? inet::kFlagSecure : inet::kFlagIgnoreRedirectToHttps;
  return flags;
}

Text ComposeHeaderBlock(Text block, const Text& url, const Text& cookies) {
  if (block.empty()) {
    block = "Accept: */*";
  } else if (FindText(block, "Accept:") == -1) {
    block += "\r\nAccept: */*";
  }
  if (FindText(block, "Referer:") == -1) block += "\r\nReferer: " + url;
  if (FindText(block, "Accept-Language:") == -1) block += "\r\nAccept-Language: zh-cn";
  if (FindText(block, "Content-Type:") == -1) {
    block += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
  if (!cookies.empty()) {
    block += FindText(cookies, "Cookie:") != -1 ? "\r\n" + cookies : "\r\nCookie: " + cookies;
  }
  return block;
}

Bytes ReadBody(inet::Handle request) {
  Bytes buffer = BlankBytes(kReadChunk);
  Bytes body;
  for (;;) {
    std::uint32_t count = 0;
    inet::Read(request, buffer.data(), kReadChunk, &count);
    const auto n = static_cast<std::int32_t>(std::min<std::uint32_t>(count, kReadChunk));
    if (n == 0) break;
    // A body beyond what one Bytes can count ends here rather than wrapping its size.
    if (body.size() > std::numeric_limits<std::int32_t>::max() - n) break;
    body.append(buffer.data(), n);
  }
  return body;
}

Text QueryHeaderBlock(inet::Handle request) {
  std::string buffer(static_cast<std::size_t>(kHeaderBufferSize), ' ');
  std::uint32_t length = kHeaderBufferSize;
  inet::QueryRawHeaders(request, buffer.data(), &length);
  // The block ends at its NUL; a block that did not fit left the spaces as they were.
  return Text(std::string_view(buffer));
}

Text CollectCookies(const Text& responseHeaders) {
  Text collected;
  for (const Text& line : SplitText(responseHeaders, "\r\n")) {
    if (FindText(line, "Set-Cookie") == -1) continue;
    const Text value = FindText(line, ";") == -1
                           ? TrimBoth(ReplaceText(line, "Set-Cookie:", "", std::nullopt,
                                                  std::nullopt, !kCaseSensitive))
                           : TrimBoth(TextBetween(line, "Set-Cookie:", ";"));
    collected += value + "; ";
  }
  return LeftOf(collected, TextLength(collected) - 2);
}

}  // namespace

Bytes FetchPage(const Text& url, std::int32_t method, const Text& body, InOut<Text> cookies,
                InOut<Text> receivedCookies, InOut<Text> extraHeaders, InOut<Text> responseHeaders,
                bool noRedirect, InOut<Bytes> byteBody, const Text& proxy) {
  const Text verb = VerbOf(method);
  const bool secure = IsSecureUrl(url);
  const Text agent = AgentFor(*extraHeaders);
  const Text proxyText = secure ? proxy : "http=" + proxy;
  const std::uint32_t flags = RequestFlags(cookies.given(), noRedirect, secure);

  Bytes received;
  {
    const OpenHandle internet(proxy.empty()
                                  ? inet::Open(agent.empty() ? nullptr : agent.c_str(),
                                               inet::kOpenTypeDirect, nullptr, nullptr)
                                  : inet::Open(agent.empty() ? nullptr : agent.c_str(),
                                               inet::kOpenTypeProxy, proxyText.c_str(), ""));
    if (!internet) return {};
    const OpenHandle connection(
        inet::Connect(internet.get(), HostOfUrl(url).c_str(), PortOfUrl(url)));
    if (!connection) return {};
    const OpenHandle request(inet::OpenRequest(connection.get(), verb.c_str(),
                                               PathOfUrl(url).c_str(), "HTTP/1.1", flags));
    if (!request) return {};

    *extraHeaders = ComposeHeaderBlock(*extraHeaders, url, *cookies);
    const void* data = nullptr;
    std::uint32_t dataLength = 0;
    if (verb != "GET") {
      if (BytesLength(*byteBody) == 0) *byteBody = ToBytes(body);
      data = byteBody->data();
      dataLength = static_cast<std::uint32_t>(BytesLength(*byteBody));
    }
    // Not examined: a request that was not sent shows in an empty body and header block.
    inet::SendRequest(request.get(), extraHeaders->c_str(),
                      static_cast<std::uint32_t>(TextLength(*extraHeaders)), data, dataLength);

    received = ReadBody(request.get());
    *responseHeaders = ReplaceText(QueryHeaderBlock(request.get()), "Set-Cookie", "Set-Cookie",
                                   std::nullopt, std::nullopt, !kCaseSensitive);
  }

  *receivedCookies = CollectCookies(*responseHeaders);
  if (cookies.given()) *receivedCookies = MergeCookies(*cookies, *receivedCookies);
  return received;
}

}  // namespace quorvant
