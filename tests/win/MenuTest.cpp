// Menus as a menu skinner uses them: items found by menu handle and position, one item updated in
// place, and the popup-menu messages routed to the menu objects and to hooks that watch them.
#include <gtest/gtest.h>

#include <algorithm>

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

TEST(MenuLookups, HandlesPositionsAndCommandsFindTheirItemsThroughChangesAndAfterFreeing) {
  MenuFixture f;
  HMENU root = f.menu->Handle();
  HMENU sub = f.more->Handle();
  EXPECT_EQ(TMenu::FindItemByHandle(root), f.menu->Items());
  EXPECT_EQ(TMenu::FindItemByHandle(sub), f.more);
  EXPECT_EQ(TMenu::FindItemAt(root, 0), f.open);
  EXPECT_EQ(TMenu::FindItemAt(root, 1), f.line);
  EXPECT_EQ(TMenu::FindItemAt(root, 2), f.more);
  EXPECT_EQ(TMenu::FindItemAt(sub, 1), f.inner2);
  EXPECT_EQ(TMenu::FindItemAt(root, 3), nullptr);
  EXPECT_EQ(TMenu::FindItemAt(root, -1), nullptr);
  EXPECT_EQ(TMenu::FindItemByCommand(root, f.open->Command()), f.open);
  EXPECT_EQ(TMenu::FindItemByCommand(sub, f.open->Command()), nullptr) << "a command of another menu";
  EXPECT_EQ(TMenu::FindItemByCommand(sub, f.inner1->Command()), f.inner1);
  EXPECT_EQ(TMenu::FindItemByHandle(nullptr), nullptr);

  // An invisible item leaves its menu: the positions after it move up, its command is not there.
  f.open->SetVisible(false);
  EXPECT_EQ(f.open->MenuPosition(), -1);
  EXPECT_EQ(TMenu::FindItemAt(root, 0), f.line);
  EXPECT_EQ(TMenu::FindItemAt(root, 1), f.more);
  EXPECT_EQ(TMenu::FindItemByCommand(root, f.open->Command()), nullptr);
  f.open->SetVisible(true);
  EXPECT_EQ(f.open->MenuPosition(), 0);
  EXPECT_EQ(TMenu::FindItemAt(root, 0), f.open);

  // Added at an index, taken out, put back.
  TMenuItem* added = f.AddItem(f.menu->Items(), u"Added");
  f.menu->Items()->Insert(1, added);
  EXPECT_EQ(GetMenuItemCount(root), 4);
  EXPECT_EQ(TMenu::FindItemAt(root, 1), added);
  EXPECT_EQ(TextAt(root, 1), L"Added");
  EXPECT_EQ(TMenu::FindItemAt(root, 3), f.more);
  f.menu->Items()->Remove(f.line);
  EXPECT_EQ(f.line->MenuPosition(), -1);
  EXPECT_EQ(TMenu::FindItemAt(root, 2), f.more);
  f.more->Add(f.line);
  EXPECT_EQ(TMenu::FindItemAt(sub, 2), f.line);
  EXPECT_EQ(TMenu::FindItemByCommand(sub, f.line->Command()), f.line);

  // An item that gets its first sub-item becomes a sub-menu entry and loses it with the last.
  TMenuItem* child = f.AddItem(added, u"Child");
  HMENU addedMenu = added->Handle();
  EXPECT_EQ(GetSubMenu(root, 1), addedMenu);
  EXPECT_EQ(TMenu::FindItemAt(root, 1), added);
  EXPECT_EQ(TMenu::FindItemByHandle(addedMenu), added);
  EXPECT_EQ(TMenu::FindItemAt(addedMenu, 0), child);
  added->Remove(child);
  EXPECT_EQ(GetSubMenu(root, 1), nullptr);
  EXPECT_EQ(TMenu::FindItemAt(root, 1), added);
  EXPECT_EQ(TMenu::FindItemByHandle(addedMenu), added) << "the item keeps its sub-menu for later";
  delete child;

  // An entry someone else put in front is nobody's item, and the items' own updates still find
  // their entries.
  ASSERT_TRUE(InsertMenuW(root, 0, MF_BYPOSITION | MF_STRING, 42, L"Foreign"));
  EXPECT_EQ(TMenu::FindItemAt(root, 0), nullptr);
  EXPECT_EQ(TMenu::FindItemAt(root, 1), f.open);
  f.open->SetCaption(u"Open it");
  EXPECT_EQ(TextAt(root, 0), L"Foreign");
  EXPECT_EQ(TextAt(root, 1), L"Open it");
  f.open->SetVisible(false);
  f.open->SetVisible(true);
  EXPECT_EQ(TextAt(root, 0), L"Foreign");
  EXPECT_EQ(TMenu::FindItemAt(root, 1), f.open);
  RemoveMenu(root, 0, MF_BYPOSITION);

  // An item cannot go into itself or below itself, nor a menu's root into another menu: refused
  // with a message, the tree and the menus left as they were.
  EXPECT_THROW(f.inner1->Add(f.more), EMenuError);
  EXPECT_THROW(f.more->Insert(0, f.more), EMenuError);
  EXPECT_THROW(added->Add(f.menu->Items()), EMenuError);
  EXPECT_EQ(f.more->Parent(), f.menu->Items());
  EXPECT_EQ(f.inner1->Parent(), f.more);
  EXPECT_EQ(f.menu->Items()->Parent(), nullptr);
  EXPECT_EQ(TMenu::FindItemAt(root, 2), f.more);
  EXPECT_EQ(TMenu::FindItemAt(sub, 0), f.inner1);

  // Freed items and menus leave no handle behind that leads to them.
  const UINT innerCommand = f.inner1->Command();
  delete f.more;
  f.more = f.inner1 = f.inner2 = nullptr;
  EXPECT_EQ(TMenu::FindItemByHandle(sub), nullptr);
  EXPECT_FALSE(IsMenu(sub));
  EXPECT_EQ(TMenu::FindAnyItem(innerCommand), nullptr);
  EXPECT_EQ(GetMenuItemCount(root), 2);
  delete f.menu;
  f.menu = nullptr;
  EXPECT_EQ(TMenu::FindItemByHandle(root), nullptr);
  EXPECT_EQ(TMenu::FindItemByHandle(addedMenu), nullptr);
  HMENU fresh = CreatePopupMenu();  // may well get a freed handle's value
  EXPECT_EQ(TMenu::FindItemByHandle(fresh), nullptr);
  DestroyMenu(fresh);
}

