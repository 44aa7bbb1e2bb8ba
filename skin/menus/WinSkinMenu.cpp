#include "skin/menus/WinSkinMenu.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/menus/MenuItemPainter.h"
#include "ui/Forms.h"

namespace qlt {

// ---- the open drop-down, one per process ----

// The entries of a drop-down that the window's menu does not draw itself (a window without a form
// object, an entry merged in by Win32 calls): marked owner-drawn while the drop-down shows, so that
// the skin draws them as it draws every menu, and given back as they were when it has closed. Only
// the owner-draw mark is added and taken away again: type, text and item data stay the window's.
class EntryMarks {
 public:
  struct Entry {
    HMENU menu;
    UINT position;
    UINT id;
    ULONG_PTR data;
  };
  explicit EntryMarks(HMENU menu) { Mark(menu, 0); }
  ~EntryMarks() {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) Unmark(*it);
  }
  EntryMarks(const EntryMarks&) = delete;
  EntryMarks& operator=(const EntryMarks&) = delete;

  // A menu is about to show: the system measures its entries next, in their order.
  void Showing(HMENU menu) {
    measuring_ = menu;
    lastMeasured_ = -1;
  }
  // The marked entry the system measures (it names no menu: the one showing, entries alike in id and
  // data taken in order) or draws (of entries alike in id and data, the one at `screenTop`); nullptr
  // for an entry the skin did not mark.
  const Entry* Measured(UINT id, ULONG_PTR data) {
    const Entry* first = nullptr;
    for (const Entry& e : entries_) {
      if ((measuring_ && e.menu != measuring_) || e.id != id || e.data != data) continue;
      if (!first) first = &e;
      if (static_cast<int>(e.position) > lastMeasured_) {
        first = &e;
        break;
      }
    }
    if (first) lastMeasured_ = static_cast<int>(first->position);
    return first;
  }
  const Entry* Drawn(HMENU menu, UINT id, ULONG_PTR data, LONG screenTop) const {
    const Entry* first = nullptr;
    for (const Entry& e : entries_) {
      if (e.menu != menu || e.id != id || e.data != data) continue;
      RECT r{};
      if (GetMenuItemRect(nullptr, e.menu, e.position, &r) && r.top == screenTop) return &e;
      if (!first) first = &e;
    }
    return first;
  }

 private:
  static bool Read(HMENU menu, UINT position, MENUITEMINFOW& mii) {
    mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
    return GetMenuItemInfoW(menu, position, TRUE, &mii) != FALSE;
  }
  static void SetType(HMENU menu, UINT position, UINT type) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    mii.fType = type;
    SetMenuItemInfoW(menu, position, TRUE, &mii);
  }
  void Mark(HMENU menu, int depth) {
    if (!IsMenu(menu) || depth > 16) return;  // a menu that holds itself goes no deeper
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOW mii{};
      if (!Read(menu, static_cast<UINT>(i), mii)) continue;
      // Entries that draw themselves (a framework menu's, the application's) and pictures stay so.
      if (!(mii.fType & (MFT_OWNERDRAW | MFT_BITMAP))) {
        entries_.push_back({menu, static_cast<UINT>(i), mii.wID, mii.dwItemData});
        SetType(menu, static_cast<UINT>(i), mii.fType | MFT_OWNERDRAW);
      }
      if (mii.hSubMenu) Mark(mii.hSubMenu, depth + 1);
    }
  }
  static void Unmark(const Entry& e) {
    if (!IsMenu(e.menu)) return;
    // At its place, or where the window moved it meanwhile.
    auto same = [&](UINT position, MENUITEMINFOW& mii) {
      return Read(e.menu, position, mii) && mii.wID == e.id && mii.dwItemData == e.data && (mii.fType & MFT_OWNERDRAW);
    };
    constexpr UINT kUnmarked = ~static_cast<UINT>(MFT_OWNERDRAW);
    MENUITEMINFOW mii{};
    if (same(e.position, mii)) return SetType(e.menu, e.position, mii.fType & kUnmarked);
    const int count = GetMenuItemCount(e.menu);
    for (int i = 0; i < count; ++i) {
      if (same(static_cast<UINT>(i), mii)) return SetType(e.menu, static_cast<UINT>(i), mii.fType & kUnmarked);
    }
  }
  std::vector<Entry> entries_;
  HMENU measuring_ = nullptr;
  int lastMeasured_ = -1;
};

