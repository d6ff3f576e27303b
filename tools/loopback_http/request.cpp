#include "tools/loopback_http/request.h"

#include <limits>
#include <optional>

namespace quorvant::loopback_http {
namespace {

// A head that has not ended after this many bytes is not HTTP.
constexpr std::size_t kMaxHead = 1 << 20;
constexpr std::string_view kLineEnd = "\r\n";

char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view sought) {
  for (std::size_t at = 0; at + sought.size() <= text.size(); ++at) {
    if (EqualsIgnoringCase(text.substr(at, sought.size()), sought)) return true;
  }
  return false;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::size_t> ParseNumber(std::string_view digits, unsigned base) {
  if (digits.empty()) return std::nullopt;
  std::size_t value = 0;
  for (const char c : digits) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && FoldAscii(c) >= 'a' && FoldAscii(c) <= 'f') {
      digit = static_cast<unsigned>(FoldAscii(c) - 'a' + 10);
    } else {
      return std::nullopt;
    }
    if (value > (std::numeric_limits<std::size_t>::max() - digit) / base) return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

// The value of the first header line called `name` in the header lines of a head.
std::optional<std::string_view> FindHeader(std::string_view head, std::string_view name) {
  std::size_t at = head.find(kLineEnd);  // skip the request line
  while (at != std::string_view::npos) {
    at += kLineEnd.size();
    const std::size_t end = head.find(kLineEnd, at);
    const std::string_view line = head.substr(at, end == std::string_view::npos ? end : end - at);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsIgnoringCase(Trim(line.substr(0, colon)), name)) {
      return Trim(line.substr(colon + 1));
    }
    at = end;
  }
  return std::nullopt;
}

// Walks a chunked body that starts at `at`; collects the data into `body` when it is given.
ParseResult WalkChunks(std::string_view bytes, std::size_t at, std::string* body) {
  for (;;) {
    const std::size_t lineEnd = bytes.find(kLineEnd, at);
    if (lineEnd == std::string_view::npos) return {};
    std::string_view sizeText = bytes.substr(at, lineEnd - at);
    sizeText = Trim(sizeText.substr(0, sizeText.find(';')));  // chunk extensions are ignored
    const std::optional<std::size_t> size = ParseNumber(sizeText, 16);
    if (!size) return {ParseStatus::kMalformed};
    at = lineEnd + kLineEnd.size();
    if (*size == 0) break;
    if (bytes.size() - at < *size || bytes.size() - at - *size < kLineEnd.size()) return {};
    if (bytes.substr(at + *size, kLineEnd.size()) != kLineEnd) return {ParseStatus::kMalformed};
    if (body != nullptr) body->append(bytes.substr(at, *size));
    at += *size + kLineEnd.size();
  }
  for (;;) {  // trailer lines up to an empty one
    const std::size_t lineEnd = bytes.find(kLineEnd, at);
    if (lineEnd == std::string_view::npos) return {};
    const bool empty = lineEnd == at;
    at = lineEnd + kLineEnd.size();
    if (empty) return {ParseStatus::kComplete, at};
  }
}

}  // namespace

std::string Request::Header(std::string_view name) const {
  return std::string(FindHeader(head, name).value_or(std::string_view{}));
}

ParseResult ParseRequest(std::string_view bytes, Request& request) {
  const std::size_t headEnd = bytes.find("\r\n\r\n");
  if (headEnd == std::string_view::npos) {
    return {bytes.size() > kMaxHead ? ParseStatus::kMalformed : ParseStatus::kIncomplete};
  }
  const std::string_view head = bytes.substr(0, headEnd + 4);

  ParseResult result;
  std::size_t bodyStart = head.size();
  const bool chunked =
      ContainsIgnoringCase(FindHeader(head, "Transfer-Encoding").value_or(""), "chunked");
  if (chunked) {
    result = WalkChunks(bytes, bodyStart, nullptr);
  } else if (const auto lengthText = FindHeader(head, "Content-Length")) {
    const std::optional<std::size_t> length = ParseNumber(*lengthText, 10);
    if (!length) return {ParseStatus::kMalformed};
    if (bytes.size() - bodyStart < *length) return {};
    result = {ParseStatus::kComplete, bodyStart + *length};
  } else {
    result = {ParseStatus::kComplete, bodyStart};
  }
  if (result.status != ParseStatus::kComplete) return result;

  Request parsed;
  parsed.raw = bytes.substr(0, result.length);
  parsed.head = head;
  const std::string_view line = head.substr(0, head.find(kLineEnd));
  const std::size_t firstSpace = line.find(' ');
  const std::size_t secondSpace =
      firstSpace == std::string_view::npos ? firstSpace : line.find(' ', firstSpace + 1);
  parsed.method = line.substr(0, firstSpace);
  if (firstSpace != std::string_view::npos) {
    parsed.target = line.substr(firstSpace + 1, secondSpace == std::string_view::npos
                                                    ? secondSpace
                                                    : secondSpace - firstSpace - 1);
  }
  if (secondSpace != std::string_view::npos) parsed.version = line.substr(secondSpace + 1);
  if (chunked) {
    WalkChunks(bytes, bodyStart, &parsed.body);
  } else {
    parsed.body = bytes.substr(bodyStart, result.length - bodyStart);
  }
  request = std::move(parsed);
  return result;
}

}  // namespace quorvant::loopback_http
