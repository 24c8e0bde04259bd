#pragma once
// Owners for every Windows handle, GDI object and COM pointer the program
// holds: each releases what it holds when it goes, so no path out of a
// function can leak one, and nothing else releases them by hand.
#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace tessafold {

// A handle that Traits::Close releases and that equals Traits::Invalid() when
// it holds none.
template <typename Traits>
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = Traits::Invalid()) : handle_(handle) {}
  ~OwnedHandle() { Release(); }
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != Traits::Invalid(); }
  void Reset(HANDLE handle = Traits::Invalid()) {
    Release();
    handle_ = handle;
  }
  // False when the close reports an error: for a file, written data may be lost.
  bool Release() {
    if (!Valid()) return true;
    return Traits::Close(std::exchange(handle_, Traits::Invalid())) != 0;
  }

 private:
  HANDLE handle_;
};

// CreateFileW's and FindFirstFileW's handles are INVALID_HANDLE_VALUE when
// they hold none, the others null.
struct FileTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static BOOL Close(HANDLE handle) { return CloseHandle(handle); }
};
struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static BOOL Close(HANDLE handle) { return FindClose(handle); }
};
struct KernelTraits {
  static HANDLE Invalid() { return nullptr; }
  static BOOL Close(HANDLE handle) { return CloseHandle(handle); }
};

using FileHandle = OwnedHandle<FileTraits>;
using FindHandle = OwnedHandle<FindTraits>;
using KernelHandle = OwnedHandle<KernelTraits>;

// A COM interface pointer that releases its reference when it goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For a call that hands out a new reference: releases the old one first.
  void** Put() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void Reset() {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

// Memory that a Windows call allocated with LocalAlloc for its caller, such
// as a security descriptor.
struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalFreeDeleter>;

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// A GDI object the program made (a font for a display's scale, a brush of the
// dark colours); never a stock object, which must not be deleted.
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

// A system library loaded for a call that older Windows lack.
struct ModuleDeleter {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

}  // namespace tessafold
