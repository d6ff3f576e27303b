// The inet seam over libcurl. A request is one easy handle driven by its own multi handle, so
// that the body can be handed out piece by piece as it arrives, the way the Windows client
// reads it, instead of being held whole a second time.
#include <curl/curl.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "web/inet.h"

namespace quorvant::inet {

struct Object {
  virtual ~Object() = default;
};

namespace {

// One move-only owner per kind of libcurl handle.
struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiCleanup {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ShareCleanup {
  void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
struct SlistCleanup {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHolder = std::unique_ptr<CURL, EasyCleanup>;
using MultiHolder = std::unique_ptr<CURLM, MultiCleanup>;
using ShareHolder = std::unique_ptr<CURLSH, ShareCleanup>;
using SlistHolder = std::unique_ptr<curl_slist, SlistCleanup>;

// Body bytes buffered beyond this pause the transfer until the reader catches up.
constexpr std::size_t kPendingLimit = 512 * 1024;
// As large as the curl program's own receive buffer: fewer, larger reads from the socket.
constexpr long kReceiveBufferSize = 100 * 1024;
constexpr int kPollMilliseconds = 1000;
constexpr long kMaxRedirects = 20;

std::int64_t NowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

bool CurlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

// Handles handed out and not yet closed: lets every operation refuse a stale or foreign handle
// and lets tests check that each one was closed.
class Registry {
 public:
  static Registry& Instance() {
    static Registry registry;
    return registry;
  }
  Handle Add(std::unique_ptr<Object> object) {
    std::lock_guard lock(mutex_);
    live_.insert(object.get());
    return object.release();
  }
  template <class Kind>
  Kind* Find(Handle handle) {
    std::lock_guard lock(mutex_);
    return live_.contains(handle) ? dynamic_cast<Kind*>(handle) : nullptr;
  }
  std::unique_ptr<Object> Remove(Handle handle) {
    std::lock_guard lock(mutex_);
    return std::unique_ptr<Object>(live_.erase(handle) == 1 ? handle : nullptr);
  }
  std::int32_t Count() {
    std::lock_guard lock(mutex_);
    return static_cast<std::int32_t>(live_.size());
  }

 private:
  std::mutex mutex_;
  std::unordered_set<Object*> live_;
};

// The cookie store of sessions that do not manage cookies themselves: it lives as long as the
// process, as the Windows client's does.
class CookieStore {
 public:
  static CURLSH* Shared() {
    static CookieStore store;
    return store.share_.get();
  }

 private:
  CookieStore() : share_(curl_share_init()) {
    if (!share_) return;
    curl_share_setopt(share_.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(share_.get(), CURLSHOPT_LOCKFUNC, &CookieStore::Lock);
    curl_share_setopt(share_.get(), CURLSHOPT_UNLOCKFUNC, &CookieStore::Unlock);
    curl_share_setopt(share_.get(), CURLSHOPT_USERDATA, this);
  }
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* store) {
    static_cast<CookieStore*>(store)->mutexes_[data].lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* store) {
    static_cast<CookieStore*>(store)->mutexes_[data].unlock();
  }

  std::mutex mutexes_[CURL_LOCK_DATA_LAST];
  ShareHolder share_;
};

std::atomic<std::int32_t> gConnectMilliseconds{kDefaultTimeouts.connectMilliseconds};
std::atomic<std::int32_t> gStallMilliseconds{kDefaultTimeouts.stallMilliseconds};

char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> SplitAny(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> pieces;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find_first_of(separators, at), text.size());
    if (end > at) pieces.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return pieces;
}

// The proxy of a proxy list that serves `scheme`: a "scheme=host:port" entry for it, else the
// first bare entry; empty when none applies.
std::string ProxyForScheme(std::string_view list, std::string_view scheme) {
  std::string_view bare;
  for (const std::string_view entry : SplitAny(list, " ;")) {
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      if (bare.empty()) bare = entry;
    } else if (entry.substr(0, equals).size() == scheme.size() &&
               StartsWithIgnoringCase(entry, scheme)) {
      return std::string(entry.substr(equals + 1));
    }
  }
  return std::string(bare);
}

// A host name that a URL parser cannot read as anything else: no user information, port, path
// or blank can hide in it.
bool IsPlainHostName(std::string_view host) {
  if (host.empty()) return false;
  return std::none_of(host.begin(), host.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F || std::strchr("@:/\\?#[]%", c) != nullptr;
  });
}

// Blanks, control bytes and bytes above 127 are not allowed in a request target as they are.
std::string EscapeTarget(std::string_view object) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : object) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    } else {
      escaped += c;
    }
  }
  return escaped.empty() || escaped.front() != '/' ? "/" + escaped : escaped;
}

