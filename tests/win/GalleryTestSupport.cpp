#include "tests/win/GalleryTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "skin/data/SkinReader.h"
#include "skin/kit/SkinPack.h"
#include "ui/FormText.h"
#include "ui/Menus.h"

namespace qlt::test {

namespace {

bool IsMagenta(Bgr p) { return p.r == 255 && p.b == 255 && p.g <= 1; }

std::string Describe(Bgr p) {
  std::ostringstream s;
  s << "(" << int(p.r) << "," << int(p.g) << "," << int(p.b) << ")";
  return s.str();
}

// A grab covers the part of a window on the screen; points are in window coordinates.
Bgr GrabPixel(const ScreenGrab& grab, POINT origin, int x, int y) {
  const COLORREF c = grab.PixelAt({origin.x + x, origin.y + y});
  return RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The cell of an edge in the state of the window: 1 while active or with a single cell, else 2.
struct EdgeCell {
  const TDataSkinBorder& edge;
  int x0 = 0, y0 = 0, width = 0, height = 0;
  EdgeCell(const TDataSkinBorder& e, bool stacked, bool active) : edge(e) {
    const int cells = std::max(e.Frame, 1);
    const int index = active || cells == 1 ? 1 : 2;
    width = stacked ? e.Image.Width() : e.Image.Width() / cells;
    height = stacked ? e.Image.Height() / cells : e.Image.Height();
    x0 = stacked ? 0 : width * (index - 1);
    y0 = stacked ? height * (index - 1) : 0;
  }
  Bgr At(int x, int y) const { return edge.Image.At(x0 + x, y0 + y); }
};

void AddProbe(std::vector<FrameProbe>& out, const TDataSkinBorder& edge, const char* name, int x, int y,
              std::vector<Bgr> candidates) {
  FrameProbe p{x, y, {}, name};
  const bool cut = edge.Trans == 1;
  const bool allMagenta = std::all_of(candidates.begin(), candidates.end(), IsMagenta);
  if (cut && allMagenta) {
    out.push_back(p);  // cut out of the window
    return;
  }
  for (Bgr c : candidates) {
    if (!(cut && IsMagenta(c))) p.allowed.push_back(c);
  }
  // A middle that mixes cut and kept pixels could show either: nothing certain to check.
  if (cut && !std::none_of(candidates.begin(), candidates.end(), IsMagenta)) return;
  out.push_back(std::move(p));
}

bool OnTheScreen(POINT p) {
  return p.x >= 0 && p.y >= 0 && p.x < GetSystemMetrics(SM_CXSCREEN) && p.y < GetSystemMetrics(SM_CYSCREEN);
}

bool Excluded(const std::vector<RECT>& exclude, int x, int y) {
  return std::any_of(exclude.begin(), exclude.end(), [&](const RECT& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  });
}

// A side edge (left or right): its width is the cell's, its fixed top and bottom parts are
// copied as they are, the middle rows come from the middle of the cell.
void SideProbes(std::vector<FrameProbe>& out, const TDataSkinBorder& edge, const char* name, int left, int h,
                bool active) {
  const EdgeCell cell(edge, false, active);
  int top = std::clamp(edge.TopHeight, 0, cell.height);
  int bottom = std::clamp(edge.BottomHeight, 0, cell.height - top);
  // Fixed parts that do not fit, or that leave the cell no middle to fill the rest, are dropped:
  // the whole cell is stretched or tiled.
  if (h < top + bottom || (top + bottom == cell.height && h > cell.height)) top = bottom = 0;
  if (cell.width <= 0) return;
  for (int x = 0; x < cell.width; ++x) {
    for (int y = 0; y < top; ++y) AddProbe(out, edge, name, left + x, y, {cell.At(x, y)});
    for (int k = 1; k <= bottom; ++k) AddProbe(out, edge, name, left + x, h - k, {cell.At(x, cell.height - k)});
    if (h - bottom <= top || cell.height - bottom <= top) continue;
    std::vector<Bgr> middle;
    for (int y = top; y < cell.height - bottom; ++y) middle.push_back(cell.At(x, y));
    for (int y : {top, (top + h - bottom) / 2, h - bottom - 1}) AddProbe(out, edge, name, left + x, y, middle);
  }
}

}  // namespace

std::string SkinCaseName(GallerySkin skin) { return skin == GallerySkin::Slate ? "Slate" : "Pine"; }

std::wstring SkinFilePath(GallerySkin skin) {
  return skin == GallerySkin::Slate ? Utf8ToWide(std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin")
                                    : Utf8ToWide(QLT_SECOND_SKIN_FILE);
}

std::string SkinFileBytes(GallerySkin skin) { return ReadFileBytes(SkinFilePath(skin)); }

std::unique_ptr<TSkinContent> ReadSkinContent(const std::string& packed) {
  TSkinReader reader;
  const Bytes bytes(packed.begin(), packed.end());
  if (!reader.LoadPacked(bytes)) return nullptr;
  auto content = std::make_unique<TSkinContent>();
  content->BuildSkin(reader);
  return content;
}

std::wstring WriteEditedSkin(GallerySkin skin, const std::string& name,
                             const std::function<void(std::string& description)>& edit) {
  TSkinReader reader;
  const std::string packed = SkinFileBytes(skin);
  if (!reader.LoadPacked(Bytes(packed.begin(), packed.end()))) return L"";
  std::vector<SkinEntry> entries;
  for (int i = 0; i < reader.Count(); ++i) {
    const ByteView data = reader.EntryAt(i);
    SkinEntry entry{reader.Names()[static_cast<size_t>(i)], Bytes(data.begin(), data.end())};
    if (entry.name.find(".ini") != std::string::npos) {
      std::string text(entry.data.begin(), entry.data.end());
      edit(text);
      entry.data.assign(text.begin(), text.end());
    }
    entries.push_back(std::move(entry));
  }
  const Bytes file = PackSkin(entries);
  const std::wstring path = (std::filesystem::temp_directory_path() / name).wstring();
  return WriteFileBytes(path, std::string(file.begin(), file.end())) ? path : L"";
}

SIZE DesignedClientSize(const TForm& form) {
  // The description the form was read from: the resource named after its class.
  std::string name(form.ClassType().name);
  std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(toupper(c)); });
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!data) return {};
  const DfmObject description = ParseFormText(std::string_view(data, SizeofResource(module, resource)));
  const DfmProperty* width = description.Find("ClientWidth");
  const DfmProperty* height = description.Find("ClientHeight");
  return {width ? static_cast<LONG>(width->value.integer) : 0, height ? static_cast<LONG>(height->value.integer) : 0};
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

bool WindowRegion::Contains(int x, int y) const { return kind == ERROR || PtInRegion(region.Get(), x, y); }

RECT WindowRegion::Box() const {
  RECT box{};
  if (kind != ERROR) GetRgnBox(region.Get(), &box);
  return box;
}

WindowRegion RegionOf(HWND window) {
  WindowRegion out;
  out.region.Reset(CreateRectRgn(0, 0, 0, 0));
  out.kind = GetWindowRgn(window, out.region.Get());
  return out;
}

// ---- the gallery under the engine ----

GalleryHost::GalleryHost(GallerySkin skin, HostOptions options)
    : engine_(std::make_unique<TSkinEngine>(std::move(options.manager))) {
  RegisterGalleryClasses();
  TheGalleryOptions() = GalleryOptions{};
  const std::wstring file = !options.skinFile.empty()      ? options.skinFile
                            : skin == GallerySkin::Pine ? SkinFilePath(skin)
                                                        : L"";
  TheGalleryOptions().skinFile = reinterpret_cast<const char16_t*>(file.c_str());
  // The pointer waits where no window of the test comes, so no title button starts hot.
  MoveMouseTo(kParkedPointer);
  gallery_ = NewForm<TFrm_Gallery>(Application);
  if (!options.show) return;
  gallery_->Show();
  Activate(Window());
  WaitSkinned(Window());
}

GalleryHost::~GalleryHost() {
  FreeGallery();
  ReleaseEngine();
  TheGalleryOptions() = GalleryOptions{};
}

void GalleryHost::FreeGallery() {
  delete std::exchange(gallery_, nullptr);
  PumpFor(std::chrono::milliseconds(20));
}

void GalleryHost::ReleaseEngine() { engine_.reset(); }

TWinSkinForm* SkinnerOf(HWND window) {
  if (SkinManager) return SkinManager->FindFormSkinner(window);
  // Without a manager, a form's skinner is still one of its components.
  for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
    TForm* form = Screen->Forms(i);
    if (!form->HandleAllocated() || form->Handle() != window) continue;
    for (int c = 0; c < form->ComponentCount(); ++c) {
      auto* skinner = dynamic_cast<TWinSkinForm*>(form->Components(c));
      if (skinner && skinner->State() != skDead) return skinner;
    }
  }
  return nullptr;
}

