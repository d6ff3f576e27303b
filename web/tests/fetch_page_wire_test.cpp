// The page fetch over the platform's HTTP client against a loopback server that records every
// byte it receives and answers with exact bytes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "text/text_operations.h"
#include "tools/loopback_http/loopback_http.h"
#include "web/fetch_page.h"
#include "web/inet.h"
#include "web/tests/wire_request.h"

namespace quorvant {
namespace {

using loopback_http::Reply;
using loopback_http::Request;
using loopback_http::Server;
using namespace std::chrono_literals;

std::string Response(std::string_view statusLine, std::string_view body,
                     std::string_view extraLines = "") {
  return std::string(statusLine) + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
         std::string(extraLines) + "\r\n" + std::string(body);
}

void AnswerOk(const Request&, Reply& reply) {
  reply.Send(Response("HTTP/1.1 200 OK", "ok"));
}

// Every byte value, zero included, over more than one read.
std::string BinaryBody(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>(i * 7 % 256);
  return body;
}

class FetchPageWire : public testing::Test {
 protected:
  // Short platform limits, so that a silent server ends a test within seconds.
  void SetUp() override { inet::SetTimeouts({2000, 1000}); }
  void TearDown() override {
    inet::SetTimeouts(inet::kDefaultTimeouts);
    EXPECT_EQ(inet::OpenHandleCount(), 0) << "a handle was left open";
  }
};

// What the platform may add to the caller's header block: only what HTTP itself needs, and the
// agent when the block names none.
void ExpectRequestCarries(const std::string& raw, const std::string& requestLine,
                          const std::string& block, const std::string& agent,
                          const std::string& data, std::uint16_t port) {
  const WireRequest request = DissectRequest(raw);
  EXPECT_EQ(request.requestLine, requestLine);
  const std::vector<std::string> blockLines = SplitLines(block);
  const std::size_t run = FindRun(request.headerLines, blockLines);
  ASSERT_NE(run, std::string::npos) << "the header block is not sent as one run:\n" << raw;
  for (const std::string& line : request.LinesOutside(run, blockLines.size())) {
    const std::string name = line.substr(0, line.find(':'));
    EXPECT_TRUE(name == "Host" || name == "Content-Length" || name == "User-Agent" ||
                name == "Connection" || name == "Cache-Control" || name == "Pragma")
        << "added by the platform: " << line;
  }
  EXPECT_EQ(request.Values("Host"), std::vector<std::string>{"127.0.0.1:" + std::to_string(port)});
  EXPECT_EQ(request.Values("User-Agent"), std::vector<std::string>{agent});
  EXPECT_TRUE(request.Values("Expect").empty());
  EXPECT_TRUE(request.Values("Accept-Encoding").empty());
  EXPECT_TRUE(request.Values("Transfer-Encoding").empty());
  const std::vector<std::string> length = request.Values("Content-Length");
  if (requestLine.starts_with("GET")) {
    EXPECT_TRUE(length.empty());
  } else {
    EXPECT_EQ(length, std::vector<std::string>{std::to_string(data.size())});
  }
  EXPECT_EQ(request.data, data);
}

TEST_F(FetchPageWire, SendsTheComposedRequest) {
  Server server(AnswerOk);
  const Text url = Text(server.Url("/Req/Path?Q=1&r=%41"));
  const std::string referer = std::string("Referer: ") + url.c_str();
  const std::string defaults = "Accept: */*\r\n" + referer +
                               "\r\nAccept-Language: zh-cn\r\n"
                               "Content-Type: application/x-www-form-urlencoded";
  const struct {
    const char* name;
    std::int32_t method;
    Text body;
    Bytes byteBody;
    Text extraHeaders;
    std::optional<Text> cookies;
    std::string verb;
    std::string block;
    std::string agent;
    std::string data;
  } cases[] = {
      {"GET with defaults", 0, "", Bytes(), "", std::nullopt, "GET", defaults, DefaultUserAgent,
       ""},
      {"GET ignores a body", 0, "x=1", Bytes(), "", std::nullopt, "GET", defaults, DefaultUserAgent,
       ""},
      {"unknown method", 7, "", Bytes(), "", std::nullopt, "GET", defaults, DefaultUserAgent, ""},
      {"POST form", 1, "a=1&b=%E4", Bytes(), "", std::nullopt, "POST", defaults, DefaultUserAgent,
       "a=1&b=%E4"},
      {"POST with nothing", 1, "", Bytes(), "", std::nullopt, "POST", defaults, DefaultUserAgent,
       ""},
      {"POST bytes", 1, "ignored", Bytes(std::string_view("\0\x01\xFF", 3)), "", std::nullopt,
       "POST", defaults, DefaultUserAgent, std::string("\0\x01\xFF", 3)},
      {"HEAD with a body", 2, "h=1", Bytes(), "", std::nullopt, "HEAD", defaults, DefaultUserAgent,
       "h=1"},
      {"caller's agent", 0, "", Bytes(), "User-Agent: Tool/1.0", std::nullopt, "GET",
       "User-Agent: Tool/1.0\r\n" + defaults, "Tool/1.0", ""},
      {"caller's agent without a value", 0, "", Bytes(), "User-Agent:", std::nullopt, "GET",
       "User-Agent:\r\n" + defaults, "", ""},
      {"caller's referer", 0, "", Bytes(), "Referer: http://elsewhere/", std::nullopt, "GET",
       "Referer: http://elsewhere/\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded",
       DefaultUserAgent, ""},
      {"cookie items", 0, "", Bytes(), "", Text("a=1; b=2"), "GET",
       defaults + "\r\nCookie: a=1; b=2", DefaultUserAgent, ""},
      {"a whole cookie line", 1, "p=1", Bytes(), "", Text("Cookie: x=9"), "POST",
       defaults + "\r\nCookie: x=9", DefaultUserAgent, "p=1"},
      // The agent taken from the whole block holds a line break; it must not add a line.
      {"agent from a value", 0, "", Bytes(), "X-Note: user-agent: a\r\nX-B: 2", std::nullopt, "GET",
       "X-Note: user-agent: a\r\nX-B: 2\r\n" + defaults, "user-agent: a", ""},
      // A block that ends in CR LF leaves an empty line inside the block; it must not end the
      // request's head early.
      {"block with an empty line", 0, "", Bytes(), "X-Trailing: 1\r\n", std::nullopt, "GET",
       "X-Trailing: 1\r\n\r\n" + defaults, DefaultUserAgent, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = server.Requests().size();
    Text extraHeaders = c.extraHeaders;
    Bytes byteBody = c.byteBody;
    Text cookies = c.cookies.value_or(Text());
    const Bytes result =
        c.cookies ? FetchPage(url, c.method, c.body, cookies, {}, extraHeaders, {}, false, byteBody)
                  : FetchPage(url, c.method, c.body, {}, {}, extraHeaders, {}, false, byteBody);
    EXPECT_EQ(extraHeaders.view(), c.block);
    EXPECT_EQ(result.view(), c.verb == "HEAD" ? "" : "ok");
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), before + 1);
    ExpectRequestCarries(requests.back(), c.verb + " /Req/Path?Q=1&r=%41 HTTP/1.1", c.block,
                         c.agent, c.data, server.Port());
  }
}

TEST_F(FetchPageWire, ReturnsBodiesLargerThanOneRead) {
  const std::string fixed = BinaryBody(3000);
  const std::string chunkedData = BinaryBody(1 + 1023 + 1024 + 1025 + 7);
  const std::string chunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  std::string chunked = chunkedHead;
  std::size_t at = 0;
  for (const std::size_t size : {1, 1023, 1024, 1025, 7}) {
    char sizeLine[16];
    std::snprintf(sizeLine, sizeof sizeLine, "%zx\r\n", size);
    chunked += sizeLine + chunkedData.substr(at, size) + "\r\n";
    at += size;
  }
  chunked += "0\r\n\r\n";
  const struct {
    const char* name;
    std::string answer;
    std::string body;
    std::string headers;
  } cases[] = {
      {"fixed length", Response("HTTP/1.1 200 OK", fixed), fixed,
       "HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n"},
      {"chunked", chunked, chunkedData, chunkedHead},
      {"error status", Response("HTTP/1.1 404 Not Found", "missing"), "missing",
       "HTTP/1.1 404 Not Found\r\nContent-Length: 7\r\n\r\n"},
      // Lines ended by LF alone come back ended by CR LF.
      {"bare line feeds", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", "ok",
       "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Server server([&](const Request&, Reply& reply) { reply.Send(c.answer); });
    Text responseHeaders;
    const Bytes body = FetchPage(Text(server.Url("/bodies")), 0, {}, {}, {}, {}, responseHeaders);
    EXPECT_EQ(body.view(), c.body);
    EXPECT_EQ(responseHeaders.view(), c.headers);
  }
}

// The header block must fit with its NUL into 5000 bytes, else it reads as 5000 spaces and
// yields no cookies.
TEST_F(FetchPageWire, HeaderBlockLimit) {
  for (const std::size_t size : {4999u, 5000u}) {
    SCOPED_TRACE(size);
    // Padding lines of ordinary length: WinINet under Wine cuts header lines past 4 KiB.
    std::string head = "HTTP/1.1 200 OK\r\nSet-Cookie: big=1\r\nContent-Length: 2\r\n";
    constexpr std::size_t kPadLines = 5;
    const std::size_t padValues =
        size - head.size() - 2 - kPadLines * std::string("X-Pad: \r\n").size();
    for (std::size_t line = 0; line < kPadLines; ++line) {
      const std::size_t length = padValues / kPadLines + (line == 0 ? padValues % kPadLines : 0);
      head += "X-Pad: " + std::string(length, 'p') + "\r\n";
    }
    head += "\r\n";
    ASSERT_EQ(head.size(), size);
    Server server([&](const Request&, Reply& reply) { reply.Send(head + "ok"); });
    Text responseHeaders;
    Text received;
    const Bytes body =
        FetchPage(Text(server.Url("/header-limit/a")), 0, {}, {}, received, {}, responseHeaders);
    EXPECT_EQ(body.view(), "ok");
    if (size < 5000) {
      EXPECT_EQ(responseHeaders.view(), head);
      EXPECT_EQ(received, "big=1");
    } else {
      EXPECT_EQ(responseHeaders, BlankText(5000));
      EXPECT_EQ(received, "");
    }
  }
}

TEST_F(FetchPageWire, CollectsCookiesInAnyLetterCase) {
  Server server([](const Request&, Reply& reply) {
    reply.Send(Response("HTTP/1.1 200 OK", "ok",
                        "SET-COOKIE: a=1; Path=/mixed\r\nset-cookie: b=2\r\n"
                        "Set-cookie: c=3; HttpOnly\r\n"));
  });
  Text cookies = "b=0; z=9";
  Text received;
  Text responseHeaders;
  FetchPage(Text(server.Url("/mixed/a")), 0, {}, cookies, received, {}, responseHeaders);
  EXPECT_EQ(received, "a=1; b=2; c=3; z=9");
  EXPECT_EQ(cookies, "a=1; b=2; c=3; z=9");
  EXPECT_NE(FindText(responseHeaders,
                     "\r\nSet-Cookie: a=1; Path=/mixed\r\nSet-Cookie: b=2\r\n"
                     "Set-Cookie: c=3; HttpOnly\r\n"),
            -1)
      << responseHeaders.c_str();
}

TEST_F(FetchPageWire, Redirects) {
  const struct {
    const char* name;
    const char* status;
    std::int32_t method;
    bool noRedirect;
    std::string body;
    std::string statusLine;
    std::vector<std::string> requestLines;
  } cases[] = {
      {"302 followed",
       "302 Found",
       0,
       false,
       "final",
       "HTTP/1.1 200 OK",
       {"GET /redirect/start HTTP/1.1", "GET /redirect/final HTTP/1.1"}},
      {"302 returned",
       "302 Found",
       0,
       true,
       "moved",
       "HTTP/1.1 302 Found",
       {"GET /redirect/start HTTP/1.1"}},
      {"POST after 301 becomes GET",
       "301 Moved Permanently",
       1,
       false,
       "final",
       "HTTP/1.1 200 OK",
       {"POST /redirect/start HTTP/1.1", "GET /redirect/final HTTP/1.1"}},
      {"POST after 302 becomes GET",
       "302 Found",
       1,
       false,
       "final",
       "HTTP/1.1 200 OK",
       {"POST /redirect/start HTTP/1.1", "GET /redirect/final HTTP/1.1"}},
      {"POST after 303 becomes GET",
       "303 See Other",
       1,
       false,
       "final",
       "HTTP/1.1 200 OK",
       {"POST /redirect/start HTTP/1.1", "GET /redirect/final HTTP/1.1"}},
      {"POST returned",
       "303 See Other",
       1,
       true,
       "moved",
       "HTTP/1.1 303 See Other",
       {"POST /redirect/start HTTP/1.1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Server server([&](const Request& request, Reply& reply) {
      if (request.target == "/redirect/start") {
        reply.Send(Response(std::string("HTTP/1.1 ") + c.status, "moved",
                            "Location: /redirect/final\r\n"));
      } else {
        reply.Send(Response("HTTP/1.1 200 OK", "final"));
      }
    });
    Text responseHeaders;
    const Bytes body = FetchPage(Text(server.Url("/redirect/start")), c.method, "x=1", {}, {}, {},
                                 responseHeaders, c.noRedirect);
    EXPECT_EQ(body.view(), c.body);
    EXPECT_TRUE(responseHeaders.view().starts_with(c.statusLine + "\r\n"))
        << responseHeaders.c_str();
    std::vector<std::string> requestLines;
    for (const std::string& raw : server.Requests()) {
      requestLines.push_back(DissectRequest(raw).requestLine);
    }
    EXPECT_EQ(requestLines, c.requestLines);
    // A POST that continues as GET carries no data.
    if (requestLines.size() == 2) {
      EXPECT_EQ(DissectRequest(server.Requests()[1]).data, "");
    }
  }
}

// Without caller-managed cookies the platform keeps the cookies a server sets, for the life of
// the process; with them it neither sends nor stores any.
TEST_F(FetchPageWire, PlatformCookieStore) {
  Server server([](const Request& request, Reply& reply) {
    if (request.target == "/store/start") {
      reply.Send(Response("HTTP/1.1 302 Found", "",
                          "Set-Cookie: s=1; Path=/store\r\n"
                          "Location: /store/final\r\n"));
    } else {
      reply.Send(Response("HTTP/1.1 200 OK", "ok"));
    }
  });
  const auto cookieOfLastRequest = [&server] {
    return DissectRequest(server.Requests().back()).Values("Cookie");
  };
  Text managed;
  FetchPage(Text(server.Url("/store/start")), 0, {}, managed);
  EXPECT_TRUE(cookieOfLastRequest().empty());
  FetchPage(Text(server.Url("/store/later")), 0, {}, managed);
  EXPECT_TRUE(cookieOfLastRequest().empty());

  FetchPage(Text(server.Url("/store/start")));
  EXPECT_EQ(cookieOfLastRequest(), std::vector<std::string>{"s=1"});
  FetchPage(Text(server.Url("/store/later")));
  EXPECT_EQ(cookieOfLastRequest(), std::vector<std::string>{"s=1"});
}

// A failed exchange is not reported: the body is what arrived, the header block is what
// arrived or 5000 spaces, and the composed request values stay in the caller's variables.
TEST_F(FetchPageWire, FaultsEndTheExchange) {
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n";
  // Whole reads' worth: what a platform does with a read cut short by the fault is its own.
  const std::string part = BinaryBody(3072);
  const struct {
    const char* name;
    loopback_http::Handler handler;
    std::string body;
    std::optional<std::string> headers;  // none: 5000 spaces
  } cases[] = {
      {"reset mid-body",
       [&](const Request&, Reply& reply) {
         reply.Send(head + part);
         reply.Pause(300ms);
         reply.Reset();
       },
       part, head},
      {"closed mid-body",
       [&](const Request&, Reply& reply) {
         reply.Send(head + part);
         reply.Close();
       },
       part, head},
      {"silent mid-body",
       [&](const Request&, Reply& reply) {
         reply.Send(head + part);
         reply.HoldUntilStopped();
       },
       part, head},
      {"never answers", [](const Request&, Reply& reply) { reply.HoldUntilStopped(); }, "",
       std::nullopt},
      {"reset before answering", [](const Request&, Reply& reply) { reply.Reset(); }, "",
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Server server(c.handler);
    Text responseHeaders;
    Text extraHeaders;
    Bytes byteBody;
    Text cookies = "b = 2;a=deleted";
    Text received = "stale";
    const Bytes body = FetchPage(Text(server.Url("/faults")), 1, "x=1", cookies, received,
                                 extraHeaders, responseHeaders, false, byteBody);
    EXPECT_EQ(body.view(), c.body);
    EXPECT_EQ(responseHeaders, c.headers ? Text(*c.headers) : BlankText(5000));
    EXPECT_EQ(byteBody.view(), "x=1");
    EXPECT_NE(FindText(extraHeaders, "\r\nCookie: b = 2;a=deleted"), -1);
    EXPECT_EQ(received, "b=2");
    EXPECT_EQ(cookies, "b=2");
  }
}

TEST_F(FetchPageWire, RefusedConnection) {
  std::uint16_t closedPort = 0;
  {
    Server gone(AnswerOk);
    closedPort = gone.Port();
  }
  Text responseHeaders;
  Text extraHeaders;
  Text received = "stale";
  const Bytes body = FetchPage(Text("http://127.0.0.1:" + std::to_string(closedPort) + "/"), 0, {},
                               {}, received, extraHeaders, responseHeaders);
  EXPECT_TRUE(body.empty());
  EXPECT_EQ(responseHeaders, BlankText(5000));
  EXPECT_EQ(received, "");
  EXPECT_NE(FindText(extraHeaders, "Accept: */*"), -1);
}

// Addresses that must not reach any server: an empty host and a port beyond 16 bits fail
// before anything is composed; a host that hides user information is not resolved as another
// host.
TEST_F(FetchPageWire, AddressesThatReachNoServer) {
  Server server(AnswerOk);
  const std::string port = std::to_string(server.Port());
  const struct {
    const char* name;
    std::string url;
    bool composed;
  } cases[] = {
      {"empty address", "", false},
      {"no host", "http:///x", false},
      {"port beyond 16 bits", "http://127.0.0.1:" + std::to_string(server.Port() + 65536) + "/",
       false},
      {"user information", "http://user@127.0.0.1:" + port + "/x", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Text extraHeaders = "X-A: 1";
    Text responseHeaders = "untouched";
    const Bytes body = FetchPage(Text(c.url), 0, {}, {}, {}, extraHeaders, responseHeaders);
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(extraHeaders != "X-A: 1", c.composed);
    EXPECT_EQ(responseHeaders, c.composed ? BlankText(5000) : Text("untouched"));
  }
  EXPECT_EQ(server.ConnectionCount(), 0);
}

}  // namespace
}  // namespace quorvant
