// The page fetch against a recording stand-in for the platform: what it hands to each
// operation, in which order, and what it makes of the answers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "text/text_operations.h"
#include "web/fetch_page.h"
#include "web/inet.h"
#include "web/tests/recording_inet.h"

namespace quorvant {
namespace {

using inet::recording::Begin;
using inet::recording::Last;
using inet::recording::Script;
using testing::Each;
using testing::ElementsAre;

Script AnswerOk(std::string body = "ok") {
  return Script{"", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n", std::move(body)};
}

TEST(FetchPageFlow, FlagWord) {
  const struct {
    Text url;
    bool cookiesGiven;
    bool noRedirect;
    std::uint32_t flags;
  } cases[] = {
      {"http://h/", false, false, 0x80004010},  {"http://h/", false, true, 0x80204010},
      {"http://h/", true, false, 0x80084010},   {"http://h/", true, true, 0x80284010},
      {"https://h/", false, false, 0x80800010}, {"https://h/", false, true, 0x80A00010},
      {"HTTPS://h/", true, false, 0x80880010},  {"https://h/", true, true, 0x80A80010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.url.c_str() << " cookies " << c.cookiesGiven
                                    << " noRedirect " << c.noRedirect);
    Begin(AnswerOk());
    if (c.cookiesGiven) {
      FetchPage(c.url, 0, {}, Text(), {}, {}, {}, c.noRedirect);
    } else {
      FetchPage(c.url, 0, {}, {}, {}, {}, {}, c.noRedirect);
    }
    EXPECT_EQ(Last().flags, c.flags);
  }
}

TEST(FetchPageFlow, HandsTheUrlPiecesToThePlatform) {
  Begin(AnswerOk());
  FetchPage("HTTP://API.Example.COM:8080/Path?Q=1");
  EXPECT_EQ(Last().server, "api.example.com");
  EXPECT_EQ(Last().port, 8080);
  EXPECT_EQ(Last().object, "/Path?Q=1");
  EXPECT_EQ(Last().version, "HTTP/1.1");
}

TEST(FetchPageFlow, MethodSelectsTheVerb) {
  const struct {
    std::int32_t method;
    const char* verb;
  } cases[] = {{0, "GET"}, {1, "POST"}, {2, "HEAD"}, {3, "GET"}, {-1, "GET"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method);
    Begin(AnswerOk());
    FetchPage("http://h/", c.method);
    EXPECT_EQ(Last().verb, c.verb);
  }
}

TEST(FetchPageFlow, AgentComesFromTheUserAgentLine) {
  const struct {
    Text extraHeaders;
    std::optional<std::string> agent;  // none: a null agent
  } cases[] = {
      {"", DefaultUserAgent},
      {"User-Agent: Tool/1.0", "Tool/1.0"},
      {"X-A: 1\r\nUser-Agent:  Tool/1.0 \r\nX-B: 2", "Tool/1.0"},
      {"user-agent: Tool/1.0", "Tool/1.0"},
      // Not written exactly so: the rest of the whole block after its first colon.
      {"Referer: r\r\nuser-agent: Tool/1.0", "r\r\nuser-agent: Tool/1.0"},
      {"User-Agent:", std::nullopt},
      {"User-Agent:   ", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extraHeaders.c_str());
    Begin(AnswerOk());
    FetchPage("http://h/", 0, {}, {}, {}, c.extraHeaders);
    EXPECT_EQ(Last().agent, c.agent);
  }
}

TEST(FetchPageFlow, ProxyText) {
  const struct {
    Text url;
    Text proxy;
    std::int32_t accessType;
    std::optional<std::string> proxyText;
    std::optional<std::string> bypass;
  } cases[] = {
      {"http://h/", "", inet::kOpenTypeDirect, std::nullopt, std::nullopt},
      {"http://h/", "127.0.0.1:3128", inet::kOpenTypeProxy, "http=127.0.0.1:3128", ""},
      {"h/", "p:1", inet::kOpenTypeProxy, "http=p:1", ""},
      {"https://h/", "127.0.0.1:3128", inet::kOpenTypeProxy, "127.0.0.1:3128", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.url.c_str() << " via " << c.proxy.c_str());
    Begin(AnswerOk());
    FetchPage(c.url, 0, {}, {}, {}, {}, {}, false, {}, c.proxy);
    EXPECT_EQ(Last().accessType, c.accessType);
    EXPECT_EQ(Last().proxy, c.proxyText);
    EXPECT_EQ(Last().proxyBypass, c.bypass);
  }
}

TEST(FetchPageFlow, ComposesTheHeaderBlock) {
  const char* const kDefaults =
      "Accept: */*\r\nReferer: http://h/p?q=1\r\nAccept-Language: zh-cn\r\n"
      "Content-Type: application/x-www-form-urlencoded";
  const struct {
    const char* name;
    Text extraHeaders;
    std::optional<Text> cookies;
    std::string block;
  } cases[] = {
      {"nothing supplied", "", std::nullopt, kDefaults},
      {"caller's agent first", "User-Agent: Tool/1.0", std::nullopt,
       std::string("User-Agent: Tool/1.0\r\n") + kDefaults},
      {"lower-case accept keeps the default", "accept: text/html", std::nullopt,
       std::string("accept: text/html\r\n") + kDefaults},
      {"caller's accept", "Accept: text/html", std::nullopt,
       "Accept: text/html\r\nReferer: http://h/p?q=1\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"caller's referer", "Referer: http://elsewhere/", std::nullopt,
       "Referer: http://elsewhere/\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"a name anywhere counts", "X-Note: Content-Type: Accept-Language:", std::nullopt,
       "X-Note: Content-Type: Accept-Language:\r\nAccept: */*\r\nReferer: http://h/p?q=1"},
      {"cookie items", "", Text("a=1; b=2"), std::string(kDefaults) + "\r\nCookie: a=1; b=2"},
      {"a whole cookie line", "", Text("Cookie: a=1"), std::string(kDefaults) + "\r\nCookie: a=1"},
      {"empty cookies send no line", "", Text(), kDefaults},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Begin(AnswerOk());
    Text extraHeaders = c.extraHeaders;
    if (c.cookies) {
      FetchPage("http://h/p?q=1", 0, {}, *c.cookies, {}, extraHeaders);
    } else {
      FetchPage("http://h/p?q=1", 0, {}, {}, {}, extraHeaders);
    }
    EXPECT_EQ(Last().headers, c.block);
    EXPECT_EQ(extraHeaders.view(), c.block);
  }
}

TEST(FetchPageFlow, ChoosesTheRequestData) {
  const struct {
    const char* name;
    std::int32_t method;
    Text body;
    Bytes byteBody;
    std::string sent;
    Bytes byteBodyAfter;
  } cases[] = {
      {"GET ignores both", 0, "x=1", Bytes("B"), "", Bytes("B")},
      {"GET leaves an empty byteBody", 0, "x=1", Bytes(), "", Bytes()},
      {"HEAD sends the body", 2, "h=1", Bytes(), "h=1", Bytes("h=1")},
      {"POST with nothing", 1, "", Bytes(), "", Bytes()},
      {"POST prefers byteBody", 1, "ignored", Bytes(std::string_view("a\0b", 3)),
       std::string("a\0b", 3), Bytes(std::string_view("a\0b", 3))},
      {"POST converts the body", 1, "x=1&y=2", Bytes(), "x=1&y=2", Bytes("x=1&y=2")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Begin(AnswerOk());
    Bytes byteBody = c.byteBody;
    FetchPage("http://h/", c.method, c.body, {}, {}, {}, {}, false, byteBody);
    EXPECT_EQ(Last().data.value_or(""), c.sent);
    EXPECT_EQ(byteBody, c.byteBodyAfter);
  }
}

TEST(FetchPageFlow, ReadsInChunksAndClosesInReverseOrder) {
  const std::string body(2500, 'b');
  Begin(Script{"", "HTTP/1.1 200 OK\r\n\r\n", body});
  Text responseHeaders;
  EXPECT_EQ(FetchPage("http://h/", 0, {}, {}, {}, {}, responseHeaders).view(), body);
  EXPECT_THAT(
      Last().operations,
      ElementsAre("Open", "Connect", "OpenRequest", "SendRequest", "Read", "Read", "Read", "Read",
                  "QueryRawHeaders", "Close request", "Close connection", "Close internet"));
  EXPECT_THAT(Last().readSizes, Each(1024u));
  EXPECT_EQ(Last().headerBufferLength, 5000u);
  EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\n\r\n");
  EXPECT_EQ(inet::OpenHandleCount(), 0);
}

// A session, connection or request that cannot be opened closes what was opened before it and
// changes none of the caller's variables.
TEST(FetchPageFlow, EarlyFailuresLeaveTheParametersAlone) {
  const struct {
    const char* failing;
    std::vector<std::string> operations;
  } cases[] = {
      {"Open", {"Open"}},
      {"Connect", {"Open", "Connect", "Close internet"}},
      {"OpenRequest", {"Open", "Connect", "OpenRequest", "Close connection", "Close internet"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    Script script = AnswerOk();
    script.failingOperation = c.failing;
    Begin(script);
    Text cookies = "a = 1";
    Text received = "r";
    Text extraHeaders = "X-A: 1";
    Text responseHeaders = "h";
    Bytes byteBody;
    const Bytes result = FetchPage("http://h/", 1, "x=1", cookies, received, extraHeaders,
                                   responseHeaders, false, byteBody);
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(Last().operations, c.operations);
    EXPECT_EQ(cookies, "a = 1");
    EXPECT_EQ(received, "r");
    EXPECT_EQ(extraHeaders, "X-A: 1");
    EXPECT_EQ(responseHeaders, "h");
    EXPECT_TRUE(byteBody.empty());
    EXPECT_EQ(inet::OpenHandleCount(), 0);
  }
}

TEST(FetchPageFlow, CollectsAndMergesCookies) {
  const std::string kTwoCookies =
      "HTTP/1.1 200 OK\r\nSet-Cookie: lang=zh; path=/; HttpOnly\r\nset-cookie: count=2\r\n\r\n";
  const Text kTwoCookiesNormalised =
      "HTTP/1.1 200 OK\r\nSet-Cookie: lang=zh; path=/; HttpOnly\r\nSet-Cookie: count=2\r\n\r\n";
  const struct {
    const char* name;
    std::optional<std::string> rawHeaders;  // none: no response
    std::optional<Text> cookies;
    Text received;
    Text cookiesAfter;
    Text responseHeaders;
  } cases[] = {
      {"attributes dropped, any letter case", kTwoCookies, std::nullopt, "lang=zh; count=2", "",
       kTwoCookiesNormalised},
      {"merged into the caller's cookies", kTwoCookies, Text("lang=en; theme=dark"),
       "lang=zh; count=2; theme=dark", "lang=zh; count=2; theme=dark", kTwoCookiesNormalised},
      {"no Set-Cookie line", "HTTP/1.1 200 OK\r\nX-A: 1\r\n\r\n", std::nullopt, "", "",
       "HTTP/1.1 200 OK\r\nX-A: 1\r\n\r\n"},
      {"a value without attributes is trimmed whole",
       "HTTP/1.1 200 OK\r\nSET-COOKIE:   k=v  \r\n\r\n", std::nullopt, "k=v", "",
       "HTTP/1.1 200 OK\r\nSet-Cookie:   k=v  \r\n\r\n"},
      {"no response: the caller's cookies cleaned", std::nullopt, Text("b = 2;a=deleted;b=3;c=3"),
       "b=2; c=3", "b=2; c=3", BlankText(5000)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Begin(Script{"", c.rawHeaders, ""});
    Text received = "stale";
    Text responseHeaders;
    Text cookies = c.cookies.value_or(Text());
    if (c.cookies) {
      FetchPage("http://h/", 0, {}, cookies, received, {}, responseHeaders);
    } else {
      FetchPage("http://h/", 0, {}, {}, received, {}, responseHeaders);
    }
    EXPECT_EQ(received, c.received);
    EXPECT_EQ(cookies, c.cookiesAfter);
    EXPECT_EQ(responseHeaders, c.responseHeaders);
  }
}

}  // namespace
}  // namespace quorvant
