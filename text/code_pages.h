#pragma once

#include <cstdint>

// The code-page seam: conversions between a NUL-terminated byte text in code page 0 (ANSI, which
// is 936 here), 936 or 65001 and NUL-terminated UTF-16, shaped like the system's two calls.
namespace quorvant::code_pages {

// With outUnits 0: the units the text needs, terminating unit included (0 on failure).
// Otherwise the units written, terminating unit included; 0 when the output is too small.
std::int32_t MultiByteToWide(std::uint32_t codePage, const char* text, char16_t* out,
                             std::int32_t outUnits);
// With outBytes 0: the bytes the units need, terminating NUL included (0 on failure).
// Otherwise the bytes written, terminating NUL included; 0 when the output is too small.
std::int32_t WideToMultiByte(std::uint32_t codePage, const char16_t* units, char* out,
                             std::int32_t outBytes);

}  // namespace quorvant::code_pages
