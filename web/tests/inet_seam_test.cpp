// The platform HTTP client's own contract, as the page fetch relies on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/loopback_http/loopback_http.h"
#include "web/inet.h"

namespace quorvant {
namespace {

using loopback_http::Reply;
using loopback_http::Request;
using loopback_http::Server;
using namespace std::chrono_literals;

constexpr char kHead[] = "HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n";

// A session, connection and request to a loopback server, sent; closed in reverse order.
class SentRequest {
 public:
  explicit SentRequest(const Server& server)
      : internet_(inet::Open("agent", inet::kOpenTypeDirect, nullptr, nullptr)),
        connection_(inet::Connect(internet_, "127.0.0.1", server.Port())),
        request_(inet::OpenRequest(connection_, "GET", "/seam", "HTTP/1.1", inet::kFlagReload)) {
    inet::SendRequest(request_, "", 0, nullptr, 0);
  }
  ~SentRequest() {
    inet::Close(request_);
    inet::Close(connection_);
    inet::Close(internet_);
  }
  SentRequest(const SentRequest&) = delete;
  SentRequest& operator=(const SentRequest&) = delete;

  inet::Handle request() const { return request_; }

 private:
  inet::Handle internet_;
  inet::Handle connection_;
  inet::Handle request_;
};

class InetSeam : public testing::Test {
 protected:
  void SetUp() override { inet::SetTimeouts({2000, 1000}); }
  void TearDown() override {
    inet::SetTimeouts(inet::kDefaultTimeouts);
    EXPECT_EQ(inet::OpenHandleCount(), 0) << "a handle was left open";
  }
};

// A body that trickles in small pieces still fills each read up to the end, so that a reader
// grows its buffer in equal steps.
TEST_F(InetSeam, ReadFillsTheBufferUntilTheBodyEnds) {
  Server server([](const Request&, Reply& reply) {
    reply.Send(kHead);
    for (int piece = 0; piece < 30; ++piece) {
      reply.Send(std::string(100, 'a'));
      reply.Pause(2ms);
    }
  });
  const SentRequest sent(server);
  std::vector<std::uint32_t> counts;
  char buffer[1024];
  for (std::uint32_t read = 1; read != 0;) {
    inet::Read(sent.request(), buffer, sizeof buffer, &read);
    counts.push_back(read);
  }
  EXPECT_EQ(counts, (std::vector<std::uint32_t>{1024, 1024, 952, 0}));
}

TEST_F(InetSeam, RawHeadersFitOrLeaveTheBufferAlone) {
  Server server([](const Request&, Reply& reply) { reply.Send(kHead + std::string(3000, 'b')); });
  const SentRequest sent(server);
  const std::string head = kHead;

  std::string small(head.size(), '#');  // no room for the NUL
  std::uint32_t length = static_cast<std::uint32_t>(small.size());
  EXPECT_FALSE(inet::QueryRawHeaders(sent.request(), small.data(), &length));
  EXPECT_EQ(small, std::string(head.size(), '#'));
  EXPECT_EQ(length, head.size() + 1);

  std::string exact(head.size() + 1, '#');
  length = static_cast<std::uint32_t>(exact.size());
  EXPECT_TRUE(inet::QueryRawHeaders(sent.request(), exact.data(), &length));
  EXPECT_EQ(exact, head + '\0');
  EXPECT_EQ(length, head.size());
}

TEST_F(InetSeam, HandlesCloseOnce) {
  const inet::Handle internet = inet::Open("agent", inet::kOpenTypeDirect, nullptr, nullptr);
  ASSERT_NE(internet, nullptr);
  EXPECT_EQ(inet::OpenHandleCount(), 1);
  EXPECT_TRUE(inet::Close(internet));
  EXPECT_FALSE(inet::Close(internet));
  EXPECT_FALSE(inet::Close(nullptr));
}

}  // namespace
}  // namespace quorvant
