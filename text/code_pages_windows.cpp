#include <windows.h>

#include "text/code_pages.h"

namespace quorvant::code_pages {
namespace {

using MultiByteToWideCharFunction = int(WINAPI*)(UINT, DWORD, LPCCH, int, LPWSTR, int);
using WideCharToMultiByteFunction = int(WINAPI*)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH,
                                                 LPBOOL);

// Both converters are reached by name in kernel32.dll, which every process has loaded; the
// lookup happens at the first call and is kept for the life of the process.
template <typename Function>
Function Kernel32Function(const char* name) {
  const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  const FARPROC address = kernel32 == nullptr ? nullptr : GetProcAddress(kernel32, name);
  // Through the generic function type, which converts to any other without complaint.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

MultiByteToWideCharFunction MultiByteToWideCharBound() {
  static const auto function = Kernel32Function<MultiByteToWideCharFunction>("MultiByteToWideChar");
  return function;
}

WideCharToMultiByteFunction WideCharToMultiByteBound() {
  static const auto function = Kernel32Function<WideCharToMultiByteFunction>("WideCharToMultiByte");
  return function;
}

}  // namespace

std::int32_t MultiByteToWide(std::uint32_t codePage, const char* text, char16_t* out,
                             std::int32_t outUnits) {
  const MultiByteToWideCharFunction convert = MultiByteToWideCharBound();
  if (convert == nullptr || text == nullptr || outUnits < 0) return 0;
  return convert(codePage, 0, text, -1, outUnits == 0 ? nullptr : reinterpret_cast<LPWSTR>(out),
                 outUnits);
}

std::int32_t WideToMultiByte(std::uint32_t codePage, const char16_t* units, char* out,
                             std::int32_t outBytes) {
  const WideCharToMultiByteFunction convert = WideCharToMultiByteBound();
  if (convert == nullptr || units == nullptr || outBytes < 0) return 0;
  return convert(codePage, 0, reinterpret_cast<LPCWCH>(units), -1, outBytes == 0 ? nullptr : out,
                 outBytes, nullptr, nullptr);
}

}  // namespace quorvant::code_pages
