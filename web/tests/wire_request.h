#pragma once

#include <string>
#include <string_view>
#include <vector>

// A request as it went over the wire, cut into its parts for assertions.
namespace quorvant {

struct WireRequest {
  std::string requestLine;
  std::vector<std::string> headerLines;
  std::string data;

  // Values of every header line with this name (ASCII case ignored), blanks trimmed.
  std::vector<std::string> Values(std::string_view name) const;
  // The lines other than those at [first, first + count).
  std::vector<std::string> LinesOutside(std::size_t first, std::size_t count) const;
};

WireRequest DissectRequest(const std::string& raw);

// The position of `lines` as one unbroken run within `within`, trailing blanks aside; npos
// when they are not.
std::size_t FindRun(const std::vector<std::string>& within, const std::vector<std::string>& lines);

std::vector<std::string> SplitLines(std::string_view block);

}  // namespace quorvant
