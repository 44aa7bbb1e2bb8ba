#pragma once
// The skin gallery: every kind of window the skin engine paints, in one program, so the engine can
// be seen and tested in one place. The main form carries the skin component (with QLT's default
// skin, or the skin file named on the command line) and opens the other windows.
#include <string>

#include <memory>

#include "gallery/FrmGalleryMdi.h"
#include "gallery/GalleryPlainWindow.h"
#include "skin/data/WinSkinData.h"
#include "ui/Buttons.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace qlt {

class TFrm_GalleryEdits;
class TFrm_GalleryBars;

// A fixed dialog (no boxes, no icon).
class TFrm_GalleryDialog : public TForm {
  QLT_CLASS(TFrm_GalleryDialog)
 public:
  explicit TFrm_GalleryDialog(TComponent* owner) : TForm(owner) {}
  TButton* Btn_Ok = nullptr;
};

// A popup without a caption: the skin gives it no frame. Its popup menu (a right click) has every
// kind of item: the default one, checked and radio items, a disabled and a hidden one, a
// separator, a sub-menu, an item that draws itself and one with a shortcut; a second popup menu
// is excluded from the skin by its Tag.
class TFrm_GalleryPopup : public TForm {
  QLT_CLASS(TFrm_GalleryPopup)
 public:
  explicit TFrm_GalleryPopup(TComponent* owner) : TForm(owner) {}
  TEdit* Edt_Text = nullptr;
  TPopupMenu* PopupMenu_Items = nullptr;
  TPopupMenu* PopupMenu_Plain = nullptr;
  TMenuItem* Itm_Own = nullptr;
  void FormClick(TObject* Sender);
  void ItemClick(TObject* Sender);
  // The item that draws itself: a band of its own colour, the caption on it.
  void Itm_OwnAdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State);
  void Itm_OwnMeasureItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  static constexpr TColor kOwnColour = 0x0000C0F0;  // amber, in no skin
  static constexpr int kOwnHeight = 26;

  // The caption of the item chosen last (empty before any).
  std::u16string chosen;
  int ownDrawn = 0;
  int ownMeasured = 0;
};

// A tool window: a small caption, a close box only.
class TFrm_GalleryTool : public TForm {
  QLT_CLASS(TFrm_GalleryTool)
 public:
  explicit TFrm_GalleryTool(TComponent* owner) : TForm(owner) {}
};

// A list box whose rows may be wider than it: it scrolls sideways too.
class TGalleryWideList : public TListBox {
  QLT_CLASS(TGalleryWideList)
 public:
  explicit TGalleryWideList(TComponent* owner) : TListBox(owner) {}
  static constexpr int kRowWidth = 420;  // the rows' width in pixels

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
};

// Every control kind the engine skins, enabled and disabled.
class TFrm_GalleryControls : public TForm {
  QLT_CLASS(TFrm_GalleryControls)
 public:
  explicit TFrm_GalleryControls(TComponent* owner) : TForm(owner) {}
  TButton* Btn_Push = nullptr;
  TButton* Btn_PushOff = nullptr;
  TButton* Btn_Default = nullptr;
  TBitBtn* Btn_Bit = nullptr;        // a glyph of four cells
  TBitBtn* Btn_BitOff = nullptr;
  TBitBtn* Btn_BitOne = nullptr;     // a glyph of one cell, right of the caption
  TBitBtn* Btn_BitOneOff = nullptr;
  TSpeedButton* Spd_Four = nullptr;
  TSpeedButton* Spd_FourOff = nullptr;
  TSpeedButton* Spd_One = nullptr;   // down, in a group of its own
  TSpeedButton* Spd_OneOff = nullptr;
  TSpeedButton* Spd_Flat = nullptr;  // a caption, no glyph
  // Check boxes, radio buttons and group boxes: every state, enabled and disabled.
  TGroupBox* Grp_Marks = nullptr;
  TCheckBox* Chk_On = nullptr;
  TCheckBox* Chk_Off = nullptr;
  TCheckBox* Chk_Grayed = nullptr;
  TCheckBox* Chk_Left = nullptr;
  TRadioButton* Rad_One = nullptr;
  TRadioButton* Rad_Two = nullptr;
  TGroupBox* Grp_MarksOff = nullptr;
  TCheckBox* Chk_OnOff = nullptr;
  TCheckBox* Chk_OffOff = nullptr;
  TCheckBox* Chk_GrayedOff = nullptr;
  TRadioButton* Rad_OnOff = nullptr;
  TRadioButton* Rad_OffOff = nullptr;
  TGroupBox* Grp_Empty = nullptr;
  TGroupBox* Grp_Lists = nullptr;
  TListBox* Lst_Long = nullptr;
  TGalleryWideList* Lst_Wide = nullptr;  // both bars
  TListBox* Lst_Off = nullptr;
  TLabel* Lab_Bar = nullptr;
  void FormCreate(TObject* Sender);

