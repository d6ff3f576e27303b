#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorvant::decoding_service {

struct ShareCode {
  std::u8string_view code;  // the whole code, signs included
  std::u8string_view link;
};

// The share codes the stand-in service knows.
std::span<const ShareCode> KnownShareCodes();

// The link of the first known code found in pasted UTF-8 text, which may carry words around the
// code as a shopper copies it out of a chat.
std::optional<std::string> LinkOfPastedText(std::string_view pastedUtf8);

}  // namespace quorvant::decoding_service
