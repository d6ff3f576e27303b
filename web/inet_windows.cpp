// The inet seam over WinINet. The library is loaded and its functions are found by name when
// the first of them is needed, so the program does not import wininet.dll.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <string_view>

#include "web/inet.h"

namespace quorvant::inet {
namespace {

// The WinINet functions the seam calls; a member is null when it could not be found.
struct WinInet {
  decltype(&InternetOpenA) open = nullptr;
  decltype(&InternetConnectA) connect = nullptr;
  decltype(&HttpOpenRequestA) openRequest = nullptr;
  decltype(&HttpSendRequestA) sendRequest = nullptr;
  decltype(&InternetReadFile) readFile = nullptr;
  decltype(&HttpQueryInfoA) queryInfo = nullptr;
  decltype(&InternetCloseHandle) closeHandle = nullptr;
  decltype(&InternetSetOptionA) setOption = nullptr;
};

template <typename Function>
void Bind(HMODULE library, const char* name, Function& function) {
  // Through the generic function type, which converts to any other without complaint.
  function =
      reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

WinInet LoadWinInet() {
  WinInet api;
  // Kept loaded for the life of the process.
  const HMODULE library = LoadLibraryA("wininet.dll");
  if (library == nullptr) return api;
  Bind(library, "InternetOpenA", api.open);
  Bind(library, "InternetConnectA", api.connect);
  Bind(library, "HttpOpenRequestA", api.openRequest);
  Bind(library, "HttpSendRequestA", api.sendRequest);
  Bind(library, "InternetReadFile", api.readFile);
  Bind(library, "HttpQueryInfoA", api.queryInfo);
  Bind(library, "InternetCloseHandle", api.closeHandle);
  Bind(library, "InternetSetOptionA", api.setOption);
  return api;
}

const WinInet& Api() {
  static const WinInet api = LoadWinInet();
  return api;
}

Handle ToHandle(HINTERNET handle) {
  return reinterpret_cast<Handle>(handle);
}
HINTERNET ToHinternet(Handle handle) {
  return reinterpret_cast<HINTERNET>(handle);
}

std::atomic<std::int32_t> gOpenHandles{0};
std::atomic<std::int32_t> gConnectMilliseconds{kDefaultTimeouts.connectMilliseconds};
std::atomic<std::int32_t> gStallMilliseconds{kDefaultTimeouts.stallMilliseconds};

Handle Counted(HINTERNET handle) {
  if (handle != nullptr) ++gOpenHandles;
  return ToHandle(handle);
}

// WinINet's own limits are the defaults; only a test's other values are set, on every handle,
// as not every WinINet passes a session's limits on to its requests.
void ApplyTimeouts(HINTERNET handle) {
  const WinInet& api = Api();
  if (api.setOption == nullptr) return;
  const auto set = [&](DWORD option, std::int32_t milliseconds) {
    DWORD value = static_cast<DWORD>(milliseconds);
    api.setOption(handle, option, &value, sizeof value);
  };
  const std::int32_t connect = gConnectMilliseconds;
  const std::int32_t stall = gStallMilliseconds;
  if (connect != kDefaultTimeouts.connectMilliseconds) {
    set(INTERNET_OPTION_CONNECT_TIMEOUT, connect);
  }
  if (stall != kDefaultTimeouts.stallMilliseconds) {
    set(INTERNET_OPTION_SEND_TIMEOUT, stall);
    set(INTERNET_OPTION_RECEIVE_TIMEOUT, stall);
  }
}

}  // namespace

Handle Open(const char* agent, std::int32_t accessType, const char* proxy,
            const char* proxyBypass) {
  const WinInet& api = Api();
  if (api.open == nullptr) return nullptr;
  const HINTERNET session = api.open(agent, static_cast<DWORD>(accessType), proxy, proxyBypass, 0);
  if (session != nullptr) ApplyTimeouts(session);
  return Counted(session);
}

Handle Connect(Handle internet, const char* server, std::int32_t port) {
  const WinInet& api = Api();
  if (api.connect == nullptr || port < 0 || port > 65535) return nullptr;
  const HINTERNET connection =
      api.connect(ToHinternet(internet), server, static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                  INTERNET_SERVICE_HTTP, 0, 0);
  if (connection != nullptr) ApplyTimeouts(connection);
  return Counted(connection);
}

Handle OpenRequest(Handle connection, const char* verb, const char* object, const char* version,
                   std::uint32_t flags) {
  const WinInet& api = Api();
  if (api.openRequest == nullptr) return nullptr;
  const HINTERNET request =
      api.openRequest(ToHinternet(connection), verb, object, version, nullptr, nullptr, flags, 0);
  if (request != nullptr) ApplyTimeouts(request);
  return Counted(request);
}

bool SendRequest(Handle request, const char* headers, std::uint32_t headersLength, const void* data,
                 std::uint32_t dataLength) {
  const WinInet& api = Api();
  if (api.sendRequest == nullptr) return false;
  // WinINet only reads the data, whatever its declaration says.
  return api.sendRequest(ToHinternet(request), headers, headersLength, const_cast<void*>(data),
                         dataLength) != FALSE;
}

bool Read(Handle request, void* buffer, std::uint32_t size, std::uint32_t* read) {
  *read = 0;
  const WinInet& api = Api();
  if (api.readFile == nullptr) return false;
  DWORD count = 0;
  const bool ok = api.readFile(ToHinternet(request), buffer, size, &count) != FALSE;
  *read = ok ? count : 0;
  return ok;
}

// A raw header block begins with the status line. Some WinINet versions answer the query for a
// request that got no response with an empty block; that is no response, and the caller's
// buffer must stay untouched, so the block is taken into a buffer of its own first.
bool QueryRawHeaders(Handle request, char* buffer, std::uint32_t* length) {
  const WinInet& api = Api();
  if (api.queryInfo == nullptr) return false;
  std::string block(*length, '\0');
  DWORD size = *length;
  const bool ok = api.queryInfo(ToHinternet(request), HTTP_QUERY_RAW_HEADERS_CRLF, block.data(),
                                &size, nullptr) != FALSE;
  if (!ok) {
    *length = size;
    return false;
  }
  if (std::string_view(block.data(), size).substr(0, 5) != "HTTP/") return false;
  std::memcpy(buffer, block.data(), std::min<std::size_t>(size + 1, *length));
  *length = size;
  return true;
}

bool Close(Handle handle) {
  const WinInet& api = Api();
  if (api.closeHandle == nullptr || handle == nullptr) return false;
  const bool closed = api.closeHandle(ToHinternet(handle)) != FALSE;
  if (closed) --gOpenHandles;
  return closed;
}

void SetTimeouts(const Timeouts& timeouts) {
  gConnectMilliseconds = timeouts.connectMilliseconds;
  gStallMilliseconds = timeouts.stallMilliseconds;
}

std::int32_t OpenHandleCount() {
  return gOpenHandles;
}

}  // namespace quorvant::inet
