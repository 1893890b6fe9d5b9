#pragma once
// Owns one kernel handle so that every return path closes it. Kept free of
// <windows.h>: a HANDLE is a pointer.
namespace tabulon::platform::win32 {

class Handle {
 public:
  explicit Handle(void* handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle();

  void* get() const { return handle_; }
  // Neither null nor INVALID_HANDLE_VALUE: the APIs fail with either.
  bool valid() const;

 private:
  void* handle_;
};

}  // namespace tabulon::platform::win32
