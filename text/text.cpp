#include "text/text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
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

Bytes::Bytes(Bytes&& other) noexcept
    : storage_(std::move(other.storage_)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

Bytes& Bytes::operator=(Bytes&& other) noexcept {
  storage_ = std::move(other.storage_);
  size_ = std::exchange(other.size_, 0);
  capacity_ = std::exchange(other.capacity_, 0);
  return *this;
}

Bytes& Bytes::operator=(const Bytes& other) {
  if (this != &other) *this = Bytes(other);
  return *this;
}

void Bytes::Release::operator()(std::uint8_t* bytes) const {
  std::free(bytes);
}

void Bytes::append(const void* data, std::int32_t size) {
  if (data == nullptr || size <= 0) return;
  const std::int32_t room = std::numeric_limits<std::int32_t>::max() - size_;
  const std::int32_t count = std::min(size, room);
  if (count <= 0) return;
  // Bytes of this very buffer stay readable when the block moves.
  const auto* source = static_cast<const std::uint8_t*>(data);
  const std::uint8_t* const base = storage_.get();
  const bool inside = base != nullptr && source >= base && source < base + size_;
  const std::ptrdiff_t offset = inside ? source - base : 0;
  if (count > capacity_ - size_) {
    const std::int64_t wanted = std::max<std::int64_t>(
        {std::int64_t{size_} + count, std::int64_t{capacity_} * 2, std::int64_t{64}});
    const auto capacity = static_cast<std::int32_t>(
        std::min<std::int64_t>(wanted, std::numeric_limits<std::int32_t>::max()));
    // realloc may move a large block by remapping pages instead of copying them.
    auto* grown = static_cast<std::uint8_t*>(
        std::realloc(storage_.get(), static_cast<std::size_t>(capacity)));
    if (grown == nullptr) return;
    (void)storage_.release();
    storage_.reset(grown);
    capacity_ = capacity;
  }
  if (inside) source = storage_.get() + offset;
  std::memmove(storage_.get() + size_, source, static_cast<std::size_t>(count));
  size_ += count;
}

Bytes& Bytes::operator+=(const Bytes& other) {
  append(other.data(), other.size());
  return *this;
}

const Text& TextArray::at(std::int32_t index) const {
  static const Text kEmpty;
  if (index < 1 || index > count()) return kEmpty;
  return members_[static_cast<std::size_t>(index - 1)];
}

}  // namespace quorvant