TEST(MenuUpdates, OwnerDrawSwitchedInPlaceKeepsHandlesAndItemDataAndHiddenItemsKeepTheirMarks) {
  MenuFixture f;
  HMENU root = f.menu->Handle();
  HMENU sub = f.more->Handle();
  MarkOwnerDrawn(sub, 0, 0x77);
  f.menu->SetOwnerDraw(true);
  EXPECT_TRUE(MarksAt(root, 0).type & MFT_OWNERDRAW);
  EXPECT_TRUE(MarksAt(sub, 1).type & MFT_OWNERDRAW);
  EXPECT_EQ(MarksAt(sub, 0).data, 0x77u);
  f.menu->SetOwnerDraw(false);
  EXPECT_FALSE(MarksAt(root, 0).type & MFT_OWNERDRAW);
  EXPECT_FALSE(MarksAt(sub, 0).type & MFT_OWNERDRAW) << "the menu's own switch decides for every item";
  EXPECT_EQ(MarksAt(sub, 0).data, 0x77u);
  EXPECT_EQ(f.menu->Handle(), root);
  EXPECT_EQ(f.more->Handle(), sub);
  EXPECT_EQ(GetSubMenu(root, 2), sub);

  // An item hidden and shown again comes back with what a skinner had put on its entry.
  MarkOwnerDrawn(root, 0, 0x99);
  f.open->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(root), 2);
  f.open->SetVisible(true);
  EXPECT_TRUE(MarksAt(root, 0).type & MFT_OWNERDRAW);
  EXPECT_EQ(MarksAt(root, 0).data, 0x99u);
}

// What a hook saw of one message.
struct Seen {
  UINT msg;
  HMENU handle;
  TMenu* menu;
  TMenuItem* item;
};

std::vector<Seen> Only(const std::vector<Seen>& log, UINT msg) {
  std::vector<Seen> out;
  std::copy_if(log.begin(), log.end(), std::back_inserter(out), [msg](const Seen& s) { return s.msg == msg; });
  return out;
}