bool WaitSkinned(HWND window, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [window] {
        TWinSkinForm* s = SkinnerOf(window);
        return s && s->State() == skActive && SendMessageW(window, WM_SKIN_QUERY, 0, 0) == 1;
      },
      timeout);
}

bool WaitUnskinned(HWND window, std::chrono::milliseconds timeout) {
  return WaitUntil([window] { return !SkinnerOf(window) && SendMessageW(window, WM_SKIN_QUERY, 0, 0) != 1; },
                   timeout);
}

bool Activate(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([window] { return GetForegroundWindow() == window && GetActiveWindow() == window; }, 3s);
}

LRESULT HitTest(HWND window, int x, int y) {
  const POINT p = OnScreen(window, x, y);
  return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

POINT OnScreen(HWND window, int x, int y) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left + x, r.top + y};
}

const TDataSkinSysButton* SkinButton(const TSkinContent& skin, int action) {
  for (const auto& b : skin.SysButtons) {
    if (b->Action == action && !b->Image.Empty() && b->Visibility == 0) return b.get();
  }
  return nullptr;
}

RECT RightAlignedButtonRect(const TDataSkinSysButton& b, int windowWidth) {
  const int cells = std::max(b.Frame, 1);
  const int left = windowWidth - b.Xcoord;
  return {left, b.Ycoord, left + b.Image.Width() / cells, b.Ycoord + b.Image.Height()};
}