// The caller's header block as libcurl takes it: one entry per non-empty line. A line with a
// name and no value is written "Name;", because libcurl reads "Name:" as "do not send Name".
std::vector<std::string> HeaderEntries(std::string_view block) {
  std::vector<std::string> entries;
  for (const std::string_view line : SplitAny(block, "\r\n")) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || TrimBlanks(line.substr(0, colon)).empty()) continue;
    if (TrimBlanks(line.substr(colon + 1)).empty()) {
      entries.push_back(std::string(line.substr(0, colon)) + ";");
    } else {
      entries.emplace_back(line);
    }
  }
  return entries;
}

bool HasHeader(const std::vector<std::string>& entries, std::string_view name) {
  return std::any_of(entries.begin(), entries.end(), [name](const std::string& entry) {
    return StartsWithIgnoringCase(entry, name) && entry.size() > name.size() &&
           (entry[name.size()] == ':' || entry[name.size()] == ';');
  });
}

// The list keeps its first element as it grows, so the holder goes on owning it; on failure
// the list stays as it was.
bool AppendHeader(SlistHolder& list, const char* line) {
  curl_slist* const head = curl_slist_append(list.get(), line);
  if (head == nullptr) return false;
  if (head != list.get()) list.reset(head);
  return true;
}

struct SessionSettings {
  std::optional<std::string> agent;
  std::optional<std::string> proxyList;  // set for the proxy access type
  std::string proxyBypass;
  Timeouts timeouts{};
};

struct Session final : Object {
  SessionSettings settings;
};

struct Connection final : Object {
  SessionSettings settings;
  std::string server;
  std::int32_t port = 0;
};

class Request final : public Object {
 public:
  Request(const Connection& connection, std::string verb, std::string object, bool http10,
          std::uint32_t flags)
      : settings_(connection.settings),
        server_(connection.server),
        port_(connection.port),
        verb_(std::move(verb)),
        object_(std::move(object)),
        http10_(http10),
        flags_(flags),
        multi_(curl_multi_init()),
        easy_(curl_easy_init()) {}

  ~Request() override {
    if (added_) curl_multi_remove_handle(multi_.get(), easy_.get());
  }

  bool valid() const { return multi_ && easy_; }

  bool Send(std::string_view headers, std::string_view data) {
    if (sent_) return false;
    sent_ = true;
    data_ = data;
    if (!Configure(HeaderEntries(headers)) ||
        curl_multi_add_handle(multi_.get(), easy_.get()) != CURLM_OK) {
      done_ = true;
      return false;
    }
    added_ = true;
    while (!done_ && !finalHeaders_ && PendingSize() == 0) Drive();
    return blockComplete_;
  }

  // Fills the buffer unless the body ends first, as the Windows client's synchronous read
  // does; a reader that appends what it reads then grows by equal steps.
  std::uint32_t Read(void* buffer, std::uint32_t size) {
    if (!added_) return 0;
    auto* out = static_cast<char*>(buffer);
    std::uint32_t count = 0;
    while (count < size) {
      while (PendingSize() == 0 && !done_) Drive();
      if (PendingSize() == 0) break;
      const auto piece =
          static_cast<std::uint32_t>(std::min<std::size_t>(size - count, PendingSize()));
      std::memcpy(out + count, pending_.data() + pendingOffset_, piece);
      pendingOffset_ += piece;
      count += piece;
      if (pendingOffset_ == pending_.size()) {
        pending_.clear();
        pendingOffset_ = 0;
      }
    }
    return count;
  }

  bool failed() const { return done_ && result_ != CURLE_OK; }

