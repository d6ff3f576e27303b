#pragma once

#include <string>

#include "text/text.h"

// Texts cross into and out of the Windows controls here. The program's texts are code page 936
// whatever the system's ANSI code page is, so the controls get UTF-16 converted from 936.
namespace quorvant::win32 {

std::wstring Wide(const Text& text);
// Characters that code page 936 lacks become "?".
Text Narrow(const std::wstring& text);

}  // namespace quorvant::win32
