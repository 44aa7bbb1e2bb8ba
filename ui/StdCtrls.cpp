#include "ui/StdCtrls.h"

#include <algorithm>

#include "ui/Forms.h"
#include "ui/SysUtils.h"

namespace qlt {

namespace {

LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

// Checking happens in the framework, not in the window: the check box and radio button styles
// without "AUTO", so that every change of state goes through SetState/SetChecked.
UINT CheckStateOf(TCheckBoxState s) { return s == cbChecked ? BST_CHECKED : s == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED; }

}  // namespace

bool IsAccel(char16_t key, std::u16string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    return lower(caption[i + 1]) == lower(key);
  }
  return false;
}

// ---- TControlItems ----

void TControlItems::FillWindow() {
  if (!control_->HandleAllocated()) return;
  SendMessageW(control_->Handle(), reset_, 0, 0);
  for (int i = 0; i < Count(); ++i) SendMessageW(control_->Handle(), insert_, i, reinterpret_cast<LPARAM>(W(Get(i))));
}

void TControlItems::Inserted(int index) {
  if (control_->HandleAllocated()) {
    SendMessageW(control_->Handle(), insert_, index, reinterpret_cast<LPARAM>(W(Get(index))));
  }
}

void TControlItems::Deleted(int index) {
  if (control_->HandleAllocated()) SendMessageW(control_->Handle(), delete_, index, 0);
}

void TControlItems::Replaced(int index) {
  Deleted(index);
  Inserted(index);
}

void TControlItems::Cleared() {
  if (control_->HandleAllocated()) SendMessageW(control_->Handle(), reset_, 0, 0);
}

// ---- TLabel ----

const TClassInfo& TLabel::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TLabel, TGraphicControl>("TLabel")
          .Enum("Alignment", AlignmentInfo(), &TLabel::Alignment, &TLabel::SetAlignment)
          .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
          .Default(1)
          .Object<TWinControl>("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
          .Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
          .Default(1)
          .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
          .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
          .Build();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  clickEvents_ = true;
  doubleClicks_ = true;
  SetBounds(0, 0, 65, 13);
  SetParentColor(true);
}

void TLabel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* control) {
  focusControl_ = control;
  if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

UINT TLabel::TextFormat() const {
  UINT format = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | (showAccelChar_ ? 0 : DT_NOPREFIX);
  if (alignment_ == taRightJustify) format |= DT_RIGHT;
  if (alignment_ == taCenter) format |= DT_CENTER;
  return format;
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || InState(csLoading)) return;
  WindowDc screen(nullptr);
  TCanvas canvas;
  canvas.SetHandle(screen.Get());
  canvas.Font()->Assign(*Font());
  std::u16string text = Caption();
  if (text.empty() || (showAccelChar_ && text == u"&")) text += u" ";
  TRect r = Rect(0, 0, wordWrap_ ? Width() : 0, 0);
  canvas.DrawText(text, r, TextFormat() | DT_CALCRECT);
  canvas.SetHandle(nullptr);
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - r.right;
  SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint(TCanvas* canvas) {
  TRect r = ClientRect();
  if (!transparent_) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
  }
  canvas->Brush()->SetStyle(bsClear);
  if (!Enabled()) {
    canvas->Font()->SetColor(clGrayText);
  }
  canvas->DrawText(Caption(), r, TextFormat());
}

void TLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (focusControl_ && showAccelChar_ && IsAccel(static_cast<char16_t>(m.WParam), Caption()) &&
        focusControl_->CanFocus()) {
      focusControl_->SetFocus();
      m.Result = 1;
    }
    return;
  }
  TGraphicControl::WndProc(m);
}

// ---- TCustomEdit ----

const TClassInfo& TCustomEdit::StaticClass() {
  static const TClassInfo info = ClassBuilder<TCustomEdit, TWinControl>("TCustomEdit")
                                     .Str("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
                                     .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
                                     .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
                                     .Event("OnChange", &TCustomEdit::OnChange)
                                     .Build();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  SetTabStop(true);
}

void TCustomEdit::SetMaxLength(int32_t value) {
  maxLength_ = std::max(value, 0);
  if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, maxLength_, 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = u"EDIT";
  p.style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  if (maxLength_) SendMessageW(Handle(), EM_LIMITTEXT, maxLength_, 0);
}

void TCustomEdit::Change() {
  if (InState(csReading) || InState(csDestroying)) return;
  if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE && !creatingHandle_) Change();
      return;
    case CM_TEXTCHANGED:
      // Without a window there is no EN_CHANGE; the change is reported here instead.
      if (!HandleAllocated()) Change();
      break;
  }
  TWinControl::WndProc(m);
}

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info = ClassBuilder<TEdit, TCustomEdit>("TEdit").Build();
  return info;
}

// ---- TButtonControl, TButton ----

