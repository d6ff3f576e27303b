// The page fetch through a real HTTP proxy: Debian's tinyproxy, started on a loopback port with
// a configuration of the test's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "tools/loopback_http/loopback_http.h"
#include "web/fetch_page.h"
#include "web/inet.h"
#include "web/tests/wire_request.h"

extern char** environ;

namespace quorvant {
namespace {

using loopback_http::Reply;
using loopback_http::Request;
using loopback_http::Server;

constexpr char kProxyName[] = "quorvant-test-proxy";

std::optional<std::filesystem::path> FindTinyproxy() {
  for (const char* directory : {"/usr/bin", "/usr/sbin", "/usr/local/bin", "/usr/local/sbin"}) {
    const std::filesystem::path candidate = std::filesystem::path(directory) / "tinyproxy";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

// A port that was free a moment ago: a server is started on an ephemeral one and stopped.
std::uint16_t FreeLoopbackPort() {
  const Server probe([](const Request&, Reply&) {});
  return probe.Port();
}

// tinyproxy in the foreground with its own configuration in a temporary folder; stopped and
// cleaned up when it goes.
class Tinyproxy {
 public:
  Tinyproxy(const std::filesystem::path& binary, std::uint16_t port) : port_(port) {
    std::string folder = (std::filesystem::temp_directory_path() / "quorvant-proxy-XXXXXX");
    if (mkdtemp(folder.data()) == nullptr) return;
    folder_ = folder;
    const std::filesystem::path config = folder_ / "tinyproxy.conf";
    std::ofstream(config) << "Port " << port << "\n"
                          << "Listen 127.0.0.1\n"
                          << "Allow 127.0.0.1\n"
                          << "Timeout 10\n"
                          << "MaxClients 8\n"
                          << "ViaProxyName \"" << kProxyName << "\"\n"
                          << "LogFile \"" << (folder_ / "tinyproxy.log").string() << "\"\n"
                          << "LogLevel Info\n";
    const std::string binaryText = binary.string();
    const std::string configText = config.string();
    char* const arguments[] = {const_cast<char*>(binaryText.c_str()), const_cast<char*>("-d"),
                               const_cast<char*>("-c"), const_cast<char*>(configText.c_str()),
                               nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string output = (folder_ / "output.txt").string();
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (posix_spawn(&pid_, binaryText.c_str(), &actions, nullptr, arguments, environ) != 0) {
      pid_ = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Tinyproxy() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  Tinyproxy(const Tinyproxy&) = delete;
  Tinyproxy& operator=(const Tinyproxy&) = delete;

  bool started() const { return pid_ > 0; }
  Text address() const { return Text("127.0.0.1:" + std::to_string(port_)); }

 private:
  std::uint16_t port_;
  std::filesystem::path folder_;
  pid_t pid_ = 0;
};

class FetchPageProxy : public testing::Test {
 protected:
  void SetUp() override { inet::SetTimeouts({2000, 2000}); }
  void TearDown() override {
    inet::SetTimeouts(inet::kDefaultTimeouts);
    EXPECT_EQ(inet::OpenHandleCount(), 0) << "a handle was left open";
  }
};

TEST_F(FetchPageProxy, PlainFetchGoesThroughTheProxy) {
  const std::optional<std::filesystem::path> binary = FindTinyproxy();
  if (!binary) GTEST_SKIP() << "tinyproxy is not installed (Debian package tinyproxy)";

  Server origin([](const Request&, Reply& reply) {
    reply.Send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\norigin");
  });
  const std::uint16_t port = FreeLoopbackPort();
  const Tinyproxy proxy(*binary, port);
  ASSERT_TRUE(proxy.started());
  const Text url(origin.Url("/through-proxy?a=1"));

  // The proxy takes a moment to listen: a bounded number of tries.
  Bytes body;
  for (int attempt = 0; attempt < 50 && body.empty(); ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    body = FetchPage(url, 0, {}, {}, {}, {}, {}, false, {}, proxy.address());
  }
  EXPECT_EQ(body.view(), "origin");
  ASSERT_FALSE(origin.Requests().empty());
  const WireRequest forwarded = DissectRequest(origin.Requests().back());
  EXPECT_EQ(forwarded.requestLine, "GET /through-proxy?a=1 HTTP/1.1");
  ASSERT_EQ(forwarded.Values("Via").size(), 1u);
  EXPECT_NE(forwarded.Values("Via").front().find(kProxyName), std::string::npos);

  // A direct fetch bypasses it.
  EXPECT_EQ(FetchPage(url).view(), "origin");
  EXPECT_TRUE(DissectRequest(origin.Requests().back()).Values("Via").empty());
}

TEST_F(FetchPageProxy, DeadProxyGivesNothing) {
  Server origin([](const Request&, Reply& reply) {
    reply.Send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\norigin");
  });
  const Text deadProxy("127.0.0.1:" + std::to_string(FreeLoopbackPort()));
  Text responseHeaders;
  EXPECT_TRUE(
      FetchPage(Text(origin.Url("/")), 0, {}, {}, {}, {}, responseHeaders, false, {}, deadProxy)
          .empty());
  EXPECT_EQ(origin.ConnectionCount(), 0);
}

}  // namespace
}  // namespace quorvant
