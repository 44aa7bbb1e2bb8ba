#pragma once
// Helpers of the skinned frame's tests: the gallery's windows under the skin engine, in this
// program, with either of the two skins; the skin's objects read from its file apart from the
// engine (every expected value comes from them); what the skin puts on the screen at a point of a
// window's frame; the title buttons by action; and the popup menu driven from a timer of this
// thread while its menu loop runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gallery/FrmGallery.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/SkinObjects.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/SkinOnScreen.h"
#include "tests/win/UiTestSupport.h"
#include "ui/Handles.h"

namespace qlt::test {

enum class GallerySkin { Slate, Pine };
// For parameterised test names.
std::string SkinCaseName(GallerySkin skin);
// The packed skin file of the build.
std::wstring SkinFilePath(GallerySkin skin);
std::string SkinFileBytes(GallerySkin skin);
// A skin's objects as a reader of the file builds them, independently of the engine's copy.
std::unique_ptr<TSkinContent> ReadSkinContent(const std::string& packed);
// The skin with every entry as it is but the description changed by `edit` (a key line added to
// a section, or replaced), packed again; written to a file of the temporary folder.
std::wstring WriteEditedSkin(GallerySkin skin, const std::string& name,
                             const std::function<void(std::string& description)>& edit);

// The client size a form's description gives.
SIZE DesignedClientSize(const TForm& form);
SIZE ClientSize(HWND window);
SIZE WindowSize(HWND window);
// A copy of the window's region (window coordinates), as GetWindowRgn gives it.
struct WindowRegion {
  int kind = ERROR;  // GetWindowRgn's answer: ERROR when the window has no region
  UniqueRegion region;
  // PtInRegion; a window without a region contains every point.
  bool Contains(int x, int y) const;
  RECT Box() const;
};
WindowRegion RegionOf(HWND window);

// The skin engine with the gallery's main form for one test. The form reads the skin given (Slate
// is the one embedded in its description; Pine comes from the second skin's file), is shown and
// waited for until the engine has skinned it and fitted it to the frame.
struct HostOptions {
  bool show = true;
  std::unique_ptr<TSkinManage> manager;  // the engine's manager (a test's), or the real one
  std::wstring skinFile;                 // a skin file in place of the skin's own
};
class GalleryHost {
 public:
  explicit GalleryHost(GallerySkin skin, bool show = true) : GalleryHost(skin, HostOptions{show, nullptr, L""}) {}
  GalleryHost(GallerySkin skin, HostOptions options);
  ~GalleryHost();
  GalleryHost(const GalleryHost&) = delete;
  GalleryHost& operator=(const GalleryHost&) = delete;

  TFrm_Gallery& Gallery() const { return *gallery_; }
  HWND Window() const { return gallery_->Handle(); }
  TSkinData& Skin() const { return *gallery_->SkinData1; }
  // Frees the form before the engine (a test may want the other order: ReleaseEngine first).
  void FreeGallery();
  void ReleaseEngine();

