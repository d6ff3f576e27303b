#include "app/windows/win32_text.h"

#include <windows.h>

namespace quorvant::win32 {
namespace {

constexpr UINT kCodePage = 936;

}  // namespace

std::wstring Wide(const Text& text) {
  if (text.empty()) return {};
  const int units = MultiByteToWideChar(kCodePage, 0, text.c_str(), text.size(), nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(kCodePage, 0, text.c_str(), text.size(), wide.data(), units);
  return wide;
}

Text Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(kCodePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(kCodePage, 0, text.data(), size, narrow.data(), bytes, nullptr, nullptr);
  return Text(narrow);
}

}  // namespace quorvant::win32
