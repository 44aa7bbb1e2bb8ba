// TForm's MDI part: the frame's client window, children made and destroyed through it, and the
// frame's and children's default procedures.
#include "ui/Forms.h"

namespace qlt {

namespace {

// Child windows of the client get ids from here on (the client numbers them in the window menu);
// far above the framework's control and menu command ids.
constexpr UINT kFirstMdiChildId = 0xFF00;

bool IsMdiFrame(const TForm* form) {
  return form && form->FormStyle() == fsMDIForm && form->ClientHandle() != nullptr;
}

}  // namespace

void TForm::SetWindowMenu(TMenuItem* item) {
  windowMenu_ = item;
  if (item) item->FreeNotification(this);
}

void TForm::CreateClient() {
  if (clientHandle_ && IsWindow(clientHandle_)) return;
  CLIENTCREATESTRUCT ccs{};
  ccs.hWindowMenu = windowMenu_ && windowMenu_->Count() ? windowMenu_->Handle() : nullptr;
  ccs.idFirstChild = kFirstMdiChildId;
  RECT r{};
  GetClientRect(Handle(), &r);
  clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL,
                                  0, 0, r.right, r.bottom, Handle(), nullptr, GetModuleHandleW(nullptr), &ccs);
  if (!clientHandle_) throw EWin32Error(u"The MDI client window of '" + Name() + u"' could not be made");
}

HWND TForm::ParentClient() const {
  if (auto* owner = dynamic_cast<TForm*>(Owner()); IsMdiFrame(owner)) return owner->ClientHandle();
  if (Application && IsMdiFrame(Application->MainForm())) return Application->MainForm()->ClientHandle();
  if (Screen) {
    for (int i = 0; i < Screen->FormCount(); ++i) {
      if (IsMdiFrame(Screen->Forms(i))) return Screen->Forms(i)->ClientHandle();
    }
  }
  return nullptr;
}

HWND TForm::CreateWindowHandle(const TCreateParams& p, HMENU id) {
  if (formStyle_ != fsMDIChild) return TWinControl::CreateWindowHandle(p, id);
  if (!p.wndParent) throw EWin32Error(u"There is no MDI frame for the child form '" + Name() + u"'");
  MDICREATESTRUCTW mcs{};
  mcs.szClass = reinterpret_cast<LPCWSTR>(p.className.c_str());
  mcs.szTitle = reinterpret_cast<LPCWSTR>(p.caption.c_str());
  mcs.hOwner = GetModuleHandleW(nullptr);
  mcs.x = p.x, mcs.y = p.y, mcs.cx = p.width, mcs.cy = p.height;
  mcs.style = p.style;
  mcs.lParam = reinterpret_cast<LPARAM>(this);
  const auto window = reinterpret_cast<HWND>(SendMessageW(p.wndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  // The window menu lists the new child.
  if (window) SendMessageW(p.wndParent, WM_MDIREFRESHMENU, 0, 0);
  return window;
}

void TForm::DestroyWindowHandle(HWND window) {
  HWND parent = GetParent(window);
  if (formStyle_ == fsMDIChild && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) && parent) {
    // The client activates the next child and takes this one out of the window menu.
    SendMessageW(parent, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
    if (IsWindow(window)) DestroyWindow(window);
    return;
  }
  TWinControl::DestroyWindowHandle(window);
  // The frame's client went with it.
  if (!IsWindow(clientHandle_)) clientHandle_ = nullptr;
}

LRESULT TForm::CallDefaultProcedure(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND window = Handle();
  if (formStyle_ == fsMDIForm && clientHandle_) return DefFrameProcW(window, clientHandle_, msg, wParam, lParam);
  if (formStyle_ == fsMDIChild && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    return DefMDIChildProcW(window, msg, wParam, lParam);
  }
  return TWinControl::CallDefaultProcedure(msg, wParam, lParam);
}

std::vector<HWND> TForm::ChildWindows() const {
  std::vector<HWND> out;
  if (!clientHandle_) return out;
  for (HWND w = GetWindow(clientHandle_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_MDICHILD) out.push_back(w);
  }
  return out;
}

TForm* TForm::ActiveMDIChild() const {
  if (!clientHandle_) return nullptr;
  const auto active = reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0));
  return active ? dynamic_cast<TForm*>(FindControl(active)) : nullptr;
}

int TForm::MDIChildCount() const {
  int n = 0;
  for (HWND w : ChildWindows()) n += dynamic_cast<TForm*>(FindControl(w)) ? 1 : 0;
  return n;
}

TForm* TForm::MDIChildren(int index) const {
  for (HWND w : ChildWindows()) {
    auto* form = dynamic_cast<TForm*>(FindControl(w));
    if (form && index-- == 0) return form;
  }
  return nullptr;
}

void TForm::Tile() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TForm::Cascade() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDICASCADE, 0, 0);
}

}  // namespace qlt