  bool QueryRawHeaders(char* buffer, std::uint32_t* length) const {
    if (!blockComplete_) return false;
    const std::size_t needed = headerBlock_.size() + 1;
    if (needed > *length) {
      *length = static_cast<std::uint32_t>(needed);
      return false;
    }
    std::memcpy(buffer, headerBlock_.data(), headerBlock_.size());
    buffer[headerBlock_.size()] = '\0';
    *length = static_cast<std::uint32_t>(headerBlock_.size());
    return true;
  }

 private:
  bool following() const { return (flags_ & kFlagNoAutoRedirect) == 0; }
  std::size_t PendingSize() const { return pending_.size() - pendingOffset_; }

  // Every libcurl option of the seam is set here. The reload and need-file flags have nothing
  // to act on: libcurl keeps no cache.
  bool Configure(const std::vector<std::string>& headerEntries) {
    if (!IsPlainHostName(server_)) return false;
    const bool secure = (flags_ & kFlagSecure) != 0;
    const std::int32_t port = port_ != 0 ? port_ : (secure ? 443 : 80);
    const std::string url = std::string(secure ? "https://" : "http://") + server_ + ":" +
                            std::to_string(port) + EscapeTarget(object_);

    for (const std::string& entry : headerEntries) {
      if (!AppendHeader(headers_, entry.c_str())) return false;
    }
    // HTTP needs no "Expect: 100-continue"; libcurl would add it to larger uploads.
    if (!HasHeader(headerEntries, "Expect") && !AppendHeader(headers_, "Expect:")) return false;

    CURL* easy = easy_.get();
    CURLcode code = CURLE_OK;
    const auto set = [&](CURLoption option, auto value) {
      if (code == CURLE_OK) code = curl_easy_setopt(easy, option, value);
    };
    set(CURLOPT_URL, url.c_str());
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_HTTP_VERSION,
        static_cast<long>(http10_ ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1));
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_HTTPHEADER, headers_.get());
    // A header line of the caller's wins over the agent, so that only one is sent.
    if (settings_.agent && !HasHeader(headerEntries, "User-Agent")) {
      set(CURLOPT_USERAGENT, settings_.agent->c_str());
    }

    // libcurl sends no data with its own HEAD, so a HEAD with data goes as a verb of the
    // caller's and its answer is cut after the header block.
    if (verb_ == "HEAD" && data_.empty()) set(CURLOPT_NOBODY, 1L);
    endsAtHeaders_ = verb_ == "HEAD" && !data_.empty();
    if (!data_.empty() || verb_ == "POST") {
      set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(data_.size()));
      set(CURLOPT_POSTFIELDS, data_.data());
    }
    if (verb_ != "GET" && verb_ != "POST") set(CURLOPT_CUSTOMREQUEST, verb_.c_str());

    // An empty proxy also keeps the environment's proxy variables out of a direct session.
    const std::string proxy = settings_.proxyList
                                  ? ProxyForScheme(*settings_.proxyList, secure ? "https" : "http")
                                  : std::string();
    std::string bypass = settings_.proxyBypass;
    std::replace_if(
        bypass.begin(), bypass.end(), [](char c) { return c == ';' || c == ' '; }, ',');
    set(CURLOPT_PROXY, proxy.c_str());
    set(CURLOPT_NOPROXY, bypass.c_str());
    set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

    set(CURLOPT_FOLLOWLOCATION, following() ? 1L : 0L);
    set(CURLOPT_MAXREDIRS, kMaxRedirects);
    // 301, 302 and 303 turn a POST into a GET.
    set(CURLOPT_POSTREDIR, 0L);
    set(CURLOPT_REDIR_PROTOCOLS_STR,
        secure ? "https" : ((flags_ & kFlagIgnoreRedirectToHttps) != 0 ? "http,https" : "http"));

    if ((flags_ & kFlagNoCookies) == 0 && CookieStore::Shared() != nullptr) {
      set(CURLOPT_SHARE, CookieStore::Shared());
      set(CURLOPT_COOKIEFILE, "");
    }

    set(CURLOPT_SSL_VERIFYPEER, 1L);
    set(CURLOPT_SSL_VERIFYHOST, 2L);

    set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.timeouts.connectMilliseconds));
    set(CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    // A stalled transfer ends after the stall time exactly; libcurl's own low-speed limit
    // averages over several seconds and would end it late.
    set(CURLOPT_NOPROGRESS, 0L);
    set(CURLOPT_XFERINFOFUNCTION, &Request::OnProgress);
    set(CURLOPT_XFERINFODATA, this);
    set(CURLOPT_HEADERFUNCTION, &Request::OnHeaderLine);
    set(CURLOPT_HEADERDATA, this);
    set(CURLOPT_WRITEFUNCTION, &Request::OnBodyBytes);
    set(CURLOPT_WRITEDATA, this);
    return code == CURLE_OK;
  }

  void Drive() {
    if (paused_ && PendingSize() == 0) {
      paused_ = false;
      lastMovement_ = NowMilliseconds();  // waiting for the reader is no stall
      curl_easy_pause(easy_.get(), CURLPAUSE_CONT);
    }
    int running = 0;
    curl_multi_perform(multi_.get(), &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
      if (message->msg == CURLMSG_DONE) {
        done_ = true;
        result_ = stoppedAtHeaders_ ? CURLE_OK : message->data.result;
      }
    }
    if (!done_ && PendingSize() == 0 && !paused_) {
      curl_multi_poll(multi_.get(), nullptr, 0, kPollMilliseconds, nullptr);
    }
  }

  // Keeps the header block of the latest response, each line ended by CR LF. A new status line
  // starts a new block (interim and redirect responses come first); lines after a block's empty
  // line are trailers and not part of it.
  static std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* self) {
    auto& request = *static_cast<Request*>(self);
    request.lastMovement_ = NowMilliseconds();
    const std::size_t total = size * count;
    std::string_view line(data, total);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);

    if (line.starts_with("HTTP/")) {
      request.headerBlock_.clear();
      request.blockComplete_ = false;
      request.hasLocation_ = false;
      const std::size_t space = line.find(' ');
      request.status_ = space == std::string_view::npos
                            ? 0
                            : std::atoi(std::string(line.substr(space + 1, 3)).c_str());
    } else if (request.blockComplete_ || request.status_ == 0) {
      return total;
    }
    request.headerBlock_.append(line);
    request.headerBlock_.append("\r\n");
    if (StartsWithIgnoringCase(line, "Location:")) request.hasLocation_ = true;
    if (line.empty()) {
      request.blockComplete_ = true;
      const bool interim = request.status_ >= 100 && request.status_ < 200;
      const bool redirected = request.following() && request.status_ >= 300 &&
                              request.status_ < 400 && request.status_ != 304 &&
                              request.hasLocation_;
      request.finalHeaders_ = !interim && !redirected;
      if (request.finalHeaders_ && request.endsAtHeaders_) {
        request.stoppedAtHeaders_ = true;
        return 0;  // ends the transfer: a HEAD answer has no body
      }
    }
    return total;
  }

  static std::size_t OnBodyBytes(char* data, std::size_t size, std::size_t count, void* self) {
    auto& request = *static_cast<Request*>(self);
    request.lastMovement_ = NowMilliseconds();
    if (request.PendingSize() >= kPendingLimit) {
      request.paused_ = true;
      return CURL_WRITEFUNC_PAUSE;
    }
    request.pending_.append(data, size * count);
    return size * count;
  }

  // The stall clock runs from the connection on; headers, body and sent data all count as
  // movement. Nonzero ends the transfer.
  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
    auto& request = *static_cast<Request*>(self);
    const std::int64_t now = NowMilliseconds();
    curl_off_t connected = 0;
    curl_easy_getinfo(request.easy_.get(), CURLINFO_CONNECT_TIME_T, &connected);
    if (connected == 0 || uploaded != request.uploaded_) {
      request.uploaded_ = uploaded;
      request.lastMovement_ = now;
      return 0;
    }
    return now - request.lastMovement_ >= request.settings_.timeouts.stallMilliseconds ? 1 : 0;
  }

  const SessionSettings settings_;
  const std::string server_;
  const std::int32_t port_;
  const std::string verb_;
  const std::string object_;
  const bool http10_;
  const std::uint32_t flags_;

  // The easy handle refers to the data and the header list: it is declared after them, so it
  // goes first.
  std::string data_;
  SlistHolder headers_;
  MultiHolder multi_;
  EasyHolder easy_;

  bool sent_ = false;
  bool added_ = false;
  bool done_ = false;
  bool paused_ = false;
  CURLcode result_ = CURLE_OK;
  std::string pending_;
  std::size_t pendingOffset_ = 0;
  std::int64_t lastMovement_ = 0;
  curl_off_t uploaded_ = 0;

  std::string headerBlock_;
  long status_ = 0;
  bool hasLocation_ = false;
  bool blockComplete_ = false;
  bool finalHeaders_ = false;
  bool endsAtHeaders_ = false;
  bool stoppedAtHeaders_ = false;
};

