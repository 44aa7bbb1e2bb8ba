// Popup menus drawn from the skin in the gallery's windows, with both skins, as a user sees and
// uses them: the popup window's border and background, the items' cells, the left band,
// separators, the default item in bold, hidden items left out, the item under the real mouse,
// keyboard choice, a sub-menu, the skinned system menu's glyphs; switching the skin off gives
// back exactly what it changed; an edit's context menu leaves no popup waiting; printing keeps the
// caller's clipping; handles stay flat over a thousand openings.
#include <gtest/gtest.h>

#include "skin/menus/MenuItemLayout.h"
#include "skin/menus/SkinnedPopupMenus.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "tests/win/GalleryTestSupport.h"
#include "tests/win/MenuTestSupport.h"
#include "ui/Utf.h"

namespace qlt::test {
namespace {

using Step = MenuScript::Step;

struct Shown {
  TMenuItem* item;  // nullptr for an entry that is no framework item
  RECT rect;        // window coordinates
};

std::vector<Shown> ShownItems(HWND window, HMENU menu) {
  std::vector<Shown> out;
  const std::vector<RECT> places = ItemPlaces(window, menu);
  for (int i = 0; i < static_cast<int>(places.size()); ++i) out.push_back({TMenu::FindItemAt(menu, i), places[i]});
  return out;
}

SIZE SizeOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

POINT Origin(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top};
}

POINT Centre(HWND window, const RECT& r) {
  const POINT o = Origin(window);
  return {o.x + (r.left + r.right) / 2, o.y + (r.top + r.bottom) / 2};
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += "\n  " + l;
  return out;
}

class SkinPopupMenu : public ::testing::TestWithParam<GallerySkin> {
 protected:
  void SetUp() override {
    skin_ = ReadSkinContent(SkinFileBytes(GetParam()));
    ASSERT_NE(skin_, nullptr);
    ASSERT_TRUE(skin_->MenuItem && skin_->MenuBackground) << "both skins draw menus";
  }
  void TearDown() override { host_.reset(); }

  // The gallery and its caption-less popup window, shown and skinned.
  void Open() {
    host_ = std::make_unique<GalleryHost>(GetParam());
    popup_ = host_->Gallery().Popup();
    popup_->Show();
    Activate(popup_->Handle());
    ASSERT_TRUE(WaitSkinned(popup_->Handle()));
  }
  // A point of the popup window on neither its label nor its edit.
  POINT OnPopup() const { return OnScreen(popup_->Handle(), 150, 40); }
  // Opens a menu with a real right click and runs the steps while it shows.
  bool RunMenu(POINT click, std::vector<Step> steps) {
    MenuScript script(std::move(steps));
    ClickAt(click, MouseButton::Right);
    EXPECT_TRUE(WaitUntil([&] { return script.Finished(); }, 20s)) << "the menu opened and closed";
    if (!script.Done()) ADD_FAILURE() << "the menu's steps stopped at step " << script.StepsDone();
    return script.Done();
  }
  std::wstring Shot(const std::string& what) const {
    return Utf8ToWide("menu-" + SkinCaseName(GetParam()) + "-" + what);
  }

  // What the skin shows of a popup with these items.
  std::vector<std::string> SkinMismatches(HWND window, const std::vector<Shown>& items, int selected,
                                          int glyphSize = kMenuGlyphSize) const {
    std::vector<MenuEntry> entries;
    for (const Shown& s : items) {
      const bool skinned = s.item && TSkinnedPopupMenus::PaintedBySkin(*s.item);
      entries.push_back({s.rect, skinned, skinned && s.item->IsLine(),
                         skinned && (s.item->Checked() || s.item->ImageIndex() >= 0), skinned && s.item->Count() > 0});
    }
    return MenuWindowMismatches(*skin_, window, entries, selected, glyphSize);
  }

