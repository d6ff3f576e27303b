#pragma once

#include <QString>

#include "text/text.h"

// Texts cross into and out of Qt here, through the code-page seam.
namespace quorvant {

QString ToQString(const Text& text);
// Characters that code page 936 lacks become "?".
Text FromQString(const QString& text);

}  // namespace quorvant
