#include "gallery/FrmGallery.h"

#include <algorithm>
#include <string>

#include "gallery/FrmGalleryEdits.h"
#include "gallery/FrmGalleryTabs.h"
#include "gallery/FrmGalleryBars.h"
#include "ui/Utf.h"

namespace qlt {

const TClassInfo& TFrm_GalleryDialog::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TFrm_GalleryDialog, TForm>("TFrm_GalleryDialog").Field("Btn_Ok", &TFrm_GalleryDialog::Btn_Ok).Build();
  return info;
}

const TClassInfo& TFrm_GalleryPopup::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryPopup, TForm>("TFrm_GalleryPopup")
                                     .Field("Edt_Text", &TFrm_GalleryPopup::Edt_Text)
                                     .Field("PopupMenu_Items", &TFrm_GalleryPopup::PopupMenu_Items)
                                     .Field("PopupMenu_Plain", &TFrm_GalleryPopup::PopupMenu_Plain)
                                     .Field("Itm_Own", &TFrm_GalleryPopup::Itm_Own)
                                     .Handler("FormClick", &TFrm_GalleryPopup::FormClick)
                                     .Handler("ItemClick", &TFrm_GalleryPopup::ItemClick)
                                     .Handler("Itm_OwnAdvancedDrawItem", &TFrm_GalleryPopup::Itm_OwnAdvancedDrawItem)
                                     .Handler("Itm_OwnMeasureItem", &TFrm_GalleryPopup::Itm_OwnMeasureItem)
                                     .Build();
  return info;
}

// A popup has no close box: a click puts it away.
void TFrm_GalleryPopup::FormClick(TObject*) { Hide(); }

void TFrm_GalleryPopup::ItemClick(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender)) chosen = item->Caption();
}

void TFrm_GalleryPopup::Itm_OwnAdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State) {
  ++ownDrawn;
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor((State & odSelected) ? clHighlight : kOwnColour);
  ACanvas->FillRect(ARect);
  ACanvas->Brush()->SetStyle(bsClear);
  TRect text = ARect;
  text.left += 8;
  if (auto* item = dynamic_cast<TMenuItem*>(Sender)) ACanvas->DrawText(item->Caption(), text, DT_SINGLELINE | DT_VCENTER);
}

void TFrm_GalleryPopup::Itm_OwnMeasureItem(TObject*, TCanvas*, int&, int& Height) {
  ++ownMeasured;
  Height = kOwnHeight;
}

const TClassInfo& TFrm_GalleryTool::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryTool, TForm>("TFrm_GalleryTool").Build();
  return info;
}

const TClassInfo& TGalleryWideList::StaticClass() {
  static const TClassInfo info = ClassBuilder<TGalleryWideList, TListBox>("TGalleryWideList").Build();
  return info;
}

void TGalleryWideList::CreateParams(TCreateParams& params) {
  TListBox::CreateParams(params);
  params.style |= WS_HSCROLL;
}

void TGalleryWideList::CreateWnd() {
  TListBox::CreateWnd();
  SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, kRowWidth, 0);
}

const TClassInfo& TFrm_GalleryControls::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryControls, TForm>("TFrm_GalleryControls")
                                     .Field("Btn_Push", &TFrm_GalleryControls::Btn_Push)
                                     .Field("Btn_PushOff", &TFrm_GalleryControls::Btn_PushOff)
                                     .Field("Btn_Default", &TFrm_GalleryControls::Btn_Default)
                                     .Field("Btn_Bit", &TFrm_GalleryControls::Btn_Bit)
                                     .Field("Btn_BitOff", &TFrm_GalleryControls::Btn_BitOff)
                                     .Field("Btn_BitOne", &TFrm_GalleryControls::Btn_BitOne)
                                     .Field("Btn_BitOneOff", &TFrm_GalleryControls::Btn_BitOneOff)
                                     .Field("Spd_Four", &TFrm_GalleryControls::Spd_Four)
                                     .Field("Spd_FourOff", &TFrm_GalleryControls::Spd_FourOff)
                                     .Field("Spd_One", &TFrm_GalleryControls::Spd_One)
                                     .Field("Spd_OneOff", &TFrm_GalleryControls::Spd_OneOff)
                                     .Field("Spd_Flat", &TFrm_GalleryControls::Spd_Flat)
                                     .Field("Grp_Marks", &TFrm_GalleryControls::Grp_Marks)
                                     .Field("Chk_On", &TFrm_GalleryControls::Chk_On)
                                     .Field("Chk_Off", &TFrm_GalleryControls::Chk_Off)
                                     .Field("Chk_Grayed", &TFrm_GalleryControls::Chk_Grayed)
                                     .Field("Chk_Left", &TFrm_GalleryControls::Chk_Left)
                                     .Field("Rad_One", &TFrm_GalleryControls::Rad_One)
                                     .Field("Rad_Two", &TFrm_GalleryControls::Rad_Two)
                                     .Field("Grp_MarksOff", &TFrm_GalleryControls::Grp_MarksOff)
                                     .Field("Chk_OnOff", &TFrm_GalleryControls::Chk_OnOff)
                                     .Field("Chk_OffOff", &TFrm_GalleryControls::Chk_OffOff)
                                     .Field("Chk_GrayedOff", &TFrm_GalleryControls::Chk_GrayedOff)
                                     .Field("Rad_OnOff", &TFrm_GalleryControls::Rad_OnOff)
                                     .Field("Rad_OffOff", &TFrm_GalleryControls::Rad_OffOff)
                                     .Field("Grp_Empty", &TFrm_GalleryControls::Grp_Empty)
                                     .Field("Grp_Lists", &TFrm_GalleryControls::Grp_Lists)
                                     .Field("Lst_Long", &TFrm_GalleryControls::Lst_Long)
                                     .Field("Lst_Wide", &TFrm_GalleryControls::Lst_Wide)
                                     .Field("Lst_Off", &TFrm_GalleryControls::Lst_Off)
                                     .Field("Lab_Bar", &TFrm_GalleryControls::Lab_Bar)
                                     .Handler("FormCreate", &TFrm_GalleryControls::FormCreate)
                                     .Build();
  return info;
}

