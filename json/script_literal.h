#pragma once

#include "text/text.h"

namespace quorvant {

// A single-quoted script string literal whose value is exactly the given text as the engine
// receives it. Every character outside printable ASCII is written as a \u escape, so the
// literal is pure ASCII and no quote, backslash or line end in the text can end it early.
Text ScriptStringLiteral(const Text& value);

}  // namespace quorvant