// ---- what the frame shows ----

std::vector<FrameProbe> FrameProbes(const TSkinContent& skin, int w, int h, bool active,
                                    const std::vector<RECT>& exclude, bool dialog) {
  std::vector<FrameProbe> out;
  const int left = EdgeCell(*skin.LeftBorder, false, active).width;
  const int right = EdgeCell(*skin.RightBorder, false, active).width;
  SideProbes(out, *skin.LeftBorder, "left", 0, h, active);
  SideProbes(out, *skin.RightBorder, "right", w - right, h, active);

  // The bottom edge between the sides: fixed left and right parts, the middle from the cell's.
  const EdgeCell bottom(*skin.BottomBorder, true, active);
  const int span = w - left - right;
  int bl = std::clamp(skin.BottomBorder->LeftWidth, 0, bottom.width);
  int br = std::clamp(skin.BottomBorder->RightWidth, 0, bottom.width - bl);
  if (span < bl + br || (bl + br == bottom.width && span > bottom.width)) bl = br = 0;
  {
    for (int y = 0; y < bottom.height; ++y) {
      const int wy = h - bottom.height + y;
      for (int x = 0; x < bl; ++x) AddProbe(out, *skin.BottomBorder, "bottom", left + x, wy, {bottom.At(x, y)});
      for (int k = 1; k <= br; ++k) {
        AddProbe(out, *skin.BottomBorder, "bottom", w - right - k, wy, {bottom.At(bottom.width - k, y)});
      }
      std::vector<Bgr> middle;
      for (int x = bl; x < bottom.width - br; ++x) middle.push_back(bottom.At(x, y));
      if (middle.empty() || span - bl - br <= 0) continue;
      for (int x : {left + bl, left + (bl + span - br) / 2, w - right - br - 1}) {
        AddProbe(out, *skin.BottomBorder, "bottom", x, wy, middle);
      }
    }
  }

  // The title's fixed ends where neither the caption nor a button goes: left of where the
  // caption may start, right of where it is clipped.
  const EdgeCell top(*skin.TopBorder, true, active);
  const TDataSkinTitle& title = *skin.Title;
  const int tl = std::clamp(skin.TopBorder->LeftWidth, 0, top.width);
  const int tr = std::clamp(skin.TopBorder->RightWidth, 0, top.width);
  // A dialog has no icon: its left-aligned caption starts 16 pixels further left.
  const int freeLeft = title.TextAlignment == 0 ? std::clamp(title.LeftWidth - (dialog ? 16 : 0), 0, tl) : tl;
  const int freeRight = std::min(tr, std::max(title.RightWidth, 0));
  if (w - left - right >= tl + tr) {
    for (int y = 0; y < top.height; ++y) {
      for (int x = 0; x < freeLeft; ++x) {
        AddProbe(out, *skin.TopBorder, "top", left + x, y, {top.At(x, y)});
      }
      for (int k = 1; k <= freeRight; ++k) {
        AddProbe(out, *skin.TopBorder, "top", w - right - k, y, {top.At(top.width - k, y)});
      }
    }
  }
  // Title buttons may hang over the edges: their pixels are theirs.
  std::erase_if(out, [&](const FrameProbe& p) { return Excluded(exclude, p.x, p.y); });
  return out;
}