  std::unique_ptr<TSkinContent> skin_;
  std::unique_ptr<GalleryHost> host_;
  TFrm_GalleryPopup* popup_ = nullptr;
};

TEST_P(SkinPopupMenu, ItemsBorderBandAndSeparatorComeFromTheSkin) {
  Open();
  std::vector<std::string> mismatches, captions;
  int shown = 0;
  bool answered = false;
  const COLORREF text = ColourOf(skin_->MenuTextColour);
  const COLORREF shadow = skin_->ButtonShadowColour == skin_->MenuTextColour ? GetSysColor(COLOR_BTNSHADOW)
                                                                             : ColourOf(skin_->ButtonShadowColour);
  std::vector<std::pair<std::u16string, std::pair<int, int>>> ink;  // caption: text, shadow pixels
  RECT own{};
  const bool done = RunMenu(OnPopup(), {
      [&](HWND w, HMENU) {
        answered = SendMessageW(w, WM_SKIN_QUERY, 0, 0) == 1 && SkinManager->IsPopupSkinned(w);
        return true;
      },
      [&](HWND w, HMENU m) {
        const std::vector<Shown> items = ShownItems(w, m);
        mismatches = SkinMismatches(w, items, -1);
        if (!mismatches.empty()) return false;
        shown = static_cast<int>(items.size());
        const ScreenGrab grab = ScreenGrab::OfWindow(w);
        for (const Shown& s : items) {
          captions.push_back(Utf16ToUtf8(s.item->Caption()));
          if (s.item == popup_->Itm_Own) own = s.rect;
          if (!TSkinnedPopupMenus::PaintedBySkin(*s.item) || s.item->IsLine()) continue;
          const RECT room = CaptionRoom(*skin_, s.rect);
          ink.push_back({s.item->Caption(), {CountColour(grab, Origin(w), room, text), CountColour(grab, Origin(w), room, shadow)}});
        }
        SaveScreenshot(Shot("popup"));
        return true;
      },
  });
  EXPECT_TRUE(done) << Joined(mismatches);
  EXPECT_TRUE(answered) << "the popup window answers WM_SKIN_QUERY with 1";
  // The hidden item is not in the menu.
  EXPECT_EQ(captions, (std::vector<std::string>{"&Open 打开", "&Checked 已选", "&Radio 单选", "Disabled 禁用", "-",
                                                 "&More 更多", "Own look 自绘", "&Save 保存"}));
  EXPECT_EQ(shown, 8);
  // Enabled captions in the menu's text colour, the disabled one in the shadow colour.
  for (const auto& [caption, counts] : ink) {
    SCOPED_TRACE(Utf16ToUtf8(caption));
    const bool disabled = caption == u"Disabled 禁用";
    EXPECT_EQ(counts.first > 0, !disabled);
    EXPECT_EQ(counts.second > 0, disabled);
  }
  // The item that draws itself: its own colour and height.
  EXPECT_EQ(own.bottom - own.top, TFrm_GalleryPopup::kOwnHeight);
  EXPECT_GT(popup_->ownDrawn, 0);
  EXPECT_GT(popup_->ownMeasured, 0);
}

TEST_P(SkinPopupMenu, DefaultItemIsBold) {
  Open();
  TMenuItem* open = popup_->PopupMenu_Items->Items()->Items(0);
  const COLORREF text = ColourOf(skin_->MenuTextColour);
  auto inkOfFirst = [&] {
    int ink = -1;
    RunMenu(OnPopup(), {[&](HWND w, HMENU m) {
      const std::vector<Shown> items = ShownItems(w, m);
      if (!SkinMismatches(w, items, -1).empty()) return false;
      ink = CountColour(ScreenGrab::OfWindow(w), Origin(w), CaptionRoom(*skin_, items[0].rect), text);
      return true;
    }});
    return ink;
  };
  const int bold = inkOfFirst();
  open->SetDefault(false);
  const int plain = inkOfFirst();
  open->SetDefault(true);
  EXPECT_GT(plain, 0);
  EXPECT_GT(bold, plain + plain / 5) << "the default item's caption is drawn bold";
}

TEST_P(SkinPopupMenu, ItemUnderTheMouseIsHotSubMenuIsSkinnedAndKeysChoose) {
  Open();
  std::vector<std::string> mismatches;
  int hot = -1, polls = 0;
  POINT pointer{};
  // The menu shown in the popup window, or the sub-menu in its own window.
  const HMENU sub = popup_->PopupMenu_Items->Items()->Items(6)->Handle();
  auto in = [](HMENU menu, HWND& w, HMENU& m) {
    if (menu) w = MenuWindowOf(m = menu);
    return w != nullptr;
  };
  auto hover = [&](int index, HMENU menu = nullptr) {
    return [&, index, menu](HWND w, HMENU m) {
      if (!in(menu, w, m)) return false;
      pointer = Centre(w, ShownItems(w, m)[static_cast<size_t>(index)].rect);
      SendMouseInput(0, pointer);
      hot = index;
      polls = 0;
      return true;
    };
  };
  auto shows = [&](const char* shot, HMENU menu = nullptr) {
    return [&, shot, menu](HWND w, HMENU m) {
      if (!in(menu, w, m) || SendMessageW(w, WM_SKIN_QUERY, 0, 0) != 1) return false;
      mismatches = SkinMismatches(w, ShownItems(w, m), hot);
      if (!mismatches.empty()) {
        // Wine now and then moves the pointer without telling the window: a hand's small step
        // gives it a fresh move.
        if (++polls % 10 == 0) {
          SendMouseInput(0, POINT{pointer.x + 1, pointer.y});
          SendMouseInput(0, pointer);
        }
        return false;
      }
      if (*shot) SaveScreenshot(Shot(shot));
      return true;
    };
  };
  auto key = [](WORD vk) {
    return [vk](HWND, HMENU) {
      SendKeyNow(vk);
      return true;
    };
  };
  const bool done = RunMenu(OnPopup(), {
      hover(1), shows("hot"),
      hover(2), shows(""),  // the item before goes back
      hover(5), shows(""),  // the sub-menu opens in a window of its own, skinned as well
      hover(1, sub), shows("sub-menu", sub),
      key(VK_LEFT), key(VK_UP), key(VK_UP), key(VK_RETURN),
  });
  EXPECT_TRUE(done) << Joined(mismatches);
  // From "More": up past the line and the disabled item to "Radio", which runs its click.
  EXPECT_TRUE(WaitUntil([&] { return popup_->chosen == u"&Radio 单选"; }, 3s)) << Utf16ToUtf8(popup_->chosen);
}

TEST_P(SkinPopupMenu, SystemMenuShowsTheSkinsGlyphs) {
  host_ = std::make_unique<GalleryHost>(GetParam());
  const HWND main = host_->Window();
  const std::optional<Bitmap24> glyphs = SystemMenuGlyphs();
  ASSERT_TRUE(glyphs && !glyphs->Empty());
  std::vector<std::string> mismatches;
  const int title = skin_->TopBorder->Image.Height() / std::max(skin_->TopBorder->Frame, 1);
  const bool done = RunMenu(OnScreen(main, SizeOf(main).cx / 3, title / 2), {[&](HWND w, HMENU m) {
    const std::vector<Shown> items = ShownItems(w, m);
    mismatches = SkinMismatches(w, items, -1);
    const ScreenGrab grab = ScreenGrab::OfWindow(w);
    const int band = skin_->MenuItem->LeftWidth;
    for (const Shown& s : items) {
      // The enabled items' glyphs (Maximize 1, Minimize 2, Close 3), as the skin's glyph bitmap has them.
      const int index = s.item ? s.item->ImageIndex() : -1;
      if (index <= 0 || !s.item->Enabled()) continue;
      const POINT at{s.rect.left + 1 + band, s.rect.top + 1};
      for (const std::string& g : GlyphMismatches(grab, Origin(w), *glyphs, index, at)) mismatches.push_back(g);
    }
    if (!mismatches.empty()) return false;
    SaveScreenshot(Shot("system-menu"));
    return true;
  }});
  EXPECT_TRUE(done) << Joined(mismatches);
}

TEST_P(SkinPopupMenu, UnskinningGivesBackExactlyWhatTheSkinChanged) {
  host_ = std::make_unique<GalleryHost>(GetParam());
  popup_ = host_->Gallery().Popup();  // read, not shown: not skinned yet
  TPopupMenu* items = popup_->PopupMenu_Items;
  // A menu the application draws itself, one item with its own painting, one without.
  auto* drawn = new TPopupMenu(popup_);
  drawn->SetOwnerDraw(true);
  auto* own = new TMenuItem(popup_);
  own->SetCaption(u"Own");
  int ownPainted = 0;
  own->OnAdvancedDrawItem = [&](TObject*, TCanvas*, TRect, TOwnerDrawState) { ++ownPainted; };
  auto* plain = new TMenuItem(popup_);
  plain->SetCaption(u"Plain");
  drawn->Items()->Add(own);
  drawn->Items()->Add(plain);
  // An item with a measure handler of its own, and an entry carrying someone's item data.
  TMenuItem* save = items->Items()->Items(8);
  int saveMeasured = 0;
  save->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++saveMeasured; };
  MENUITEMINFOW data{};
  data.cbSize = sizeof data;
  data.fMask = MIIM_DATA;
  data.dwItemData = 0x5EED;
  SetMenuItemInfoW(items->Handle(), items->Items()->Items(1)->Command(), FALSE, &data);

