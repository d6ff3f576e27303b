#pragma once

#include <cstdint>

// The platform's HTTP client as the page fetch drives it: open, connect, open request, send,
// read, query the raw response headers, close, with the arguments and constants of the Windows
// Internet API. One implementation per platform (inet_linux.cpp, inet_windows.cpp). A null
// handle means failure; every handle that was opened is closed with Close, children first.
namespace quorvant::inet {

struct Object;
using Handle = Object*;

// Access types of Open.
inline constexpr std::int32_t kOpenTypeDirect = 1;
inline constexpr std::int32_t kOpenTypeProxy = 3;

// Request flags of OpenRequest.
inline constexpr std::uint32_t kFlagReload = 0x80000000;
inline constexpr std::uint32_t kFlagNeedFile = 0x00000010;
inline constexpr std::uint32_t kFlagNoCookies = 0x00080000;
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x00200000;
inline constexpr std::uint32_t kFlagSecure = 0x00800000;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x00004000;

// A session. `agent` null: no agent line; an agent is cut at its first line break, as a header
// value cannot hold one. With kOpenTypeProxy, `proxy` lists proxies as
// "host:port" (every scheme) or "scheme=host:port" entries separated by blanks or ";", and
// `proxyBypass` the hosts reached directly (empty: none).
Handle Open(const char* agent, std::int32_t accessType, const char* proxy, const char* proxyBypass);

// A connection to `server` at `port` over a session; port 0 is the scheme's default, a port
// outside 0..65535 fails.
Handle Connect(Handle internet, const char* server, std::int32_t port);

// A request for `object` (path and query) with the verb, the protocol version and the flags.
Handle OpenRequest(Handle connection, const char* verb, const char* object, const char* version,
                   std::uint32_t flags);

// Sends the request with its header lines (separated by CR LF, `headersLength` bytes) and data,
// and waits for the response headers. False when no response came.
bool SendRequest(Handle request, const char* headers, std::uint32_t headersLength, const void* data,
                 std::uint32_t dataLength);

// Reads up to `size` bytes of the response body into `buffer`. `*read` is zeroed first and
// stays 0 at the end of the body and on failure.
bool Read(Handle request, void* buffer, std::uint32_t size, std::uint32_t* read);

// Copies the final response's header block (status line and header lines, each ended by CR LF,
// then an empty line) and a NUL into `buffer` when they fit into `*length` bytes, and sets
// `*length` to the block's size. Otherwise the buffer stays untouched, `*length` becomes the
// size needed, and the result is false; also false when there is no response.
bool QueryRawHeaders(Handle request, char* buffer, std::uint32_t* length);

bool Close(Handle handle);

// The platform's own limits on a dead or silent server: how long a connection may take to be
// made, and how long a transfer may stall without any byte moving. Tests shorten them; the
// program keeps the defaults.
struct Timeouts {
  std::int32_t connectMilliseconds;
  std::int32_t stallMilliseconds;
};
inline constexpr Timeouts kDefaultTimeouts{60000, 30000};
// Applies to sessions opened afterwards.
void SetTimeouts(const Timeouts& timeouts);

// Handles opened and not yet closed, over the whole process; for tests.
std::int32_t OpenHandleCount();

}  // namespace quorvant::inet
