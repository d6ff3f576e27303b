#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A stand-in for the platform's HTTP client that records what the page fetch passes to each
// operation and answers from a script. Linked instead of the platform implementation.
namespace quorvant::inet::recording {

struct Script {
  // "Open", "Connect" or "OpenRequest": that operation returns null.
  std::string failingOperation;
  std::optional<std::string> rawHeaders;  // the header block; none: no response
  std::string body;
};

struct Record {
  // In calling order: "Open", "Connect", "OpenRequest", "SendRequest", "Read",
  // "QueryRawHeaders", "Close request", "Close connection", "Close internet".
  std::vector<std::string> operations;
  std::optional<std::string> agent;
  std::int32_t accessType = 0;
  std::optional<std::string> proxy;
  std::optional<std::string> proxyBypass;
  std::string server;
  std::int32_t port = 0;
  std::string verb;
  std::string object;
  std::string version;
  std::uint32_t flags = 0;
  std::string headers;
  std::optional<std::string> data;  // none: a null data pointer
  std::vector<std::uint32_t> readSizes;
  std::uint32_t headerBufferLength = 0;
};

// Starts a new call: forgets the last record and answers from `script`.
void Begin(Script script);
const Record& Last();

}  // namespace quorvant::inet::recording
