#pragma once

#include <string>
#include <string_view>

namespace quorvant::decoding_service {

// The service speaks UTF-8 while narrow literals of this project are code page 936, so its
// own texts are written as u8 literals and turned into byte strings here.
inline std::string Utf8(std::u8string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

}  // namespace quorvant::decoding_service
