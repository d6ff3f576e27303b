#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

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

constexpr std::int64_t kDoesNotFit = -1;
constexpr std::size_t kScratchSize = 256 * 1024;

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

  // Converts all of `input` into `out` (`outSize` bytes), or only counts the bytes it produces
  // when `out` is null. An input sequence that cannot be converted becomes `replacement` and is
  // stepped over by `skip` bytes, as the system's converters substitute a default. Returns the
  // bytes produced, or kDoesNotFit.
  std::int64_t Convert(std::string_view input, std::string_view replacement, std::size_t skip,
                       char* out, std::size_t outSize) {
    // Counting converts into a scratch area; glibc's multi-step converters redo part of their
    // work whenever the output fills, so the area is large.
    std::string scratchArea(out != nullptr ? 0 : kScratchSize, '\0');
    char* const scratch = scratchArea.data();
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t produced = 0;
    while (inLeft > 0) {
      char* target = out != nullptr ? out + produced : scratch;
      std::size_t targetLeft = out != nullptr ? outSize - produced : scratchArea.size();
      char* const targetStart = target;
      const std::size_t rc = iconv(handle_, &in, &inLeft, &target, &targetLeft);
      produced += static_cast<std::size_t>(target - targetStart);
      if (rc != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) {
        if (out != nullptr) return kDoesNotFit;
        continue;  // counting only: the scratch area is reused
      }
      // EILSEQ or EINVAL: substitute and step over the offending unit.
      if (out != nullptr) {
        if (outSize - produced < replacement.size()) return kDoesNotFit;
        std::memcpy(out + produced, replacement.data(), replacement.size());
      }
      produced += replacement.size();
      const std::size_t step = std::min(skip, inLeft);
      in += step;
      inLeft -= step;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    return static_cast<std::int64_t>(produced);
  }

 private:
  iconv_t handle_;
};

// A count in the seam's units, 0 when the conversion failed or the count does not fit.
std::int32_t Count(std::int64_t bytes, std::int64_t unitSize) {
  if (bytes < 0 || bytes / unitSize > std::numeric_limits<std::int32_t>::max()) return 0;
  return static_cast<std::int32_t>(bytes / unitSize);
}

}  // namespace

std::int32_t MultiByteToWide(std::uint32_t codePage, const char* text, char16_t* out,
                             std::int32_t outUnits) {
  const char* from = IconvName(codePage);
  if (text == nullptr || from == nullptr || outUnits < 0) return 0;
  if (outUnits > 0 && out == nullptr) return 0;
  Converter converter("UTF-16LE", from);
  if (!converter.valid()) return 0;
  // U+FFFD for a byte that is not part of a valid sequence.
  const std::int64_t bytes =
      converter.Convert(std::string_view(text, std::strlen(text) + 1), "\xFD\xFF", 1,
                        outUnits == 0 ? nullptr : reinterpret_cast<char*>(out),
                        2 * static_cast<std::size_t>(outUnits));
  return Count(bytes, 2);
}

std::int32_t WideToMultiByte(std::uint32_t codePage, const char16_t* units, char* out,
                             std::int32_t outBytes) {
  const char* to = IconvName(codePage);
  if (units == nullptr || to == nullptr || outBytes < 0) return 0;
  if (outBytes > 0 && out == nullptr) return 0;
  std::size_t count = 0;
  while (units[count] != 0) ++count;
  Converter converter(to, "UTF-16LE");
  if (!converter.valid()) return 0;
  // A character the code page cannot hold becomes "?" (UTF-8 holds everything but lone
  // surrogates, which become U+FFFD).
  const std::string_view replacement = codePage == 65001 ? "\xEF\xBF\xBD" : "?";
  const std::int64_t bytes = converter.Convert(
      std::string_view(reinterpret_cast<const char*>(units), (count + 1) * 2), replacement, 2,
      outBytes == 0 ? nullptr : out, static_cast<std::size_t>(outBytes));
  return Count(bytes, 1);
}

}  // namespace quorvant::code_pages
