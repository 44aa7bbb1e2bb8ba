// The geometry target (see FuzzSkinGeometry in SkinFuzzing.h): a skin read by the real parser, then
// windows, controls and menus of the sizes the input chooses, through every portable layout and
// painter, each promise of their headers checked.
#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <set>
#include <string>

#include "skin/controls/BarArt.h"
#include "skin/controls/ControlLayout.h"
#include "skin/controls/EditLayout.h"
#include "skin/controls/GlyphPixels.h"
#include "skin/controls/ScrollBarArt.h"
#include "skin/controls/ScrollGeometry.h"
#include "skin/controls/TabLayout.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinText.h"
#include "skin/data/StateCells.h"
#include "skin/frame/FrameLayout.h"
#include "skin/kit/SkinPack.h"
#include "skin/menus/MenuBarLayout.h"
#include "skin/menus/MenuItemLayout.h"
#include "tests/fuzz/SkinFuzzing.h"
#include "ui/SysUtils.h"

namespace qlt::fuzzing {
namespace {

// Knobs: the bytes after the description, one group per part of the engine and in each group
// numbered slots of kSlotBytes, so that a byte changed moves one value (and the values do not
// depend on the order a call evaluates its arguments in). Missing bytes read as zero, and zero
// knobs give a typical window (400 x 300, a caption 60 wide, a 200-pixel scroll bar with a page...).
constexpr std::size_t kSlotBytes = kKnobSlotBytes;
constexpr std::size_t kGroupBytes = kKnobSlots * kSlotBytes;
using Group = KnobGroup;

class Knobs {
 public:
  Knobs(ByteView knobs, Group group) : knobs_(knobs), base_(group * kGroupBytes) {}
  std::uint8_t Byte(int slot) const { return At(slot, 0); }
  bool Flag(int slot, int bit = 0) const { return ((Byte(slot) >> bit) & 1) != 0; }
  std::uint32_t U32(int slot) const {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{At(slot, 1 + i)} << (8 * i);
    return v;
  }
  // `typical` moved by the slot's signed step (times 1 to 16), or by its first byte 0xFF, 0xFE or
  // 0xFD the range's end, its start, or anywhere in it.
  int Around(int slot, int typical, int lo, int hi) const {
    const std::uint8_t mode = Byte(slot);
    if (mode == kKnobHighest) return hi;
    if (mode == kKnobLowest) return lo;
    const std::int64_t span = std::int64_t{hi} - lo + 1;
    if (mode == 0xFD) return static_cast<int>(lo + U32(slot) % span);
    const auto step = static_cast<std::int16_t>(At(slot, 1) | At(slot, 2) << 8);
    return static_cast<int>(std::clamp<std::int64_t>(typical + std::int64_t{step} * (mode % 16 + 1), lo, hi));
  }
  // Four slots from `slot`: a rectangle around `typical`, each side anywhere a painter may be asked
  // to draw (within +-2^30).
  SkinRect Rect(int slot, const SkinRect& typical) const {
    constexpr int kFar = 1 << 30;
    return {Around(slot, typical.left, -kFar, kFar), Around(slot + 1, typical.top, -kFar, kFar),
            Around(slot + 2, typical.right, -kFar, kFar), Around(slot + 3, typical.bottom, -kFar, kFar)};
  }

 private:
  std::uint8_t At(int slot, int byte) const {
    const std::size_t i = base_ + static_cast<std::size_t>(slot) * kSlotBytes + static_cast<std::size_t>(byte);
    return i < knobs_.size() ? knobs_[i] : 0;
  }
  ByteView knobs_;
  std::size_t base_;
};

// Window and control sizes as the system gives them.
constexpr int kScreen = 1 << 16;
// Painted views stay small, so every run is quick; what they show of larger rectangles is clipped.
constexpr int kView = 96;
// A colour no test image has (their blue is below 0x80): a pixel still this colour was not painted.
constexpr Pixel32 kUntouched = 0x00ABCDFF;

bool Inside(const SkinRect& r, const SkinRect& outer) { return r.Empty() || r.Intersect(outer) == r; }

// Every pixel of the view a painter changed lies in `allowed`.
bool ChangedOnlyIn(PixelBuffer& buffer, const SkinRect& allowed) {
  for (int y = 0; y < buffer.Height(); ++y) {
    for (int x = 0; x < buffer.Width(); ++x) {
      if (buffer.At(x, y) != kUntouched && !allowed.Contains(x, y)) return false;
    }
  }
  return true;
}

void CheckPieces(const std::vector<SlicePiece>& pieces, const SkinRect& cell, const SkinRect& dest, std::size_t most,
                 const char* what) {
  Check(pieces.size() <= most, what);
  for (const SlicePiece& p : pieces) {
    Check(!p.source.Empty() && Inside(p.source, cell), what);
    Check(!p.dest.Empty() && Inside(p.dest, dest), what);
  }
}

// ---- the skin ----

// The size an image name asks for ("border-8x20.bmp"), else one from the knobs (24 x 24 for zeros).
std::pair<int, int> ImageSize(std::string_view name, const Knobs& knobs, int number) {
  auto digit = [&](std::size_t i) { return i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])); };
  for (std::size_t x = name.find('x'); x != std::string_view::npos; x = name.find('x', x + 1)) {
    if (x == 0 || !digit(x - 1) || !digit(x + 1)) continue;
    std::size_t from = x;
    while (from > 0 && digit(from - 1) && x - from < 3) --from;
    int w = 0, h = 0;
    for (std::size_t i = from; i < x; ++i) w = w * 10 + (name[i] - '0');
    for (std::size_t i = x + 1; digit(i) && i < x + 4; ++i) h = h * 10 + (name[i] - '0');
    if (w > 0 && h > 0) return {w, h};
  }
  const std::uint32_t v = knobs.U32(1 + number % 23);
  return {1 + static_cast<int>((23 + (v & 0xFF)) % 96), 1 + static_cast<int>((23 + (v >> 8 & 0xFF)) % 96)};
}

