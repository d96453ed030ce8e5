#pragma once
#include <windows.h>

#include <utility>

namespace kelvo {

// Owns one platform handle whose "none" is null and gives it back with
// `Release` exactly once. Move-only, so a copy can never release it twice.
template <typename Handle, auto Release>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : m_handle(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.m_handle, nullptr));
    return *this;
  }

  Handle Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  // Gives back the handle held, then holds `handle`.
  void Reset(Handle handle = nullptr) {
    if (m_handle) Release(m_handle);
    m_handle = handle;
  }

 private:
  Handle m_handle = nullptr;
};

// A window the program made and destroys itself (a control of the face).
using OwnedWindow = UniqueHandle<HWND, DestroyWindow>;

}  // namespace kelvo
