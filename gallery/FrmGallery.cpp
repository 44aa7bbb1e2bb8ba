#include "gallery/FrmGallery.h"

#include <string>

#include "ui/Utf.h"

namespace qlt {

const TClassInfo& TFrm_GalleryDialog::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TFrm_GalleryDialog, TForm>("TFrm_GalleryDialog").Field("Btn_Ok", &TFrm_GalleryDialog::Btn_Ok).Build();
  return info;
}

const TClassInfo& TFrm_GalleryPopup::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryPopup, TForm>("TFrm_GalleryPopup")
                                     .Handler("FormClick", &TFrm_GalleryPopup::FormClick)
                                     .Build();
  return info;
}

// A popup has no close box: a click puts it away.
void TFrm_GalleryPopup::FormClick(TObject*) { Hide(); }

const TClassInfo& TFrm_GalleryTool::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryTool, TForm>("TFrm_GalleryTool").Build();
  return info;
}

const TClassInfo& TFrm_GalleryControls::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryControls, TForm>("TFrm_GalleryControls")
                                     .Field("Lst_Long", &TFrm_GalleryControls::Lst_Long)
                                     .Handler("FormCreate", &TFrm_GalleryControls::FormCreate)
                                     .Build();
  return info;
}

// Enough rows that the list scrolls.
void TFrm_GalleryControls::FormCreate(TObject*) {
  for (int i = 1; i <= 60; ++i) Lst_Long->Items()->Add(u"Row " + Widen(std::to_string(i)) + u" 行");
}

const TClassInfo& TFrm_GalleryRtl::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryRtl, TForm>("TFrm_GalleryRtl")
                                     .Field("MainMenu1", &TFrm_GalleryRtl::MainMenu1)
                                     .Handler("FormCreate", &TFrm_GalleryRtl::FormCreate)
                                     .Handler("Mnu_CloseClick", &TFrm_GalleryRtl::Mnu_CloseClick)
                                     .Build();
  return info;
}

void TFrm_GalleryRtl::FormCreate(TObject*) {
  if (auto* gallery = dynamic_cast<TFrm_Gallery*>(Owner()); gallery && MainMenu1) {
    MainMenu1->SetImages(gallery->ImageList1);
  }
}

void TFrm_GalleryRtl::Mnu_CloseClick(TObject*) { Close(); }

const TClassInfo& TFrm_Gallery::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_Gallery, TForm>("TFrm_Gallery")
                                     .Field("SkinData1", &TFrm_Gallery::SkinData1)
                                     .Field("Btn_Dialog", &TFrm_Gallery::Btn_Dialog)
                                     .Field("Btn_Popup", &TFrm_Gallery::Btn_Popup)
                                     .Field("Btn_Tool", &TFrm_Gallery::Btn_Tool)
                                     .Field("Btn_Message", &TFrm_Gallery::Btn_Message)
                                     .Field("Btn_SkinOnOff", &TFrm_Gallery::Btn_SkinOnOff)
                                     .Field("Btn_Controls", &TFrm_Gallery::Btn_Controls)
                                     .Field("ImageList1", &TFrm_Gallery::ImageList1)
                                     .Field("MainMenu1", &TFrm_Gallery::MainMenu1)
                                     .Handler("FormCreate", &TFrm_Gallery::FormCreate)
                                     .Handler("Btn_DialogClick", &TFrm_Gallery::Btn_DialogClick)
                                     .Handler("Btn_PopupClick", &TFrm_Gallery::Btn_PopupClick)
                                     .Handler("Btn_ToolClick", &TFrm_Gallery::Btn_ToolClick)
                                     .Handler("Btn_MessageClick", &TFrm_Gallery::Btn_MessageClick)
                                     .Handler("Btn_SkinOnOffClick", &TFrm_Gallery::Btn_SkinOnOffClick)
                                     .Handler("Btn_ControlsClick", &TFrm_Gallery::Btn_ControlsClick)
                                     .Handler("Mnu_ExitClick", &TFrm_Gallery::Mnu_ExitClick)
                                     .Handler("Mnu_CheckClick", &TFrm_Gallery::Mnu_CheckClick)
                                     .Handler("Mnu_ZoomClick", &TFrm_Gallery::Mnu_ZoomClick)
                                     .Handler("Mnu_RightToLeftClick", &TFrm_Gallery::Mnu_RightToLeftClick)
                                     .Handler("Mnu_AboutClick", &TFrm_Gallery::Mnu_AboutClick)
                                     .Build();
  return info;
}

void RegisterGalleryClasses() {
  RegisterComponentClass<TFrm_GalleryDialog>();
  RegisterComponentClass<TFrm_GalleryPopup>();
  RegisterComponentClass<TFrm_GalleryTool>();
  RegisterComponentClass<TFrm_GalleryControls>();
  RegisterComponentClass<TFrm_GalleryRtl>();
  RegisterComponentClass<TFrm_Gallery>();
}