// Every pixel names its place (red x, green y) and its image (blue); a pattern of magenta pixels
// (none for a zero knob) makes the transparent parts.
Bitmap24 Picture(int w, int h, int number, int magentaEvery) {
  Bitmap24 image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool hole = magentaEvery > 0 && (x + 3 * y + number) % magentaEvery == 0;
      image.At(x, y) = hole ? kSkinTransparent
                            : RgbPixel(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                       static_cast<std::uint8_t>(number % 100));
    }
  }
  return image;
}

// The description and one bitmap for each image it names, as a skin file holds them.
bool BuildSkin(std::string_view description, ByteView knobs, TSkinContent& content) {
  const Knobs images(knobs, kImages);
  const int magentaEvery = images.Byte(0) % 8;
  std::vector<SkinEntry> entries{{"skin.ini", Bytes(description.begin(), description.end())}};
  std::set<std::string> names;
  TQuickIni ini;
  ini.LoadFromStream(entries[0].data);
  for (const std::string& line : ini.Lines()) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || entries.size() > 64) continue;
    std::string_view value = TrimBlanks(std::string_view(line).substr(eq + 1));
    if (const std::size_t cut = value.find_last_of("\\:"); cut != std::string_view::npos) value = value.substr(cut + 1);
    if (value.size() < 5 || value.substr(value.size() - 4) != ".bmp" || !names.insert(AsciiUpper(value)).second) continue;
    const auto [w, h] = ImageSize(value, images, static_cast<int>(entries.size()));
    entries.push_back({std::string(value), EncodeBmp(Picture(w, h, static_cast<int>(entries.size()), magentaEvery))});
  }
  TSkinReader reader;
  if (!reader.LoadContainer(BuildSkinContainer(entries))) return false;
  content.BuildSkin(reader);
  return true;
}

std::vector<const TDataSkinObject*> Objects(const TSkinContent& s) {
  const std::initializer_list<const TDataSkinObject*> all{
      s.Title.get(), s.Buttons.get(), s.LeftBorder.get(), s.RightBorder.get(), s.TopBorder.get(),
      s.BottomBorder.get(), s.Progress.get(), s.MenuBar.get(), s.GroupBoxEdge.get(), s.GroupBox.get(),
      s.Toolbars.get(), s.Tabs.get(), s.StatusBarEdges.get(), s.ComboButton.get(), s.SunkEdge.get(),
      s.ExtraImages.get(), s.Headerbar.get(), s.MenuItem.get(), s.MenuBackground.get(), s.Scrollbar.get(),
      s.HorzScroll.get(), s.VertScroll.get(), s.HorzScrollThumb.get(), s.VertScrollThumb.get(),
      s.TrackbarThumbHorz.get(), s.TrackbarThumbVert.get(), s.TrackbarThumbLeft.get(), s.TrackbarThumbRight.get(),
      s.TrackbarThumbUp.get(), s.TrackbarThumbDown.get(), s.UpDownHorz.get(), s.UpDownVert.get()};
  std::vector<const TDataSkinObject*> present;
  for (const TDataSkinObject* o : all) {
    if (o) present.push_back(o);
  }
  for (const auto& b : s.SysButtons) present.push_back(b.get());
  return present;
}

bool Metric(std::int32_t v) { return v >= -kSkinMetricLimit && v <= kSkinMetricLimit; }

void CheckSkinMetrics(const TSkinContent& s) {
  for (const TDataSkinObject* o : Objects(s)) {
    Check(Metric(o->LeftWidth) && Metric(o->TopHeight) && Metric(o->RightWidth) && Metric(o->BottomHeight) &&
              Metric(o->Frame),
          "a skin's margins and cell counts are kept to a screen's range");
  }
  const TDataSkinTitle& t = *s.Title;
  Check(Metric(t.FontHeight) && Metric(t.TextBackLeft) && Metric(t.TextBackRight), "title metrics are kept");
  for (const auto& b : s.SysButtons) Check(Metric(b->Xcoord) && Metric(b->Ycoord), "button places are kept");
}