// What the menu loop of the open drop-down needs: which bar and button, the button to open once it
// has closed, the selection as the window's menu messages tell it, and the filter.
struct DropDownRun {
  TWinSkinMenu* bar = nullptr;  // requested or open; cleared when the bar goes
  bool running = false;         // inside the drop-downs' loop
  bool inMenu = false;          // inside TrackPopupMenuEx
  int index = -1;               // the open button
  int next = -1;                // the button to open next
  DropDownState state;
  POINT lastPos{};
  bool rightToLeft = false;
  HHOOK filter = nullptr;
  EntryMarks* marks = nullptr;  // the open drop-down's entries the skin draws for the window

  static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
  static LRESULT CALLBACK RunnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  static HWND Runner();
  static void Run();
};

namespace {

DropDownRun g_run;
constexpr UINT kRunDropDowns = WM_APP + 0x51;
// Marks the Down key posted to select a drop-down's first item (a real key has a repeat count).
constexpr LPARAM kSelectFirstMark = 0;

COLORREF Rgb(TColor colour, int systemColour) { return SkinColourToRgb(colour, GetSysColor(systemColour)); }

Pixel32 ToPixel(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

// A main menu's owner drawing switched without telling its form, which would put its own bar back
// (the skin decides about the bar: it takes it away, or gives it back itself).
void SetOwnerDrawQuietly(TMainMenu& menu, bool on) {
  const HWND shown = menu.WindowHandle();
  menu.SetWindowHandle(nullptr);
  menu.SetOwnerDraw(on);
  menu.SetWindowHandle(shown);
}

UniqueFont MenuFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW lf{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
    lf = metrics.lfMenuFont;
  } else {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  }
  return UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace

LRESULT CALLBACK DropDownRun::FilterProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_MENU && g_run.bar && g_run.inMenu && msg) {
      // A right-to-left bar runs the other way: the arrow keys are mirrored for the menu as well.
      if (g_run.rightToLeft && msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
        msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
      }
      if (const LRESULT r = CallNextHookEx(g_run.filter, code, wParam, lParam)) return r;
      return g_run.bar->Filter(*msg) ? 1 : 0;
    }
  } catch (...) {
    // The menu goes on as the system runs it.
  }
  return CallNextHookEx(g_run.filter, code, wParam, lParam);
}

