#include "app/windows/win32_desktop.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>

namespace quorvant {
namespace {

// Below this, ShellExecute's result is an error code.
constexpr INT_PTR kShellExecuteFailureLimit = 32;

}  // namespace

// The text goes on the clipboard as CF_TEXT, code page 936 bytes with their terminating NUL.
bool Win32Desktop::SetClipboardText(const Text& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const std::size_t size = static_cast<std::size_t>(text.size()) + 1;
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (memory == nullptr) {
    CloseClipboard();
    return false;
  }
  if (void* bytes = GlobalLock(memory)) {
    std::memcpy(bytes, text.c_str(), size);
    GlobalUnlock(memory);
  }
  // The clipboard owns the memory only once it took it; a refused hand-over is a failed copy,
  // not a success.
  const bool placed = SetClipboardData(CF_TEXT, memory) != nullptr;
  if (!placed) GlobalFree(memory);
  CloseClipboard();
  return placed;
}

bool Win32Desktop::OpenUrl(const Text& address) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > kShellExecuteFailureLimit;
}

}  // namespace quorvant