// ---- cells, slices and strips of every image ----

void CheckSlices(const TSkinContent& s, ByteView knobs) {
  const Knobs k(knobs, kSlices);
  const int count = k.Around(0, 1, INT_MIN, INT_MAX), index = k.Around(1, 1, INT_MIN, INT_MAX);
  const bool tile = k.Flag(2);
  const CellLayout layout = k.Flag(3) ? CellLayout::kStacked : CellLayout::kSideBySide;
  const SkinRect dest = k.Rect(4, {2, 2, 60, 40});
  const SkinMargins extra{k.Around(8, 0, -100, 100), k.Around(9, 0, -100, 100), k.Around(10, 0, -100, 100),
                          k.Around(11, 0, -100, 100)};
  const auto objects = Objects(s);
  const std::size_t painted = k.Byte(12) % objects.size();
  const SkinRect view{0, 0, kView, kView};
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const TDataSkinObject& o = *objects[i];
    const Bitmap24& image = o.Image;
    const SkinRect cell = CellRect(image.Width(), image.Height(), count, index, layout);
    Check(Inside(cell, {0, 0, image.Width(), image.Height()}), "a cell lies inside its image");
    const SkinMargins m{o.LeftWidth + extra.left, o.TopHeight + extra.top, o.RightWidth + extra.right,
                        o.BottomHeight + extra.bottom};
    CheckPieces(NineSlicePieces(cell, m, dest, tile), cell, dest, 9, "nine-slice pieces lie in the cell and dest");
    CheckPieces(StripPieces(cell, m.left, m.right, dest, view), cell, dest, kView + 3,
                "strip pieces lie in the cell and dest, only as many as show");
    if (i != painted || cell.Empty()) continue;
    // Copied (no transparency), a nine-slice covers every pixel of its destination: no gap.
    PixelBuffer buffer(kView, kView, kUntouched);
    DrawNineSlice(buffer.View(), dest, image, count, index, layout, m, tile, BlendMode::kCopy);
    const SkinRect shown = dest.Intersect(view);
    for (int y = shown.top; y < shown.bottom; ++y) {
      for (int x = shown.left; x < shown.right; ++x) Check(buffer.At(x, y) != kUntouched, "a nine-slice leaves no gap");
    }
    DrawStrip(buffer.View(), dest, image, count, index, layout, m.left, m.right, BlendMode::kKeyTransparent);
    DrawCell(buffer.View(), dest, image, count, index, BlendMode::kKeyTransparent);
    Check(ChangedOnlyIn(buffer, dest), "images are painted inside their destination");
    OpaqueRects(buffer.View(), dest, k.Around(13, 0, -kScreen, kScreen), k.Around(14, 0, -kScreen, kScreen));
  }
}

// ---- the frame ----

struct Window {
  int width = 400;
  int height = 300;
  int menuBar = 0;
  FrameMetrics metrics;
  TBorderKind kind = bkSingle;
  std::uint32_t style = 0;
};

Window CheckFrame(const TSkinContent& s, ByteView knobs) {
  const Knobs k(knobs, kWindow);
  Window w;
  w.style = k.U32(0) ^ 0x00CF0000u;  // zero knobs: an overlapped window
  static const char16_t* const kClasses[] = {u"TForm", u"#32770", u"TMessageForm"};
  w.kind = DecideBorderKind(w.style, kClasses[k.Byte(1) % 3]);
  w.width = k.Around(2, 400, 0, kScreen);
  w.height = k.Around(3, 300, 0, kScreen);
  w.menuBar = k.Around(4, 0, 0, 200);
  w.metrics = ComputeFrameMetrics(s, w.kind);
  const FrameMetrics& m = w.metrics;
  Check(m.left >= 0 && m.top >= 0 && m.right >= 0 && m.bottom >= 0, "edges have no negative width");
  const SkinRect window{0, 0, w.width, w.height};
  const SkinRect client = SkinnedClientRect(window, m, w.menuBar);
  Check(!client.Inverted() && Inside(client, window), "the client area is inside the window, never inverted");
  const int cw = k.Around(5, 300, 0, kScreen), ch = k.Around(6, 200, 0, kScreen);
  const MinimumSize size = WindowSizeForClient(cw, ch, m, w.menuBar);
  const SkinRect fitted = SkinnedClientRect({0, 0, size.width, size.height}, m, w.menuBar);
  Check(fitted.Width() == cw && fitted.Height() == ch, "a window sized for a client area has that client area");
  const MinimumSize least = MinimumFrameSize(m, w.menuBar);
  Check(least.width >= 0 && least.height >= 0, "the least frame size is a size");
  std::uint32_t removed = 0;
  const std::uint32_t once = StripFrameStyles(w.style, k.Flag(7), removed);
  Check(RestoreFrameStyles(StripFrameStyles(once, k.Flag(8), removed), removed) == w.style,
        "caption styles come back exactly");
  const int answer = k.Around(9, 0, -2, 25);
  const int hit = SkinnedHitTest(answer, k.Around(10, 100, -kScreen, kScreen), k.Around(11, 10, -kScreen, kScreen),
                                 w.width, m, w.menuBar);
  Check(hit == answer || hit == hit::kCaption || hit == hit::kMenu || hit == hit::kBorder,
        "the hit test answers the procedure's answer, caption, menu or border");
  return w;
}