LRESULT CALLBACK DropDownRun::RunnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == kRunDropDowns) {
    try {
      Run();
    } catch (...) {
      // The run has ended itself; the program goes on.
    }
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

HWND DropDownRun::Runner() {
  static UniqueWindow window = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RunnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TSkinMenuDropDowns";
    RegisterClassExW(&wc);
    return UniqueWindow(CreateWindowExW(0, L"TSkinMenuDropDowns", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
  }();
  return window.Get();
}

void DropDownRun::Run() {
  if (!g_run.bar || g_run.running) return;
  // Whichever way the run ends, nothing of it stays: no bar, no open popup flag (each drop-down
  // takes its filter away itself).
  struct Ending {
    Ending() {
      g_run.running = true;
      if (SkinManager) SkinManager->SetMenuBarPopup(true);
    }
    ~Ending() {
      g_run = {};
      if (SkinManager) SkinManager->SetMenuBarPopup(false);
    }
    Ending(const Ending&) = delete;
    Ending& operator=(const Ending&) = delete;
  } ending;
  // Each drop-down returns before the next one opens: a switch only asks for the next.
  while (g_run.bar && g_run.next >= 0) {
    TWinSkinMenu* bar = g_run.bar;
    const int index = std::exchange(g_run.next, -1);
    if (!bar->DropDown(index)) break;
  }
}

bool TWinSkinMenu::DropDownOpen() { return g_run.bar != nullptr; }
bool TWinSkinMenu::FilterInstalled() { return g_run.filter != nullptr; }

// ---- the buttons ----

void TMenuBtn::Paint() { owner_.PaintNcRect(Rect); }

// ---- the bar ----

const TClassInfo& TWinSkinMenu::StaticClass() {
  static const TClassInfo info = ClassBuilder<TWinSkinMenu, TComponent>("TWinSkinMenu").Build();
  return info;
}

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form) : TComponent(nullptr), form_(form), font_(MenuFont()) {
  LOGFONTW lf{};
  if (GetObjectW(font_.Get(), sizeof lf, &lf)) itemCanvas_.Font()->SetFromLogFont(lf);
}

TWinSkinMenu::~TWinSkinMenu() {
  if (g_run.bar == this) {
    // The open drop-down belongs to a bar that goes: it ends, and its loop touches nothing of it.
    const bool inMenu = g_run.inMenu;
    g_run.bar = nullptr;
    g_run.next = -1;
    if (inMenu) EndMenu();
  }
  form_.ForgetMenuButtons();
  ReleaseMenu();
}

void TWinSkinMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove || component != menu_) return;
  // The main menu is being freed: its items, and the buttons made of them, go with it.
  drawHook_.Detach();
  if (menu_->Items()->HandleAllocated() && menuHandle_ == menu_->Items()->Handle()) menuHandle_ = nullptr;
  menu_ = nullptr;
  ownerDrawSet_ = false;
  for (auto& b : buttons_) {
    b->Item = nullptr;
    b->SubMenu = nullptr;
  }
}

void TWinSkinMenu::AdoptMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  ReleaseMenu();
  menu_ = menu;
  if (!menu_) return;
  menu_->FreeNotification(this);
  // Owner-drawn while skinned, unless the application draws it so itself; what it had comes back.
  if (!menu_->OwnerDraw()) {
    ownerDrawSet_ = true;
    SetOwnerDrawQuietly(*menu_, true);
  }
  drawHook_.Attach(menu_->Hooks(), [this](TMenuMessage& m) {
    if (!m.Item || m.Item->OnAdvancedDrawItem || (m.Msg != WM_MEASUREITEM && m.Msg != WM_DRAWITEM)) return;
    TSkinData* skin = form_.Skin();
    if (!skin || skin->NoSkin) return;
    if (m.Msg == WM_MEASUREITEM) {
      // The item's own size (the framework's, then its OnMeasureItem), then room for the skin.
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
      MeasureEntry(*skin, *m.Item, width, height);
      mis->itemWidth = static_cast<UINT>(std::max(width, 0));
      mis->itemHeight = static_cast<UINT>(std::max(height, 0));
      m.Result = TRUE;
      m.Handled = true;
      return;
    }
    DrawOnPopup(*skin, *m.Item, *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    m.Handled = true;
  });
}

void TWinSkinMenu::DrawOnPopup(const TSkinData& skin, TMenuItem& item, const DRAWITEMSTRUCT& dis) {
  // The drop-down's items lie on the popup window's skinned background, as every popup menu's do.
  const int saved = SaveDC(dis.hDC);
  itemCanvas_.SetHandle(dis.hDC);
  DrawSkinnedMenuItemOnPopup(skin, item, itemCanvas_, dis.rcItem, OwnerDrawStateOf(dis.itemState),
                             reinterpret_cast<HMENU>(dis.hwndItem));
  itemCanvas_.SetHandle(nullptr);
  RestoreDC(dis.hDC, saved);
}

