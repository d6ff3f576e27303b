#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "json/script_host.h"
#include "tools/decoding_service/decoding_service.h"
#include "web/inet.h"

// What a decode through the window must show and send, shared by the window tests of both builds.
namespace quorvant::decode_cases {

inline constexpr char8_t kFailureText[] = u8"淘口令解密失败，请确认输入的淘口令是否正确";
inline constexpr char8_t kFailureHint[] = u8"提示：解密失败";
inline constexpr char8_t kSuccessHint[] = u8"提示：解密成功";
inline constexpr char8_t kYuanSignCode[] = u8"￥Hn3yQf7JkEz￥";
inline constexpr char8_t kYuanSignLink[] = u8"https://m.shop.example/h.5Hn3yQf?sm=7f2a1c";

struct OutcomeCase {
  const char* name;
  std::optional<decoding_service::ServiceOptions> service;  // none: nothing listens there
  const char8_t* code;
  const char8_t* result;
  const char8_t* hint;
  // Shortened where the answer never ends or never comes; elsewhere the platform's own, which
  // a huge answer needs on a slow build.
  std::int32_t scriptBudget = kDefaultScriptTimeBudget;
  inet::Timeouts timeouts = inet::kDefaultTimeouts;
};
std::span<const OutcomeCase> OutcomeCases();

struct WireCase {
  const char8_t* code;  // as typed
  const char* encoded;  // the text field on the wire
};
std::span<const WireCase> WireCases();

// Checks one recorded request: its request line, its body, the four header lines the program
// composes (in order, once each), the default agent, the length, and no cookie.
void ExpectDecodeRequest(const std::string& request, const std::string& endpoint,
                         const char* encoded);

}  // namespace quorvant::decode_cases
