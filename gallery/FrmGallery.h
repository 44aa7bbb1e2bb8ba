#pragma once
// The skin gallery: every kind of window the skin engine paints, in one program, so the engine can
// be seen and tested in one place. The main form carries the skin component (with QLT's default
// skin, or the skin file named on the command line) and opens the other windows.
#include <string>

#include "skin/data/WinSkinData.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace qlt {

// A fixed dialog (no boxes, no icon).
class TFrm_GalleryDialog : public TForm {
  QLT_CLASS(TFrm_GalleryDialog)
 public:
  explicit TFrm_GalleryDialog(TComponent* owner) : TForm(owner) {}
  TButton* Btn_Ok = nullptr;
};

// A popup without a caption: the skin gives it no frame.
class TFrm_GalleryPopup : public TForm {
  QLT_CLASS(TFrm_GalleryPopup)
 public:
  explicit TFrm_GalleryPopup(TComponent* owner) : TForm(owner) {}
  void FormClick(TObject* Sender);
};

// A tool window: a small caption, a close box only.
class TFrm_GalleryTool : public TForm {
  QLT_CLASS(TFrm_GalleryTool)
 public:
  explicit TFrm_GalleryTool(TComponent* owner) : TForm(owner) {}
};

// Every control kind the engine skins, enabled and disabled.
class TFrm_GalleryControls : public TForm {
  QLT_CLASS(TFrm_GalleryControls)
 public:
  explicit TFrm_GalleryControls(TComponent* owner) : TForm(owner) {}
  TListBox* Lst_Long = nullptr;
  void FormCreate(TObject* Sender);
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
  // The menu bar: drop-downs with sub-menus, images, shortcuts, checked, radio, disabled, default
  // and invisible items and separators; a disabled and an invisible top-level item.
  TImageList* ImageList1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;

  void FormCreate(TObject* Sender);
  void Btn_DialogClick(TObject* Sender);
  void Btn_PopupClick(TObject* Sender);
  void Btn_ToolClick(TObject* Sender);
  void Btn_MessageClick(TObject* Sender);
  void Btn_SkinOnOffClick(TObject* Sender);
  void Btn_ControlsClick(TObject* Sender);
  void Mnu_ExitClick(TObject* Sender);
  void Mnu_CheckClick(TObject* Sender);
  void Mnu_ZoomClick(TObject* Sender);
  void Mnu_RightToLeftClick(TObject* Sender);
  void Mnu_AboutClick(TObject* Sender);

  // The other windows, created when first asked for (owned by this form).
  TFrm_GalleryDialog* Dialog();
  TFrm_GalleryPopup* Popup();
  TFrm_GalleryTool* Tool();
  TFrm_GalleryControls* Controls();
  TFrm_GalleryRtl* RightToLeft();
  // The message box's caption: longer than the box is wide, so the skin widens the box.
  static const char16_t* MessageCaption();
  static const char16_t* MessageText();

 private:
  TFrm_GalleryDialog* dialog_ = nullptr;
  TFrm_GalleryPopup* popup_ = nullptr;
  TFrm_GalleryTool* tool_ = nullptr;
  TFrm_GalleryControls* controls_ = nullptr;
  TFrm_GalleryRtl* rightToLeft_ = nullptr;
};

// The command line: [--skin FILE] [--open KIND,KIND...], KIND one of dialog, popup, tool, controls,
// rtl, message.
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