void TWinSkinMenu::MeasureEntry(const TSkinData& skin, TMenuItem& item, int& width, int& height) {
  if (!measureDc_) measureDc_.Reset(CreateCompatibleDC(nullptr));
  itemCanvas_.SetHandle(measureDc_.Get());
  item.MeasureItem(&itemCanvas_, width, height);
  itemCanvas_.SetHandle(nullptr);
  MeasureSkinnedMainMenuItem(skin, item, width, height);
}

void TWinSkinMenu::ReleaseMenu() {
  drawHook_.Detach();
  if (menu_) {
    TMainMenu* menu = std::exchange(menu_, nullptr);
    menu->RemoveFreeNotification(this);
    if (std::exchange(ownerDrawSet_, false)) SetOwnerDrawQuietly(*menu, false);
  }
}

void TWinSkinMenu::RemoveWindowBar() {
  const HWND window = form_.Window();
  if (HMENU shown = GetMenu(window)) {
    menuHandle_ = shown;
    SetMenu(window, nullptr);
  }
}

void TWinSkinMenu::Build() {
  const HWND window = form_.Window();
  if (HMENU shown = GetMenu(window)) menuHandle_ = shown;
  TForm* form = form_.Form();
  AdoptMenu(form ? form->Menu() : nullptr);
  form_.ForgetMenuButtons();
  buttons_.clear();
  if (menu_) {
    BuildFromMenu(*menu_);
  } else {
    BuildFromHandle();
  }
  RemoveWindowBar();
}

void TWinSkinMenu::BuildFromMenu(TMainMenu& menu) {
  TMenuItem* root = menu.Items();
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    auto b = std::make_unique<TMenuBtn>(form_, *this);
    b->Item = item;
    b->Index = i;
    b->Visible = item->Visible();
    b->Enabled = item->Enabled();
    b->Caption = item->Caption();
    b->Command = item->Command();
    if (item->Count() > 0) b->SubMenu = item->Handle();
    buttons_.push_back(std::move(b));
  }
}

void TWinSkinMenu::BuildFromHandle() {
  if (!menuHandle_) return;
  const int count = GetMenuItemCount(menuHandle_);
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 80;
    if (!GetMenuItemInfoW(menuHandle_, static_cast<UINT>(i), TRUE, &mii)) continue;
    auto b = std::make_unique<TMenuBtn>(form_, *this);
    b->Index = static_cast<int>(buttons_.size());
    b->Visible = true;
    b->Enabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    b->Caption = (mii.fType & MFT_SEPARATOR) ? std::u16string() : std::u16string(reinterpret_cast<const char16_t*>(text));
    b->Command = mii.wID;
    b->SubMenu = mii.hSubMenu;
    b->Item = TMenu::FindItemAt(menuHandle_, i);  // a framework menu's entry (not one merged in)
    buttons_.push_back(std::move(b));
  }
}

void TWinSkinMenu::RebuildFromMenu() {
  // The form's own menu, whatever the frame was given meanwhile, is the one kept and given back.
  if (TForm* form = form_.Form(); form && form->Menu()) menuHandle_ = form->Menu()->Handle();
  Build();
  form_.SetHotObject(nullptr);
}

TMenuItem* TWinSkinMenu::MenuItemFor(UINT command, int position) const {
  if (!menu_) return nullptr;
  TMenuItem* root = menu_->Items();
  for (int i = 0; i < root->Count(); ++i) {
    if (root->Items(i)->Command() == command) return root->Items(i);
  }
  return position < root->Count() ? root->Items(position) : nullptr;
}

void TWinSkinMenu::RebuildFromHandle(HMENU menu) {
  if (menu) menuHandle_ = menu;
  TForm* form = form_.Form();
  AdoptMenu(form ? form->Menu() : nullptr);
  form_.ForgetMenuButtons();
  buttons_.clear();
  BuildFromHandle();
  for (auto& b : buttons_) {
    if (!b->Caption.empty()) continue;
    // An owner-drawn item keeps its text in the main menu (the system merges bitmap items of a
    // maximised child in, which match nothing and stay without a button).
    if (b->SubMenu || b->Command < 0xF000) {
      if (TMenuItem* item = MenuItemFor(b->Command, b->Index)) {
        if (b->SubMenu && item->Count() > 0 && item->Handle() != b->SubMenu) continue;
        b->Item = item;
        b->Caption = item->Caption();
        b->Enabled = item->Enabled();
      }
    }
  }
  RemoveWindowBar();
}

