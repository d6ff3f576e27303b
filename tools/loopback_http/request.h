#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One HTTP request as a loopback server received it.
namespace quorvant::loopback_http {

struct Request {
  std::string raw;     // every byte of the request as it came over the wire
  std::string method;  // from the request line
  std::string target;
  std::string version;
  std::string head;  // request line and header lines, up to and including the empty line
  std::string body;  // the request data, chunked transfer decoded

  // The value of the first header line with this name (ASCII case ignored), blanks trimmed;
  // empty when there is none.
  std::string Header(std::string_view name) const;
};

enum class ParseStatus { kIncomplete, kComplete, kMalformed };

struct ParseResult {
  ParseStatus status = ParseStatus::kIncomplete;
  std::size_t length = 0;  // bytes of the complete request at the front of the input
};

// Reads the first request at the front of `bytes`: the head, then a body framed by
// Content-Length or chunked transfer coding. Fills `request` when it is complete.
ParseResult ParseRequest(std::string_view bytes, Request& request);

}  // namespace quorvant::loopback_http
