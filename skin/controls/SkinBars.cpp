#include "skin/controls/SkinBars.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "skin/data/WinSkinData.h"

namespace qlt {

const TClassInfo& TSkinBox::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinBox, TSkinControl>("TSkinBox").Build();
  return info;
}

const TClassInfo& TSkinStatusBar::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinStatusBar, TSkinControl>("TSkinStatusBar").Build();
  return info;
}

const TClassInfo& TSkinProgress::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinProgress, TSkinControl>("TSkinProgress").Build();
  return info;
}

const TClassInfo& TSkinTrackBar::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinTrackBar, TSkinControl>("TSkinTrackBar").Build();
  return info;
}

namespace {

Pixel32 SurfacePixel(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

COLORREF FaceOf(const TSkinData& skin) { return SkinColourToRgb(skin.ButtonFaceColour, GetSysColor(COLOR_BTNFACE)); }

SkinRect ClientRectOf(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  return {0, 0, r.right, r.bottom};
}

// The paint of a control the skinner draws wholly: the DC of the message or BeginPaint/EndPaint
// (which validates the window whatever happens), the client area at origin 0,0.
template <class PaintFn>
void PaintClient(HWND h, TMessage& m, PaintFn paint) {
  m.Result = 0;
  if (m.WParam) return paint(reinterpret_cast<HDC>(m.WParam), ClientRectOf(h));
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(h, &ps);
  struct End {
    HWND h;
    PAINTSTRUCT* ps;
    ~End() { EndPaint(h, ps); }
  } end{h, &ps};
  if (dc) paint(dc, ClientRectOf(h));
}

std::u16string PanelText(HWND bar, int index, unsigned& flags) {
  const LRESULT length = SendMessageW(bar, SB_GETTEXTLENGTHW, index, 0);
  flags = HIWORD(length);
  // An owner-drawn panel holds its owner's data, not text.
  if (flags & SBT_OWNERDRAW) return {};
  std::vector<wchar_t> text(LOWORD(length) + 1u, L'\0');
  SendMessageW(bar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()));
}

// The system's bevel of a panel without the skin's image: lowered has the shadow at the top left.
void DrawBevel(const PixelView& view, const SkinRect& r, int cell) {
  if (cell == 3 || r.Empty()) return;
  const Pixel32 shadow = SurfacePixel(GetSysColor(COLOR_BTNSHADOW));
  const Pixel32 light = SurfacePixel(GetSysColor(COLOR_BTNHIGHLIGHT));
  const Pixel32 topLeft = cell == 1 ? shadow : light;
  const Pixel32 bottomRight = cell == 1 ? light : shadow;
  view.Fill({r.left, r.top, r.right, r.top + 1}, topLeft);
  view.Fill({r.left, r.top, r.left + 1, r.bottom}, topLeft);
  view.Fill({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  view.Fill({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

}  // namespace

// ---- plain containers ----

void TSkinBox::AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) {
  AttachWithoutMessages(formSkinner, skin, ownColour);
}

// ---- status bars ----

bool TSkinStatusBar::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintClient(Handle(), m, [this](HDC dc, const SkinRect& r) { Paint(dc, r); });
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinStatusBar::Paint(HDC dc, const SkinRect& rect) {
  HWND h = Handle();
  if (!skin_ || !h || rect.Empty()) return;
  PaintSurface& surface = Surface();
  if (!surface.Reserve(rect.Width(), rect.Height())) return;
  ++paints_;
  PixelView view = surface.View(rect.Width(), rect.Height());
  view.Fill(view.Bounds(), SurfacePixel(FaceOf(*skin_)));

  struct Panel {
    SkinRect rect;
    std::u16string text;
    int cell = 1;
  };
  std::vector<Panel> panels;
  const int parts = static_cast<int>(SendMessageW(h, SB_GETPARTS, 0, 0));
  if (SendMessageW(h, SB_ISSIMPLE, 0, 0) || parts <= 0) {
    unsigned flags = 0;
    std::u16string text = PanelText(h, parts <= 0 ? 0 : SB_SIMPLEID, flags);
    panels.push_back({rect, std::move(text), StatusPanelCell(flags)});
  } else {
    for (int i = 0; i < parts; ++i) {
      RECT r{};
      if (!SendMessageW(h, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
      unsigned flags = 0;
      std::u16string text = PanelText(h, i, flags);
      panels.push_back({SkinRect{r.left, r.top, r.right, r.bottom}.Intersect(rect), std::move(text),
                        StatusPanelCell(flags)});
    }
  }
  const TDataSkinObject* edges = skin_->StatusBarEdges && !skin_->StatusBarEdges->Image.Empty()
                                     ? skin_->StatusBarEdges.get()
                                     : nullptr;
  for (const Panel& p : panels) {
    if (edges) {
      DrawSkinFrame(view, p.rect, 3, p.cell, *edges);
    } else {
      DrawBevel(view, p.rect, p.cell);
    }
  }

  HDC memory = surface.Dc();
  {
    HFONT font = control_ ? control_->Font()->Handle() : reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    SelectedObject selectedFont(memory, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    const COLORREF colour = !IsWindowEnabled(h) ? GetSysColor(COLOR_GRAYTEXT)
                            : edges           ? SkinColourToRgb(edges->NormalColour2, GetSysColor(COLOR_BTNTEXT))
                                              : GetSysColor(COLOR_BTNTEXT);
    const COLORREF oldColour = SetTextColor(memory, colour);
    const int oldMode = SetBkMode(memory, TRANSPARENT);
    static constexpr UINT kAlign[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    for (const Panel& p : panels) {
      const std::array<std::u16string, 3> parts3 = SplitPanelText(p.text);
      for (int i = 0; i < 3; ++i) {
        if (parts3[i].empty()) continue;
        RECT r{p.rect.left + 2, p.rect.top, p.rect.right - 2, p.rect.bottom};
        skin_->DrawSkinText(memory, parts3[i], r, kAlign[i] | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      }
    }
    SetBkMode(memory, oldMode);
    SetTextColor(memory, oldColour);
  }

  const TDataSkinObject* extra = skin_->ExtraImages.get();
  if ((GetWindowLongW(h, GWL_STYLE) & SBARS_SIZEGRIP) && extra && !extra->Image.Empty()) {
    view = surface.View(rect.Width(), rect.Height());
    const int cells = ClampCellCount(extra->Frame);
    const SkinRect cell = CellRect(extra->Image.Width(), extra->Image.Height(), cells, 5, CellLayout::kSideBySide);
    DrawCell(view, {rect.right - cell.Width(), rect.bottom - cell.Height(), rect.right, rect.bottom}, extra->Image,
             cells, 5, BlendMode::kKeyTransparent);
  }
  GdiFlush();
  surface.CopyTo(dc, rect, 0, 0);
}

// ---- progress bars ----

bool TSkinProgress::HasArt() const { return skin_ && skin_->Progress && !skin_->Progress->Image.Empty(); }

ProgressState TSkinProgress::ReadState() const {
  ProgressState s;
  HWND h = Handle();
  if (!h) return s;
  PBRANGE range{};
  SendMessageW(h, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  s.low = range.iLow;
  s.high = range.iHigh;
  s.position = static_cast<int>(SendMessageW(h, PBM_GETPOS, 0, 0));
  return s;
}

bool TSkinProgress::BeforeMessage(TMessage& m) {
  if (!HasArt()) return TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_PAINT:
      PaintClient(Handle(), m, [this](HDC dc, const SkinRect& r) { Paint(dc, r); });
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinProgress::Paint(HDC dc, const SkinRect& rect) {
  HWND h = Handle();
  if (!HasArt() || !h || rect.Empty()) return;
  PaintSurface& surface = Surface();
  const bool upright = (GetWindowLongW(h, GWL_STYLE) & PBS_VERTICAL) != 0;
  const int w = rect.Width(), ht = rect.Height();
  // Upright bars are composed lying down beside the picture, then turned into place.
  if (!surface.Reserve(upright ? w + ht : w, upright ? std::max(w, ht) : ht)) return;
  ++paints_;
  const Pixel32 face = SurfacePixel(FaceOf(*skin_));
  const ProgressState state = ReadState();
  if (!upright) {
    const PixelView view = surface.View(w, ht);
    ComposeProgress(view, view.Bounds(), *skin_->Progress, face, state);
    GdiFlush();
    surface.CopyTo(dc, rect, 0, 0);
    return;
  }
  const PixelView whole = surface.View(w + ht, std::max(w, ht));
  // The surface's rows may be longer than asked for.
  const int stride = surface.Width();
  const PixelView lying(&whole.At(w, 0), ht, w, stride);
  ComposeProgress(lying, lying.Bounds(), *skin_->Progress, face, state);
  RotatePixelsLeft(lying, PixelView(&whole.At(0, 0), w, ht, stride));
  GdiFlush();
  surface.CopyTo(dc, rect, 0, 0);
}

// ---- track bars ----

TSkinTrackBar::~TSkinTrackBar() {
  // The parent stops asking this skinner before the control is given back and painted again.
  parent_.Detach();
}

void TSkinTrackBar::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* formSkinner) {
  TSkinControl::AttachWindow(window, skin, formSkinner);
  if (Attached()) WatchParent();
}

void TSkinTrackBar::WatchParent() {
  HWND parent = GetParent(Handle());
  if (!parent) return;
  parent_.Attach(parent, [this](TMessage& m, const TWindowSubclass::Next& next) {
    LRESULT result = 0;
    if (AnswerForControl(m.Msg, m.WParam, m.LParam, result)) {
      m.Result = result;
      return;
    }
    next(m);
  });
}

bool TSkinTrackBar::AnswerForControl(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND h = Handle();
  if (!h || !skin_ || LifeState() != lsAttached) return false;
  if (msg == WM_NOTIFY || msg == CN_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || header->hwndFrom != h || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
    return CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam), result);
  }
  if (msg == WM_CTLCOLORSTATIC || msg == CN_CTLCOLORSTATIC) {
    if (reinterpret_cast<HWND>(lParam) != h) return false;
    // The control fills its background with the brush its parent gives: the skin's face.
    SetBkColor(reinterpret_cast<HDC>(wParam), FaceOf(*skin_));
    result = reinterpret_cast<LRESULT>(skin_->FaceBrush());
    return true;
  }
  return false;
}

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
  LRESULT result = 0;
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case CN_NOTIFY:
    case CN_CTLCOLORSTATIC:
      if (!AnswerForControl(m.Msg, m.WParam, m.LParam, result)) break;
      m.Result = result;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

bool TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw, LRESULT& result) {
  if (draw.dwDrawStage == CDDS_PREPAINT) {
    result = CDRF_NOTIFYITEMDRAW;
    return true;
  }
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return false;
  if (draw.dwItemSpec != TBCD_THUMB) {
    result = CDRF_DODEFAULT;
    return true;
  }
  RECT thumb{};
  SendMessageW(Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  DrawThumb(draw.hdc, thumb);
  result = CDRF_SKIPDEFAULT;
  return true;
}

const TDataSkinObject* TSkinTrackBar::ThumbObject() const {
  if (!skin_) return nullptr;
  auto usable = [](const SkinObjectPtr& o) { return o && !o->Image.Empty() ? o.get() : nullptr; };
  const bool upright = Handle() && (GetWindowLongW(Handle(), GWL_STYLE) & TBS_VERT);
  if (upright && usable(skin_->TrackbarThumbVert)) return skin_->TrackbarThumbVert.get();
  return usable(skin_->TrackbarThumbHorz);
}

void TSkinTrackBar::DrawThumb(HDC dc, const RECT& thumb) {
  const SkinRect r{thumb.left, thumb.top, thumb.right, thumb.bottom};
  if (!dc || r.Empty()) return;
  PaintSurface& surface = Surface();
  if (!surface.Reserve(r.Width(), r.Height())) return;
  ++thumbsDrawn_;
  // What the control drew under the thumb (channel, background) shows through its magenta.
  BitBlt(surface.Dc(), 0, 0, r.Width(), r.Height(), dc, r.left, r.top, SRCCOPY);
  const PixelView view = surface.View(r.Width(), r.Height());
  if (const TDataSkinObject* o = ThumbObject()) {
    DrawNineSlice(view, view.Bounds(), o->Image, 5, 2, CellLayout::kSideBySide,
                  {o->LeftWidth, o->TopHeight, o->RightWidth, o->BottomHeight}, o->Tile == 1,
                  BlendMode::kKeyTransparent);
  } else {
    const Pixel32 shadow = SurfacePixel(SkinColourToRgb(skin_->ButtonShadowColour, GetSysColor(COLOR_BTNSHADOW)));
    view.Fill(view.Bounds(), shadow);
    view.Fill({1, 1, r.Width() - 1, r.Height() - 1}, SurfacePixel(FaceOf(*skin_)));
  }
  GdiFlush();
  surface.CopyTo(dc, r, 0, 0);
}

}  // namespace qlt
