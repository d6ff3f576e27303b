#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tools/decoding_service/fault_mode.h"

namespace quorvant::decoding_service {

inline constexpr std::string_view kApiPath = "/index.php";

struct ServiceOptions {
  FaultMode fault = FaultMode::kNone;
  std::size_t hugeBodyBytes = std::size_t{8} << 20;
  // The account the service accepts; tests change it to see a client refused.
  std::string accountName = "qorbex";
  std::string accountPassword = "qorbex";
};

struct ServiceRequest {
  std::string_view method;
  std::string_view target;  // path and query as on the request line
  std::string_view body;
};

// How the answer goes onto the wire.
enum class Delivery {
  kWhole,
  kStallAfterHead,  // the header block, then silence
  kCloseMidBody,    // the header block and half the body, then the connection closes
};

struct ServiceAnswer {
  int status = 200;
  std::string contentType;
  std::string body;
  Delivery delivery = Delivery::kWhole;
};

// The answer of the service to one request: the decode API at kApiPath with the query
// m=api&a=taokoulingjm reads the form fields username, password and text from the body; every
// other path is not found.
ServiceAnswer AnswerRequest(const ServiceRequest& request, const ServiceOptions& options);

// The status line and header lines, ended by the empty line; Content-Length is the whole body's.
std::string HeaderBlockOf(const ServiceAnswer& answer);

}  // namespace quorvant::decoding_service
