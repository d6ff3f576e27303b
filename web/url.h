#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"

// Splitting a URL into the pieces an HTTP client needs. Only "http://" and "https://" count as
// schemes, in any letter case; nothing is validated and every input yields a result.
namespace quorvant {

// The host in lower case. Without `levels` the host comes from between the scheme and the next
// "/" and `rootDomain` keeps its last two dot-separated parts. With `levels` = n (0 included)
// the host keeps its last n + 2 labels (n + 1 with `rootDomain`). Unless `keepPort` is set,
// everything from the first ":" on is dropped.
Text HostOfUrl(const Text& url, bool rootDomain = false, bool keepPort = false,
               std::optional<std::int32_t> levels = std::nullopt);

// The number after the host's last ":", else 443 for "https" URLs and 80 for the rest; 0 when
// that text is not a number.
std::int32_t PortOfUrl(const Text& url);

// Path and query, beginning with "/", in the URL's own letter case.
Text PathOfUrl(const Text& url);

}  // namespace quorvant
