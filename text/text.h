#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

// A byte string in code page 936. It never holds a NUL byte: construction stops at the first
// one. The empty text and an absent text are the same value.
class Text {
 public:
  Text() = default;
  Text(const char* text);  // NOLINT: literals are texts
  Text(std::string_view bytes);
  explicit Text(const std::string& bytes) : Text(std::string_view(bytes)) {}
  // Takes over the buffer; still cut at the first NUL.
  explicit Text(std::string&& bytes);

  std::int32_t size() const { return static_cast<std::int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }
  // Always NUL-terminated, for platform calls that take C strings.
  const char* c_str() const { return bytes_.c_str(); }
  std::string_view view() const { return bytes_; }
  // The byte at a 0-based offset; 0 outside the text, as at its terminating NUL.
  unsigned char at(std::int32_t offset) const {
    if (offset < 0 || offset >= size()) return 0;
    return static_cast<unsigned char>(bytes_[static_cast<std::size_t>(offset)]);
  }

  Text& operator+=(const Text& other);
  friend Text operator+(Text left, const Text& right) { return left += right; }
  friend bool operator==(const Text&, const Text&) = default;

 private:
  std::string bytes_;
};

// A counted buffer of any bytes, zero included. Empty and absent are the same value.
class Bytes {
 public:
  Bytes() = default;
  Bytes(const void* data, std::int32_t size);
  explicit Bytes(std::string_view bytes)
      : Bytes(bytes.data(), static_cast<std::int32_t>(bytes.size())) {}
  Bytes(const Bytes& other) : Bytes(other.data(), other.size()) {}
  Bytes(Bytes&& other) noexcept;
  Bytes& operator=(const Bytes& other);
  Bytes& operator=(Bytes&& other) noexcept;
  ~Bytes() = default;

  std::int32_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::uint8_t* data() { return storage_.get(); }
  const std::uint8_t* data() const { return storage_.get(); }
  std::string_view view() const {
    return {reinterpret_cast<const char*>(storage_.get()), static_cast<std::size_t>(size_)};
  }

  // Grows geometrically in place where the allocator can, so a body read in small chunks is
  // not copied over and over. Bytes that would take the count past 2^31 - 1 are not added.
  void append(const void* data, std::int32_t size);
  Bytes& operator+=(const Bytes& other);
  friend Bytes operator+(Bytes left, const Bytes& right) { return left += right; }
  friend bool operator==(const Bytes& left, const Bytes& right) {
    return left.view() == right.view();
  }

 private:
  struct Release {
    void operator()(std::uint8_t* bytes) const;
  };
  std::unique_ptr<std::uint8_t, Release> storage_;
  std::int32_t size_ = 0;
  std::int32_t capacity_ = 0;
};

// An array of texts numbered from 1 to count(); it owns copies of its members.
class TextArray {
 public:
  TextArray() = default;

  std::int32_t count() const { return static_cast<std::int32_t>(members_.size()); }
  // index runs from 1 to count(); any other index reads the empty text.
  const Text& at(std::int32_t index) const;
  void Append(const Text& member) { members_.push_back(member); }

  auto begin() const { return members_.begin(); }
  auto end() const { return members_.end(); }
  friend bool operator==(const TextArray&, const TextArray&) = default;

 private:
  std::vector<Text> members_;
};

}  // namespace quorvant