bool Has(const std::vector<Seen>& log, UINT msg, const TMenuItem* item) {
  return std::any_of(log.begin(), log.end(), [&](const Seen& s) { return s.msg == msg && s.item == item; });
}

TMenuHook::THandler Recorder(std::vector<Seen>& log) {
  return [&log](TMenuMessage& m) { log.push_back({m.Msg, m.MenuHandle, m.Menu, m.Item}); };
}

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32768" && IsWindowVisible(window)) *reinterpret_cast<bool*>(found) = true;
  return TRUE;
}

// Whether this thread shows a popup menu window.
bool MenuWindowShown() {
  bool shown = false;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&shown));
  return shown;
}

// Drives an open menu with real input from a timer of this thread (the thread is inside the menu
// loop): the pointer moves onto entries of the menu until each step's condition holds, then real
// Escape presses close the open levels; EndMenu only if the keys do not get through.
class MenuDriver {
 public:
  struct Step {
    HMENU menu;
    int position;
    std::function<bool()> done;
  };
  // inLoop: whether the menu loop still runs (by default: while a menu window shows).
  explicit MenuDriver(std::vector<Step> steps, std::function<bool()> inLoop = MenuWindowShown)
      : steps_(std::move(steps)), inLoop_(std::move(inLoop)) {
    timer_.SetEnabled(false);
    timer_.SetInterval(100);
    timer_.OnTimer = [this](TObject*) { Tick(); };
  }
  void Start() {
    ticks_ = 0;
    timer_.SetEnabled(true);
  }
  void Stop() { timer_.SetEnabled(false); }
  bool AllStepsDone() const { return step_ >= steps_.size(); }
  bool ClosedByKeys() const { return !forced_; }

 private:
  void Tick() {
    ++ticks_;
    if (step_ < steps_.size()) {
      const Step& s = steps_[step_];
      if (s.done()) {
        ++step_;
        return;
      }
      if (ticks_ < 40) {
        RECT r{};
        // No window: the rectangle is then mapped from the menu's own window to the screen.
        if (GetMenuItemRect(nullptr, s.menu, static_cast<UINT>(s.position), &r)) {
          // A pixel to and fro, so that a move Wine dropped is made again.
          SendMouseInput(0, POINT{(r.left + r.right) / 2 + (ticks_ & 1), (r.top + r.bottom) / 2});
        }
        return;
      }
    }
    if (ticks_ > 60) {
      forced_ = true;
      EndMenu();
    } else if (ticks_ % 2 == 0 && inLoop_()) {
      INPUT keys[2] = {KeyInput(VK_ESCAPE, false), KeyInput(VK_ESCAPE, true)};
      SendInput(2, keys, sizeof(INPUT));
    }
  }
  TTimer timer_{nullptr};
  std::vector<Step> steps_;
  std::function<bool()> inLoop_;
  size_t step_ = 0;
  int ticks_ = 0;
  bool forced_ = false;
};