void CheckTitle(const TSkinContent& s, const Window& w, ByteView knobs) {
  const Knobs k(knobs, kCaption);
  CaptionInput in;
  in.title = {w.metrics.left, 0, w.width - w.metrics.right, w.metrics.top};
  in.textWidth = k.Around(0, 60, 0, 1 << 24);
  in.textHeight = k.Around(1, 13, 0, 1000);
  in.rightToLeft = k.Flag(2);
  in.popupStyle = k.Flag(3);
  in.dialog = w.kind == bkDialog;
  in.buttonsLeft = k.Around(4, 0, -kScreen, kScreen);
  const CaptionLayout caption = LayOutCaption(*s.Title, in);
  Check(caption.block.Height() == in.textHeight && caption.text.top == caption.block.top,
        "the caption's text runs along its block");

  const Knobs b(knobs, kTitleButtons);
  TitleButtonContext ctx;
  ctx.boxFlags = b.Byte(0);
  ctx.maximized = b.Flag(1);
  ctx.active = !b.Flag(2);
  ctx.mdiChildMaximizedInMenuBar = b.Flag(3);
  ctx.kind = w.kind;
  ctx.rightToLeft = in.rightToLeft;
  ctx.windowWidth = w.width;
  ctx.metrics = w.metrics;
  ctx.menuBarHeight = w.menuBar;
  ctx.caption = caption.block;
  ctx.menuBarLeftWidth = s.MenuBar ? s.MenuBar->LeftWidth : 0;
  const int iconSize = b.Around(4, 16, 0, 256);
  PixelBuffer view(kView, kView / 2);
  for (const auto& button : s.SysButtons) {
    TitleButtonVisible(*button, ctx);
    const int cells = std::max(button->Frame, 1);
    const bool icon = button->Action == 3 || button->Action == 11;
    const int cw = icon ? iconSize : button->Image.Width() / cells, ch = icon ? iconSize : button->Image.Height();
    const SkinRect r = TitleButtonRect(*button, cw, ch, ctx);
    Check(cw <= 0 || ch <= 0 || (r.Width() == cw && r.Height() == ch), "a title button keeps its cell's size");
    for (int state : {kButtonNormal, kButtonPressed, kButtonHot}) {
      const int cell = TitleButtonCell(*button, state, ctx.active);
      Check(cell >= 1 && cell <= cells, "a title button's cell is one of its cells");
      DrawCell(view.View(), r, button->Image, cells, cell, BlendMode::kKeyTransparent);
    }
  }
}

// ---- scroll bars ----

