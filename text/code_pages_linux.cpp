#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "text/code_pages.h"

namespace quorvant::code_pages {
namespace {

// The ANSI code page of the system the program is written for is 936.
const char* IconvName(std::uint32_t codePage) {
  switch (codePage) {
    case 0:
    case 936:
      return "CP936";
    case 65001:
      return "UTF-8";
    default:
      return nullptr;
  }
}

// Owns one iconv descriptor.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `input`; an input sequence that cannot be converted is replaced by
  // `replacement` and skipped by `skip` bytes, as the system's converters substitute a default.
  std::string Convert(std::string_view input, std::string_view replacement, std::size_t skip) {
    std::string output;
    char chunk[4096];
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
      char* out = chunk;
      std::size_t outLeft = sizeof chunk;
      const std::size_t rc = iconv(handle_, &in, &inLeft, &out, &outLeft);
      output.append(chunk, static_cast<std::size_t>(out - chunk));
      if (rc != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: substitute and step over the offending unit.
      output += replacement;
      const std::size_t step = std::min(skip, inLeft);
      in += step;
      inLeft -= step;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    return output;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::int32_t MultiByteToWide(std::uint32_t codePage, const char* text, char16_t* out,
                             std::int32_t outUnits) {
  const char* from = IconvName(codePage);
  if (text == nullptr || from == nullptr || outUnits < 0) return 0;
  Converter converter("UTF-16LE", from);
  if (!converter.valid()) return 0;
  // U+FFFD for a byte that is not part of a valid sequence.
  const std::string wide =
      converter.Convert(std::string_view(text, std::strlen(text) + 1), "\xFD\xFF", 1);
  const auto units = static_cast<std::int32_t>(wide.size() / 2);
  if (outUnits == 0) return units;
  if (out == nullptr || units > outUnits) return 0;
  std::memcpy(out, wide.data(), wide.size());
  return units;
}

std::int32_t WideToMultiByte(std::uint32_t codePage, const char16_t* units, char* out,
                             std::int32_t outBytes) {
  const char* to = IconvName(codePage);
  if (units == nullptr || to == nullptr || outBytes < 0) return 0;
  std::size_t count = 0;
  while (units[count] != 0) ++count;
  Converter converter(to, "UTF-16LE");
  if (!converter.valid()) return 0;
  // A character the code page cannot hold becomes "?" (UTF-8 holds everything but lone
  // surrogates, which become U+FFFD).
  const std::string_view replacement = codePage == 65001 ? "\xEF\xBF\xBD" : "?";
  const std::string bytes = converter.Convert(
      std::string_view(reinterpret_cast<const char*>(units), (count + 1) * 2), replacement, 2);
  const auto size = static_cast<std::int32_t>(bytes.size());
  if (outBytes == 0) return size;
  if (out == nullptr || size > outBytes) return 0;
  std::memcpy(out, bytes.data(), bytes.size());
  return size;
}

}  // namespace quorvant::code_pages