TEST(MenuMessages, APopupMenuShownForRealReachesItsItemsAndTheHooksOfTheListAndTheMenu) {
  MenuFixture f;
  f.menu->SetOwnerDraw(true);
  std::vector<std::string> drawn;
  f.open->OnAdvancedDrawItem = [&](TObject*, TCanvas* canvas, TRect rect, TOwnerDrawState) {
    canvas->FillRect(rect);
    drawn.push_back("open");
  };
  int popups = 0;
  f.menu->OnPopup = [&](TObject*) { ++popups; };
  std::vector<Seen> list, menu;
  TMenuHook listHook(TPopupMenu::PopupListHooks(), Recorder(list));
  TMenuHook menuHook(f.menu->Hooks(), Recorder(menu));

  HWND owner = TPopupMenu::PopupListWindow();
  HMENU root = f.menu->Handle();
  MenuDriver driver({{root, 0, [&] { return Has(menu, WM_MENUSELECT, f.open); }},
                     {root, 2, [&] { return Has(menu, WM_INITMENUPOPUP, f.more); }}});
  f.form->Show();
  SetForegroundWindow(f.form->Handle());
  PumpFor(50ms);
  driver.Start();
  f.menu->Popup(150, 150);
  driver.Stop();
  EXPECT_TRUE(driver.AllStepsDone());
  EXPECT_TRUE(driver.ClosedByKeys());

  EXPECT_EQ(popups, 1) << "OnPopup once, also with the root's WM_INITMENUPOPUP";
  EXPECT_EQ(TPopupMenu::Tracking(), nullptr);
  ASSERT_FALSE(Only(menu, WM_ENTERMENULOOP).empty());
  EXPECT_EQ(Only(menu, WM_ENTERMENULOOP)[0].menu, f.menu);
  ASSERT_FALSE(Only(menu, WM_INITMENUPOPUP).empty());
  const Seen opened = Only(menu, WM_INITMENUPOPUP)[0];
  EXPECT_EQ(opened.item, f.menu->Items());
  EXPECT_EQ(opened.handle, root);
  EXPECT_TRUE(Has(menu, WM_MEASUREITEM, f.open));
  EXPECT_TRUE(Has(menu, WM_DRAWITEM, f.open));
  EXPECT_TRUE(Has(menu, WM_MENUSELECT, f.more)) << "a sub-menu entry is found by its position";
  EXPECT_TRUE(Has(menu, WM_INITMENUPOPUP, f.more));
  EXPECT_TRUE(Has(menu, WM_MEASUREITEM, f.inner1)) << "sub-menu items belong to the same menu";
  EXPECT_FALSE(Only(menu, WM_EXITMENULOOP).empty());
  // Each menu that closes is named, the sub-menu first.
  const std::vector<Seen> closed = Only(menu, WM_UNINITMENUPOPUP);
  ASSERT_EQ(closed.size(), 2u);
  EXPECT_EQ(closed[0].item, f.more);
  EXPECT_EQ(closed[1].item, f.menu->Items());
  // The list's hook saw every one of them too.
  for (UINT msg : {WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM, WM_MENUSELECT, WM_UNINITMENUPOPUP,
                   WM_EXITMENULOOP}) {
    EXPECT_EQ(Only(list, msg).size(), Only(menu, msg).size()) << "message " << msg;
  }
  // The item's own drawing still ran.
  EXPECT_FALSE(drawn.empty());

  // Opened by someone else with the list as owner, the menu still tells OnPopup once.
  MenuDriver closer({});
  closer.Start();
  TrackPopupMenu(root, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 150, 150, 0, owner, nullptr);
  closer.Stop();
  EXPECT_TRUE(closer.ClosedByKeys());
  EXPECT_EQ(popups, 2);
}

TEST(MenuMessages, AFormsMenuBarMessagesReachItsMainMenuAndItsHooks) {
  MenuFixture f;
  auto* mainMenu = new TMainMenu(f.form);
  mainMenu->SetOwnerDraw(true);
  TMenuItem* file = f.AddItem(mainMenu->Items(), u"&File");
  TMenuItem* quit = f.AddItem(file, u"&Quit");
  int measured = 0;
  quit->OnMeasureItem = [&](TObject*, TCanvas*, int& width, int&) {
    ++measured;
    width = 90;
  };
  f.form->SetMenu(mainMenu);
  std::vector<Seen> seen;
  TMenuHook hook(mainMenu->Hooks(), Recorder(seen));
  f.form->Show();
  SetForegroundWindow(f.form->Handle());
  PumpFor(50ms);

  // A click on the menu bar opens "File" inside the click's handling; the driver closes it (the
  // bar's loop outlives the drop-down: Escape closes the one, then the other).
  HWND form = f.form->Handle();
  HMENU bar = GetMenu(form);
  ASSERT_EQ(bar, mainMenu->Handle());
  RECT r{};
  ASSERT_TRUE(GetMenuItemRect(form, bar, 0, &r));
  MenuDriver driver({{file->Handle(), 0, [&] { return Has(seen, WM_MENUSELECT, quit); }}},
                    [&] { return Only(seen, WM_EXITMENULOOP).empty(); });
  driver.Start();
  ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  PumpUntil([&] { return !Only(seen, WM_EXITMENULOOP).empty(); });
  driver.Stop();
  EXPECT_TRUE(driver.AllStepsDone());
  EXPECT_TRUE(driver.ClosedByKeys());

  EXPECT_FALSE(Only(seen, WM_ENTERMENULOOP).empty());
  EXPECT_TRUE(Has(seen, WM_INITMENUPOPUP, file));
  EXPECT_TRUE(Has(seen, WM_MEASUREITEM, quit));
  EXPECT_TRUE(Has(seen, WM_MENUSELECT, quit));
  EXPECT_FALSE(Only(seen, WM_EXITMENULOOP).empty());
  EXPECT_GE(measured, 1) << "the item's own measuring still runs";
}

