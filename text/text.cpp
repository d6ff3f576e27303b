#include "text/text.h"

#include <utility>

namespace quorvant {

Text::Text(const char* text) : bytes_(text == nullptr ? "" : text) {}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)) {
  const std::size_t nul = bytes_.find('\0');
  if (nul != std::string::npos) bytes_.resize(nul);
}

Text& Text::operator+=(const Text& other) {
  bytes_ += other.bytes_;
  return *this;
}

Bytes::Bytes(const void* data, std::int32_t size) {
  append(data, size);
}

void Bytes::append(const void* data, std::int32_t size) {
  if (data == nullptr || size <= 0) return;
  const auto* first = static_cast<const std::uint8_t*>(data);
  bytes_.insert(bytes_.end(), first, first + size);
}

Bytes& Bytes::operator+=(const Bytes& other) {
  bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end());
  return *this;
}

const Text& TextArray::at(std::int32_t index) const {
  static const Text kEmpty;
  if (index < 1 || index > count()) return kEmpty;
  return members_[static_cast<std::size_t>(index - 1)];
}

}  // namespace quorvant