const TClassInfo& TButtonControl::StaticClass() {
  static const TClassInfo info = ClassBuilder<TButtonControl, TWinControl>("TButtonControl").Build();
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TButtonControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = u"BUTTON";
}

void TButtonControl::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (IsAccel(static_cast<char16_t>(m.WParam), Caption()) && CanFocus()) {
      AccelPressed();
      m.Result = 1;
    }
    return;
  }
  TWinControl::WndProc(m);
}

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TButton, TButtonControl>("TButton")
          .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel)
          .Bool("Default", &TButton::Default, &TButton::SetDefault)
          .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, &ModalResultIdents())
          .Build();
  return info;
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  if (HandleAllocated()) {
    SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
  if (TForm* form = GetParentForm(); form && modalResult_ != mrNone) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
    return;
  }
  TButtonControl::WndProc(m);
}

// ---- TCheckBox ----

const TClassInfo& TCheckBox::StaticClass() {
  static const TEnumInfo states{{"cbUnchecked", "cbChecked", "cbGrayed"}};
  static const TClassInfo info = ClassBuilder<TCheckBox, TButtonControl>("TCheckBox")
                                     .Enum("Alignment", AlignmentInfo(), &TCheckBox::Alignment, &TCheckBox::SetAlignment)
                                     .Default(taRightJustify)
                                     .Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
                                     .Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
                                     .Enum("State", states, &TCheckBox::State, &TCheckBox::SetState)
                                     .Stored([](TCheckBox& c) { return c.State() == cbGrayed; })
                                     .Build();
  return info;
}

void TCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, CheckStateOf(state), 0);
  if (InState(csReading)) return;
  Perform(CM_CHECKCHANGED);
  Click();
}

void TCheckBox::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  RecreateWnd();
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  // A three-state window whatever AllowGrayed says: AllowGrayed only decides whether a click
  // passes through cbGrayed (Toggle), and State can be cbGrayed either way. A plain check box
  // window would show a grayed state as checked, and would not follow AllowGrayed set later.
  p.style |= BS_3STATE | (alignment_ == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCheckBox::CreateWnd() { SendMessageW(Handle(), BM_SETCHECK, CheckStateOf(state_), 0); }

void TCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
    return;
  }
  TButtonControl::WndProc(m);
}

// ---- TRadioButton ----

const TClassInfo& TRadioButton::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TRadioButton, TButtonControl>("TRadioButton")
          .Enum("Alignment", AlignmentInfo(), &TRadioButton::Alignment, &TRadioButton::SetAlignment)
          .Default(taRightJustify)
          .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
          .Build();
  return info;
}

void TRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (value && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
    }
  }
  if (InState(csReading)) return;
  Perform(CM_CHECKCHANGED);
  if (value) Click();
}

void TRadioButton::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= BS_RADIOBUTTON | (alignment_ == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TRadioButton::CreateWnd() { SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED || HIWORD(m.WParam) == BN_DOUBLECLICKED) SetChecked(true);
    return;
  }
  TButtonControl::WndProc(m);
}

// ---- TListBox ----