  // A scroll bar control of the system's (the framework has none), in the list group, whose value
  // Lab_Bar shows. It belongs to the group's window and goes with it.
  HWND ScrollBarControl() const { return scrollBar_; }
  static constexpr int kBarMax = 1000;
  static constexpr int kBarPage = 100;

 private:
  void ScrollBarNotice(WPARAM code);
  HWND scrollBar_ = nullptr;
  TWindowProcHook barNotices_;
};

// A form that reads from right to left, with a menu bar of its own (its images are the main
// form's).
class TFrm_GalleryRtl : public TForm {
  QLT_CLASS(TFrm_GalleryRtl)
 public:
  explicit TFrm_GalleryRtl(TComponent* owner) : TForm(owner) {}
  TMainMenu* MainMenu1 = nullptr;
  void FormCreate(TObject* Sender);
  void Mnu_CloseClick(TObject* Sender);
};

class TFrm_GalleryTabs;

class TFrm_Gallery : public TForm {
  QLT_CLASS(TFrm_Gallery)
 public:
  explicit TFrm_Gallery(TComponent* owner) : TForm(owner) {}

  TSkinData* SkinData1 = nullptr;
  TButton* Btn_Dialog = nullptr;
  TButton* Btn_Popup = nullptr;
  TButton* Btn_Tool = nullptr;
  TButton* Btn_Message = nullptr;
  TButton* Btn_SkinOnOff = nullptr;
  TButton* Btn_Controls = nullptr;
  TButton* Btn_Edits = nullptr;
  TButton* Btn_Tabs = nullptr;
  TButton* Btn_Bars = nullptr;
  // The menu bar: drop-downs with sub-menus, images, shortcuts, checked, radio, disabled, default
  // and invisible items and separators; a disabled and an invisible top-level item.
  TImageList* ImageList1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* Mnu_Paste = nullptr;

  void FormCreate(TObject* Sender);
  void Btn_DialogClick(TObject* Sender);
  void Btn_PopupClick(TObject* Sender);
  void Btn_ToolClick(TObject* Sender);
  void Btn_MessageClick(TObject* Sender);
  void Btn_SkinOnOffClick(TObject* Sender);
  void Btn_ControlsClick(TObject* Sender);
  void Btn_EditsClick(TObject* Sender);
  void Btn_TabsClick(TObject* Sender);
  void Btn_BarsClick(TObject* Sender);
  void Mnu_ExitClick(TObject* Sender);
  void Mnu_CheckClick(TObject* Sender);
  void Mnu_ZoomClick(TObject* Sender);
  void Mnu_RightToLeftClick(TObject* Sender);
  void Mnu_AboutClick(TObject* Sender);
  // Opening the Edit menu enables Paste exactly when the clipboard holds text.
  void Mnu_EditClick(TObject* Sender);
  void Mnu_PlainClick(TObject* Sender);

  // The other windows, created when first asked for (owned by this form).
  TFrm_GalleryDialog* Dialog();
  TFrm_GalleryPopup* Popup();
  TFrm_GalleryTool* Tool();
  TFrm_GalleryControls* Controls();
  TFrm_GalleryRtl* RightToLeft();
  TFrm_GalleryEdits* Edits();
  TFrm_GalleryTabs* Tabs();
  TFrm_GalleryMdi* Mdi();
  TButton* Btn_Mdi = nullptr;
  void Btn_MdiClick(TObject* Sender);
  TFrm_GalleryBars* Bars();
  // The plain Win32 window with a menu bar (made when first asked for, freed with this form).
  TGalleryPlainWindow* Plain();
  // The message box's caption: longer than the box is wide, so the skin widens the box.
  static const char16_t* MessageCaption();
  static const char16_t* MessageText();

 private:
  TFrm_GalleryDialog* dialog_ = nullptr;
  TFrm_GalleryPopup* popup_ = nullptr;
  TFrm_GalleryTool* tool_ = nullptr;
  TFrm_GalleryControls* controls_ = nullptr;
  TFrm_GalleryRtl* rightToLeft_ = nullptr;
  TFrm_GalleryEdits* edits_ = nullptr;
  TFrm_GalleryTabs* tabs_ = nullptr;
  TFrm_GalleryMdi* mdi_ = nullptr;
  TFrm_GalleryBars* bars_ = nullptr;
  std::unique_ptr<TGalleryPlainWindow> plain_;
};

// The command line: [--skin FILE] [--open KIND,KIND...], KIND one of dialog, popup, tool, controls,
// rtl, edits, tabs, mdi, message, bars, plain.
struct GalleryOptions {
  std::u16string skinFile;  // used instead of the default skin
  std::u16string open;      // windows opened once the main form shows
};
GalleryOptions ReadGalleryArguments(int argc, wchar_t** argv);
// What the main form reads when it is created.
GalleryOptions& TheGalleryOptions();
// Opens the windows the options name (a message box last: it waits for its answer).
void OpenGalleryWindows(TFrm_Gallery& gallery, const std::u16string& kinds);
// Registers the gallery's form classes for their descriptions.
void RegisterGalleryClasses();

}  // namespace qlt