 private:
  std::unique_ptr<TSkinEngine> engine_;
  TFrm_Gallery* gallery_ = nullptr;
};

// A point of the screen that no window of the tests covers (above the taskbar, right).
inline constexpr POINT kParkedPointer{1010, 700};
// A place for another window to activate, away from the gallery's windows.
inline constexpr RECT kOtherWindowPlace{620, 420, 960, 640};

// The live form skinner of a window, or nullptr.
TWinSkinForm* SkinnerOf(HWND window);
// Waits until the window has an active form skinner that has fitted it to the frame.
bool WaitSkinned(HWND window, std::chrono::milliseconds timeout = 5s);
// Waits until the engine has taken its skinner away again.
bool WaitUnskinned(HWND window, std::chrono::milliseconds timeout = 5s);
// Activates the window for real (foreground) and waits for it.
bool Activate(HWND window);
// Asks the window's procedure for a hit-test answer at a point of the window (window coordinates).
LRESULT HitTest(HWND window, int x, int y);
// A point of the window (window coordinates) on the screen.
POINT OnScreen(HWND window, int x, int y);

// A title button's description in the skin, by its action (-1 for none), and the cell it shows.
const TDataSkinSysButton* SkinButton(const TSkinContent& skin, int action);
// The button's place in a window of width w, where a right-aligned one sits (Align 1).
RECT RightAlignedButtonRect(const TDataSkinSysButton& button, int windowWidth);

// What the frame shows at window coordinates, from the skin alone. Only points the skin decides
// unambiguously are checked: the fixed corners of every edge, the stretched or tiled middles (any
// of the middle's pixels of that column or row will do), and the title's fixed ends outside the
// title buttons and the caption (`dialog`: a dialog's caption, which has no icon before it). Points
// beyond the screen (a maximised window's edges) are not checked. Pixels the window's shape leaves out (magenta of an edge with
// Trans) are checked against the region instead.
struct FrameProbe {
  int x = 0;
  int y = 0;
  std::vector<Bgr> allowed;   // any of these (empty: the pixel is cut out of the window)
  const char* edge = "";
};
std::vector<FrameProbe> FrameProbes(const TSkinContent& skin, int w, int h, bool active,
                                    const std::vector<RECT>& exclude, bool dialog = false);
// Mismatches of a grab of the window whose top-left corner is at `origin` on the screen against
// the probes and the region (at most `limit`, as text).
std::vector<std::string> FrameMismatches(const ScreenGrab& grab, POINT origin, const std::vector<FrameProbe>& probes,
                                         const WindowRegion& region, size_t limit = 8);
// Mismatches of a title button's cell (window coordinates) against the grab (magenta pixels of
// the cell skipped).
std::vector<std::string> CellMismatches(const ScreenGrab& grab, POINT origin, const RECT& place, const Bitmap24& image,
                                        int cells, int cell, size_t limit = 8);
// Waits until `check` finds nothing on a fresh grab of the window's part on the screen (given with
// the window's top-left corner); the last mismatches otherwise. With a `holder`, the check counts
// only while that window is the foreground one: Wine can hand the activation back to an earlier
// window when the desktop's focus event arrives late, and the holder then takes it again.
using ScreenCheck = std::function<std::vector<std::string>(const ScreenGrab& grab, POINT origin)>;
std::vector<std::string> WaitForScreen(HWND window, const ScreenCheck& check, std::chrono::milliseconds timeout = 3s,
                                       HWND holder = nullptr);

// ---- Small things the frame's tests read ----

// The edge widths a skin gives a window with a frame: each edge image's cell across the window.
struct Edges {
  int left, top, right, bottom;
};
Edges EdgesOf(const TSkinContent& skin);
// Where the client area sits in the window.
POINT ClientOffset(HWND window);
// The height of the skinned menu bar inside the window's frame (0 without one).
int SkinnedMenuBarHeight(HWND window);
// Whether the client area sits inside the skin's edges (and below its menu bar, if any).
bool ClientInsideEdges(HWND window, const Edges& edges);
GallerySkin OtherSkin(GallerySkin skin);
inline bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

// The frame's tests, run with each skin: the skin's objects read from its file, the gallery under
// the engine, and what the gallery's windows show of the skin.
class GalleryFrameTest : public ::testing::TestWithParam<GallerySkin> {
 protected:
  void SetUp() override;
  void TearDown() override { host_.reset(); }

  // The gallery, shown and skinned (or left unshown for a test that shows it itself).
  void Open(bool show = true);
  void Open(HostOptions options);
  // NAME of a screenshot: "frame-SKIN-what".
  std::wstring Shot(const std::string& what) const;
  // Where the skinner shows title buttons (their own checks hold them to the skin): the edges'
  // checks leave those places out.
  static std::vector<RECT> ButtonPlaces(HWND window);
  static std::vector<std::string> FrameCheck(const TSkinContent& skin, HWND window, const ScreenGrab& grab,
                                             POINT origin, bool active);
  // Waits until the window's frame shows the skin (this test's, or the one given); what differs.
  // With a `holder`, checked while that window holds the activation.
  std::vector<std::string> FrameOnScreen(HWND window, bool active, const TSkinContent* skin = nullptr,
                                         HWND holder = nullptr);
  // The title buttons at the right end that both skins have: close 0, maximise 1, minimise 2.
  const TDataSkinSysButton& Button(int action) const;
  // Its place in the gallery's window as it is now, and that place's centre on the screen.
  RECT Place(int action) const;
  POINT CentreOf(const RECT& place) const;
  // Waits until the button shows the cell; what differs.
  std::vector<std::string> ButtonCellOnScreen(int action, int cell);
  // A point of the gallery's title bar that is no button: the caption's.
  POINT CaptionPoint() const;

  std::unique_ptr<TSkinContent> skin_;
  std::unique_ptr<GalleryHost> host_;
  HWND window_ = nullptr;
};

// A popup menu window ("#32768") of this thread that shows, or nullptr.
HWND OpenMenuWindow();
// Runs `act` (from a timer of this thread, which the menu loop keeps running) once a popup menu
// shows; `act` gets the menu window and its menu and answers with real input.
class WhileMenuOpen {
 public:
  explicit WhileMenuOpen(std::function<void(HWND menuWindow, HMENU menu)> act);
  ~WhileMenuOpen();
  WhileMenuOpen(const WhileMenuOpen&) = delete;
  WhileMenuOpen& operator=(const WhileMenuOpen&) = delete;
  bool Seen() const { return seen_; }
  // The menu's item texts as the menu holds them.
  const std::vector<std::wstring>& Items() const { return items_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  std::function<void(HWND, HMENU)> act_;
  UINT_PTR timer_ = 0;
  bool seen_ = false;
  std::vector<std::wstring> items_;
};
// Real key input without waiting (for use inside a menu loop).
void SendKeyNow(WORD vk);

// The process's GDI objects over 1000 `repaint` calls, 1000 `hover` calls and 200 `switchSkin`
// calls (each turns the skin off and on again), each counted after one call of its own: empty when
// none grew, else which grew and by how much.
std::string GdiGrowth(const std::function<void()>& repaint, const std::function<void()>& hover,
                      const std::function<void()>& switchSkin);

}  // namespace qlt::test