  struct Entry {
    UINT type;
    ULONG_PTR data;
    std::wstring text;
    bool operator==(const Entry&) const = default;
  };
  auto entries = [](TMenu* menu) {
    std::vector<Entry> out;
    for (int i = 0; i < GetMenuItemCount(menu->Handle()); ++i) {
      wchar_t text[80] = {};
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
      mii.dwTypeData = text;
      mii.cch = 80;
      GetMenuItemInfoW(menu->Handle(), static_cast<UINT>(i), TRUE, &mii);
      out.push_back({mii.fType, mii.dwItemData, text});
    }
    return out;
  };
  const std::vector<Entry> itemsBefore = entries(items), drawnBefore = entries(drawn);
  ASSERT_FALSE(itemsBefore[0].type & MFT_OWNERDRAW);

  popup_->Show();
  Activate(popup_->Handle());
  ASSERT_TRUE(WaitSkinned(popup_->Handle()));
  EXPECT_TRUE(items->OwnerDraw());
  EXPECT_TRUE(entries(items)[0].type & MFT_OWNERDRAW);
  EXPECT_TRUE(TSkinnedPopupMenus::PaintedBySkin(*items->Items()->Items(0)));
  EXPECT_FALSE(TSkinnedPopupMenus::PaintedBySkin(*popup_->Itm_Own)) << "an item that draws itself keeps it";
  EXPECT_FALSE(popup_->PopupMenu_Plain->OwnerDraw()) << "Tag 199 leaves the menu to the system";
  EXPECT_FALSE(TSkinnedPopupMenus::PaintedBySkin(*popup_->PopupMenu_Plain->Items()->Items(0)));
  EXPECT_FALSE(TSkinnedPopupMenus::PaintedBySkin(*own));
  EXPECT_TRUE(TSkinnedPopupMenus::PaintedBySkin(*plain));