std::vector<std::string> FrameMismatches(const ScreenGrab& grab, POINT origin, const std::vector<FrameProbe>& probes,
                                         const WindowRegion& region, size_t limit) {
  std::vector<std::string> out;
  auto report = [&](const FrameProbe& p, const std::string& what) {
    if (out.size() < limit) {
      out.push_back(std::string(p.edge) + " edge at (" + std::to_string(p.x) + "," + std::to_string(p.y) + "): " + what);
    }
  };
  for (const FrameProbe& p : probes) {
    // A maximised window's edges lie beyond the screen.
    if (!OnTheScreen({origin.x + p.x, origin.y + p.y})) continue;
    const bool inRegion = region.Contains(p.x, p.y);
    if (p.allowed.empty()) {
      if (inRegion) report(p, "a transparent pixel of the skin is not cut out of the window");
      continue;
    }
    if (!inRegion) {
      report(p, "an opaque pixel of the skin is cut out of the window");
      continue;
    }
    const Bgr seen = GrabPixel(grab, origin, p.x, p.y);
    if (std::find(p.allowed.begin(), p.allowed.end(), seen) == p.allowed.end()) {
      report(p, "shows " + Describe(seen) + ", the skin has " + Describe(p.allowed.front()) +
                    (p.allowed.size() > 1 ? " (or another of its middle)" : ""));
    }
  }
  if (out.size() >= limit) out.push_back("...");
  return out;
}

std::vector<std::string> CellMismatches(const ScreenGrab& grab, POINT origin, const RECT& place, const Bitmap24& image,
                                        int cells, int cell, size_t limit) {
  std::vector<std::string> out;
  const int cw = image.Width() / std::max(cells, 1);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < cw; ++x) {
      const Bgr want = image.At(cw * (cell - 1) + x, y);
      const POINT at{origin.x + place.left + x, origin.y + place.top + y};
      if (IsMagenta(want) || !OnTheScreen(at)) continue;
      const Bgr seen = GrabPixel(grab, origin, place.left + x, place.top + y);
      if (seen == want) continue;
      if (out.size() < limit) {
        out.push_back("cell " + std::to_string(cell) + " pixel (" + std::to_string(x) + "," + std::to_string(y) +
                      "): shows " + Describe(seen) + ", the skin has " + Describe(want));
      }
    }
  }
  return out;
}

