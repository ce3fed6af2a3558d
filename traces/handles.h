#pragma once
// Move-only owners for the Win32 handles the probes use; each releases on every path.
#include <windows.h>

#include <utility>

namespace zarn {

template <typename T, T Empty, auto Close>
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

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Empty; }
  T* put() {
    reset();
    return &value_;
  }
  T release() { return std::exchange(value_, Empty); }
  void reset(T value = Empty) {
    if (value_ != Empty) Close(value_);
    value_ = value;
  }

 private:
  T value_ = Empty;
};

inline void CloseKey(HKEY key) { RegCloseKey(key); }
inline void FreeLib(HMODULE module) { FreeLibrary(module); }
inline void DeleteGdi(HGDIOBJ object) { DeleteObject(object); }
inline void DeleteMemDc(HDC dc) { DeleteDC(dc); }

using unique_hkey = UniqueHandle<HKEY, nullptr, CloseKey>;
using unique_hmodule = UniqueHandle<HMODULE, nullptr, FreeLib>;
using unique_hgdiobj = UniqueHandle<HGDIOBJ, nullptr, DeleteGdi>;
using unique_hdc = UniqueHandle<HDC, nullptr, DeleteMemDc>;

// INVALID_HANDLE_VALUE is not a constant expression for a template argument, so the
// find handle gets its own small owner.
class unique_hfind {
 public:
  unique_hfind() = default;
  explicit unique_hfind(HANDLE h) : h_(h) {}
  ~unique_hfind() { reset(); }
  unique_hfind(const unique_hfind&) = delete;
  unique_hfind& operator=(const unique_hfind&) = delete;
  unique_hfind(unique_hfind&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
  unique_hfind& operator=(unique_hfind&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }
  void reset() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};

// Same for file handles: CreateFileA's failure value is INVALID_HANDLE_VALUE.
class unique_file {
 public:
  explicit unique_file(HANDLE h) : h_(h) {}
  ~unique_file() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  unique_file(const unique_file&) = delete;
  unique_file& operator=(const unique_file&) = delete;
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

}  // namespace zarn
