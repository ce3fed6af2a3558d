#pragma once
// One move-only owner for every Win32 handle the program keeps: the type, the function
// that releases it and the value that means "none". The empty value is an integer cast at
// run time, because INVALID_HANDLE_VALUE is a pointer and no constant expression.
#include <windows.h>

#include <type_traits>
#include <utility>

namespace zarn {

template <typename T, auto Close, INT_PTR Invalid = 0>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T value) : value_(value) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  static T Empty() {
    if constexpr (std::is_pointer_v<T>)
      return reinterpret_cast<T>(Invalid);
    else
      return static_cast<T>(Invalid);
  }
  T get() const { return value_; }
  explicit operator bool() const { return value_ != Empty(); }
  // For out-parameters: releases what is held and hands out the place for the new handle.
  T* put() {
    reset();
    return &value_;
  }
  T release() { return std::exchange(value_, Empty()); }
  void reset(T value = Empty()) {
    if (value_ != Empty()) Close(value_);
    value_ = value;
  }

 private:
  T value_ = Empty();
};

}  // namespace zarn
