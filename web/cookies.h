#pragma once

#include <cstdint>

#include "text/text.h"

// Cookie strings: name=value items separated by ";", written as items joined by "; ".
namespace quorvant {

// Folds freshly received cookies into the ones held: received items come first and replace held
// items of the same name; items ending in "=deleted" and exact repeats are dropped. Both
// arguments are written back: `oldCookies` becomes the merged string (also the result) and
// `newCookies` its blank-free form.
Text MergeCookies(Text& oldCookies, Text& newCookies);

// The text before the item's first "=" (all of it when there is none), blanks trimmed.
Text CookieName(const Text& item);

// Whether some member of the list has that cookie name (case-sensitive).
bool HasCookieName(const TextArray& list, const Text& name);

// The separated parts of `text` with every repeat of an earlier part removed.
Text JoinDistinct(const Text& text, const Text& separator);

// The 1-based index of the first member equal to `text`, -1 if none.
std::int32_t IndexOfText(const TextArray& list, const Text& text);

}  // namespace quorvant
