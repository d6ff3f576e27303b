#include "web/cookies.h"

#include "text/text_operations.h"

namespace quorvant {
namespace {

constexpr char kItemSeparator[] = "; ";

}  // namespace

Text MergeCookies(Text& oldCookies, Text& newCookies) {
  oldCookies = RemoveSpaces(oldCookies);
  newCookies = RemoveSpaces(newCookies);
  const TextArray held = SplitText(oldCookies, ";");
  TextArray merged = SplitText(newCookies, ";");
  // Measured against `merged` as it grows, so of several held items with one name only the
  // first is carried over.
  for (const Text& item : held) {
    if (!HasCookieName(merged, CookieName(item))) merged.Append(item);
  }

  Text joined;
  for (const Text& item : merged) {
    if (RightOf(item, 8) == "=deleted") continue;
    joined += item;
    joined += kItemSeparator;
  }
  joined = LeftOf(joined, TextLength(joined) - 2);
  oldCookies = JoinDistinct(joined, kItemSeparator);
  return oldCookies;
}

Text CookieName(const Text& item) {
  const std::int32_t equals = FindText(item, "=");
  return TrimBoth(equals == -1 ? item : LeftOf(item, equals - 1));
}

bool HasCookieName(const TextArray& list, const Text& name) {
  for (const Text& member : list) {
    if (CookieName(member) == name) return true;
  }
  return false;
}

Text JoinDistinct(const Text& text, const Text& separator) {
  TextArray seen;
  Text joined;
  for (const Text& part : SplitText(text, separator)) {
    if (IndexOfText(seen, part) != -1) continue;
    seen.Append(part);
    joined += part;
    joined += separator;
  }
  return LeftOf(joined, TextLength(joined) - TextLength(separator));
}

std::int32_t IndexOfText(const TextArray& list, const Text& text) {
  for (std::int32_t index = 1; index <= list.count(); ++index) {
    if (list.at(index) == text) return index;
  }
  return -1;
}

}  // namespace quorvant