const char16_t* TFrm_Gallery::MessageCaption() {
  return u"A message box whose caption is much wider than its short text — 标题比正文宽得多";
}
const char16_t* TFrm_Gallery::MessageText() { return u"Short text."; }

void TFrm_Gallery::FormCreate(TObject*) {
  const std::u16string& file = TheGalleryOptions().skinFile;
  if (!file.empty() && SkinData1) SkinData1->SetSkinFile(file);
}

TFrm_GalleryDialog* TFrm_Gallery::Dialog() {
  if (!dialog_) dialog_ = NewForm<TFrm_GalleryDialog>(this);
  return dialog_;
}

TFrm_GalleryPopup* TFrm_Gallery::Popup() {
  if (!popup_) popup_ = NewForm<TFrm_GalleryPopup>(this);
  return popup_;
}

TFrm_GalleryTool* TFrm_Gallery::Tool() {
  if (!tool_) tool_ = NewForm<TFrm_GalleryTool>(this);
  return tool_;
}

TFrm_GalleryControls* TFrm_Gallery::Controls() {
  if (!controls_) controls_ = NewForm<TFrm_GalleryControls>(this);
  return controls_;
}

TFrm_GalleryRtl* TFrm_Gallery::RightToLeft() {
  if (!rightToLeft_) rightToLeft_ = NewForm<TFrm_GalleryRtl>(this);
  return rightToLeft_;
}

void TFrm_Gallery::Btn_ControlsClick(TObject*) { Controls()->Show(); }

void TFrm_Gallery::Mnu_ExitClick(TObject*) { Close(); }

void TFrm_Gallery::Mnu_CheckClick(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender)) item->SetChecked(!item->Checked());
}

// One zoom at a time: the chosen item is checked, its radio siblings not.
void TFrm_Gallery::Mnu_ZoomClick(TObject* Sender) {
  auto* chosen = dynamic_cast<TMenuItem*>(Sender);
  if (!chosen || !chosen->Parent()) return;
  TMenuItem* group = chosen->Parent();
  for (int i = 0; i < group->Count(); ++i) {
    if (group->Items(i)->RadioItem()) group->Items(i)->SetChecked(group->Items(i) == chosen);
  }
}

void TFrm_Gallery::Mnu_RightToLeftClick(TObject*) { RightToLeft()->Show(); }

void TFrm_Gallery::Mnu_AboutClick(TObject*) {
  MessageBoxW(Handle(), L"QLT Skin Gallery: every window, control and menu the skin paints.", L"About",
              MB_OK | MB_ICONINFORMATION);
}

void TFrm_Gallery::Btn_DialogClick(TObject*) {
  // Opened from the command line it is already showing, without being modal.
  if (Dialog()->Visible()) return Dialog()->BringToFront();
  Dialog()->ShowModal();
}
void TFrm_Gallery::Btn_PopupClick(TObject*) { Popup()->Show(); }
void TFrm_Gallery::Btn_ToolClick(TObject*) { Tool()->Show(); }

void TFrm_Gallery::Btn_MessageClick(TObject*) {
  MessageBoxW(Handle(), reinterpret_cast<LPCWSTR>(MessageText()), reinterpret_cast<LPCWSTR>(MessageCaption()),
              MB_OKCANCEL | MB_ICONINFORMATION);
}

void TFrm_Gallery::Btn_SkinOnOffClick(TObject*) {
  if (SkinData1) SkinData1->SetActive(!SkinData1->Active());
}

GalleryOptions& TheGalleryOptions() {
  static GalleryOptions options;
  return options;
}

GalleryOptions ReadGalleryArguments(int argc, wchar_t** argv) {
  GalleryOptions options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::u16string name = reinterpret_cast<const char16_t*>(argv[i]);
    const std::u16string value = reinterpret_cast<const char16_t*>(argv[i + 1]);
    if (name == u"--skin") options.skinFile = value;
    if (name == u"--open") options.open = value;
  }
  return options;
}

void OpenGalleryWindows(TFrm_Gallery& gallery, const std::u16string& kinds) {
  auto named = [&](std::u16string_view kind) { return kinds.find(kind) != std::u16string::npos; };
  if (named(u"dialog")) gallery.Dialog()->Show();
  if (named(u"popup")) gallery.Popup()->Show();
  if (named(u"tool")) gallery.Tool()->Show();
  if (named(u"controls")) gallery.Controls()->Show();
  if (named(u"rtl")) gallery.RightToLeft()->Show();
  if (named(u"message")) PostMessageW(gallery.Btn_Message->Handle(), BM_CLICK, 0, 0);
}

}  // namespace qlt
