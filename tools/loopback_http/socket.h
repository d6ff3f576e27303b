#pragma once

#include <cstdint>
#include <string>
#include <string_view>
// The durations come with <thread>: <chrono> itself holds a literal that the execution
// character set (code page 936) cannot encode.
#include <thread>

// A TCP socket on 127.0.0.1 over POSIX sockets or Winsock, with the few operations the loopback
// server needs. Every wait is bounded, so a caller can look at its stop flag between waits.
namespace quorvant::loopback_http {

class Socket {
 public:
  Socket() = default;
  ~Socket();
  Socket(Socket&& other) noexcept;
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  // Listens on 127.0.0.1 at the port, an ephemeral one for 0; an invalid socket on failure.
  static Socket ListenOnLoopback(std::uint16_t port = 0);

  bool valid() const;
  // The local port, 0 when unknown.
  std::uint16_t LocalPort() const;

  enum class Wait { kReady, kTimedOut, kFailed };
  Wait WaitReadable(std::chrono::milliseconds limit) const;
  Wait WaitWritable(std::chrono::milliseconds limit) const;

  // Only after WaitReadable said kReady.
  Socket Accept() const;
  // Appends what arrived; 0 = the peer closed, -1 = failure.
  std::int64_t ReceiveSome(std::string& into) const;
  // Sends some of the bytes; the count sent, -1 on failure.
  std::int64_t SendSome(std::string_view bytes) const;

  // Ends the sending direction (FIN); the socket stays open for reading.
  void ShutdownSend() const;
  // Closes so that the peer sees a reset (RST) instead of an orderly end.
  void CloseWithReset();
  void Close();

 private:
#ifdef _WIN32
  using Native = std::uintptr_t;  // SOCKET
#else
  using Native = int;
#endif
  explicit Socket(Native native) : native_(native) {}
  Wait WaitFor(bool writable, std::chrono::milliseconds limit) const;

  Native native_ = kInvalid;
#ifdef _WIN32
  static constexpr Native kInvalid = ~Native{0};
#else
  static constexpr Native kInvalid = -1;
#endif
};

// Winsock must be started before any socket is made; a no-op on POSIX. Hold one while sockets
// live.
class SocketLibrary {
 public:
  SocketLibrary();
  ~SocketLibrary();
  SocketLibrary(const SocketLibrary&) = delete;
  SocketLibrary& operator=(const SocketLibrary&) = delete;
};

}  // namespace quorvant::loopback_http