const TClassInfo& TListBox::StaticClass() {
  static const TClassInfo info = ClassBuilder<TListBox, TWinControl>("TListBox")
                                     .Int("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight)
                                     .Object<TStringList>("Items", [](TListBox& l) { return l.Items(); })
                                     .Int("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex)
                                     .Default(-1)
                                     .Build();
  return info;
}

TListBox::TListBox(TComponent* owner)
    : TWinControl(owner), items_(this, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT) {
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  SetTabStop(true);
}

int32_t TListBox::ItemIndex() const {
  if (!const_cast<TListBox*>(this)->HandleAllocated()) return itemIndex_;
  return static_cast<int32_t>(SendMessageW(const_cast<TListBox*>(this)->Handle(), LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int32_t index) {
  itemIndex_ = index;
  if (HandleAllocated()) SendMessageW(Handle(), LB_SETCURSEL, index, 0);
}

void TListBox::SetItemHeight(int32_t value) {
  itemHeight_ = value;
  if (HandleAllocated() && value > 0) SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, value);
}

void TListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = u"LISTBOX";
  p.style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd() {
  if (itemHeight_ > 0) SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
  items_.FillWindow();
  SendMessageW(Handle(), LB_SETCURSEL, itemIndex_, 0);
}

void TListBox::DestroyWnd() { itemIndex_ = ItemIndex(); }

void TListBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case LBN_SELCHANGE:
        itemIndex_ = ItemIndex();
        Click();
        break;
      case LBN_DBLCLK:
        DblClick();
        break;
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TComboBox ----

const TClassInfo& TComboBox::StaticClass() {
  static const TEnumInfo styles{{"csDropDown", "csSimple", "csDropDownList"}};
  static const TClassInfo info = ClassBuilder<TComboBox, TWinControl>("TComboBox")
                                     .Int("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
                                     .Default(8)
                                     .Object<TStringList>("Items", [](TComboBox& c) { return c.Items(); })
                                     .Int("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
                                     .Default(-1)
                                     .Enum("Style", styles, &TComboBox::Style, &TComboBox::SetStyle)
                                     .Str("Text", &TComboBox::Text, &TComboBox::SetText)
                                     .Event("OnChange", &TComboBox::OnChange)
                                     .Build();
  return info;
}

TComboBox::TComboBox(TComponent* owner)
    : TWinControl(owner), items_(this, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT) {
  SetBounds(0, 0, 145, 21);
  SetColor(clWindow);
  SetTabStop(true);
}

TComboBox::~TComboBox() {
  BeginDestruction();
  UnhookEdit();
}

void TComboBox::UnhookEdit() {
  editSubclass_.Detach();
  edit_ = nullptr;
}

int32_t TComboBox::ItemIndex() const {
  auto* self = const_cast<TComboBox*>(this);
  if (!self->HandleAllocated()) return itemIndex_;
  return static_cast<int32_t>(SendMessageW(self->Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int32_t index) {
  itemIndex_ = index;
  if (HandleAllocated()) SendMessageW(Handle(), CB_SETCURSEL, index, 0);
  if (index >= 0 && index < items_.Count()) text_ = items_[index];
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

void TComboBox::SetText(const std::u16string& text) {
  if (text == Text()) return;
  TWinControl::SetText(text);
  Change();
}

void TComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.baseClass = u"COMBOBOX";
  static const DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
  p.style |= kStyles[style_] | CBS_AUTOHSCROLL | WS_VSCROLL;
  // The window's height includes the dropped-down list.
  if (style_ != csSimple) p.height = height_ + std::max(dropDownCount_, 1) * 16 + 4;
}

void TComboBox::CreateWnd() {
  items_.FillWindow();
  if (itemIndex_ >= 0) SendMessageW(Handle(), CB_SETCURSEL, itemIndex_, 0);
  if (style_ != csDropDownList && !text_.empty()) SetWindowTextW(Handle(), reinterpret_cast<LPCWSTR>(text_.c_str()));
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (style_ != csDropDownList && GetComboBoxInfo(Handle(), &info) && info.hwndItem && info.hwndItem != Handle()) {
    edit_ = info.hwndItem;
    editSubclass_.Attach(edit_, [this](TMessage& m, const TWindowSubclass::Next& next) {
      if (m.Msg == WM_CHAR) {
        auto key = static_cast<char16_t>(m.WParam);
        KeyPress(key);
        if (key == 0) return;
        m.WParam = key;
      }
      next(m);
    });
  }
  RECT r{};
  GetWindowRect(Handle(), &r);
  height_ = r.bottom - r.top;
}

void TComboBox::DestroyWnd() {
  itemIndex_ = ItemIndex();
  UnhookEdit();
}

void TComboBox::Change() {
  if (InState(csReading) || InState(csDestroying)) return;
  if (OnChange) OnChange(this);
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case CBN_EDITCHANGE:
        Change();
        break;
      case CBN_SELCHANGE: {
        itemIndex_ = ItemIndex();
        if (itemIndex_ >= 0 && itemIndex_ < items_.Count()) {
          text_ = items_[itemIndex_];
          if (style_ != csDropDownList) SetWindowTextW(Handle(), reinterpret_cast<LPCWSTR>(text_.c_str()));
        }
        Click();
        Change();
        break;
      }
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TGroupBox ----

const TClassInfo& TGroupBox::StaticClass() {
  static const TClassInfo info = ClassBuilder<TGroupBox, TWinControl>("TGroupBox").Build();
  return info;
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

void TGroupBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style |= WS_CLIPCHILDREN;
}

void TGroupBox::PaintFrame(HDC dc) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font()->Assign(*Font());
  const int textHeight = canvas.TextHeight(u"0");
  TRect frame = Rect(0, textHeight / 2, ClientWidth(), ClientHeight());
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::u16string caption = Caption();
  if (!caption.empty()) {
    canvas.Brush()->SetColor(Color());
    TRect text = Rect(8, 0, ClientWidth() - 8, textHeight);
    canvas.DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
    text.left -= 1, text.right += 1;
    canvas.FillRect(text);
    text.left += 1;
    canvas.Brush()->SetStyle(bsClear);
    if (!Enabled()) canvas.Font()->SetColor(clGrayText);
    canvas.DrawText(caption, text, DT_SINGLELINE);
  }
  canvas.SetHandle(nullptr);
}

void TGroupBox::WndProc(TMessage& m) {
  // Double buffered, the base paints into a bitmap first and sends WM_PAINT again with its DC.
  if (m.Msg == WM_PAINT && (m.WParam || !DoubleBuffered())) {
    PAINTSTRUCT ps{};
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
    PaintFrame(dc);
    PaintControls(dc);
    if (!m.WParam) EndPaint(Handle(), &ps);
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace qlt