void CheckScrollBar(const TSkinContent& s, ByteView knobs) {
  const Knobs k(knobs, kScroll);
  const int length = k.Around(0, 200, -10, kScreen), arrow = k.Around(1, 16, -10, 1000);
  ScrollRange r;
  r.min = k.Around(2, 0, INT_MIN, INT_MAX);
  r.max = k.Around(3, 99, INT_MIN, INT_MAX);
  r.page = static_cast<unsigned>(k.Around(4, 10, INT_MIN, INT_MAX));
  r.pos = k.Around(5, 45, INT_MIN, INT_MAX);
  const ThumbLayout t = LayOutThumb(length, arrow, r, k.Around(6, 8, -10, 1000), k.Around(7, 16, -10, 1000));
  Check(t.arrow >= 0 && t.track >= 0 && (length <= 0 || 2LL * t.arrow + t.track <= length),
        "arrows and track fit the bar");
  Check(t.thumbSize >= 0 && t.thumbSize <= t.track, "the thumb fits the track");
  Check(t.thumbPos >= 0 && t.thumbPos <= t.track - t.thumbSize, "the thumb lies inside the track");
  for (int c : {k.Around(8, 100, INT_MIN, INT_MAX), 0, t.arrow + t.thumbPos, t.arrow + t.track, length}) {
    const int part = static_cast<int>(HitScrollPart(t, c));
    Check(part == -1 || (part >= 0 && part <= 3) || part == 5, "the part under a point is a scroll code");
  }
  if (t.HasThumb()) Check(HitScrollPart(t, t.arrow + t.thumbPos) == ScrollPart::kThumb, "the thumb is hit");
  const int room = t.track - t.thumbSize;
  for (int offset : {0, room, k.Around(9, 50, INT_MIN, INT_MAX)}) {
    const int value = ThumbPositionToValue(t, offset, r);
    Check(r.min > r.max || (value >= r.min && value <= r.max), "a dragged thumb stands for a value of the range");
  }
  const int dragged =
      DraggedThumbOffset(t, k.Around(10, t.thumbPos, INT_MIN, INT_MAX), k.Around(11, 0, INT_MIN, INT_MAX));
  Check(dragged >= 0 && dragged <= std::max(room, 0), "a dragged thumb stays in its track");
  DragNearBar(k.Rect(12, {0, 0, 16, 200}), k.Around(16, 8, INT_MIN, INT_MAX), k.Around(17, 100, INT_MIN, INT_MAX),
              k.Flag(18, 0));

  const int w = k.Around(19, 120, 0, kScreen), h = k.Around(20, 100, 0, kScreen), b = k.Around(21, 16, 0, 100);
  const bool hasH = k.Flag(18, 1), hasV = !k.Flag(18, 2);
  const ScrollBars bars = LayOutScrollBars(w, h, 2, b, hasH, hasV, k.Flag(18, 3));
  Check(!(hasH && hasV) || (bars.corner.Width() == b && bars.corner.Height() == b), "the corner is a bar square");

  // The bar composed, and again without its thumb: the pixels that differ are the thumb's, and
  // they lie in the track between the arrows, wherever the layout (moved by a knob) puts it.
  const bool vertical = k.Flag(18, 4);
  const int cells = k.Around(23, 23, INT_MIN, INT_MAX);
  for (int cell : {ScrollArrowCell(vertical, k.Flag(18, 5), k.Flag(18, 6), k.Flag(18, 7), cells),
                   ScrollTrackCell(k.Flag(18, 5), cells), ScrollThumbCell(k.Flag(18, 6), cells)}) {
    Check(cell >= 1 && cell <= std::max(cells, 1), "a scroll bar part shows one of its image's cells");
  }
  if (length <= 0 || length > 4 * kView || !s.Scrollbar) return;
  ThumbLayout moved = t;
  moved.thumbPos += k.Around(22, 0, -1000, 1000);
  ScrollBarSkin skin{s.Scrollbar.get(), vertical ? s.VertScroll.get() : s.HorzScroll.get(),
                     vertical ? s.VertScrollThumb.get() : s.HorzScrollThumb.get(), 0x00102030};
  const SkinRect area = vertical ? SkinRect{2, 2, 18, 2 + length} : SkinRect{2, 2, 2 + length, 18};
  const ScrollBarLook look{k.Flag(18, 5), k.Flag(18, 6), k.Flag(18, 7), k.Flag(23)};
  PixelBuffer with(area.right + 2, area.bottom + 2, kUntouched), without(area.right + 2, area.bottom + 2, kUntouched);
  ComposeScrollBar(with.View(), area, vertical, moved, look, skin);
  skin.thumb = nullptr;
  ComposeScrollBar(without.View(), area, vertical, moved, look, skin);
  Check(ChangedOnlyIn(with, area), "a scroll bar is composed inside its bar");
  const int ends = std::clamp(t.arrow, 0, length / 2);
  const SkinRect track = vertical ? SkinRect{2, 2 + ends, 18, 2 + length - ends} : SkinRect{2 + ends, 2, 2 + length - ends, 18};
  for (int y = 0; y < with.Height(); ++y) {
    for (int x = 0; x < with.Width(); ++x) {
      Check(with.At(x, y) == without.At(x, y) || track.Contains(x, y), "the thumb never leaves the track");
    }
  }
}

// ---- tabs ----

