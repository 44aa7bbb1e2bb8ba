#include "ui/ComCtrls.h"

#include <algorithm>
#include <map>

#include "ui/SysUtils.h"

namespace qlt {

// ---- TTabSheet ----

const TClassInfo& TTabSheet::StaticClass() {
  static const TClassInfo info = ClassBuilder<TTabSheet, TWinControl>("TTabSheet").Build();
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { SetVisible(false); }

TTabSheet::~TTabSheet() {
  BeginDestruction();
  SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  SetParent(pageControl);
  if (pageControl) pageControl->InsertPage(this);
}

void TTabSheet::SetParentComponent(TComponent* parent) {
  if (auto* pc = dynamic_cast<TPageControl*>(parent)) {
    SetPageControl(pc);
  } else {
    TWinControl::SetParentComponent(parent);
  }
}

int32_t TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int32_t>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style |= WS_CLIPCHILDREN;
}

void TTabSheet::TextChanged() {
  if (pageControl_) pageControl_->UpdateTabs();
}

// ---- TPageControl ----

const TClassInfo& TPageControl::StaticClass() {
  static const TEnumInfo styles{{"tsTabs", "tsButtons", "tsFlatButtons"}};
  static const TEnumInfo positions{{"tpTop", "tpBottom", "tpLeft", "tpRight"}};
  static const TClassInfo info =
      ClassBuilder<TPageControl, TWinControl>("TPageControl")
          .Object<TTabSheet>("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
          .Enum("Style", styles, &TPageControl::Style, &TPageControl::SetStyle)
          .Enum("TabPosition", positions, &TPageControl::TabPosition, &TPageControl::SetTabPosition)
          .Event("OnChange", &TPageControl::OnChange)
          .Build();
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  BeginDestruction();
  // The pages are freed with the controls of this window, after this part of it is gone.
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->pageControl_ = this;
  UpdateTabs();
  if (!activePage_ && !InState(csReading)) SetActivePage(page);
  ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* page) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  page->pageControl_ = nullptr;
  if (activePage_ == page) activePage_ = pages_.empty() ? nullptr : pages_.front();
  if (!InState(csDestroying)) {
    UpdateTabs();
    ShowActivePage();
  }
}

int32_t TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int32_t index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page == activePage_) return;
  activePage_ = page;
  ShowActivePage();
  if (!InState(csReading) && !InState(csDestroying) && OnChange) OnChange(this);
}

void TPageControl::SetStyle(TTabStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

void TPageControl::SetTabPosition(TTabPosition position) {
  if (position == tabPosition_ || position < tpTop || position > tpRight) return;
  tabPosition_ = position;
  RecreateWnd();
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  if (!activePage_ && !pages_.empty()) activePage_ = pages_.front();
  ShowActivePage();
}

void TPageControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = u"SysTabControl32";
  p.style |= WS_CLIPCHILDREN | (style_ == tsButtons ? TCS_BUTTONS : style_ == tsFlatButtons ? TCS_BUTTONS | TCS_FLATBUTTONS : 0);
  // Tabs on a side stand in columns: the control has them only with several rows allowed.
  if (tabPosition_ == tpBottom) p.style |= TCS_BOTTOM;
  if (tabPosition_ == tpLeft) p.style |= TCS_VERTICAL | TCS_MULTILINE;
  if (tabPosition_ == tpRight) p.style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
}

void TPageControl::CreateWnd() {
  UpdateTabs();
  AlignPages();
}

void TPageControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < pages_.size(); ++i) {
    std::u16string caption = pages_[i]->Caption();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(caption.data());
    SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(h, TCM_SETCURSEL, ActivePageIndex(), 0);
  AlignPages();
}

TRect TPageControl::DisplayRect() {
  TRect r = ClientRect();
  if (HandleAllocated()) SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TPageControl::AlignPages() {
  if (!HandleAllocated()) return;
  const TRect r = DisplayRect();
  for (TTabSheet* page : pages_) page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::ShowActivePage() {
  if (InState(csReading)) return;
  if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, ActivePageIndex(), 0);
  // The new page shows before the old one hides, so nothing behind the pages flashes.
  if (activePage_) activePage_->SetVisible(true);
  for (TTabSheet* page : pages_) {
    if (page != activePage_) page->SetVisible(false);
  }
}

void TPageControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: {
      const auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (hdr->code == TCN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
        SetActivePageIndex(index);
      }
      return;
    }
    case WM_WINDOWPOSCHANGED:
      TWinControl::WndProc(m);
      AlignPages();
      return;
  }
  TWinControl::WndProc(m);
}

// ---- TSpinButton ----

const TClassInfo& TSpinButton::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSpinButton, TWinControl>("TSpinButton").Build();
  return info;
}

