// Menus as a menu skinner uses them: items found by menu handle and position, one item updated in
// place, and the popup-menu messages routed to the menu objects and to hooks that watch them.
#include <gtest/gtest.h>

#include "tests/win/UiTestSupport.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"

namespace qlt {
namespace {

using namespace test;

struct ItemMarks {
  UINT type = 0;
  ULONG_PTR data = 0;
};

ItemMarks MarksAt(HMENU menu, int position) {
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_DATA;
  ItemMarks marks;
  if (GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii)) marks = {mii.fType, mii.dwItemData};
  return marks;
}

void MarkOwnerDrawn(HMENU menu, int position, ULONG_PTR data) {
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii));
  mii.fType |= MFT_OWNERDRAW;
  mii.dwItemData = data;
  ASSERT_TRUE(SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii));
}

std::wstring TextAt(HMENU menu, int position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
  return text;
}

// A popup menu of three items, the last with two sub-items, owned by a form.
struct MenuFixture {
  TForm* form = NewFormFromText<TForm>(Application, "object Form1: TForm\nend\n");
  TPopupMenu* menu = new TPopupMenu(form);
  TMenuItem* open = AddItem(menu->Items(), u"Open");
  TMenuItem* line = AddItem(menu->Items(), u"-");
  TMenuItem* more = AddItem(menu->Items(), u"More");
  TMenuItem* inner1 = AddItem(more, u"Inner 1");
  TMenuItem* inner2 = AddItem(more, u"Inner 2");
  ~MenuFixture() { delete form; }
  TMenuItem* AddItem(TMenuItem* parent, const std::u16string& caption) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
};

TEST(MenuUpdates, AChangedItemIsUpdatedInPlaceAndTheOthersKeepWhatASkinnerPutOnThem) {
  MenuFixture f;
  HMENU root = f.menu->Handle();
  HMENU sub = f.more->Handle();
  ASSERT_EQ(GetMenuItemCount(root), 3);
  // A skinner marks two items owner-drawn and keeps its own data on them.
  MarkOwnerDrawn(root, 0, 0x1234);
  MarkOwnerDrawn(root, 2, 0x5678);
  MarkOwnerDrawn(sub, 1, 0x9ABC);

  // Every property an item has, changed on the separator's neighbour and on a sub-item.
  f.line->SetCaption(u"Line no more");
  f.inner1->SetChecked(true);
  f.inner1->SetEnabled(false);
  f.inner1->SetDefault(true);
  f.inner1->SetRadioItem(true);
  f.inner1->SetShortCut(scCtrl | 'N');
  f.inner1->SetImageIndex(3);
  f.inner1->SetCaption(u"Inner one");

  EXPECT_EQ(f.menu->Handle(), root);
  EXPECT_EQ(f.more->Handle(), sub);
  ItemMarks open = MarksAt(root, 0), more = MarksAt(root, 2), inner2 = MarksAt(sub, 1);
  EXPECT_TRUE(open.type & MFT_OWNERDRAW);
  EXPECT_EQ(open.data, 0x1234u);
  EXPECT_TRUE(more.type & MFT_OWNERDRAW);
  EXPECT_EQ(more.data, 0x5678u);
  EXPECT_TRUE(inner2.type & MFT_OWNERDRAW);
  EXPECT_EQ(inner2.data, 0x9ABCu);
  // The changed items show their new state.
  EXPECT_EQ(TextAt(root, 1), L"Line no more");
  EXPECT_FALSE(MarksAt(root, 1).type & MFT_SEPARATOR);
  EXPECT_EQ(TextAt(sub, 0), L"Inner one\tCtrl+N");
  const UINT state = GetMenuState(sub, 0, MF_BYPOSITION);
  EXPECT_TRUE(state & MF_CHECKED);
  EXPECT_TRUE(state & MF_GRAYED);
  EXPECT_TRUE(state & MFS_DEFAULT);
  EXPECT_TRUE(MarksAt(sub, 0).type & MFT_RADIOCHECK);

  // The item changed keeps the owner-draw mark and data a skinner put on it, too.
  MarkOwnerDrawn(root, 0, 0x4321);
  f.open->SetCaption(u"Open…");
  EXPECT_TRUE(MarksAt(root, 0).type & MFT_OWNERDRAW);
  EXPECT_EQ(MarksAt(root, 0).data, 0x4321u);
  EXPECT_EQ(TextAt(root, 0), L"Open…");
}

}  // namespace
}  // namespace qlt
