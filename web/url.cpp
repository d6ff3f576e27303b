#include "web/url.h"

#include "text/encoding.h"
#include "text/text_operations.h"

namespace quorvant {
namespace {

constexpr bool kCaseSensitive = true;
constexpr bool kIgnoreCase = true;

Text HostBetweenSchemeAndPath(Text s, bool rootDomain) {
  if (RightOf(s, 1) != "/") s += "/";
  if (LeftOf(s, 8) == "https://") {
    s = TextBetween(s, "https://", "/");
  } else {
    if (FindText(s, "http://") == -1) s = "http://" + s;
    s = TextBetween(s, "http://", "/");
  }
  if (rootDomain) {
    const TextArray parts = SplitText(s, ".");
    if (parts.count() > 1) s = parts.at(parts.count() - 1) + "." + parts.at(parts.count());
  }
  return s;
}

Text TrailingLabels(Text s, bool rootDomain, std::int32_t levels) {
  s = ReplaceText(s, "http://", "", std::nullopt, std::nullopt, kCaseSensitive);
  s = ReplaceText(s, "https://", "", std::nullopt, std::nullopt, kCaseSensitive);
  const std::int32_t slash = FindText(s, "/");
  if (slash != -1) s = LeftOf(s, slash - 1);

  const std::int32_t length = TextLength(s);
  std::int32_t h = length;
  // Once no dot is left h stays -1, so the walk can stop there whatever the count.
  for (std::int32_t step = 0; step < levels && h != -1; ++step) h = FindTextReverse(s, ".", h);
  const std::int32_t d1 = FindTextReverse(s, ".", h);
  if (rootDomain) return RightOf(s, length - d1);
  if (d1 != -1) {
    const std::int32_t d2 = FindTextReverse(s, ".", d1);
    if (d2 != -1) s = RightOf(s, length - d2);
  }
  return s;
}

}  // namespace

Text HostOfUrl(const Text& url, bool rootDomain, bool keepPort,
               std::optional<std::int32_t> levels) {
  const Text lowered = ToLower(url);
  Text host = levels ? TrailingLabels(lowered, rootDomain, *levels)
                     : HostBetweenSchemeAndPath(lowered, rootDomain);
  if (!keepPort) {
    const std::int32_t colon = FindText(host, ":");
    if (colon != -1) host = LeftOf(host, colon - 1);
  }
  return host;
}

std::int32_t PortOfUrl(const Text& url) {
  const Text host = HostOfUrl(url, false, true);
  const std::int32_t colon = FindTextReverse(host, ":");
  if (colon == -1) return LeftOf(ToLower(url), 5) == "https" ? 443 : 80;
  return ToInt(RightOf(host, TextLength(host) - colon));
}

Text PathOfUrl(const Text& url) {
  const Text host = HostOfUrl(url);
  const std::int32_t a = FindText(url, host, 1, kIgnoreCase);
  const std::int32_t b = FindText(url, "/", a, kIgnoreCase);
  if (b <= 0) return "/";
  return RightOf(url, TextLength(url) - b + 1);
}

}  // namespace quorvant
