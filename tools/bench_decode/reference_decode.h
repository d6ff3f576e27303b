#pragma once

#include <string>

// The least a decode could do, for comparison: the same form posted with libcurl directly and
// its answer read by JSON.parse in one bare script engine created for it.
namespace quorvant::bench {

// The answer's body; empty when the exchange fails.
std::string ReferencePost(const std::string& endpoint, const std::string& formBody);
// The link, or the empty string when "ret" is not the success marker.
std::string ReferenceRead(const std::string& answer);

inline std::string ReferenceDecode(const std::string& endpoint, const std::string& formBody) {
  return ReferenceRead(ReferencePost(endpoint, formBody));
}

}  // namespace quorvant::bench
