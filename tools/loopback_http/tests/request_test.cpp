#include "tools/loopback_http/request.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvant::loopback_http {
namespace {

using namespace std::string_literals;

struct CompleteCase {
  const char* name;
  std::string input;
  std::string request;  // the bytes of the first request
  std::string method;
  std::string target;
  std::string body;
};

const CompleteCase kComplete[] = {
    {"no body", "GET /a?b=1 HTTP/1.1\r\nHost: x\r\n\r\n", "GET /a?b=1 HTTP/1.1\r\nHost: x\r\n\r\n",
     "GET", "/a?b=1", ""},
    {"fixed length, next request behind it",
     "POST /p HTTP/1.1\r\ncontent-length:  3 \r\n\r\nabcGET / HTTP/1.1\r\n",
     "POST /p HTTP/1.1\r\ncontent-length:  3 \r\n\r\nabc", "POST", "/p", "abc"},
    {"fixed length with zero bytes", "POST / HTTP/1.1\r\nContent-Length: 4\r\n\r\na\0\0b"s,
     "POST / HTTP/1.1\r\nContent-Length: 4\r\n\r\na\0\0b"s, "POST", "/", "a\0\0b"s},
    {"chunked with extension and trailer",
     "POST / HTTP/1.1\r\nTransfer-Encoding: Chunked\r\n\r\n3;x=y\r\nabc\r\nA\r\n0123456789\r\n"
     "0\r\nX-T: 1\r\n\r\nnext",
     "POST / HTTP/1.1\r\nTransfer-Encoding: Chunked\r\n\r\n3;x=y\r\nabc\r\nA\r\n0123456789\r\n"
     "0\r\nX-T: 1\r\n\r\n",
     "POST", "/", "abc0123456789"},
    {"chunked, chunk holding CR LF",
     "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n4\r\n\r\n\r\n\r\n0\r\n\r\n",
     "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n4\r\n\r\n\r\n\r\n0\r\n\r\n", "POST", "/",
     "\r\n\r\n"},
};

TEST(ParseRequest, ReadsTheFirstCompleteRequest) {
  for (const CompleteCase& c : kComplete) {
    SCOPED_TRACE(c.name);
    Request request;
    const ParseResult result = ParseRequest(c.input, request);
    ASSERT_EQ(result.status, ParseStatus::kComplete);
    EXPECT_EQ(result.length, c.request.size());
    EXPECT_EQ(request.raw, c.request);
    EXPECT_EQ(request.method, c.method);
    EXPECT_EQ(request.target, c.target);
    EXPECT_EQ(request.version, "HTTP/1.1");
    EXPECT_EQ(request.body, c.body);
  }
}

// Requests arrive in pieces of any size: no cut may be taken for a whole request.
TEST(ParseRequest, EveryCutShortOfTheEndIsIncomplete) {
  for (const CompleteCase& c : kComplete) {
    SCOPED_TRACE(c.name);
    for (std::size_t cut = 0; cut < c.request.size(); ++cut) {
      Request request;
      ASSERT_EQ(ParseRequest(std::string_view(c.request).substr(0, cut), request).status,
                ParseStatus::kIncomplete)
          << "cut at " << cut;
    }
  }
}

TEST(ParseRequest, RejectsBrokenFraming) {
  const struct {
    const char* name;
    std::string input;
  } cases[] = {
      {"length not a number", "POST / HTTP/1.1\r\nContent-Length: 3x\r\n\r\nabc"},
      {"chunk size not hex", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n"},
      {"chunk data overruns its size",
       "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n0\r\n\r\n"},
      {"endless head", "GET / HTTP/1.1\r\nX: " + std::string(2 << 20, 'a')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Request request;
    EXPECT_EQ(ParseRequest(c.input, request).status, ParseStatus::kMalformed);
  }
}

TEST(RequestHeader, FindsTheFirstLineOfThatNameInAnyCase) {
  Request request;
  ASSERT_EQ(
      ParseRequest("GET /Host: no HTTP/1.1\r\nX-A:  one \r\nx-a: two\r\nHost: h\r\n\r\n", request)
          .status,
      ParseStatus::kComplete);
  EXPECT_EQ(request.Header("X-A"), "one");
  EXPECT_EQ(request.Header("host"), "h");
  EXPECT_EQ(request.Header("Missing"), "");
}

}  // namespace
}  // namespace quorvant::loopback_http