void TWinSkinMenu::MenuChanged(bool rebuild, bool merge) {
  if (rebuild && merge) {
    // What the window's menu holds now, entries merged into it by others included.
    RebuildFromHandle(GetMenu(form_.Window()));
  } else if (rebuild) {
    Build();
  } else {
    RemoveWindowBar();
  }
  // The buttons of the new menu take their places at once (the frame paints them next).
  if (!barRect_.Empty()) {
    WindowDc dc(form_.Window());
    LayOut(dc.Get(), barRect_);
  }
}

void TWinSkinMenu::GiveBack() {
  if (g_run.bar == this && g_run.inMenu) EndMenu();
  const HWND window = form_.Window();
  ReleaseMenu();
  if (IsWindow(window) && menuHandle_ && GetMenu(window) != menuHandle_) {
    SetMenu(window, menuHandle_);
    DrawMenuBar(window);
  }
}

TMenuBtn* TWinSkinMenu::Button(int index) const {
  return index >= 0 && index < static_cast<int>(buttons_.size()) ? buttons_[static_cast<size_t>(index)].get()
                                                                 : nullptr;
}

TMenuBtn* TWinSkinMenu::ButtonAt(POINT p) const {
  for (const auto& b : buttons_) {
    if (b->Visible && !b->Caption.empty() && b->Rect.Contains(p.x, p.y)) return b.get();
  }
  return nullptr;
}

TMenuBtn* TWinSkinMenu::AcceleratorButton(char16_t typed) const {
  for (const auto& b : buttons_) {
    if (b->Visible && b->Enabled && IsAccelerator(b->Caption, typed)) return b.get();
  }
  return nullptr;
}

std::vector<bool> TWinSkinMenu::OpeningButtons() const {
  std::vector<bool> opens;
  for (const auto& b : buttons_) opens.push_back(b->Opens() && GetMenuItemCount(b->SubMenu) > 0);
  return opens;
}

POINT TWinSkinMenu::ToWindow(POINT screen) const {
  RECT w{};
  GetWindowRect(form_.Window(), &w);
  return {screen.x - w.left, screen.y - w.top};
}

// ---- painting ----