// A header value cannot hold a line break: an agent is cut at its first one.
std::string SingleLine(const char* text) {
  const std::string_view view(text);
  return std::string(view.substr(0, view.find_first_of("\r\n")));
}

}  // namespace

Handle Open(const char* agent, std::int32_t accessType, const char* proxy,
            const char* proxyBypass) {
  if (!CurlReady()) return nullptr;
  auto session = std::make_unique<Session>();
  if (agent != nullptr) session->settings.agent = SingleLine(agent);
  if (accessType == kOpenTypeProxy) {
    if (proxy == nullptr || *proxy == '\0') return nullptr;
    session->settings.proxyList = proxy;
    session->settings.proxyBypass = proxyBypass != nullptr ? proxyBypass : "";
  } else if (accessType != kOpenTypeDirect) {
    return nullptr;
  }
  session->settings.timeouts = {gConnectMilliseconds.load(), gStallMilliseconds.load()};
  return Registry::Instance().Add(std::move(session));
}

Handle Connect(Handle internet, const char* server, std::int32_t port) {
  const Session* session = Registry::Instance().Find<Session>(internet);
  if (session == nullptr || server == nullptr || *server == '\0' || port < 0 || port > 65535) {
    return nullptr;
  }
  auto connection = std::make_unique<Connection>();
  connection->settings = session->settings;
  connection->server = server;
  connection->port = port;
  return Registry::Instance().Add(std::move(connection));
}