void TFrm_GalleryControls::FormCreate(TObject*) {
  // The description draws each glyph once: the other buttons show the same pictures.
  for (TBitmap* glyph : {Btn_BitOff->Glyph(), Spd_Four->Glyph(), Spd_FourOff->Glyph()}) glyph->Assign(*Btn_Bit->Glyph());
  for (TBitmap* glyph : {Btn_BitOneOff->Glyph(), Spd_One->Glyph(), Spd_OneOff->Glyph()}) {
    glyph->Assign(*Btn_BitOne->Glyph());
  }
  // Enough rows that the lists scroll.
  for (int i = 1; i <= 60; ++i) Lst_Long->Items()->Add(u"Row " + Widen(std::to_string(i)) + u" 行");
  for (int i = 1; i <= 20; ++i) {
    Lst_Wide->Items()->Add(Widen(std::to_string(i)) + u". A row much wider than its list — 比列表宽得多的一行");
  }
  for (int i = 1; i <= 12; ++i) Lst_Off->Items()->Add(u"Disabled " + Widen(std::to_string(i)) + u" 不可用");
  scrollBar_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 12, 372, 184, 17,
                               Grp_Lists->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = kBarMax;
  si.nPage = kBarPage;
  SetScrollInfo(scrollBar_, SB_CTL, &si, TRUE);
  // The bar tells its parent, the group box, when it is moved.
  barNotices_.Install(Grp_Lists, [this](TMessage& m, const TWindowProcHook::Next& next) {
    if (m.Msg == WM_HSCROLL && scrollBar_ && reinterpret_cast<HWND>(m.LParam) == scrollBar_) {
      ScrollBarNotice(LOWORD(m.WParam));
      m.Result = 0;
      return;
    }
    next(m);
  });
}

