#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tools/loopback_http/request.h"
#include "tools/loopback_http/socket.h"

// An HTTP server for tests that listens on 127.0.0.1 at an ephemeral port, records the raw bytes
// of every request and lets a handler answer with exact bytes and faults.
//
//   loopback_http::Server server([](const loopback_http::Request& request,
//                                   loopback_http::Reply& reply) {
//     reply.Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
//   });
//   Fetch(server.Url("/path?x=1"));
//   server.Requests();  // raw bytes of each request, in arrival order
//
// Each connection runs on its own thread and the handler is called once per complete request
// (head plus a Content-Length or chunked body). After the handler returns, the connection waits
// for the next request unless the handler ended it. Faults: Reply::Pause (delay),
// Reply::Close (orderly end, e.g. mid-body), Reply::Reset (RST through SO_LINGER 0),
// Reply::HoldUntilStopped (never answer). The destructor stops every connection and joins its
// threads; no wait inside the server outlasts a stop by more than a few tens of milliseconds.
namespace quorvant::loopback_http {

class Stopping;

// The handler's side of one connection.
class Reply {
 public:
  // Writes all of the bytes; false when the peer has gone, the connection was ended, or the
  // server is stopping.
  bool Send(std::string_view bytes);
  // Waits, ending early when the server stops.
  void Pause(std::chrono::milliseconds duration);
  // Ends the connection in order after what was sent (the peer reads an end of data).
  void Close();
  // Ends the connection abortively: the peer reads a connection reset.
  void Reset();
  // Answers nothing and keeps the connection open until the server stops.
  void HoldUntilStopped();

  bool ended() const { return !socket_.valid(); }

 private:
  friend class Server;
  Reply(Socket& socket, const Stopping& stopping) : socket_(socket), stopping_(stopping) {}
  Socket& socket_;
  const Stopping& stopping_;
};

using Handler = std::function<void(const Request& request, Reply& reply)>;

class Server {
 public:
  // Listens at the port, an ephemeral one for 0.
  explicit Server(Handler handler, std::uint16_t port = 0);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // 0 when the server could not listen.
  std::uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by the path.
  std::string Url(std::string_view path = "/") const;
  // The raw bytes of every complete request received so far, in arrival order.
  std::vector<std::string> Requests() const;
  // Connections accepted so far.
  int ConnectionCount() const { return connections_.load(); }

 private:
  void AcceptLoop();
  void Serve(Socket socket);

  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished;
  };
  // Joins the connection threads that have ended, so a long-running server does not pile
  // them up.
  void JoinFinishedWorkers();

  SocketLibrary library_;
  Handler handler_;
  std::unique_ptr<Stopping> stopping_;
  Socket listener_;
  std::uint16_t port_ = 0;
  std::atomic<int> connections_{0};

  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<Worker> workers_;  // touched only by the accepting thread and the destructor
  std::thread acceptor_;
};

}  // namespace quorvant::loopback_http
