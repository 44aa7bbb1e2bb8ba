#pragma once
// Page controls (a system tab control whose pages are TTabSheet windows), the spin edit (an edit
// with an up-down button inside it) and the timer.
#include <windows.h>
#include <commctrl.h>

#include "ui/Handles.h"
#include "ui/StdCtrls.h"

namespace qlt {

class TPageControl;

class TTabSheet : public TWinControl {
  QLT_CLASS(TTabSheet)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pageControl);
  int32_t PageIndex() const;
  void SetParentComponent(TComponent* parent) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void TextChanged() override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
};

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
// The side of the page control the tabs are on.
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

class TPageControl : public TWinControl {
  QLT_CLASS(TPageControl)
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);  // fires OnChange when the page really changes
  int32_t ActivePageIndex() const;
  void SetActivePageIndex(int32_t index);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle style);
  TTabPosition TabPosition() const { return tabPosition_; }
  // Moves the tabs to another side (the control's window is made again).
  void SetTabPosition(TTabPosition position);
  // The area of the pages, in client coordinates.
  TRect DisplayRect();
  void Loaded() override;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTabs();
  void AlignPages();
  void ShowActivePage();
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  TTabStyle style_ = tsTabs;
  TTabPosition tabPosition_ = tpTop;
};

// The up-down button inside a spin edit ("msctls_updown32" with the framework's procedure).
class TSpinButton : public TWinControl {
  QLT_CLASS(TSpinButton)
 public:
  explicit TSpinButton(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
};

// An edit for a whole number. MinValue and MaxValue both 0 mean no limit. Value reads the text (a
// text that is no number reads as MinValue); setting Value limits it to the range; the text a user
// typed is brought into the range when the box loses the focus.
class TSpinEdit : public TCustomEdit {
  QLT_CLASS(TSpinEdit)
 public:
  explicit TSpinEdit(TComponent* owner);
  int32_t Value() const;
  void SetValue(int32_t value);
  int32_t MinValue() const { return minValue_; }
  void SetMinValue(int32_t value);
  int32_t MaxValue() const { return maxValue_; }
  void SetMaxValue(int32_t value);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t value) { increment_ = value; }
  TSpinButton* Button() const { return button_; }
  int32_t CheckValue(int32_t value) const;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void KeyPress(char16_t& key) override;

 private:
  friend class TSpinButton;
  void Step(int direction);
  void PlaceButton();
  TSpinButton* button_ = nullptr;
  int32_t minValue_ = 0, maxValue_ = 0, increment_ = 1;
};

class TTimer : public TComponent {
  QLT_CLASS(TTimer)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int32_t Interval() const { return interval_; }
  void SetInterval(int32_t value);
  void Loaded() override;
  // Ticks while enabled with an interval above 0 (not while the form is being read).
  TNotifyEvent OnTimer;

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept;
  void UpdateTimer();
  bool enabled_ = true;
  int32_t interval_ = 1000;
  ThreadTimer timer_;
};

}  // namespace qlt
