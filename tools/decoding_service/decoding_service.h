#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/decoding_service/service_answer.h"
#include "tools/loopback_http/loopback_http.h"

namespace quorvant::decoding_service {

// The stand-in decoding service, listening on 127.0.0.1 while it lives. Every connection gets
// one answer and is then closed, as the real service does.
class DecodingService {
 public:
  // Listens at the port, an ephemeral one for 0.
  explicit DecodingService(ServiceOptions options = {}, std::uint16_t port = 0);

  // 0 when the service could not listen.
  std::uint16_t Port() const { return server_.Port(); }
  // The decode API's address on this service.
  std::string Endpoint() const;
  // The raw bytes of every request received so far, in arrival order.
  std::vector<std::string> Requests() const { return server_.Requests(); }

 private:
  loopback_http::Server server_;
};

}  // namespace quorvant::decoding_service