Handle OpenRequest(Handle connection, const char* verb, const char* object, const char* version,
                   std::uint32_t flags) {
  const Connection* owner = Registry::Instance().Find<Connection>(connection);
  if (owner == nullptr || verb == nullptr || *verb == '\0') return nullptr;
  const bool http10 = version != nullptr && std::string_view(version) == "HTTP/1.0";
  auto request =
      std::make_unique<Request>(*owner, verb, object != nullptr ? object : "/", http10, flags);
  if (!request->valid()) return nullptr;
  return Registry::Instance().Add(std::move(request));
}

bool SendRequest(Handle request, const char* headers, std::uint32_t headersLength, const void* data,
                 std::uint32_t dataLength) {
  Request* target = Registry::Instance().Find<Request>(request);
  if (target == nullptr) return false;
  return target->Send(
      headers != nullptr ? std::string_view(headers, headersLength) : "",
      data != nullptr ? std::string_view(static_cast<const char*>(data), dataLength) : "");
}

bool Read(Handle request, void* buffer, std::uint32_t size, std::uint32_t* read) {
  if (read == nullptr) return false;
  *read = 0;
  Request* source = Registry::Instance().Find<Request>(request);
  if (source == nullptr || buffer == nullptr) return false;
  *read = source->Read(buffer, size);
  return *read > 0 || !source->failed();
}

bool QueryRawHeaders(Handle request, char* buffer, std::uint32_t* length) {
  const Request* source = Registry::Instance().Find<Request>(request);
  if (source == nullptr || buffer == nullptr || length == nullptr) return false;
  return source->QueryRawHeaders(buffer, length);
}

bool Close(Handle handle) {
  return Registry::Instance().Remove(handle) != nullptr;
}

void SetTimeouts(const Timeouts& timeouts) {
  gConnectMilliseconds = timeouts.connectMilliseconds;
  gStallMilliseconds = timeouts.stallMilliseconds;
}

std::int32_t OpenHandleCount() {
  return Registry::Instance().Count();
}

}  // namespace quorvant::inet
