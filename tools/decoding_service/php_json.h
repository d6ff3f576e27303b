#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

namespace quorvant::decoding_service {

// Escaped: every character outside ASCII as \u and four lower-case hex digits (a surrogate pair
// beyond the first plane), as a PHP API writes by default. Raw: such characters stay UTF-8.
enum class NonAscii { kEscaped, kRaw };

struct JsonMember {
  std::string name;  // UTF-8
  std::variant<std::string, std::int64_t> value;
};

// One JSON object of string and integer members, in the given order, written without blanks.
// Slashes come out as "\/" like PHP's; bytes that are not UTF-8 become \ufffd.
std::string EncodeJsonObject(std::span<const JsonMember> members, NonAscii nonAscii);

}  // namespace quorvant::decoding_service
