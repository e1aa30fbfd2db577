// Move-only owners of Win32 handles: each closes its handle with the
// function that belongs to it, exactly once.
#pragma once

#include "platform/win32/windows_win32.h"

#include <objbase.h>

#include <utility>

namespace veltrane {

// Traits: Handle type, Invalid() value, IsValid(h) and Close(h).
template <typename Traits>
class UniqueResource {
 public:
  using Handle = typename Traits::Handle;

  UniqueResource() = default;
  explicit UniqueResource(Handle handle) : handle_(handle) {}
  ~UniqueResource() { Reset(); }
  UniqueResource(UniqueResource&& other) noexcept : handle_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Handle Get() const { return handle_; }
  bool IsValid() const { return Traits::IsValid(handle_); }
  explicit operator bool() const { return IsValid(); }

  // For the out-parameter of an opening call: closes what is held first.
  Handle* Receive() {
    Reset();
    return &handle_;
  }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) {
    const Handle old = std::exchange(handle_, handle);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle handle) { return handle != nullptr; }
  static void Close(Handle handle) { RegCloseKey(handle); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { FindClose(handle); }
};

// Kernel objects: files, processes, snapshots. Some calls fail with
// INVALID_HANDLE_VALUE, others with NULL; neither is closed.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { CloseHandle(handle); }
};

// Memory from the shell or COM allocator: item-id lists, known-folder paths.
template <typename T>
struct CoTaskMemTraits {
  using Handle = T*;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle handle) { return handle != nullptr; }
  static void Close(Handle handle) { CoTaskMemFree(handle); }
};

using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueHandle = UniqueResource<KernelHandleTraits>;
template <typename T>
using UniqueCoTaskMem = UniqueResource<CoTaskMemTraits<T>>;

}  // namespace veltrane