std::vector<std::string> WaitForScreen(HWND window, const ScreenCheck& check, std::chrono::milliseconds timeout,
                                       HWND holder) {
  std::vector<std::string> last;
  WaitUntil(
      [&] {
        if (holder && GetForegroundWindow() != holder) {
          SetForegroundWindow(holder);
          last = {"the activation had moved away from the window meant to hold it"};
          return false;
        }
        RECT rect{}, shown{};
        GetWindowRect(window, &rect);
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        IntersectRect(&shown, &rect, &screen);
        last = check(ScreenGrab(shown), POINT{rect.left, rect.top});
        return last.empty();
      },
      timeout);
  return last;
}

// ---- small things ----

Edges EdgesOf(const TSkinContent& s) {
  return {s.LeftBorder->Image.Width() / std::max(s.LeftBorder->Frame, 1),
          s.TopBorder->Image.Height() / std::max(s.TopBorder->Frame, 1),
          s.RightBorder->Image.Width() / std::max(s.RightBorder->Frame, 1),
          s.BottomBorder->Image.Height() / std::max(s.BottomBorder->Frame, 1)};
}

POINT ClientOffset(HWND window) {
  POINT origin{};
  ClientToScreen(window, &origin);
  RECT r{};
  GetWindowRect(window, &r);
  return {origin.x - r.left, origin.y - r.top};
}

int SkinnedMenuBarHeight(HWND window) {
  const TWinSkinForm* skinner = SkinnerOf(window);
  return skinner ? skinner->MenuBarHeight() : 0;
}

bool ClientInsideEdges(HWND window, const Edges& edges) {
  const POINT offset = ClientOffset(window);
  return offset.x == edges.left && offset.y == edges.top + SkinnedMenuBarHeight(window);
}

GallerySkin OtherSkin(GallerySkin skin) { return skin == GallerySkin::Slate ? GallerySkin::Pine : GallerySkin::Slate; }

// ---- the fixture ----

void GalleryFrameTest::SetUp() { skin_ = ReadSkinContent(SkinFileBytes(GetParam())); }

void GalleryFrameTest::Open(bool show) { Open(HostOptions{show, nullptr, L""}); }

void GalleryFrameTest::Open(HostOptions options) {
  ASSERT_NE(skin_, nullptr);
  const bool show = options.show;
  host_ = std::make_unique<GalleryHost>(GetParam(), std::move(options));
  window_ = host_->Window();
  if (show) {
    ASSERT_TRUE(SkinnerOf(window_)) << "the gallery is skinned once shown";
  }
}

std::wstring GalleryFrameTest::Shot(const std::string& what) const {
  return Utf8ToWide("frame-" + SkinCaseName(GetParam()) + "-" + what);
}

std::vector<RECT> GalleryFrameTest::ButtonPlaces(HWND window) {
  std::vector<RECT> out;
  if (TWinSkinForm* s = SkinnerOf(window)) {
    for (const auto& b : s->TitleButtons()) {
      if (b->Visible) out.push_back({b->Rect.left, b->Rect.top, b->Rect.right, b->Rect.bottom});
    }
  }
  return out;
}

std::vector<std::string> GalleryFrameTest::FrameCheck(const TSkinContent& skin, HWND window, const ScreenGrab& grab,
                                                      POINT origin, bool active) {
  const SIZE size = WindowSize(window);
  TWinSkinForm* skinner = SkinnerOf(window);
  const bool dialog = skinner && skinner->BorderKind() == bkDialog;
  return FrameMismatches(grab, origin, FrameProbes(skin, size.cx, size.cy, active, ButtonPlaces(window), dialog),
                         RegionOf(window));
}

