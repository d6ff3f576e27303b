#pragma once

#include <cstdint>

// What the program and its script host process say to each other over their two pipes. Both
// ends are the same executable, so the records cross as they lie in memory.
namespace quorvant::script_protocol {

// The command-line switch that starts an executable as a script host.
inline constexpr wchar_t kHostSwitch[] = L"--quorvant-script-host";

// kRenew replaces the host's engine by a new one, as if the host had just started.
enum class Operation : std::uint32_t { kSetLanguage = 1, kAddCode = 2, kEval = 3, kRenew = 4 };

// Followed by `units` UTF-16 units of script text.
struct RequestHeader {
  Operation operation;
  std::uint32_t kind;  // a ResultKind, for kEval
  std::uint32_t units;
};

// Followed by `units` UTF-16 units of text. The host's first reply, before any request, says
// whether it could create its engine.
struct ReplyHeader {
  std::uint32_t ok;
  std::uint32_t truth;
  double number;
  std::uint32_t units;
  std::uint32_t reserved;
};

}  // namespace quorvant::script_protocol
