#include "tools/loopback_http/loopback_http.h"

#include <condition_variable>
#include <utility>

namespace quorvant::loopback_http {
namespace {

// How long any wait inside the server lasts before it looks at the stop flag again.
constexpr std::chrono::milliseconds kTick{20};
// How long an orderly close waits for the peer to finish sending, so that unread bytes do not
// turn the close into a reset.
constexpr std::chrono::milliseconds kCloseDrain{500};

}  // namespace

class Stopping {
 public:
  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }
  bool stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
  }
  // Waits for the stop or for `duration`; true when stopped.
  bool WaitFor(std::chrono::milliseconds duration) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, duration, [this] { return stopped_; });
  }
  void WaitForever() const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopped_; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool stopped_ = false;
};

bool Reply::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    if (ended() || stopping_.stopped()) return false;
    const Socket::Wait wait = socket_.WaitWritable(kTick);
    if (wait == Socket::Wait::kTimedOut) continue;
    if (wait == Socket::Wait::kFailed) return false;
    const std::int64_t sent = socket_.SendSome(bytes);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return !ended();
}

void Reply::Pause(std::chrono::milliseconds duration) {
  stopping_.WaitFor(duration);
}

void Reply::Close() {
  if (ended()) return;
  socket_.ShutdownSend();
  std::string discarded;
  for (auto waited = std::chrono::milliseconds{0}; waited < kCloseDrain; waited += kTick) {
    const Socket::Wait wait = socket_.WaitReadable(kTick);
    if (wait == Socket::Wait::kFailed) break;
    if (wait == Socket::Wait::kReady && socket_.ReceiveSome(discarded) <= 0) break;
    discarded.clear();
  }
  socket_.Close();
}

void Reply::Reset() {
  socket_.CloseWithReset();
}

void Reply::HoldUntilStopped() {
  stopping_.WaitForever();
}

Server::Server(Handler handler, std::uint16_t port)
    : handler_(std::move(handler)),
      stopping_(std::make_unique<Stopping>()),
      listener_(Socket::ListenOnLoopback(port)) {
  port_ = listener_.LocalPort();
  if (listener_.valid()) acceptor_ = std::thread(&Server::AcceptLoop, this);
}

Server::~Server() {
  stopping_->Stop();
  if (acceptor_.joinable()) acceptor_.join();
  for (Worker& worker : workers_) worker.thread.join();
}

std::string Server::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> Server::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void Server::AcceptLoop() {
  while (!stopping_->stopped()) {
    const Socket::Wait wait = listener_.WaitReadable(kTick);
    if (wait == Socket::Wait::kFailed) break;
    if (wait == Socket::Wait::kTimedOut) continue;
    Socket connection = listener_.Accept();
    if (!connection.valid()) continue;
    ++connections_;
    JoinFinishedWorkers();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    workers_.push_back(Worker{std::thread([this, finished, s = std::move(connection)]() mutable {
                                Serve(std::move(s));
                                *finished = true;
                              }),
                              finished});
  }
}

void Server::JoinFinishedWorkers() {
  std::erase_if(workers_, [](Worker& worker) {
    if (!*worker.finished) return false;
    worker.thread.join();
    return true;
  });
}

void Server::Serve(Socket socket) {
  Reply reply(socket, *stopping_);
  std::string buffered;
  while (!reply.ended() && !stopping_->stopped()) {
    Request request;
    const ParseResult parsed = ParseRequest(buffered, request);
    if (parsed.status == ParseStatus::kMalformed) break;
    if (parsed.status == ParseStatus::kIncomplete) {
      const Socket::Wait wait = socket.WaitReadable(kTick);
      if (wait == Socket::Wait::kTimedOut) continue;
      if (wait == Socket::Wait::kFailed || socket.ReceiveSome(buffered) <= 0) break;
      continue;
    }
    buffered.erase(0, parsed.length);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request.raw);
    }
    handler_(request, reply);
  }
}

}  // namespace quorvant::loopback_http
