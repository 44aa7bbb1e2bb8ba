#pragma once
// The rules of a skinned window frame that are plain arithmetic: what kind of border a window
// has, how wide each skinned edge is, which caption styles the skin takes away and gives back,
// where the caption goes, which title buttons show and where, and how a hit-test answer of the
// window's own procedure becomes the skinned frame's. The window skinner gathers the inputs from
// the window and the skin and applies the answers. Portable: no <windows.h>.
#include <cstdint>
#include <string_view>

#include "skin/data/SkinObjects.h"
#include "skin/frame/SkinGeometry.h"

namespace qlt {

// Window style bits the rules read (the values of the Windows headers; the Windows side checks
// they agree).
namespace wsbits {
inline constexpr std::uint32_t kPopup = 0x80000000u;
inline constexpr std::uint32_t kChild = 0x40000000u;
inline constexpr std::uint32_t kMinimized = 0x20000000u;
inline constexpr std::uint32_t kMaximized = 0x01000000u;
inline constexpr std::uint32_t kCaption = 0x00C00000u;  // border and dialog frame
inline constexpr std::uint32_t kBorder = 0x00800000u;
inline constexpr std::uint32_t kDlgFrame = 0x00400000u;
inline constexpr std::uint32_t kSysMenu = 0x00080000u;
inline constexpr std::uint32_t kThickFrame = 0x00040000u;
inline constexpr std::uint32_t kMinimizeBox = 0x00020000u;
inline constexpr std::uint32_t kMaximizeBox = 0x00010000u;
inline constexpr std::uint32_t kModalFrame = 0x00000080u;  // DS_MODALFRAME
inline constexpr std::uint32_t kExMdiChild = 0x00000040u;
inline constexpr std::uint32_t kExLeftScrollBar = 0x00004000u;  // the right-to-left layout of the engine
}  // namespace wsbits

// Hit-test codes the rules produce (the values of WM_NCHITTEST's answers).
namespace hit {
inline constexpr int kNowhere = 0;
inline constexpr int kClient = 1;
inline constexpr int kCaption = 2;
inline constexpr int kMenu = 5;
inline constexpr int kBorder = 18;
}  // namespace hit

enum TBorderKind { bkSizeable, bkSingle, bkNone, bkDialog };
enum TMdiKind { mkNone, mkFrame, mkChild };
enum TFrameState { frNormal, frMaximized, frMinimized };

// Bits of the title-button flags: which boxes the window had before the skin took them.
namespace boxflag {
inline constexpr std::uint8_t kMaximize = 1;
inline constexpr std::uint8_t kMinimize = 2;
inline constexpr std::uint8_t kSystemMenu = 8;
inline constexpr std::uint8_t kCaptionRemoved = 0x10;
}  // namespace boxflag

// bkNone for a popup without a full caption, bkSizeable for a sizing frame, bkDialog for a modal
// frame and for message boxes and dialogs (classes "#32770" and "TMessageForm"), else bkSingle.
TBorderKind DecideBorderKind(std::uint32_t style, std::u16string_view className);
bool IsDialogClass(std::u16string_view className);

// The skinned non-client band: left, top (the title bar), right and bottom edge widths.
struct FrameMetrics {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const FrameMetrics&, const FrameMetrics&) = default;
};
// Each edge's width is its image's cell size across the window (top and bottom edge cells are
// stacked); an edge without an image is 0 wide; bkNone has no frame at all.
FrameMetrics ComputeFrameMetrics(const TSkinContent& skin, TBorderKind kind);

// The boxes a window has, from its style and whether it has a system menu.
std::uint8_t BoxFlagsOf(std::uint32_t style, bool hasSystemMenu);

// The style with the caption styles taken away: an owned window or an MDI child keeps its caption
// and loses only its boxes; any other window loses the caption (its boxes stay in the style, where
// the system menu still reads them). The bits taken are added to `removed`, so a second strip
// takes nothing more and the record stays whole.
std::uint32_t StripFrameStyles(std::uint32_t style, bool ownedOrMdiChild, std::uint32_t& removed);
// The style with exactly the recorded bits put back (boxes the window never had are not added);
// the record is emptied.
std::uint32_t RestoreFrameStyles(std::uint32_t style, std::uint32_t& removed);

// The client area the skinned frame leaves inside a window of the given size (clamped, so a window
// smaller than its frame gets an empty client area at the frame's inner corner, never an inverted
// one), and the smallest window that shows the whole frame.
SkinRect SkinnedClientRect(const SkinRect& window, const FrameMetrics& m, int menuBarHeight);
struct MinimumSize {
  int width = 0;
  int height = 0;
};
MinimumSize MinimumFrameSize(const FrameMetrics& m, int menuBarHeight);

// The window size that keeps a client area inside the skinned frame.
MinimumSize WindowSizeForClient(int clientWidth, int clientHeight, const FrameMetrics& m, int menuBarHeight);

// Where the caption goes in the title rectangle (window coordinates) and where its text is drawn.
struct CaptionInput {
  SkinRect title;         // the title bar between the left and right edges
  int textWidth = 0;      // the measured caption (prefix, a space and the window text)
  int textHeight = 0;
  bool rightToLeft = false;
  bool popupStyle = false;  // the window has WS_POPUP
  bool dialog = false;      // bkDialog
  int buttonsLeft = 0;      // the smallest left edge of the right-aligned title buttons, 0 when none
};
struct CaptionLayout {
  SkinRect block;  // caption background strip and text together
  SkinRect text;   // where the text is drawn
};
CaptionLayout LayOutCaption(const TDataSkinTitle& title, const CaptionInput& in);

// What a title button's visibility rules read of the window.
struct TitleButtonContext {
  std::uint8_t boxFlags = 0;
  bool maximized = false;
  bool active = true;
  // An MDI frame whose active child is maximised, with a skinned menu bar.
  bool mdiChildMaximizedInMenuBar = false;
  TBorderKind kind = bkSingle;
  bool rightToLeft = false;
  int windowWidth = 0;
  FrameMetrics metrics;
  int menuBarHeight = 0;
  SkinRect caption;           // the caption block of this paint (buttons beside the caption)
  int menuBarLeftWidth = 0;   // the menu bar object's left part, 0 without one
};
bool TitleButtonVisible(const TDataSkinSysButton& button, const TitleButtonContext& ctx);
// The button's place in window coordinates; an empty rectangle for a button without an image.
// The button's place in window coordinates for a cell of the given size (a button that shows the
// window's icon has the icon's size).
SkinRect TitleButtonRect(const TDataSkinSysButton& button, int cellWidth, int cellHeight,
                         const TitleButtonContext& ctx);
// Right-aligned buttons (Align 1) do not depend on the caption: their smallest left edge clips it.
bool IsRightAligned(const TDataSkinSysButton& button);
// Title-button states.
inline constexpr int kButtonNormal = 1;
inline constexpr int kButtonPressed = 2;
inline constexpr int kButtonHot = 3;
// The cell a title button shows, within its cell count: 2 pressed, 3 hot (4 for the MDI buttons,
// which sit in the menu bar), otherwise 1, or 4 in an inactive window when the image has 4 cells.
int TitleButtonCell(const TDataSkinSysButton& button, int state, bool active);

// The skinned answer to WM_NCHITTEST given the window procedure's own answer and the point in
// window coordinates: the title bar drags the window (below the outer four rows), the menu band is
// the menu, the rest of a wide skinned edge is border; every other answer stands.
int SkinnedHitTest(int defaultAnswer, int x, int y, int windowWidth, const FrameMetrics& m, int menuBarHeight);

}  // namespace qlt