  host_->Skin().SetActive(false);
  ASSERT_TRUE(WaitUnskinned(popup_->Handle()));
  // The skinner is gone; the menus are as they were, entries and handlers alike.
  EXPECT_FALSE(items->OwnerDraw());
  EXPECT_TRUE(drawn->OwnerDraw());
  EXPECT_EQ(entries(items), itemsBefore) << "no owner-draw mark left; text and item data kept";
  EXPECT_EQ(entries(drawn), drawnBefore);
  for (TMenuItem* item : {items->Items()->Items(0), save, plain}) {
    EXPECT_FALSE(item->OnAdvancedDrawItem) << "no draw handler was there before";
  }
  // The application's handlers answer again.
  TCanvas canvas;
  WindowDc dc(popup_->Handle());
  canvas.SetHandle(dc.Get());
  int w = 0, h = 0;
  save->MeasureItem(&canvas, w, h);
  popup_->Itm_Own->AdvancedDrawItem(&canvas, Rect(0, 0, 10, 10), 0, false);
  canvas.SetHandle(nullptr);
  EXPECT_EQ(saveMeasured, 1);
  EXPECT_EQ(popup_->ownDrawn, 1);

  // On the screen: the system's menu, the item under the mouse in the system's highlight.
  bool systemLook = false;
  RunMenu(OnPopup(), {[&](HWND w, HMENU m) {
    const std::vector<Shown> shown = ShownItems(w, m);
    SendMouseInput(0, Centre(w, shown[0].rect));
    return SendMessageW(w, WM_SKIN_QUERY, 0, 0) != 1;
  }, [&](HWND w, HMENU m) {
    const RECT first = ShownItems(w, m)[0].rect;
    const ScreenGrab grab = ScreenGrab::OfWindow(w);
    systemLook = CountColour(grab, Origin(w), first, GetSysColor(COLOR_HIGHLIGHT)) > (first.right - first.left) * 4;
    if (systemLook) SaveScreenshot(Shot("popup-unskinned"));
    return systemLook;
  }});
  EXPECT_TRUE(systemLook);
  // The application's own menu: its own painting, the framework's look for the rest.
  popup_->SetPopupMenu(drawn);
  RunMenu(OnPopup(), {[&](HWND, HMENU) { return ownPainted > 0; }});
  EXPECT_GT(ownPainted, 0);

  // Skinned again: the same menus, painted by the skin.
  host_->Skin().SetActive(true);
  ASSERT_TRUE(WaitSkinned(popup_->Handle()));
  EXPECT_TRUE(items->OwnerDraw());
  EXPECT_TRUE(TSkinnedPopupMenus::PaintedBySkin(*save));
  EXPECT_FALSE(TSkinnedPopupMenus::PaintedBySkin(*own));
}