void CheckTabs(const TSkinContent& s, ByteView knobs) {
  const Knobs k(knobs, kTabs);
  const TabSide side = TabSideOfStyle(k.Byte(0));
  const int w = k.Around(1, 300, 0, kScreen), h = k.Around(2, 200, 0, kScreen);
  const SkinRect display = k.Rect(3, {4, 24, w - 4, h - 4});
  const TabStripLayout l = LayOutTabStrip(side, w, h, display);
  Check(Inside(l.strip, {0, 0, w, h}), "the strip of tabs lies in the window");
  Check(!l.HasStrip() || std::int64_t{l.length} * l.thickness == std::int64_t{l.strip.Width()} * l.strip.Height(),
        "the strip turned keeps its size");
  const int count = k.Byte(7) % 41;
  const int tabWidth = k.Around(8, 60, -10, kScreen), tabHeight = k.Around(9, 20, -10, 1000);
  for (int i = 0; i < count; ++i) {
    const SkinRect tab = RectOfSize(2 + i * std::max(tabWidth, 0) % kScreen, 2, tabWidth, tabHeight);
    TabInStrip(side, l, IsSideways(side) ? SkinRect{tab.top, tab.left, tab.bottom, tab.right} : tab);
  }
  const TabContentPlacement content = PlaceTabContent(tabWidth, tabHeight, k.Around(10, 16, -10, 1000),
                                                      k.Around(11, 16, -10, 1000), k.Around(12, 40, -10, kScreen));
  Check(!content.text.Inverted() && !content.image.Inverted(), "a tab's content places are not inverted");

  PixelBuffer window(std::min(w, kView), std::min(h, kView), kUntouched);
  if (l.HasStrip() && l.length <= 4 * kView && l.thickness <= 4 * kView) {
    PixelBuffer strip(l.length, l.thickness, 0x00010203);
    if (s.Tabs) {
      const SkinRect cell = CellRect(s.Tabs->Image.Width(), s.Tabs->Image.Height(), s.Tabs->Frame, 1,
                                     CellLayout::kSideBySide);
      DrawPieces(strip.View(), s.Tabs->Image, NineSlicePieces(cell, {}, RectOfSize(0, 0, tabWidth, tabHeight), true),
                 BlendMode::kKeyTransparent);
    }
    PutStrip(side, strip.View(), l, window.View());
  }
  Check(ChangedOnlyIn(window, l.strip), "the strip is put only where it belongs");
  if (!s.Tabs || s.Tabs->Image2.Empty()) return;
  const Bitmap24& border = s.Tabs->Image2;
  const SkinRect cell{0, 0, border.Width(), border.Height()};
  const SkinMargins margins = PageBorderMargins(side);
  const auto pieces = PageBorderPieces(cell, margins, l.page);
  CheckPieces(pieces, cell, l.page, 12, "page border pieces lie in the border image and the page");
  const SkinMargins m = FitSliceMargins(cell, margins, l.page);
  const SkinRect centre{l.page.left + m.left, l.page.top + m.top, l.page.right - m.right, l.page.bottom - m.bottom};
  for (const SlicePiece& p : pieces) Check(p.dest.Intersect(centre).Empty(), "the page border never covers the pages");
}

// ---- bars, edits and buttons ----

void CheckBars(const TSkinContent& s, ByteView knobs) {
  const Knobs k(knobs, kBars);
  const ProgressState state{k.Around(0, 50, INT_MIN, INT_MAX), k.Around(1, 0, INT_MIN, INT_MAX),
                            k.Around(2, 100, INT_MIN, INT_MAX)};
  const int length = k.Around(3, 100, INT_MIN, INT_MAX);
  const int filled = ProgressFillLength(state.position, state.low, state.high, length);
  Check(filled >= 0 && filled <= std::max(length, 0), "a progress bar fills at most its length");
  const SkinRect area = k.Rect(4, {2, 2, 90, 18});
  PixelBuffer view(kView, kView / 2, kUntouched);
  if (s.Progress) ComposeProgress(view.View(), area, *s.Progress, 0x00405060, state);
  Check(ChangedOnlyIn(view, area), "a progress bar is composed inside its area");
  // A strip of it turned upright, as an upright bar is.
  const PixelView lying(&view.View().At(0, 0), kView, 8, kView);
  PixelBuffer turned(lying.Height(), lying.Width());
  RotatePixelsLeft(lying, turned.View());
  const int cell = StatusPanelCell(k.U32(8));
  Check(cell >= 1 && cell <= 3, "a status panel shows one of three cells");
}

void CheckEdits(ByteView knobs) {
  const Knobs k(knobs, kEdits);
  const int w = k.Around(0, 17, 0, kScreen), h = k.Around(1, 21, 0, kScreen);
  const UpDownHalves halves = SplitUpDown(w, h, k.Flag(2, 0), k.Flag(2, 1));
  Check(!halves.first.Inverted() && !halves.second.Inverted(), "up-down halves are not inverted");
  const int look = UpDownHalfLook(k.Flag(2, 2), k.Flag(2, 3), k.Flag(2, 4), k.Flag(2, 5));
  Check(look >= kLookNormal && look <= kLookHot && UpDownCell(look, k.Flag(2, 6)) <= 8, "an up-down half has a look");
  const ComboLayout combo = LayOutCombo(w, h, k.Around(3, 16, -10, 1000), k.Flag(2, 7));
  Check(!combo.button.Inverted() && Inside(combo.button, {0, 0, w, h}), "a combo button lies in the combo box");
  const SkinRect item = k.Rect(8, {3, 3, w - 20, h - 3});
  MirrorCombo(combo, ComboTextArea(combo, item), item);

  PixelBuffer view(kView, kView / 2, kUntouched);
  const SkinRect outline = k.Rect(16, {2, 2, 40, 30});
  FrameRectPixels(view.View(), outline, 0);
  for (int y = 0; y < view.Height(); ++y) {
    for (int x = 0; x < view.Width(); ++x) {
      const bool onLine = outline.Contains(x, y) && (x == outline.left || x == outline.right - 1 ||
                                                     y == outline.top || y == outline.bottom - 1);
      Check((view.At(x, y) == 0) == onLine, "an outline is one pixel around its rectangle, nothing else");
    }
  }
  // Pixels moved from a marked square: nothing outside the clip changes.
  const SkinRect clip = k.Rect(20, {0, 0, 50, 40}), marked{0, 0, 10, 10};
  PixelBuffer shifted(kView, kView / 2, kUntouched);
  shifted.View().Fill(marked, 0);
  ShiftPixels(shifted.View(), k.Rect(12, {0, 0, 20, 20}), k.Around(7, 5, -kScreen, kScreen), clip);
  for (int y = 0; y < shifted.Height(); ++y) {
    for (int x = 0; x < shifted.Width(); ++x) {
      Check(clip.Contains(x, y) || shifted.At(x, y) == (marked.Contains(x, y) ? 0 : kUntouched),
            "shifted pixels land only inside the clip");
    }
  }
  DrawArrow(view.View(), item, static_cast<ArrowDirection>(k.Byte(4) % 4), 1);
  const SkinRect centred = CentreIn(item, k.Around(5, 7, 0, kScreen), k.Around(6, 4, 0, kScreen));
  Check(!centred.Inverted(), "a centred rectangle is not inverted");
}