// A WM_MENUSELECT for an entry of the fixture's menu, sent to the popup list window.
void SelectOpen(MenuFixture& f) {
  SendMessageW(TPopupMenu::PopupListWindow(), WM_MENUSELECT, MAKEWPARAM(f.open->Command(), MF_HILITE),
               reinterpret_cast<LPARAM>(f.menu->Handle()));
}

TEST(MenuHooks, TwoWatchersRemovedInEitherOrderLeaveTheOtherWorking) {
  MenuFixture f;
  f.menu->Handle();
  for (bool firstGoesFirst : {true, false}) {
    std::vector<std::string> calls;
    auto first = std::make_unique<TMenuHook>(f.menu->Hooks(), [&](TMenuMessage&) { calls.push_back("first"); });
    auto second = std::make_unique<TMenuHook>(f.menu->Hooks(), [&](TMenuMessage&) { calls.push_back("second"); });
    EXPECT_EQ(f.menu->Hooks().Count(), 2);
    SelectOpen(f);
    EXPECT_EQ(calls, (std::vector<std::string>{"second", "first"})) << "the newest hook first";
    calls.clear();
    (firstGoesFirst ? first : second).reset();
    SelectOpen(f);
    EXPECT_EQ(calls, std::vector<std::string>{firstGoesFirst ? "second" : "first"});
    calls.clear();
    (firstGoesFirst ? second : first)->Detach();
    (firstGoesFirst ? second : first)->Detach();  // twice is harmless
    SelectOpen(f);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(f.menu->Hooks().Count(), 0);
  }

  // A hook that takes itself and the next one out while a message runs: the others still get it,
  // the removed one does not, and nothing runs freed code.
  std::vector<std::string> calls;
  auto last = std::make_unique<TMenuHook>(f.menu->Hooks(), [&](TMenuMessage&) { calls.push_back("last"); });
  auto middle = std::make_unique<TMenuHook>(f.menu->Hooks(), [&](TMenuMessage&) { calls.push_back("middle"); });
  std::unique_ptr<TMenuHook> front;
  front = std::make_unique<TMenuHook>(f.menu->Hooks(), [&](TMenuMessage&) {
    calls.push_back("front");
    middle.reset();
    front.reset();
  });
  SelectOpen(f);
  EXPECT_EQ(calls, (std::vector<std::string>{"front", "last"}));
  EXPECT_EQ(f.menu->Hooks().Count(), 1);
  calls.clear();
  SelectOpen(f);
  EXPECT_EQ(calls, std::vector<std::string>{"last"});

  // A hook on the list and one on the menu: the list's comes first; the chain of a freed menu
  // leaves its hook detached, and detaching or destroying it then is harmless.
  calls.clear();
  TMenuHook list(TPopupMenu::PopupListHooks(), [&](TMenuMessage& m) {
    if (m.Menu == f.menu) calls.push_back("list");
  });
  SelectOpen(f);
  EXPECT_EQ(calls, (std::vector<std::string>{"list", "last"}));
  delete f.menu;
  f.menu = nullptr;
  EXPECT_FALSE(last->Attached());
  last->Detach();
  last.reset();
  EXPECT_TRUE(list.Attached());
}

