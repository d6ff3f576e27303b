#include "tools/loopback_http/socket.h"

#include <utility>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quorvant::loopback_http {
namespace {

#ifdef _WIN32
using NativeSocket = SOCKET;
using AddressLength = int;
constexpr int kSendFlags = 0;
constexpr int kShutdownSend = SD_SEND;
int PollSockets(WSAPOLLFD* fds, ULONG count, int timeout) {
  return WSAPoll(fds, count, timeout);
}
using PollEntry = WSAPOLLFD;
void CloseNative(NativeSocket socket) {
  closesocket(socket);
}
#else
using NativeSocket = int;
using AddressLength = socklen_t;
// A peer that has gone must give an error, not kill the test process with SIGPIPE.
constexpr int kSendFlags = MSG_NOSIGNAL;
constexpr int kShutdownSend = SHUT_WR;
int PollSockets(pollfd* fds, nfds_t count, int timeout) {
  return poll(fds, count, timeout);
}
using PollEntry = pollfd;
void CloseNative(NativeSocket socket) {
  close(socket);
}
#endif

// Single reads and writes are capped so that counts fit every platform's int.
constexpr std::size_t kMaxTransfer = 1 << 20;

}  // namespace

Socket::~Socket() {
  Close();
}

Socket::Socket(Socket&& other) noexcept : native_(std::exchange(other.native_, kInvalid)) {}

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    Close();
    native_ = std::exchange(other.native_, kInvalid);
  }
  return *this;
}

Socket Socket::ListenOnLoopback(std::uint16_t port) {
  Socket listener(static_cast<Native>(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)));
  if (!listener.valid()) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  const auto native = static_cast<NativeSocket>(listener.native_);
#ifndef _WIN32
  // A fixed port must be free again at once after a previous run's connections (TIME_WAIT).
  // Winsock's SO_REUSEADDR would let two listeners share the port, so it is left alone there.
  const int reuse = 1;
  setsockopt(native, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
#endif
  if (bind(native, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(native, SOMAXCONN) != 0) {
    return {};
  }
  return listener;
}

bool Socket::valid() const {
  return native_ != kInvalid;
}

std::uint16_t Socket::LocalPort() const {
  sockaddr_in address{};
  AddressLength length = sizeof address;
  if (!valid() || getsockname(static_cast<NativeSocket>(native_),
                              reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return 0;
  }
  return ntohs(address.sin_port);
}

Socket::Wait Socket::WaitFor(bool writable, std::chrono::milliseconds limit) const {
  if (!valid()) return Wait::kFailed;
  PollEntry entry{};
  entry.fd = static_cast<NativeSocket>(native_);
  entry.events = writable ? POLLOUT : POLLIN;
  const int ready = PollSockets(&entry, 1, static_cast<int>(limit.count()));
  if (ready < 0) return Wait::kFailed;
  if (ready == 0) return Wait::kTimedOut;
  // Errors and hang-ups count as ready: the following read or write reports them.
  return Wait::kReady;
}

Socket::Wait Socket::WaitReadable(std::chrono::milliseconds limit) const {
  return WaitFor(false, limit);
}

Socket::Wait Socket::WaitWritable(std::chrono::milliseconds limit) const {
  return WaitFor(true, limit);
}

Socket Socket::Accept() const {
  if (!valid()) return {};
  return Socket(static_cast<Native>(accept(static_cast<NativeSocket>(native_), nullptr, nullptr)));
}

std::int64_t Socket::ReceiveSome(std::string& into) const {
  if (!valid()) return -1;
  char buffer[64 * 1024];
  const auto received = recv(static_cast<NativeSocket>(native_), buffer, sizeof buffer, 0);
  if (received > 0) into.append(buffer, static_cast<std::size_t>(received));
  return received < 0 ? -1 : static_cast<std::int64_t>(received);
}

std::int64_t Socket::SendSome(std::string_view bytes) const {
  if (!valid()) return -1;
  const std::size_t size = bytes.size() < kMaxTransfer ? bytes.size() : kMaxTransfer;
  const auto sent =
      send(static_cast<NativeSocket>(native_), bytes.data(), static_cast<int>(size), kSendFlags);
  return sent < 0 ? -1 : static_cast<std::int64_t>(sent);
}

void Socket::ShutdownSend() const {
  if (valid()) shutdown(static_cast<NativeSocket>(native_), kShutdownSend);
}

void Socket::CloseWithReset() {
  if (!valid()) return;
  linger abortive{};
  abortive.l_onoff = 1;
  abortive.l_linger = 0;
  setsockopt(static_cast<NativeSocket>(native_), SOL_SOCKET, SO_LINGER,
             reinterpret_cast<const char*>(&abortive), sizeof abortive);
  Close();
}

void Socket::Close() {
  if (valid()) CloseNative(static_cast<NativeSocket>(std::exchange(native_, kInvalid)));
}

SocketLibrary::SocketLibrary() {
#ifdef _WIN32
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
#endif
}

SocketLibrary::~SocketLibrary() {
#ifdef _WIN32
  WSACleanup();
#endif
}

}  // namespace quorvant::loopback_http
