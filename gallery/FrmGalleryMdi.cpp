#include "gallery/FrmGalleryMdi.h"

#include <string>

namespace qlt {

const TClassInfo& TFrm_GalleryMdiChild::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryMdiChild, TForm>("TFrm_GalleryMdiChild")
                                     .Field("Btn_Close", &TFrm_GalleryMdiChild::Btn_Close)
                                     .Handler("FormClose", &TFrm_GalleryMdiChild::FormClose)
                                     .Handler("Btn_CloseClick", &TFrm_GalleryMdiChild::Btn_CloseClick)
                                     .Build();
  return info;
}

void TFrm_GalleryMdiChild::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TFrm_GalleryMdiChild::Btn_CloseClick(TObject*) { Close(); }

const TClassInfo& TFrm_GalleryMdi::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryMdi, TForm>("TFrm_GalleryMdi")
                                     .Field("MainMenu1", &TFrm_GalleryMdi::MainMenu1)
                                     .Field("Mnu_Window", &TFrm_GalleryMdi::Mnu_Window)
                                     .Handler("Mnu_NewClick", &TFrm_GalleryMdi::Mnu_NewClick)
                                     .Handler("Mnu_CloseChildClick", &TFrm_GalleryMdi::Mnu_CloseChildClick)
                                     .Handler("Mnu_CloseClick", &TFrm_GalleryMdi::Mnu_CloseClick)
                                     .Handler("Mnu_TileClick", &TFrm_GalleryMdi::Mnu_TileClick)
                                     .Handler("Mnu_CascadeClick", &TFrm_GalleryMdi::Mnu_CascadeClick)
                                     .Build();
  return info;
}

TFrm_GalleryMdiChild* TFrm_GalleryMdi::NewChild() {
  HandleNeeded();  // the children live in the frame's client window
  auto* child = NewForm<TFrm_GalleryMdiChild>(this);
  child->SetText(u"Child " + Widen(std::to_string(++made_)) + u" 子窗口");
  // Each new one a step further down and right, so that every title shows.
  const int step = 26 * ((made_ - 1) % 6);
  child->SetBounds(child->Left() + step, child->Top() + step, child->Width(), child->Height());
  return child;
}

void TFrm_GalleryMdi::ShowWithChildren() {
  Show();
  if (MDIChildCount() > 0) return;
  NewChild();
  NewChild();
}

void TFrm_GalleryMdi::Mnu_NewClick(TObject*) { NewChild(); }

void TFrm_GalleryMdi::Mnu_CloseChildClick(TObject*) {
  if (TForm* child = ActiveMDIChild()) child->Close();
}

void TFrm_GalleryMdi::Mnu_CloseClick(TObject*) { Close(); }

void TFrm_GalleryMdi::Mnu_TileClick(TObject*) { Tile(); }

void TFrm_GalleryMdi::Mnu_CascadeClick(TObject*) { Cascade(); }

void RegisterGalleryMdiClasses() {
  RegisterComponentClass<TFrm_GalleryMdiChild>();
  RegisterComponentClass<TFrm_GalleryMdi>();
}

}  // namespace qlt