TEST(MenuHooks, AHookCanActAfterTheMenusOwnHandlingOrAnswerInItsPlace) {
  MenuFixture f;
  f.menu->SetOwnerDraw(true);
  int itemMeasured = 0;
  f.open->OnMeasureItem = [&](TObject*, TCanvas*, int& width, int& height) {
    ++itemMeasured;
    width = 100;
    height = 20;
  };
  const auto measure = [&] {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = f.open->Command();
    const LRESULT result =
        SendMessageW(TPopupMenu::PopupListWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return std::make_pair(result, mis);
  };
  {
    // Widens what the item measured, as a skin's measurer does.
    TMenuHook widen(f.menu->Hooks(), [](TMenuMessage& m) {
      if (m.Msg != WM_MEASUREITEM) return;
      m.Inherited();
      m.Inherited();  // the rest runs once
      reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemWidth += 7;
    });
    const auto [result, mis] = measure();
    EXPECT_EQ(result, TRUE);
    EXPECT_EQ(mis.itemWidth, 107u);
    EXPECT_EQ(mis.itemHeight, 20u);
    EXPECT_EQ(itemMeasured, 1);
  }
  {
    // Answers alone: neither the hooks after it nor the item are asked.
    int later = 0;
    TMenuHook after(f.menu->Hooks(), [&](TMenuMessage&) { ++later; });
    TMenuHook answer(TPopupMenu::PopupListHooks(), [](TMenuMessage& m) {
      if (m.Msg != WM_MEASUREITEM) return;
      reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemWidth = 55;
      m.Result = TRUE;
      m.Handled = true;
    });
    const auto [result, mis] = measure();
    EXPECT_EQ(result, TRUE);
    EXPECT_EQ(mis.itemWidth, 55u);
    EXPECT_EQ(later, 0);
    EXPECT_EQ(itemMeasured, 1);
  }
  // Without hooks the item measures itself as before.
  EXPECT_EQ(measure().second.itemWidth, 100u);
  EXPECT_EQ(itemMeasured, 2);
}

UINT TypeAt(HMENU menu, int position) { return MarksAt(menu, position).type; }

// The columns of a drawn item that hold anything but its background, as [first, last].
std::pair<int, int> InkColumns(TBitmap& bitmap) {
  HDC dc = bitmap.Canvas()->Handle();
  const COLORREF background = GetPixel(dc, 0, 0);
  int first = bitmap.Width(), last = -1;
  for (int x = 0; x < bitmap.Width(); ++x) {
    for (int y = 0; y < bitmap.Height(); ++y) {
      if (GetPixel(dc, x, y) != background) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  return {first, last};
}

TEST(MenuReadingOrder, ARightToLeftFormMirrorsItsWindowItsMenuBarAndTheItemsTheFrameworkDraws) {
  MenuFixture f;
  auto* mainMenu = new TMainMenu(f.form);
  TMenuItem* file = f.AddItem(mainMenu->Items(), u"&File");
  TMenuItem* quit = f.AddItem(file, u"Quit");
  quit->SetShortCut(scCtrl | 'Q');
  f.form->SetMenu(mainMenu);
  f.form->SetBiDiMode(bdRightToLeft);
  constexpr LONG kMirrored = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
  EXPECT_TRUE(mainMenu->IsRightToLeft()) << "the main menu follows its form";
  EXPECT_EQ(GetWindowLongW(f.form->Handle(), GWL_EXSTYLE) & kMirrored, kMirrored);
  EXPECT_EQ(TypeAt(mainMenu->Handle(), 0) & MFT_RIGHTJUSTIFY, UINT(MFT_RIGHTJUSTIFY));
  EXPECT_EQ(TypeAt(file->Handle(), 0) & (MFT_RIGHTORDER | MFT_RIGHTJUSTIFY), 0u)
      << "only the bar's own items stand at the right; a drop-down's entries stay plain (Wine takes the "
         "right-order bit for a system menu's)";

  // The framework's look: caption at the right end, shortcut at the left; mirrored back when the
  // form reads left to right again.
  TBitmap bitmap;
  bitmap.SetSize(240, 20);
  const TRect rect{0, 0, 240, 20};
  auto draw = [&] {
    quit->DefaultDrawItem(bitmap.Canvas(), rect, 0, false);
    GdiFlush();
    return InkColumns(bitmap);
  };
  const auto [rtlFirst, rtlLast] = draw();
  f.form->SetBiDiMode(bdLeftToRight);
  const auto [ltrFirst, ltrLast] = draw();
  ASSERT_GE(rtlLast, 0);
  ASSERT_GE(ltrLast, 0);
  EXPECT_LT(ltrFirst, 40) << "left to right: the caption starts beside the glyph column";
  EXPECT_GT(rtlLast, 240 - 40) << "right to left: the caption ends beside the glyph column at the right";
  EXPECT_LT(rtlFirst, 20) << "right to left: the shortcut stands at the left";
  EXPECT_FALSE(mainMenu->IsRightToLeft());
  EXPECT_EQ(GetWindowLongW(f.form->Handle(), GWL_EXSTYLE) & kMirrored, 0);
  EXPECT_EQ(TypeAt(mainMenu->Handle(), 0) & MFT_RIGHTJUSTIFY, 0u);
}

}  // namespace
}  // namespace qlt