TSpinButton::TSpinButton(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 15, 21); }

void TSpinButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = u"msctls_updown32";
  p.style |= UDS_ARROWKEYS;
  p.style &= ~WS_TABSTOP;
}

void TSpinButton::CreateWnd() {
  // The position stays in the middle: each click is a step of the edit, never a position.
  SendMessageW(Handle(), UDM_SETRANGE32, 0, 100);
  SendMessageW(Handle(), UDM_SETPOS32, 0, 50);
  // A vertical up-down takes a width of its own when it is created: the edit places it again, so
  // that it ends at the edit's client edge instead of reaching under the border.
  if (auto* edit = dynamic_cast<TSpinEdit*>(Owner())) edit->PlaceButton();
}

void TSpinButton::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    const auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == UDN_DELTAPOS) {
      const auto* ud = reinterpret_cast<NMUPDOWN*>(m.LParam);
      if (auto* edit = dynamic_cast<TSpinEdit*>(Owner())) edit->Step(ud->iDelta > 0 ? 1 : -1);
      m.Result = 1;  // the button keeps its position
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TSpinEdit ----

const TClassInfo& TSpinEdit::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSpinEdit, TCustomEdit>("TSpinEdit")
                                     .Int("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement)
                                     .Default(1)
                                     .Int("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue)
                                     .Int("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue)
                                     .Int("Value", &TSpinEdit::Value, &TSpinEdit::SetValue)
                                     .Build();
  return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
  button_ = new TSpinButton(this);
  button_->SetParent(this);
  SetText(u"0");
}

int32_t TSpinEdit::CheckValue(int32_t value) const {
  if (maxValue_ == minValue_) return value;  // both 0: no limit
  return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

int32_t TSpinEdit::Value() const {
  int32_t value = 0;
  return TryStrToInt(Text(), value) ? value : minValue_;
}

void TSpinEdit::SetValue(int32_t value) { SetText(IntToStr(CheckValue(value))); }

void TSpinEdit::SetMinValue(int32_t value) { minValue_ = value; }

void TSpinEdit::SetMaxValue(int32_t value) { maxValue_ = value; }

void TSpinEdit::Step(int direction) {
  if (ReadOnly()) return;
  SetValue(Value() + direction * increment_);
}

void TSpinEdit::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TCustomEdit::SetBounds(left, top, width, height);
  PlaceButton();
}

void TSpinEdit::PlaceButton() {
  if (!button_) return;
  const int w = 15;
  const int cw = HandleAllocated() ? ClientWidth() : std::max(Width() - 4, 0);
  const int ch = HandleAllocated() ? ClientHeight() : std::max(Height() - 4, 0);
  button_->SetBounds(cw - w, 0, w, ch);
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, w + 2));
}

void TSpinEdit::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.style |= WS_CLIPCHILDREN;
}

void TSpinEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  PlaceButton();
}

void TSpinEdit::KeyPress(char16_t& key) {
  // Digits, signs and control keys; anything else would never be a number.
  const bool valid = (key >= u'0' && key <= u'9') || key == u'-' || key == u'+' || key < 0x20;
  if (!valid) {
    key = 0;
    MessageBeep(0);
  }
  TCustomEdit::KeyPress(key);
}

void TSpinEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_EXIT:
      if (CheckValue(Value()) != Value()) SetValue(Value());
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_UP || m.WParam == VK_DOWN) {
        Step(m.WParam == VK_UP ? 1 : -1);
        return;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      TCustomEdit::WndProc(m);
      PlaceButton();
      return;
  }
  TCustomEdit::WndProc(m);
}

// ---- TTimer ----

namespace {
std::map<UINT_PTR, TTimer*> g_timers;
}  // namespace

const TClassInfo& TTimer::StaticClass() {
  static const TClassInfo info = ClassBuilder<TTimer, TComponent>("TTimer")
                                     .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                                     .Default(1)
                                     .Int("Interval", &TTimer::Interval, &TTimer::SetInterval)
                                     .Default(1000)
                                     .Event("OnTimer", &TTimer::OnTimer)
                                     .Build();
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer() {
  g_timers.erase(timer_.Id());
  timer_.Reset();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(int32_t value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  g_timers.erase(timer_.Id());
  timer_.Reset();
  if (!enabled_ || interval_ <= 0 || InState(csLoading)) return;
  timer_ = ThreadTimer(static_cast<UINT>(interval_), &TTimer::TimerProc);
  if (timer_.Id()) g_timers[timer_.Id()] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
  const auto it = g_timers.find(id);
  if (it == g_timers.end()) return;
  try {
    TTimer* timer = it->second;
    if (timer->OnTimer) timer->OnTimer(timer);
  } catch (...) {
    ShowExceptionInHandler();
  }
}

}  // namespace qlt
