#pragma once

// An optional out or in/out parameter: the caller's variable, a value given without a variable,
// or, when omitted, an empty value. The routine reads and writes through it alike; what it
// writes reaches the caller only through a variable. given() tells whether the caller supplied
// the parameter at all.
namespace quorvant {

template <class T>
class InOut {
 public:
  InOut() = default;
  InOut(T& variable) : variable_(&variable), given_(true) {}  // NOLINT: passes the variable
  InOut(const T& value) : scratch_(value), given_(true) {}    // NOLINT: passes a value
  InOut(const InOut&) = delete;
  InOut& operator=(const InOut&) = delete;

  bool given() const { return given_; }
  T& operator*() { return variable_ != nullptr ? *variable_ : scratch_; }
  T* operator->() { return &**this; }

 private:
  T scratch_{};
  T* variable_ = nullptr;
  bool given_ = false;
};

}  // namespace quorvant
