#pragma once
// The standard controls: labels, edits, push buttons, check boxes, radio buttons, list boxes, combo
// boxes and group boxes. Setting a value from code fires the control's change or click handler
// exactly when the value really changes; while a form is read from its description no handler runs.
#include "ui/Controls.h"

namespace qlt {

// A list whose changes go straight to the list window of its control.
class TControlItems : public TStringList {
 public:
  TControlItems(TWinControl* control, UINT insertMsg, UINT deleteMsg, UINT resetMsg)
      : control_(control), insert_(insertMsg), delete_(deleteMsg), reset_(resetMsg) {}
  void FillWindow();  // after the window was created

 protected:
  void Inserted(int index) override;
  void Deleted(int index) override;
  void Replaced(int index) override;
  void Cleared() override;

 private:
  TWinControl* control_;
  UINT insert_, delete_, reset_;
};

class TLabel : public TGraphicControl {
  QLT_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* owner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

 protected:
  void Paint(TCanvas* canvas) override;
  void WndProc(TMessage& message) override;
  void TextChanged() override { AdjustBounds(); }
  void FontChanged() override;

 private:
  void AdjustBounds();
  UINT TextFormat() const;
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  bool transparent_ = false;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TCustomEdit : public TWinControl {
  QLT_CLASS(TCustomEdit)
 public:
  explicit TCustomEdit(TComponent* owner);
  int32_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  void SelectAll();
  bool IsCaptionStored() const override { return false; }
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  virtual void Change();

 private:
  int32_t maxLength_ = 0;
  bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
  QLT_CLASS(TEdit)
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TButtonControl : public TWinControl {
  QLT_CLASS(TButtonControl)
 public:
  explicit TButtonControl(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  // Alt+the underlined character of the caption.
  virtual void AccelPressed() { Click(); }
};

class TButton : public TButtonControl {
  QLT_CLASS(TButton)
 public:
  explicit TButton(TComponent* owner) : TButtonControl(owner) {}
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  // Sets the form's ModalResult (ending a modal form) and fires OnClick.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
  QLT_CLASS(TCheckBox)
 public:
  explicit TCheckBox(TComponent* owner) : TButtonControl(owner) {}
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState state);  // fires OnClick when the state changes
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void AccelPressed() override { Toggle(); }
  void Toggle();

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TRadioButton : public TButtonControl {
  QLT_CLASS(TRadioButton)
 public:
  explicit TRadioButton(TComponent* owner) : TButtonControl(owner) {}
  bool Checked() const { return checked_; }
  // Checking one unchecks the other radio buttons of the same parent; OnClick fires for the one
  // that became checked.
  void SetChecked(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void AccelPressed() override { SetChecked(true); }

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TListBox : public TWinControl {
  QLT_CLASS(TListBox)
 public:
  explicit TListBox(TComponent* owner);
  TStringList* Items() { return &items_; }
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  int32_t ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int32_t value);
  int Count() const { return items_.Count(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  TControlItems items_;
  int32_t itemIndex_ = -1;
  int32_t itemHeight_ = 0;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
  QLT_CLASS(TComboBox)
 public:
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;
  TStringList* Items() { return &items_; }
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  int32_t DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int32_t value) { dropDownCount_ = value; }
  void SetText(const std::u16string& text) override;
  // The edit part of a drop-down combo box (its keys pass through the combo box's OnKeyPress).
  HWND EditHandle() const { return edit_; }
  bool IsCaptionStored() const override { return false; }
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  virtual void Change();

 private:
  void UnhookEdit();
  TControlItems items_;
  int32_t itemIndex_ = -1;
  TComboBoxStyle style_ = csDropDown;
  int32_t dropDownCount_ = 8;
  HWND edit_ = nullptr;
  TWindowSubclass editSubclass_;  // the edit's keys pass through OnKeyPress
};

class TGroupBox : public TWinControl {
  QLT_CLASS(TGroupBox)
 public:
  explicit TGroupBox(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void TextChanged() override { Invalidate(); }
  // The frame and the caption.
  virtual void PaintFrame(HDC dc);
};

// True when the caption has `key` as its accelerator ("&Hide" and 'h').
bool IsAccel(char16_t key, std::u16string_view caption);

}  // namespace qlt
