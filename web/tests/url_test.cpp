#include "web/url.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace quorvant {
namespace {

TEST(UrlDissection, StandardModeAndTheOtherRoutines) {
  const struct {
    Text url;
    Text host;
    Text hostWithPort;
    Text rootDomain;
    std::int32_t port;
    Text path;
  } cases[] = {
      {"http://app.example.com/a/b?x=1", "app.example.com", "app.example.com", "example.com", 80,
       "/a/b?x=1"},
      {"HTTP://API.Example.COM:8080/Path?Q=1", "api.example.com", "api.example.com:8080",
       "example.com", 8080, "/Path?Q=1"},
      {"https://a.b.example.com", "a.b.example.com", "a.b.example.com", "example.com", 443, "/"},
      {"example.com", "example.com", "example.com", "example.com", 80, "/"},
      {"example.com:81", "example.com", "example.com:81", "example.com", 81, "/"},
      {"http://192.168.1.10:8080/", "192.168.1.10", "192.168.1.10:8080", "1.10", 8080, "/"},
      {"http://localhost/", "localhost", "localhost", "localhost", 80, "/"},
      {"app.example.com/?u=http://other.example/x", "other.example", "other.example",
       "other.example", 80, "/x"},
      {"https://example.com.", "example.com.", "example.com.", "example.com", 443, "/"},
      {"ftp://files.example.com/pub", "ftp", "ftp:", "ftp", 0, "//files.example.com/pub"},
      {"", "", "", "", 80, "/"},
      {"http://", "", "", "", 80, "//"},
      // No user information is recognised: the host ends at the first colon, the port is read
      // after the last one.
      {"http://user:pw@example.com:8081/p", "user", "user:pw@example.com:8081", "user", 8081, "/p"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url.c_str());
    EXPECT_EQ(HostOfUrl(c.url), c.host);
    EXPECT_EQ(HostOfUrl(c.url, false, true), c.hostWithPort);
    EXPECT_EQ(HostOfUrl(c.url, true), c.rootDomain);
    EXPECT_EQ(PortOfUrl(c.url), c.port);
    EXPECT_EQ(PathOfUrl(c.url), c.path);
  }
}

TEST(UrlDissection, LevelMode) {
  const struct {
    Text url;
    std::int32_t levels;
    Text host;
    Text rootDomain;
    Text hostWithPort;
  } cases[] = {
      {"https://a.b.example.com", 0, "example.com", "com", "example.com"},
      {"https://a.b.example.com", 1, "b.example.com", "example.com", "b.example.com"},
      {"https://a.b.example.com", 2, "a.b.example.com", "b.example.com", "a.b.example.com"},
      {"HTTP://API.Example.COM:8080/Path", 0, "example.com", "com", "example.com:8080"},
      {"HTTP://API.Example.COM:8080/Path", 1, "api.example.com", "example.com",
       "api.example.com:8080"},
      {"http://192.168.1.10:8080/", 1, "168.1.10", "1.10", "168.1.10:8080"},
      {"example.com", 1, "example.com", "example.com", "example.com"},
      {"http://localhost/", 0, "localhost", "localhost", "localhost"},
      {"https://example.com.", 0, "example.com.", "com.", "example.com."},
      // A negative count is 0; a count beyond the labels keeps the whole host.
      {"https://a.b.example.com", -3, "example.com", "com", "example.com"},
      {"https://a.b.example.com", std::numeric_limits<std::int32_t>::max(), "a.b.example.com",
       "a.b.example.com", "a.b.example.com"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.url.c_str() << " levels " << c.levels);
    EXPECT_EQ(HostOfUrl(c.url, false, false, c.levels), c.host);
    EXPECT_EQ(HostOfUrl(c.url, true, false, c.levels), c.rootDomain);
    EXPECT_EQ(HostOfUrl(c.url, false, true, c.levels), c.hostWithPort);
  }
}

// An omitted level count and a count of 0 select different modes.
TEST(UrlDissection, OmittedLevelsDifferFromZero) {
  EXPECT_EQ(HostOfUrl("https://a.b.example.com"), "a.b.example.com");
  EXPECT_EQ(HostOfUrl("https://a.b.example.com", false, false, 0), "example.com");
}

}  // namespace
}  // namespace quorvant
