#include "gallery/FrmGalleryTabs.h"

#include <commctrl.h>

#include <string>

#include "ui/Utf.h"

namespace qlt {

const TClassInfo& TFrm_GalleryTabs::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryTabs, TForm>("TFrm_GalleryTabs")
                                     .Field("Page_Top", &TFrm_GalleryTabs::Page_Top)
                                     .Field("Page_Bottom", &TFrm_GalleryTabs::Page_Bottom)
                                     .Field("Page_Left", &TFrm_GalleryTabs::Page_Left)
                                     .Field("Page_Right", &TFrm_GalleryTabs::Page_Right)
                                     .Field("Page_Buttons", &TFrm_GalleryTabs::Page_Buttons)
                                     .Field("Page_Off", &TFrm_GalleryTabs::Page_Off)
                                     .Field("Sheet_TopTwo", &TFrm_GalleryTabs::Sheet_TopTwo)
                                     .Field("Sheet_ButtonsTwo", &TFrm_GalleryTabs::Sheet_ButtonsTwo)
                                     .Handler("FormCreate", &TFrm_GalleryTabs::FormCreate)
                                     .Build();
  return info;
}

std::u16string TFrm_GalleryTabs::TabCaption(int index) {
  return u"标签 " + Widen(std::to_string(index + 1));
}

void TFrm_GalleryTabs::FormCreate(TObject*) {
  tabControl_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 420, 336,
                                128, 78, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tabControl_) return;
  SendMessageW(tabControl_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  for (int i = 0; i < kTabCount; ++i) {
    std::u16string caption = TabCaption(i);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(caption.data());
    SendMessageW(tabControl_, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace qlt