std::vector<std::string> GalleryFrameTest::FrameOnScreen(HWND window, bool active, const TSkinContent* skin,
                                                         HWND holder) {
  return WaitForScreen(
      window, [&](const ScreenGrab& g, POINT o) { return FrameCheck(skin ? *skin : *skin_, window, g, o, active); },
      3s, holder);
}

const TDataSkinSysButton& GalleryFrameTest::Button(int action) const {
  const TDataSkinSysButton* b = SkinButton(*skin_, action);
  EXPECT_TRUE(b && b->Align == 1) << "the skin has a right-aligned button with action " << action;
  return *b;
}

RECT GalleryFrameTest::Place(int action) const { return RightAlignedButtonRect(Button(action), WindowSize(window_).cx); }

POINT GalleryFrameTest::CentreOf(const RECT& r) const {
  return OnScreen(window_, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::vector<std::string> GalleryFrameTest::ButtonCellOnScreen(int action, int cell) {
  const TDataSkinSysButton& b = Button(action);
  return WaitForScreen(window_, [&](const ScreenGrab& g, POINT o) {
    return CellMismatches(g, o, Place(action), b.Image, b.Frame, cell);
  });
}

POINT GalleryFrameTest::CaptionPoint() const {
  const SIZE size = WindowSize(window_);
  const int y = EdgesOf(*skin_).top / 2;
  const std::vector<RECT> buttons = ButtonPlaces(window_);
  for (int x = size.cx / 2; x > 0; x -= 4) {
    const bool onButton = std::any_of(buttons.begin(), buttons.end(), [&](const RECT& r) {
      return x >= r.left - 2 && x < r.right + 2 && y >= r.top && y < r.bottom;
    });
    if (!onButton) return OnScreen(window_, x, y);
  }
  return OnScreen(window_, size.cx / 2, y);
}

// ---- popup menus ----

namespace {

BOOL CALLBACK FindShownMenu(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32768" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

WhileMenuOpen* g_menuWatch = nullptr;

}  // namespace

HWND OpenMenuWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindShownMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

WhileMenuOpen::WhileMenuOpen(std::function<void(HWND, HMENU)> act) : act_(std::move(act)) {
  g_menuWatch = this;
  timer_ = SetTimer(nullptr, 0, 100, Tick);
}

WhileMenuOpen::~WhileMenuOpen() {
  KillTimer(nullptr, timer_);
  g_menuWatch = nullptr;
}

void CALLBACK WhileMenuOpen::Tick(HWND, UINT, UINT_PTR, DWORD) {
  WhileMenuOpen* self = g_menuWatch;
  if (!self || self->seen_) return;
  HWND window = OpenMenuWindow();
  if (!window) return;
  self->seen_ = true;
  auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    TMenuItem* item = TMenu::FindItemAt(menu, i);
    self->items_.push_back(item ? std::wstring(item->Caption().begin(), item->Caption().end()) : L"");
  }
  self->act_(window, menu);
}

void SendKeyNow(WORD vk) {
  INPUT keys[2] = {KeyInput(vk, false), KeyInput(vk, true)};
  SendInput(2, keys, sizeof(INPUT));
}

std::string GdiGrowth(const std::function<void()>& repaint, const std::function<void()>& hover,
                      const std::function<void()>& switchSkin) {
  std::string growth;
  auto measure = [&](const char* what, const std::function<void()>& step, int times) {
    step();
    PumpFor(std::chrono::milliseconds(100));
    const int start = GdiObjectCount();
    if (start <= 0) {
      growth += std::string("no count before ") + what + "; ";
      return;
    }
    for (int i = 0; i < times; ++i) step();
    PumpFor(std::chrono::milliseconds(100));
    if (const int now = GdiObjectCount(); now != start) {
      growth += std::to_string(times) + " " + what + ": " + std::to_string(start) + " -> " + std::to_string(now) + "; ";
    }
  };
  measure("repaints", repaint, 1000);
  measure("hover cycles", hover, 1000);
  measure("skin switches", switchSkin, 200);
  return growth;
}

}  // namespace qlt::test