void CheckControls(const TSkinContent& s, ByteView knobs) {
  const Knobs k(knobs, kControls);
  const ButtonState state{k.Flag(0), k.Flag(1), k.Flag(2), k.Flag(3), k.Flag(4), k.Flag(5)};
  for (int cell : {PushButtonCell(state), BitButtonCell(state), SpeedButtonCell(state)}) {
    Check(cell >= kButtonCellNormal && cell <= kButtonCellDefault, "a button shows one of the five cells");
    const GlyphCell glyph = GlyphCellFor(cell, k.Around(6, 1, INT_MIN, INT_MAX));
    Check(glyph.cell >= 1 && glyph.cell <= 4, "a glyph shows one of its cells");
  }
  const int w = k.Around(7, 75, 0, kScreen), h = k.Around(8, 25, 0, kScreen);
  const int gw = k.Around(9, 16, 0, 1000), gh = k.Around(10, 16, 0, 1000);
  // A glyph cut from the buttons' image, drawn anywhere: only inside the glyph's place.
  const Bitmap24& image = s.Buttons->Image;
  const SkinRect glyphCell = GlyphCellRect(image.Width(), image.Height(), k.Around(6, 4, INT_MIN, INT_MAX),
                                           k.Around(19, 1, INT_MIN, INT_MAX));
  Check(Inside(glyphCell, {0, 0, image.Width(), image.Height()}), "a glyph cell lies inside its image");
  PixelBuffer view(kView, kView / 2, kUntouched);
  const int gx = k.Around(13, 4, -kScreen, kScreen), gy = k.Around(14, 4, -kScreen, kScreen);
  DrawGlyph(view.View(), gx, gy, image, glyphCell, kSkinTransparent, k.Flag(16));
  Check(ChangedOnlyIn(view, RectOfSize(gx, gy, glyphCell.Width(), glyphCell.Height())), "a glyph lands at its place");
  const int tw = k.Around(11, 40, 0, kScreen), th = k.Around(12, 13, 0, 1000);
  PlaceGlyphAndText(w, h, gw, gh, tw, th, k.Around(13, -1, -1, 1000), k.Around(14, -1, -1, 1000),
                    static_cast<GlyphLayout>(k.Byte(15) % 4), k.Flag(16), k.Flag(17));
  CentreText({0, 0, w, h}, tw, th);
  PlaceMark(w, h, gw, gh, k.Around(18, 13, 0, 1000), k.Flag(16), k.Flag(17));
  const GroupBoxLayout group = LayOutGroupBox(w, h, th, k.Around(19, 40, -10, kScreen));
  for (const SkinRect& band : group.bands) {
    Check(!band.Inverted() && Inside(band, {0, 0, w, h}), "a group box paints only bands of itself");
  }
  const int cells = k.Around(20, 4, INT_MIN, INT_MAX);
  const bool on = k.Flag(21), off = k.Flag(22), disabled = k.Flag(23);
  const MarkLook mark = std::array{MarkLook::kNormal, MarkLook::kHot, MarkLook::kPressed}[k.Byte(20) % 3];
  for (int c : {EdgeCell(cells, on), TitleButtonIdleCell(cells, on), CheckBoxCell(cells, on, off, disabled, mark),
                RadioCell(cells, on, disabled, mark)}) {
    Check(c >= 1 && c <= std::max(cells, 1), "a state cell is one of the image's cells");
  }
}

// ---- menus ----

