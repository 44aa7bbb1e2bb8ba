#pragma once
// Move-only owners of Win32 handles: one type per way a handle is released, so a reader sees at a
// glance who frees what. A borrowed handle stays a plain HBRUSH, HDC, ...
#include <windows.h>

#include <utility>

namespace qlt {

template <class H, class Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H handle) : handle_(Adopt(handle)) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, H{}));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != H{}; }
  void Reset(H handle = H{}) {
    if (handle_ != H{}) Traits::Release(handle_);
    handle_ = Adopt(handle);
  }
  H Release() { return std::exchange(handle_, H{}); }

 private:
  // A kind whose calls report failure with a value other than null says so in its Traits::Adopt.
  static H Adopt(H handle) {
    if constexpr (requires { Traits::Adopt(handle); }) {
      return Traits::Adopt(handle);
    } else {
      return handle;
    }
  }

  H handle_{};
};

struct GdiObjectTraits {
  static void Release(HGDIOBJ h) { DeleteObject(h); }
};
struct DcTraits {
  static void Release(HDC h) { DeleteDC(h); }
};
struct MenuTraits {
  static void Release(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
  static void Release(HICON h) { DestroyIcon(h); }
};
struct WindowTraits {
  static void Release(HWND h) { DestroyWindow(h); }
};
// Files, mutexes, events, processes, threads, snapshots, mappings: closed with CloseHandle.
struct KernelHandleTraits {
  static void Release(HANDLE h) { CloseHandle(h); }
  // CreateFile and CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE, the other creating
  // calls with null; both are held as "no handle" (INVALID_HANDLE_VALUE is also the value of
  // GetCurrentProcess(), which must never be closed).
  static HANDLE Adopt(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }
};
struct RegKeyTraits {
  static void Release(HKEY h) { RegCloseKey(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniquePen = UniqueHandle<HPEN, GdiObjectTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, DcTraits>;  // CreateCompatibleDC
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;

// A DC obtained with GetDC or GetWindowDC, released to its window.
class WindowDc {
 public:
  explicit WindowDc(HWND window, bool wholeWindow = false)
      : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a DC for a scope; the previous one is selected back at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A thread timer (SetTimer without a window), killed at the end.
class ThreadTimer {
 public:
  ThreadTimer() = default;
  ThreadTimer(UINT elapse, TIMERPROC proc) : id_(SetTimer(nullptr, 0, elapse, proc)) {}
  ~ThreadTimer() { Reset(); }
  ThreadTimer(ThreadTimer&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
  ThreadTimer& operator=(ThreadTimer&& other) noexcept {
    if (this != &other) {
      Reset();
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  UINT_PTR Id() const { return id_; }
  void Reset() {
    if (id_) KillTimer(nullptr, id_);
    id_ = 0;
  }

 private:
  UINT_PTR id_ = 0;
};

}  // namespace qlt
