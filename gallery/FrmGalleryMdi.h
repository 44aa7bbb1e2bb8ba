#pragma once
// The gallery's MDI frame: a menu bar whose Window menu lists the children, document windows made
// from the File menu, tiled and cascaded from the Window menu. A maximised child's buttons sit in
// the frame's menu bar.
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace qlt {

// One document window; closing it frees it.
class TFrm_GalleryMdiChild : public TForm {
  QLT_CLASS(TFrm_GalleryMdiChild)
 public:
  explicit TFrm_GalleryMdiChild(TComponent* owner) : TForm(owner) {}
  TButton* Btn_Close = nullptr;
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Btn_CloseClick(TObject* Sender);
};

class TFrm_GalleryMdi : public TForm {
  QLT_CLASS(TFrm_GalleryMdi)
 public:
  explicit TFrm_GalleryMdi(TComponent* owner) : TForm(owner) {}
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* Mnu_Window = nullptr;
  void Mnu_NewClick(TObject* Sender);
  void Mnu_CloseChildClick(TObject* Sender);
  void Mnu_CloseClick(TObject* Sender);
  void Mnu_TileClick(TObject* Sender);
  void Mnu_CascadeClick(TObject* Sender);

  // A new document window, numbered in its caption.
  TFrm_GalleryMdiChild* NewChild();
  // Shows the frame; a frame without children gets two.
  void ShowWithChildren();

 private:
  int made_ = 0;
};

void RegisterGalleryMdiClasses();

}  // namespace qlt
