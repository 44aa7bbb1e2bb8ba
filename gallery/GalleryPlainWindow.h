#pragma once
// A window of the system's own, with no framework object behind it: its menu bar, drop-downs and
// items are made with Win32 calls (shortcut text after a tab, checked, radio, disabled and default
// items, a separator, a sub-menu, an entry carrying item data, a bar item without a drop-down). The
// skin takes it over like any top-level window of the program.
#include <windows.h>

#include <vector>

namespace qlt {

class TGalleryPlainWindow {
 public:
  // The commands of its items.
  enum : UINT {
    kNew = 101,
    kOpen = 102,
    kChecked = 103,
    kRadio = 104,
    kDisabled = 105,
    kInner = 106,
    kUndo = 201,
    kDefault = 202,
    kGo = 301,
  };
  static constexpr ULONG_PTR kOpenData = 0x5EED;  // the item data of "Open"

  TGalleryPlainWindow();  // made hidden
  ~TGalleryPlainWindow();
  TGalleryPlainWindow(const TGalleryPlainWindow&) = delete;
  TGalleryPlainWindow& operator=(const TGalleryPlainWindow&) = delete;

  HWND Handle() const { return window_; }
  // Its menu, also while the skin shows the bar in its stead.
  HMENU Menu() const { return menu_; }
  void Show();
  // The commands its menu sent, in order.
  const std::vector<UINT>& Commands() const { return commands_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  std::vector<UINT> commands_;
};

}  // namespace qlt
