#include "tests/win/MenuTestSupport.h"

#include <algorithm>
#include <sstream>

#include "skin/data/BmpCodec.h"
#include "skin/data/SkinReader.h"
#include "skin/menus/MenuItemLayout.h"

namespace qlt::test {

std::unique_ptr<TSkinContent> SkinOfFile(const std::wstring& path) {
  const std::string packed = ReadFileBytes(path);
  TSkinReader reader;
  if (packed.empty() || !reader.LoadPacked(Bytes(packed.begin(), packed.end()))) return nullptr;
  auto content = std::make_unique<TSkinContent>();
  content->BuildSkin(reader);
  return content;
}

PixelBuffer PopupBackground(const TSkinContent& skin, int width, int height) {
  const COLORREF menu = ColourOf(skin.MenuColour);
  PixelBuffer out(width, height, ToPixel32(RgbPixel(GetRValue(menu), GetGValue(menu), GetBValue(menu))));
  if (const TDataSkinObject* back = skin.MenuBackground.get()) {
    DrawNineSlice(out.View(), SkinRect{0, 0, width, height}, back->Image, 1, 1, CellLayout::kSideBySide,
                  SkinMargins{back->LeftWidth, back->TopHeight, back->RightWidth, back->BottomHeight}, back->Tile != 0,
                  back->Trans == 1 ? BlendMode::kKeyTransparent : BlendMode::kCopy);
  }
  return out;
}

PixelBuffer ComposedMenu(const TSkinContent& skin, int width, int height, const std::vector<ShownItem>& items) {
  PixelBuffer out = PopupBackground(skin, width, height);
  const TDataSkinObject* look = skin.MenuItem.get();
  if (!look) return out;
  const PixelView all = out.View();
  for (const ShownItem& item : items) {
    const SkinRect r{item.rect.left, item.rect.top, item.rect.right, item.rect.bottom};
    // The item's cell drawn into its own place, as the painter does.
    const PixelView view(&all.At(r.left, r.top), r.Width(), r.Height(), width);
    const SkinRect place{0, 0, r.Width(), r.Height()};
    const int cell = MenuItemCell(item.separator, item.selected);
    if (item.separator) {
      const SkinRect source = CellRect(look->Image.Width(), look->Image.Height(), kMenuItemCells, cell,
                                       CellLayout::kSideBySide);
      DrawPieces(view, look->Image, SeparatorPieces(source, look->LeftWidth, look->RightWidth, place),
                 BlendMode::kKeyTransparent);
    } else {
      DrawNineSlice(view, place, look->Image, kMenuItemCells, cell, CellLayout::kSideBySide,
                    SkinMargins{look->LeftWidth, look->TopHeight, look->RightWidth, look->BottomHeight},
                    look->Tile != 0, look->Trans == 1 ? BlendMode::kKeyTransparent : BlendMode::kCopy);
    }
  }
  return out;
}

std::vector<RECT> ContentFreeAreas(const TSkinContent& skin, const RECT& item, int glyphSize, bool glyph, bool subMenu) {
  const int band = skin.MenuItem ? skin.MenuItem->LeftWidth : 0;
  const SkinRect r{item.left, item.top, item.right, item.bottom};
  const MenuItemPlaces places = PlaceMenuItem(r, glyphSize, band, false, false);
  std::vector<RECT> out;
  if (glyph) {
    out.push_back({item.left, item.top, places.glyph.left, item.bottom});
    out.push_back({places.glyph.right, item.top, places.text.left, item.bottom});
    out.push_back({places.glyph.left, places.glyph.bottom, places.glyph.right, item.bottom});
  } else {
    out.push_back({item.left, item.top, places.text.left, item.bottom});
  }
  if (!subMenu) out.push_back({item.right - 11, item.top, item.right, item.bottom});
  return out;
}

RECT CaptionRoom(const TSkinContent& skin, const RECT& item) {
  const SkinRect r = PlaceMenuItem(SkinRect{item.left, item.top, item.right, item.bottom}, kMenuGlyphSize,
                                   skin.MenuItem ? skin.MenuItem->LeftWidth : 0, false, false)
                         .text;
  return {r.left, r.top, r.right, r.bottom};
}

std::vector<RECT> BorderAreas(int width, int height) {
  std::vector<RECT> out;
  for (const SkinRect& s : PopupBorderStrips(width, height)) out.push_back({s.left, s.top, s.right, s.bottom});
  return out;
}

std::vector<std::string> PixelMismatches(const ScreenGrab& grab, POINT origin, PixelBuffer& expected,
                                         const std::vector<RECT>& areas, size_t limit) {
  std::vector<std::string> out;
  for (const RECT& a : areas) {
    for (int y = std::max<LONG>(a.top, 0); y < std::min<LONG>(a.bottom, expected.Height()); ++y) {
      for (int x = std::max<LONG>(a.left, 0); x < std::min<LONG>(a.right, expected.Width()); ++x) {
        const Pixel32 want = expected.At(x, y);
        const COLORREF seen = grab.PixelAt({origin.x + x, origin.y + y});
        const Pixel32 got = (Pixel32{GetRValue(seen)} << 16) | (Pixel32{GetGValue(seen)} << 8) | GetBValue(seen);
        if (got == want) continue;
        if (out.size() < limit) {
          std::ostringstream s;
          s << "(" << x << "," << y << "): shows " << std::hex << got << ", the skin has " << want;
          out.push_back(s.str());
        }
      }
    }
  }
  return out;
}

std::vector<std::string> MenuWindowMismatches(const TSkinContent& skin, HWND window,
                                              const std::vector<MenuEntry>& entries, int selected, int glyphSize) {
  RECT frame{};
  GetWindowRect(window, &frame);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  std::vector<ShownItem> look;
  std::vector<RECT> areas = BorderAreas(w, h);
  for (size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& e = entries[i];
    if (!e.skinned) continue;
    look.push_back({e.rect, e.separator, static_cast<int>(i) == selected});
    if (e.separator) {
      areas.push_back(e.rect);
    } else {
      for (const RECT& a : ContentFreeAreas(skin, e.rect, glyphSize, e.glyph, e.subMenu)) areas.push_back(a);
    }
  }
  PixelBuffer expected = ComposedMenu(skin, w, h, look);
  return PixelMismatches(ScreenGrab::OfWindow(window), POINT{frame.left, frame.top}, expected, areas);
}

std::optional<Bitmap24> SystemMenuGlyphs() {
  const std::string bytes = ReadFileBytes(Utf8ToWide(std::string(QLT_SKIN_BUILD_DIR) + "/menuglyphs.bmp"));
  return DecodeBmp(ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::vector<std::string> GlyphMismatches(const ScreenGrab& grab, POINT origin, const Bitmap24& glyphs, int index,
                                         POINT at) {
  std::vector<std::string> out;
  if (glyphs.Empty()) return {"no glyphs"};
  const Bgr transparent = glyphs.At(0, glyphs.Height() - 1);
  for (int y = 0; y < std::min(glyphs.Height(), 16); ++y) {
    for (int x = 0; x < 16 && index * 16 + x < glyphs.Width(); ++x) {
      const Bgr want = glyphs.At(index * 16 + x, y);
      const COLORREF seen = grab.PixelAt({origin.x + at.x + x, origin.y + at.y + y});
      if (want == transparent || seen == RGB(want.r, want.g, want.b)) continue;
      if (out.size() < 8) out.push_back("glyph " + std::to_string(index) + " at " + std::to_string(x) + "," + std::to_string(y));
    }
  }
  return out;
}

std::vector<RECT> ItemPlaces(HWND menuWindow, HMENU menu) {
  RECT frame{};
  GetWindowRect(menuWindow, &frame);
  std::vector<RECT> out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    RECT r{};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
    OffsetRect(&r, -frame.left, -frame.top);
    out.push_back(r);
  }
  return out;
}

// ---- driving a popup menu ----

namespace {

MenuScript* g_script = nullptr;

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found) {
  if (ClassNameOf(window) != L"#32768" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND ThreadMenuWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

struct MenuSearch {
  HMENU menu;
  HWND window;
};

BOOL CALLBACK FindWindowOfMenu(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<MenuSearch*>(search);
  if (ClassNameOf(window) != L"#32768" || !IsWindowVisible(window)) return TRUE;
  if (reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0)) != s->menu) return TRUE;
  s->window = window;
  return FALSE;
}

}  // namespace

HWND MenuWindowOf(HMENU menu) {
  MenuSearch search{menu, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindWindowOfMenu, reinterpret_cast<LPARAM>(&search));
  return search.window;
}

MenuScript::MenuScript(std::vector<Step> steps, std::chrono::milliseconds timeout)
    : steps_(std::move(steps)), deadline_(std::chrono::steady_clock::now() + timeout) {
  g_script = this;
  timer_ = ThreadTimer(40, Tick);
}

MenuScript::~MenuScript() { g_script = nullptr; }

void CALLBACK MenuScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  MenuScript* self = g_script;
  if (!self || self->finished_) return;
  const HWND window = ThreadMenuWindow();
  if (!window) {
    if (self->started_) self->finished_ = true;
    return;
  }
  self->started_ = true;
  if (self->closing_) {
    // A step may have closed the menu itself (a chosen item); otherwise Escape, once for each
    // open sub-menu.
    if (self->closingTicks_++ % 4 == 0) {
      INPUT keys[2] = {KeyInput(VK_ESCAPE, false), KeyInput(VK_ESCAPE, true)};
      SendInput(2, keys, sizeof(INPUT));
    }
    return;
  }
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  while (self->done_ < self->steps_.size() && self->steps_[self->done_](window, menu)) ++self->done_;
  if (self->done_ == self->steps_.size() || std::chrono::steady_clock::now() > self->deadline_) self->closing_ = true;
}

}  // namespace qlt::test