TEST_P(SkinPopupMenu, AMenuTheSystemDrawsIsFramedAndLeavesNoPopupWaiting) {
  Open();
  std::vector<std::string> mismatches;
  const bool done = RunMenu(CentreOf(popup_->Edt_Text->Handle()), {[&](HWND w, HMENU) {
    if (SendMessageW(w, WM_SKIN_QUERY, 0, 0) != 1) return false;
    const SIZE size = SizeOf(w);
    PixelBuffer expected = PopupBackground(*skin_, size.cx, size.cy);
    mismatches = PixelMismatches(ScreenGrab::OfWindow(w), Origin(w), expected, BorderAreas(size.cx, size.cy));
    if (!mismatches.empty()) return false;
    SaveScreenshot(Shot("edit-context-menu"));
    return true;
  }});
  EXPECT_TRUE(done) << "the edit's own menu is framed by the skin" << Joined(mismatches);
  EXPECT_EQ(TWinSkinPopMenu::PendingPopup(), nullptr);
  EXPECT_EQ(SkinManager->PopupSkinnerCount(), 0);

  // A popup window that never learns its menu waits for an item to name it, until it goes.
  {
    TestWindow window(false, RECT{600, 400, 700, 480});
    ASSERT_TRUE(SkinManager->SkinPopupWindow(window.Get()));
    ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
    RedrawWindow(window.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(TWinSkinPopMenu::PendingPopup(), SkinManager->FindPopupSkinner(window.Get()));
    EXPECT_NE(TWinSkinPopMenu::PendingPopup(), nullptr);
  }
  EXPECT_EQ(TWinSkinPopMenu::PendingPopup(), nullptr) << "nothing points at the freed popup skinner";
  EXPECT_EQ(SkinManager->PopupSkinnerCount(), 0);
  TWinSkinPopMenu::MenuPainted(popup_->PopupMenu_Items->Handle());  // finds nobody waiting
}

TEST_P(SkinPopupMenu, PrintingKeepsTheCallersClipping) {
  Open();
  bool clipKept = false;
  std::vector<std::string> mismatches;
  RunMenu(OnPopup(), {[&](HWND w, HMENU m) {
    if (!SkinMismatches(w, ShownItems(w, m), -1).empty()) return false;
    const SIZE size = SizeOf(w);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const SelectedObject selected(dc.Get(), bitmap.Get());
    constexpr Pixel32 kUntouched = 0x123456;
    PixelView view(static_cast<Pixel32*>(bits), size.cx, size.cy, size.cx);
    view.Fill(view.Bounds(), kUntouched);
    // The caller prints the left half only.
    UniqueRegion half(CreateRectRgn(0, 0, size.cx / 2, size.cy));
    SelectClipRgn(dc.Get(), half.Get());
    SendMessageW(w, WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()), PRF_NONCLIENT | PRF_CLIENT);
    GdiFlush();
    UniqueRegion after(CreateRectRgn(0, 0, 0, 0));
    clipKept = GetClipRgn(dc.Get(), after.Get()) == 1 && EqualRgn(after.Get(), half.Get());
    PixelBuffer expected = PopupBackground(*skin_, size.cx, size.cy);
    for (int x = 0; x < size.cx; ++x) {
      const Pixel32 want = x < size.cx / 2 ? expected.At(x, 0) : kUntouched;
      if (view.At(x, 0) != want && mismatches.size() < 8) mismatches.push_back("top row at " + std::to_string(x));
    }
    return true;
  }});
  EXPECT_TRUE(clipKept) << "the DC's clipping is the caller's after printing";
  EXPECT_TRUE(mismatches.empty()) << "the border prints inside the caller's clipping only" << Joined(mismatches);
}

TEST_P(SkinPopupMenu, HandlesStayFlatOverAThousandOpenings) {
  Open();
  // Each opening closes as soon as the menu is idle, every item painted.
  TWindowSubclass closer(TPopupMenu::PopupListWindow(), [](TMessage& m, const TWindowSubclass::Next& next) {
    if (m.Msg == WM_ENTERIDLE && m.WParam == MSGF_MENU) EndMenu();
    next(m);
  });
  int painted = 0;
  TMenuHook count(TPopupMenu::PopupListHooks(), [&](TMenuMessage& m) { painted += m.Msg == WM_DRAWITEM; });
  const POINT at = OnPopup();
  auto open = [&](int times) {
    for (int i = 0; i < times; ++i) popup_->PopupMenu_Items->Popup(at.x, at.y);
    PumpFor(50ms);
  };
  open(20);
  const int before = GdiObjectCount();
  const int paintedBefore = painted;
  open(1000);
  const int after = GdiObjectCount();
  EXPECT_GE(painted - paintedBefore, 1000 * 8) << "every opening painted its items";
  EXPECT_LE(after - before, 4) << before << " GDI objects before, " << after << " after";
  EXPECT_EQ(SkinManager->PopupSkinnerCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinPopupMenu, ::testing::Values(GallerySkin::Slate, GallerySkin::Pine),
                         [](const auto& info) { return SkinCaseName(info.param); });

}  // namespace
}  // namespace qlt::test
