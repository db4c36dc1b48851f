#pragma once
// Small owners for the Windows resources of the program: each one frees its resource
// when it goes out of scope, so no early return leaks a handle, a memory block, a
// bitmap, a window or an open clipboard.
#include <windows.h>

#include <utility>

namespace tvx {

template <typename Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(Type value) : value_(value) {}
  ~UniqueResource() { reset(); }
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Type get() const { return value_; }
  explicit operator bool() const { return Traits::IsValid(value_); }

  // Gives the resource up without freeing it.
  Type release() { return std::exchange(value_, Traits::Empty()); }
  void reset(Type value = Traits::Empty()) {
    const Type old = std::exchange(value_, value);
    if (Traits::IsValid(old)) Traits::Free(old);
  }
  // For functions that hand a new resource out through a pointer.
  Type* put() {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::Empty();
};

namespace scoped_detail {

// A kernel handle: both null and INVALID_HANDLE_VALUE mean "none", since the
// system's functions answer failure with one or the other.
struct HandleTraits {
  using Type = HANDLE;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Free(Type h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Free(Type h) { ::FindClose(h); }
};
struct HGlobalTraits {
  using Type = HGLOBAL;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Free(Type h) { ::GlobalFree(h); }
};
struct HBitmapTraits {
  using Type = HBITMAP;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Free(Type h) { ::DeleteObject(h); }
};
struct HwndTraits {
  using Type = HWND;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Free(Type h) {
    if (::IsWindow(h)) ::DestroyWindow(h);
  }
};
struct HIconTraits {
  using Type = HICON;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Free(Type h) { ::DestroyIcon(h); }
};
struct HMenuTraits {
  using Type = HMENU;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Free(Type h) { ::DestroyMenu(h); }
};

}  // namespace scoped_detail

using UniqueHandle = UniqueResource<scoped_detail::HandleTraits>;
using UniqueFindHandle = UniqueResource<scoped_detail::FindHandleTraits>;
using UniqueHGlobal = UniqueResource<scoped_detail::HGlobalTraits>;
using UniqueHBitmap = UniqueResource<scoped_detail::HBitmapTraits>;
using UniqueHwnd = UniqueResource<scoped_detail::HwndTraits>;
using UniqueHIcon = UniqueResource<scoped_detail::HIconTraits>;
using UniqueHMenu = UniqueResource<scoped_detail::HMenuTraits>;

// A locked global memory block, unlocked again at the end of the scope.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL block) : block_(block), data_(block ? ::GlobalLock(block) : nullptr) {}
  ~GlobalLockScope() {
    if (data_ != nullptr) ::GlobalUnlock(block_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;

  void* data() const { return data_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  HGLOBAL block_;
  void* data_;
};

// The clipboard, open for as long as the session lives. Another program may hold it
// for a moment, so opening is tried a few times before the session gives up.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner = nullptr, int attempts = 5) {
    for (int i = 0; i < attempts && !open_; ++i) {
      open_ = ::OpenClipboard(owner) != FALSE;
      if (!open_ && i + 1 < attempts) ::Sleep(10);
    }
  }
  ~ClipboardSession() {
    if (open_) ::CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  bool IsOpen() const { return open_; }
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace tvx
