#pragma once
// Owners of what COM hands out, so that every return path gives it back with
// the API's own function: an interface pointer (Release), a BSTR
// (SysFreeString), a VARIANT (VariantClear) and a task allocator string
// (CoTaskMemFree). For .cpp files that call COM; they include <windows.h>.
// Our status names first: <windows.h> defines the same names as macros.
#include "platform/status.h"
#include "platform/win32/wide.h"

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace tabulon::platform::win32 {

// The status an HRESULT stands for: our numbers are Windows' numbers.
inline win::Status StatusOf(HRESULT hr) {
  return static_cast<win::Status>(hr);
}

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over one reference.
  explicit ComPtr(T* owned) : p_(owned) {}
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For an out parameter: releases what it held first.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  T* detach() { return std::exchange(p_, nullptr); }
  void reset() {
    if (p_ != nullptr) std::exchange(p_, nullptr)->Release();
  }

  // QueryInterface for `iid`; the status is the HRESULT.
  template <typename U>
  HRESULT As(REFIID iid, ComPtr<U>& out) const {
    if (p_ == nullptr) return E_POINTER;
    return p_->QueryInterface(iid, out.put_void());
  }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  Bstr() = default;
  // A NULL BSTR when allocation fails, which the APIs refuse.
  explicit Bstr(std::string_view utf8) {
    const std::wstring wide = ToWide(utf8);
    b_ = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { ::SysFreeString(b_); }

  BSTR get() const { return b_; }
  BSTR* put() {
    ::SysFreeString(std::exchange(b_, nullptr));
    return &b_;
  }

 private:
  BSTR b_ = nullptr;
};

class Variant {
 public:
  Variant() { ::VariantInit(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { ::VariantClear(&v_); }

  const VARIANT& get() const { return v_; }
  VARIANT* put() {
    ::VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

class CoTaskString {
 public:
  CoTaskString() = default;
  CoTaskString(const CoTaskString&) = delete;
  CoTaskString& operator=(const CoTaskString&) = delete;
  ~CoTaskString() { ::CoTaskMemFree(s_); }

  const wchar_t* get() const { return s_; }
  LPWSTR* put() {
    ::CoTaskMemFree(std::exchange(s_, nullptr));
    return &s_;
  }

 private:
  LPWSTR s_ = nullptr;
};

}  // namespace tabulon::platform::win32
