#include "gallery/GalleryPlainWindow.h"

namespace qlt {

namespace {

constexpr wchar_t kClass[] = L"QltGalleryPlainWindow";

void Append(HMENU menu, UINT id, const wchar_t* text, UINT state = 0, UINT type = 0, ULONG_PTR data = 0,
            HMENU sub = nullptr) {
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_DATA | (sub ? MIIM_SUBMENU : 0);
  mii.fType = type;
  mii.fState = state;
  mii.wID = id;
  mii.dwItemData = data;
  mii.hSubMenu = sub;
  mii.dwTypeData = const_cast<wchar_t*>(text);
  InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mii);
}

HMENU MakeMenu() {
  using W = TGalleryPlainWindow;
  HMENU more = CreatePopupMenu();
  Append(more, W::kInner, L"&Inner 内层");
  HMENU file = CreatePopupMenu();
  Append(file, W::kNew, L"&New 新建\tCtrl+N");
  Append(file, W::kOpen, L"&Open 打开\tCtrl+O", 0, 0, W::kOpenData);
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  Append(file, W::kChecked, L"&Checked 已选", MFS_CHECKED);
  Append(file, W::kRadio, L"&Radio 单选", MFS_CHECKED, MFT_RADIOCHECK);
  Append(file, W::kDisabled, L"&Disabled 禁用", MFS_GRAYED);
  Append(file, 0, L"&More 更多", 0, 0, 0, more);
  HMENU edit = CreatePopupMenu();
  Append(edit, W::kUndo, L"&Undo 撤销");
  Append(edit, W::kDefault, L"De&fault 默认", MFS_DEFAULT);
  HMENU bar = CreateMenu();
  Append(bar, 0, L"&File 文件", 0, 0, 0, file);
  Append(bar, 0, L"&Edit 编辑", 0, 0, 0, edit);
  Append(bar, W::kGo, L"&Go 前往");
  return bar;
}

}  // namespace

TGalleryPlainWindow::TGalleryPlainWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // fails harmlessly when registered already
  menu_ = MakeMenu();
  window_ = CreateWindowExW(0, kClass, L"Plain Win32 window 普通窗口", WS_OVERLAPPEDWINDOW, 520, 300, 340, 180,
                            nullptr, menu_, GetModuleHandleW(nullptr), this);
  CreateWindowExW(0, L"STATIC", L"No framework object: a menu made by Win32 calls.", WS_CHILD | WS_VISIBLE, 12, 12,
                  300, 40, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TGalleryPlainWindow::~TGalleryPlainWindow() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    const bool showsMenu = GetMenu(window_) == menu_;
    DestroyWindow(window_);
    if (showsMenu) menu_ = nullptr;  // went with the window
  }
  // The skin may have kept the bar from the window: then it is ours to free.
  if (menu_ && IsMenu(menu_)) DestroyMenu(menu_);
}

void TGalleryPlainWindow::Show() {
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
}

LRESULT CALLBACK TGalleryPlainWindow::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<TGalleryPlainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (msg) {
    case WM_COMMAND:
      if (self && lParam == 0 && HIWORD(wParam) == 0) {
        try {
          self->commands_.push_back(LOWORD(wParam));
        } catch (...) {
          // A command not recorded is still a command.
        }
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closed, it can be opened again.
      ShowWindow(window, SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace qlt
