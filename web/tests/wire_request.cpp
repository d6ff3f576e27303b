#include "web/tests/wire_request.h"

#include <algorithm>
#include <cctype>

namespace quorvant {
namespace {

bool SameName(std::string_view line, std::string_view name) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view lineName = line.substr(0, colon);
  return lineName.size() == name.size() &&
         std::equal(lineName.begin(), lineName.end(), name.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view block) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < block.size()) {
    const std::size_t end = std::min(block.find("\r\n", at), block.size());
    if (end > at) lines.emplace_back(block.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

WireRequest DissectRequest(const std::string& raw) {
  WireRequest request;
  const std::size_t headEnd = raw.find("\r\n\r\n");
  const std::string_view head = std::string_view(raw).substr(0, headEnd);
  std::vector<std::string> lines = SplitLines(head);
  if (!lines.empty()) {
    request.requestLine = lines.front();
    request.headerLines.assign(lines.begin() + 1, lines.end());
  }
  if (headEnd != std::string::npos) request.data = raw.substr(headEnd + 4);
  return request;
}

std::vector<std::string> WireRequest::Values(std::string_view name) const {
  std::vector<std::string> values;
  for (const std::string& line : headerLines) {
    if (SameName(line, name))
      values.push_back(Trim(std::string_view(line).substr(line.find(':') + 1)));
  }
  return values;
}

std::vector<std::string> WireRequest::LinesOutside(std::size_t first, std::size_t count) const {
  std::vector<std::string> outside;
  for (std::size_t i = 0; i < headerLines.size(); ++i) {
    if (i < first || i >= first + count) outside.push_back(headerLines[i]);
  }
  return outside;
}

std::size_t FindRun(const std::vector<std::string>& within, const std::vector<std::string>& lines) {
  // A platform may write a header without a value with a blank after its colon.
  const auto sameLine = [](std::string_view a, std::string_view b) {
    return a.substr(0, a.find_last_not_of(' ') + 1) == b.substr(0, b.find_last_not_of(' ') + 1);
  };
  const auto found =
      std::search(within.begin(), within.end(), lines.begin(), lines.end(), sameLine);
  return found == within.end() && !lines.empty() ? std::string::npos
                                                 : static_cast<std::size_t>(found - within.begin());
}

}  // namespace quorvant
