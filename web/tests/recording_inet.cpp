#include "web/tests/recording_inet.h"

#include <algorithm>
#include <cstring>

#include "web/inet.h"

namespace quorvant::inet {

struct Object {
  std::string kind;
};

namespace recording {
namespace {

Script gScript;
Record gRecord;
std::size_t gBodyOffset = 0;
std::int32_t gOpen = 0;

Handle Make(const char* operation, const char* kind) {
  gRecord.operations.push_back(operation);
  if (gScript.failingOperation == operation) return nullptr;
  ++gOpen;
  return new Object{kind};
}

}  // namespace

void Begin(Script script) {
  gScript = std::move(script);
  gRecord = Record();
  gBodyOffset = 0;
}

const Record& Last() {
  return gRecord;
}

}  // namespace recording

using recording::gRecord;
using recording::gScript;

Handle Open(const char* agent, std::int32_t accessType, const char* proxy,
            const char* proxyBypass) {
  if (agent != nullptr) gRecord.agent = agent;
  gRecord.accessType = accessType;
  if (proxy != nullptr) gRecord.proxy = proxy;
  if (proxyBypass != nullptr) gRecord.proxyBypass = proxyBypass;
  return recording::Make("Open", "internet");
}

Handle Connect(Handle, const char* server, std::int32_t port) {
  gRecord.server = server;
  gRecord.port = port;
  return recording::Make("Connect", "connection");
}

Handle OpenRequest(Handle, const char* verb, const char* object, const char* version,
                   std::uint32_t flags) {
  gRecord.verb = verb;
  gRecord.object = object;
  gRecord.version = version;
  gRecord.flags = flags;
  return recording::Make("OpenRequest", "request");
}

bool SendRequest(Handle, const char* headers, std::uint32_t headersLength, const void* data,
                 std::uint32_t dataLength) {
  gRecord.operations.push_back("SendRequest");
  gRecord.headers.assign(headers, headersLength);
  if (data != nullptr) gRecord.data.emplace(static_cast<const char*>(data), dataLength);
  return gScript.rawHeaders.has_value();
}

bool Read(Handle, void* buffer, std::uint32_t size, std::uint32_t* read) {
  gRecord.operations.push_back("Read");
  gRecord.readSizes.push_back(size);
  const std::size_t count =
      std::min<std::size_t>(size, gScript.body.size() - recording::gBodyOffset);
  std::memcpy(buffer, gScript.body.data() + recording::gBodyOffset, count);
  recording::gBodyOffset += count;
  *read = static_cast<std::uint32_t>(count);
  return true;
}

bool QueryRawHeaders(Handle, char* buffer, std::uint32_t* length) {
  gRecord.operations.push_back("QueryRawHeaders");
  gRecord.headerBufferLength = *length;
  if (!gScript.rawHeaders || gScript.rawHeaders->size() + 1 > *length) return false;
  std::memcpy(buffer, gScript.rawHeaders->c_str(), gScript.rawHeaders->size() + 1);
  *length = static_cast<std::uint32_t>(gScript.rawHeaders->size());
  return true;
}

bool Close(Handle handle) {
  if (handle == nullptr) return false;
  gRecord.operations.push_back("Close " + handle->kind);
  --recording::gOpen;
  delete handle;
  return true;
}

void SetTimeouts(const Timeouts&) {}

std::int32_t OpenHandleCount() {
  return recording::gOpen;
}

}  // namespace quorvant::inet