void TFrm_GalleryControls::ScrollBarNotice(WPARAM code) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(scrollBar_, SB_CTL, &si);
  int pos = si.nPos;
  switch (code) {
    case SB_LINELEFT: pos -= 1; break;
    case SB_LINERIGHT: pos += 1; break;
    case SB_PAGELEFT: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGERIGHT: pos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_LEFT: pos = si.nMin; break;
    case SB_RIGHT: pos = si.nMax; break;
    default: return;
  }
  si.fMask = SIF_POS;
  si.nPos = std::clamp(pos, si.nMin, std::max(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1));
  SetScrollInfo(scrollBar_, SB_CTL, &si, TRUE);
  Lab_Bar->SetCaption(u"Scroll bar 滚动条: " + Widen(std::to_string(si.nPos)));
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
                                     .Field("Btn_Edits", &TFrm_Gallery::Btn_Edits)
                                     .Field("Btn_Tabs", &TFrm_Gallery::Btn_Tabs)
                                     .Field("Btn_Bars", &TFrm_Gallery::Btn_Bars)
                                     .Field("ImageList1", &TFrm_Gallery::ImageList1)
                                     .Field("MainMenu1", &TFrm_Gallery::MainMenu1)
                                     .Field("Mnu_Paste", &TFrm_Gallery::Mnu_Paste)
                                     .Handler("Mnu_EditClick", &TFrm_Gallery::Mnu_EditClick)
                                     .Handler("Mnu_PlainClick", &TFrm_Gallery::Mnu_PlainClick)
                                     .Handler("FormCreate", &TFrm_Gallery::FormCreate)
                                     .Handler("Btn_DialogClick", &TFrm_Gallery::Btn_DialogClick)
                                     .Handler("Btn_PopupClick", &TFrm_Gallery::Btn_PopupClick)
                                     .Handler("Btn_ToolClick", &TFrm_Gallery::Btn_ToolClick)
                                     .Handler("Btn_MessageClick", &TFrm_Gallery::Btn_MessageClick)
                                     .Handler("Btn_SkinOnOffClick", &TFrm_Gallery::Btn_SkinOnOffClick)
                                     .Handler("Btn_ControlsClick", &TFrm_Gallery::Btn_ControlsClick)
                                     .Handler("Btn_EditsClick", &TFrm_Gallery::Btn_EditsClick)
                                     .Handler("Btn_TabsClick", &TFrm_Gallery::Btn_TabsClick)
                                     .Handler("Btn_BarsClick", &TFrm_Gallery::Btn_BarsClick)
                                     .Handler("Mnu_ExitClick", &TFrm_Gallery::Mnu_ExitClick)
                                     .Handler("Mnu_CheckClick", &TFrm_Gallery::Mnu_CheckClick)
                                     .Handler("Mnu_ZoomClick", &TFrm_Gallery::Mnu_ZoomClick)
                                     .Handler("Mnu_RightToLeftClick", &TFrm_Gallery::Mnu_RightToLeftClick)
                                     .Handler("Mnu_AboutClick", &TFrm_Gallery::Mnu_AboutClick)
                                     .Field("Btn_Mdi", &TFrm_Gallery::Btn_Mdi)
                                     .Handler("Btn_MdiClick", &TFrm_Gallery::Btn_MdiClick)
                                     .Build();
  return info;
}

void RegisterGalleryClasses() {
  RegisterComponentClass<TFrm_GalleryDialog>();
  RegisterComponentClass<TFrm_GalleryPopup>();
  RegisterComponentClass<TFrm_GalleryTool>();
  RegisterComponentClass<TGalleryWideList>();
  RegisterComponentClass<TFrm_GalleryControls>();
  RegisterComponentClass<TFrm_GalleryRtl>();
  RegisterComponentClass<TFrm_GalleryTabs>();
  RegisterComponentClass<TFrm_Gallery>();
  RegisterGalleryEditsClasses();
  RegisterGalleryMdiClasses();
  RegisterComponentClass<TFrm_GalleryBars>();
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

TFrm_GalleryEdits* TFrm_Gallery::Edits() {
  if (!edits_) edits_ = NewForm<TFrm_GalleryEdits>(this);
  return edits_;
}

void TFrm_Gallery::Btn_EditsClick(TObject*) { Edits()->Show(); }

TFrm_GalleryTabs* TFrm_Gallery::Tabs() {
  if (!tabs_) tabs_ = NewForm<TFrm_GalleryTabs>(this);
  return tabs_;
}
void TFrm_Gallery::Btn_TabsClick(TObject*) { Tabs()->Show(); }
TFrm_GalleryBars* TFrm_Gallery::Bars() {
  if (!bars_) bars_ = NewForm<TFrm_GalleryBars>(this);
  return bars_;
}

void TFrm_Gallery::Btn_BarsClick(TObject*) { Bars()->Show(); }

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

void TFrm_Gallery::Mnu_EditClick(TObject*) {
  if (Mnu_Paste) Mnu_Paste->SetEnabled(IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE);
}

TGalleryPlainWindow* TFrm_Gallery::Plain() {
  if (!plain_) plain_ = std::make_unique<TGalleryPlainWindow>();
  return plain_.get();
}

void TFrm_Gallery::Mnu_PlainClick(TObject*) { Plain()->Show(); }

TFrm_GalleryMdi* TFrm_Gallery::Mdi() {
  if (!mdi_) mdi_ = NewForm<TFrm_GalleryMdi>(this);
  return mdi_;
}

void TFrm_Gallery::Btn_MdiClick(TObject*) { Mdi()->ShowWithChildren(); }

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
  if (named(u"edits")) gallery.Edits()->Show();
  if (named(u"tabs")) gallery.Tabs()->Show();
  if (named(u"mdi")) gallery.Mdi()->ShowWithChildren();
  if (named(u"bars")) gallery.Bars()->Show();
  if (named(u"plain")) gallery.Plain()->Show();
  if (named(u"message")) PostMessageW(gallery.Btn_Message->Handle(), BM_CLICK, 0, 0);
}

}  // namespace qlt