void CheckMenus(const TSkinContent& s, const Window& w, ByteView knobs) {
  const Knobs k(knobs, kMenus);
  MenuBarStyle style;
  style.hasImage = s.MenuBar && !s.MenuBar->Image.Empty();
  style.leftWidth = s.MenuBar ? s.MenuBar->LeftWidth : 0;
  style.rightWidth = s.MenuBar ? s.MenuBar->RightWidth : 0;
  style.rightToLeft = k.Flag(0);
  const SkinRect bar{w.metrics.left, w.metrics.top, w.width - w.metrics.right, w.metrics.top + w.menuBar};
  const int count = k.Byte(1) % 33;
  const int textWidth = k.Around(2, 40, -10, INT_MAX);
  std::vector<MenuBarEntry> entries;
  std::vector<bool> opens;
  for (int i = 0; i < count; ++i) {
    entries.push_back({i % 5 != 4, i % 3 == 0 ? 0 : textWidth / (i + 1)});
    opens.push_back(i % 2 == 0);
  }
  const std::vector<SkinRect> rects = LayOutMenuBar(bar, entries, style);
  Check(rects.size() == entries.size(), "a menu bar has a place for every item");
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const SkinRect& r = rects[i];
    Check(entries[i].visible ? (r.top == bar.top && r.bottom == bar.bottom && !r.Inverted()) : r == SkinRect{},
          "menu bar buttons run from the bar's top to its bottom, hidden ones are empty");
  }
  const int from = k.Around(3, 0, -2, count + 2), next = NeighbourButton(opens, from, k.Flag(4) ? 1 : -1);
  Check(next == -1 || (next >= 0 && next < count && opens[static_cast<std::size_t>(next)] && next != from),
        "the neighbour is another button that opens");

  const TDataSkinObject* item = s.MenuItem.get();
  const int band = item ? item->LeftWidth : 0;
  const int width = k.Around(5, 120, 0, INT_MAX);
  const bool images = k.Flag(6);
  Check(SkinnedPopupItemWidth(width, band, images) >= width && SkinnedMainMenuItemWidth(width, band, images) >= width,
        "the skin only widens menu items");
  const int glyph = MenuGlyphSize(k.Around(7, 16, -10, 1000), images, k.Flag(8));
  Check(glyph >= 0, "a glyph square has a size");
  const SkinRect itemRect = k.Rect(9, {0, 0, 120, 20});
  const bool rtl = k.Flag(13), separator = k.Flag(14);
  const MenuItemPlaces places = PlaceMenuItem(itemRect, glyph, band, separator, rtl);
  const SkinRect caption =
      CaptionRect(places, itemRect, k.Around(15, 40, -10, INT_MAX), k.Around(16, 13, -10, 1000), rtl);
  const SkinRect shortcut = ShortcutRect(places, itemRect, caption, rtl);
  Check(!caption.Inverted() && !shortcut.Inverted(), "caption and shortcut places are not inverted");
  if (item) {
    const SkinRect cell = CellRect(item->Image.Width(), item->Image.Height(), kMenuItemCells,
                                   kMenuItemSeparatorCell, CellLayout::kSideBySide);
    CheckPieces(SeparatorPieces(cell, item->LeftWidth, item->RightWidth, itemRect), cell, itemRect, 9,
                "separator pieces lie in the cell and the item");
  }
  const int pw = k.Around(17, 120, 0, kScreen), ph = k.Around(18, 80, 0, kScreen);
  std::int64_t area = 0;
  const auto strips = PopupBorderStrips(pw, ph);
  for (std::size_t i = 0; i < strips.size(); ++i) {
    Check(!strips[i].Inverted() && Inside(strips[i], {0, 0, pw, ph}), "a popup's border lies in the popup");
    area += std::int64_t{strips[i].Width()} * strips[i].Height();
    for (std::size_t j = 0; j < i; ++j) Check(strips[i].Intersect(strips[j]).Empty(), "border strips never overlap");
  }
  Check(area <= std::int64_t{pw} * ph, "border strips cover at most the popup");
}

}  // namespace

void FuzzSkinGeometry(ByteView data) {
  const auto nul = std::find(data.begin(), data.end(), std::uint8_t{0});
  const std::string description(data.begin(), nul);
  const ByteView knobs = nul == data.end() ? ByteView() : data.subspan(static_cast<std::size_t>(nul - data.begin()) + 1);
  TSkinContent skin;
  if (!BuildSkin(description, knobs, skin)) return;
  CheckSkinMetrics(skin);
  CheckSlices(skin, knobs);
  const Window window = CheckFrame(skin, knobs);
  CheckTitle(skin, window, knobs);
  CheckScrollBar(skin, knobs);
  CheckTabs(skin, knobs);
  CheckBars(skin, knobs);
  CheckEdits(knobs);
  CheckControls(skin, knobs);
  CheckMenus(skin, window, knobs);
}

}  // namespace qlt::fuzzing
