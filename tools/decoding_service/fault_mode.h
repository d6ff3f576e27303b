#pragma once

#include <optional>
#include <string_view>

namespace quorvant::decoding_service {

// How the stand-in service misbehaves, for tests of the failure paths of a decode.
enum class FaultMode {
  kNone,           // answers like the real service
  kHtmlError,      // status 500 with an HTML error page
  kRawUtf8Marker,  // success, but the marker as raw UTF-8 bytes instead of \u escapes
  kNoUrl,          // success without the "url" member
  kEndlessScript,  // a body that is script which never finishes
  kHugeBody,       // a success answer padded to many megabytes
  kStall,          // sends the header block, then nothing until the client gives up
  kCloseMidBody,   // announces a body and closes the connection half way through it
};

// The name used on the command line, e.g. "html-error".
std::string_view NameOf(FaultMode mode);
std::optional<FaultMode> FaultModeNamed(std::string_view name);

}  // namespace quorvant::decoding_service