void TWinSkinMenu::LayOut(HDC dc, const SkinRect& bar) {
  barRect_ = bar;
  const TSkinData* skin = form_.Skin();
  if (!skin) return;
  const TDataSkinObject* image = skin->MenuBar && !skin->MenuBar->Image.Empty() ? skin->MenuBar.get() : nullptr;
  MenuBarStyle style;
  style.hasImage = image != nullptr;
  style.leftWidth = image ? image->LeftWidth : 0;
  style.rightWidth = image ? image->RightWidth : 0;
  style.rightToLeft = form_.RightToLeft();
  std::vector<MenuBarEntry> entries;
  HGDIOBJ old = SelectObject(dc, font_.Get());
  for (const auto& b : buttons_) {
    RECT measured{0, 0, 0, 0};
    if (!b->Caption.empty()) {
      DrawTextW(dc, reinterpret_cast<LPCWSTR>(b->Caption.c_str()), static_cast<int>(b->Caption.size()), &measured,
                DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
    }
    entries.push_back({b->Visible, measured.right - measured.left});
  }
  SelectObject(dc, old);
  const std::vector<SkinRect> rects = LayOutMenuBar(bar, entries, style);
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->Rect = rects[i];
}

void TWinSkinMenu::Compose(const PixelView& view, HDC dc, const SkinRect& bar, bool active) {
  const TSkinData* skin = form_.Skin();
  if (!skin || bar.Empty()) return;
  if (skin->MenuBar && !skin->MenuBar->Image.Empty()) {
    // Two frames stacked: the active window's, then the inactive one's.
    const TDataSkinObject& o = *skin->MenuBar;
    const int frame = active ? 1 : 2;
    if (o.Tile == 1) {
      DrawNineSlice(view, bar, o.Image, 2, frame, CellLayout::kStacked, {o.LeftWidth, 0, o.RightWidth, 0}, false,
                    BlendMode::kCopy);
    } else {
      DrawStrip(view, bar, o.Image, 2, frame, CellLayout::kStacked, o.LeftWidth, o.RightWidth, BlendMode::kCopy);
    }
  } else {
    view.Fill(bar, ToPixel(Rgb(skin->MenubarColour, COLOR_MENU)));
  }
  LayOut(dc, bar);
  const Pixel32 outline = ToPixel(Rgb(skin->ButtonHilightColour, COLOR_BTNHIGHLIGHT));
  for (const auto& b : buttons_) {
    if (b->Visible && (b->State == kButtonHot || b->State == kButtonPressed)) FrameRectPixels(view, b->Rect, outline);
  }
  HGDIOBJ old = SelectObject(dc, font_.Get());
  const int mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF enabledText = Rgb(skin->MenuBarTextColour, COLOR_MENUTEXT);
  // A disabled caption is drawn in the system's shadow colour, as the system draws disabled text.
  const COLORREF disabledText = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF oldColour = GetTextColor(dc);
  for (const auto& b : buttons_) {
    if (!b->Visible || b->Caption.empty() || b->Rect.Empty()) continue;
    SetTextColor(dc, b->Enabled ? enabledText : disabledText);
    RECT r{b->Rect.left, b->Rect.top, b->Rect.right, b->Rect.bottom};
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(b->Caption.c_str()), static_cast<int>(b->Caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, mode);
  SelectObject(dc, old);
  GdiFlush();
  ComposeMdiButtons(view);
}

void TWinSkinMenu::ComposeMdiButtons(const PixelView& view) const {
  // Laid out with the title buttons (they show only while the frame's active child is maximised).
  for (const auto& b : form_.TitleButtons()) {
    const TDataSkinSysButton& d = b->Data;
    if (d.Visibility != 100 || !b->Visible || b->Rect.Empty() || d.Image.Empty()) continue;
    DrawCell(view, b->Rect, d.Image, d.Frame, TitleButtonCell(d, b->State, true), BlendMode::kKeyTransparent);
  }
}

// ---- the drop-downs ----

void TWinSkinMenu::Open(const TMenuBtn& button) {
  if (!button.Visible || !button.Enabled || button.Caption.empty()) return;
  if (!button.SubMenu) {
    // An item of the bar itself runs its command.
    PostMessageW(form_.Window(), WM_COMMAND, MAKEWPARAM(button.Command, 0), 0);
    return;
  }
  if (g_run.bar) return;  // one drop-down at a time
  g_run.bar = this;
  g_run.next = button.Index;
  PostMessageW(DropDownRun::Runner(), kRunDropDowns, 0, 0);
}

bool TWinSkinMenu::DropDown(int index) {
  TMenuBtn* b = Button(index);
  if (!b || !b->Opens()) return true;
  const HWND window = form_.Window();
  if (b->Item) {
    // The bar item's own click comes first, also for a drop-down reached from a neighbour: it may
    // change the sub-items before they show, or the menu (the buttons are then new), or close the
    // window.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(b->Item->Command(), 0), 0);
    if (g_run.bar != this) return false;
    b = Button(index);
    if (!b || !b->Opens()) return true;
  }
  if (GetMenuItemCount(b->SubMenu) <= 0) return true;
  RECT wr{};
  GetWindowRect(window, &wr);
  g_run.index = index;
  g_run.state = {};
  g_run.rightToLeft = form_.RightToLeft();
  GetCursorPos(&g_run.lastPos);
  if (b->State != kButtonPressed || form_.HotObject() != b) b->MouseDown();
  // A drop-down opened from the bar shows its first item selected: the menu loop takes this key
  // first.
  PostMessageW(window, WM_KEYDOWN, VK_DOWN, kSelectFirstMark);
  // The filter lives exactly as long as the menu's loop.
  struct Filter {
    Filter() { g_run.filter = SetWindowsHookExW(WH_MSGFILTER, DropDownRun::FilterProc, nullptr, GetCurrentThreadId()); }
    ~Filter() {
      if (g_run.filter) UnhookWindowsHookEx(g_run.filter);
      g_run.filter = nullptr;
      g_run.inMenu = false;
    }
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;
  };
  std::optional<Filter> filter(std::in_place);
  // Popups made from now on are this bar's, whatever a popup closed before has cleared.
  if (SkinManager) SkinManager->SetMenuBarPopup(true);
  const TSkinData* skin = form_.Skin();
  std::optional<EntryMarks> marks;
  if (skin && !skin->NoSkin) marks.emplace(b->SubMenu);
  g_run.marks = marks ? &*marks : nullptr;
  const SkinRect& r = b->Rect;
  TPMPARAMS params{};
  params.cbSize = sizeof params;
  params.rcExclude = {wr.left + r.left, wr.top + r.top, wr.left + r.right, wr.top + r.bottom};
  const bool rtl = g_run.rightToLeft;
  const UINT flags = TPM_RIGHTBUTTON | TPM_VERTICAL | (rtl ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  const int x = rtl ? params.rcExclude.right : params.rcExclude.left;
  g_run.inMenu = true;
  TrackPopupMenuEx(b->SubMenu, flags, x, params.rcExclude.bottom, window, &params);
  filter.reset();
  g_run.marks = nullptr;
  marks.reset();
  // A menu that did not take the Down key leaves it to nobody.
  MSG pending{};
  if (PeekMessageW(&pending, window, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && pending.wParam == VK_DOWN &&
      pending.lParam == kSelectFirstMark) {
    PeekMessageW(&pending, window, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
  }
  if (g_run.bar != this) return false;
  // The buttons may have been rebuilt while the menu was open.
  if (g_run.next < 0) {
    if (TMenuBtn* after = Button(index)) {
      POINT cursor{};
      GetCursorPos(&cursor);
      const POINT p = ToWindow(cursor);
      if (after->Rect.Contains(p.x, p.y)) {
        after->MouseUp();
      } else {
        after->MouseLeave();
      }
    }
  }
  return true;
}

bool TWinSkinMenu::OwnerDrawMessage(UINT msg, LPARAM lParam, LRESULT& result) {
  if (g_run.bar != this || !g_run.marks || !lParam) return false;
  const TSkinData* skin = form_.Skin();
  if (!skin || skin->NoSkin) return false;
  if (msg == WM_MEASUREITEM) {
    auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    const EntryMarks::Entry* e = mis.CtlType == ODT_MENU ? g_run.marks->Measured(mis.itemID, mis.itemData) : nullptr;
    if (!e) return false;
    int width = 0, height = 0;
    MeasureEntry(*skin, EntryItem(e->menu, e->position), width, height);
    mis.itemWidth = static_cast<UINT>(std::max(width, 0));
    mis.itemHeight = static_cast<UINT>(std::max(height, 0));
  } else if (msg == WM_DRAWITEM) {
    const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (dis.CtlType != ODT_MENU) return false;
    POINT top{0, dis.rcItem.top};
    ClientToScreen(WindowFromDC(dis.hDC), &top);
    const auto menu = reinterpret_cast<HMENU>(dis.hwndItem);
    const EntryMarks::Entry* e = g_run.marks->Drawn(menu, dis.itemID, dis.itemData, top.y);
    if (!e) return false;
    DrawOnPopup(*skin, EntryItem(e->menu, e->position), dis);
  } else {
    return false;
  }
  result = TRUE;
  return true;
}

TMenuItem& TWinSkinMenu::EntryItem(HMENU menu, UINT position) {
  // One item, filled afresh from the entry each time: what the system menu holds is what shows.
  if (!entryItem_) entryItem_ = std::make_unique<TMenuItem>(nullptr);
  TMenuItem& item = *entryItem_;
  wchar_t text[256] = {};
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
  mii.dwTypeData = text;
  mii.cch = 255;
  if (!GetMenuItemInfoW(menu, position, TRUE, &mii)) mii = {};
  std::u16string caption(reinterpret_cast<const char16_t*>(text));
  // A shortcut after a tab is drawn in the shortcut's place, when it reads as one.
  TShortCut shortCut = 0;
  if (const size_t tab = caption.find(u'\t'); tab != std::u16string::npos) {
    shortCut = TextToShortCut(caption.substr(tab + 1));
    if (shortCut) caption.resize(tab);
  }
  if (mii.fType & MFT_SEPARATOR) caption = u"-";
  item.SetCaption(caption);
  item.SetShortCut(shortCut);
  item.SetEnabled((mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
  item.SetChecked((mii.fState & MFS_CHECKED) != 0);
  item.SetRadioItem((mii.fType & MFT_RADIOCHECK) != 0);
  item.SetDefault((mii.fState & MFS_DEFAULT) != 0);
  return item;
}

void TWinSkinMenu::SwitchTo(int index) {
  g_run.next = index;
  EndMenu();
}

bool TWinSkinMenu::Filter(MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN: {
      if (msg.wParam != VK_LEFT && msg.wParam != VK_RIGHT) return false;
      const int step = ArrowSwitch(msg.wParam == VK_LEFT ? ArrowKey::kLeft : ArrowKey::kRight, g_run.state);
      // The bar runs leftwards when it reads from right to left (the keys were mirrored already).
      const int target = step == 0 ? -1 : NeighbourButton(OpeningButtons(), g_run.index, step);
      if (target < 0 || target == g_run.index) return false;
      SwitchTo(target);
      return true;
    }
    case WM_MOUSEMOVE: {
      const TMenuBtn* b = ButtonAt(ToWindow(msg.pt));
      // Resting on the open button keeps the selection (the menu would take the pointer's being
      // outside it for leaving it).
      if (b && b->Index == g_run.index) return true;
      const bool moved = msg.pt.x != g_run.lastPos.x || msg.pt.y != g_run.lastPos.y;
      g_run.lastPos = msg.pt;
      if (moved && b && b->Opens()) SwitchTo(b->Index);
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      const TMenuBtn* b = ButtonAt(ToWindow(msg.pt));
      if (!b) return false;
      if (b->Index == g_run.index) {
        // A click on the open button closes its drop-down (and does not open it again).
        g_run.next = -1;
        EndMenu();
        return true;
      }
      if (!b->Opens()) return false;  // the menu closes and the click reaches the bar
      SwitchTo(b->Index);
      return true;
    }
    default:
      return false;
  }
}

void TWinSkinMenu::MenuMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (g_run.bar != this || !g_run.inMenu) return;
  DropDownState& s = g_run.state;
  switch (msg) {
    case WM_INITMENUPOPUP:
      ++s.openMenus;
      if (g_run.marks) g_run.marks->Showing(reinterpret_cast<HMENU>(wParam));
      break;
    case WM_UNINITMENUPOPUP:
      s.openMenus = std::max(0, s.openMenus - 1);
      break;
    case WM_MENUSELECT: {
      const UINT flags = HIWORD(wParam);
      if ((flags == 0xFFFF && !lParam) || (flags & MF_SEPARATOR)) {
        s.selected = false;
        s.selectionOpensSubMenu = false;
        break;
      }
      s.selected = true;
      s.selectionOpensSubMenu = (flags & MF_POPUP) && !(flags & (MF_GRAYED | MF_DISABLED));
      break;
    }
    default:
      break;
  }
}

}  // namespace qlt
