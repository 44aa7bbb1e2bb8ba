#pragma once
// Helpers of the skinned menus' tests, in this program and across programs (QLT.exe's tray
// menu): what the skin puts on the screen in a popup menu window, computed from the skin's
// objects alone (its menu background at the window's size, an item's cell over it, a separator),
// compared with a grab of the window; and a popup menu driven step by step while its menu loop
// runs.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/data/SkinObjects.h"
#include "skin/frame/SkinPixels.h"
#include "tests/win/SkinOnScreen.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Handles.h"

namespace qlt::test {

// A skin's objects from its packed file's bytes (nullptr when they cannot be read).
std::unique_ptr<TSkinContent> SkinOfFile(const std::wstring& path);


// The popup window's whole background as the skin draws it at w x h (window coordinates).
PixelBuffer PopupBackground(const TSkinContent& skin, int width, int height);
// The popup window as the skin composes it without the items' content (caption, glyph): the
// background, and each item's cell over it (the selected one's where `selected` says, the
// separator's for separators). Items in window coordinates.
struct ShownItem {
  RECT rect{};
  bool separator = false;
  bool selected = false;
};
PixelBuffer ComposedMenu(const TSkinContent& skin, int width, int height, const std::vector<ShownItem>& items);

// Where an item drawn by the skin has no content (window coordinates): left of the caption's room
// (the glyph square left out when the item shows a glyph), and the last 11 columns unless the
// system draws a sub-menu arrow there. A separator has none.
std::vector<RECT> ContentFreeAreas(const TSkinContent& skin, const RECT& item, int glyphSize, bool glyph,
                                   bool subMenu);
// The room of an item's caption (window coordinates), without images.
RECT CaptionRoom(const TSkinContent& skin, const RECT& item);
// The border strips of a popup of w x h (window coordinates).
std::vector<RECT> BorderAreas(int width, int height);

// Mismatches of a grab (the window's top-left at `origin` on the screen) against the expected
// pixels (window coordinates) in the areas, as text (at most `limit`).
std::vector<std::string> PixelMismatches(const ScreenGrab& grab, POINT origin, PixelBuffer& expected,
                                         const std::vector<RECT>& areas, size_t limit = 8);

// An entry of a menu window as a check of the screen takes it (window coordinates): whether the
// skin draws it, and what leaves parts of it to the content (a glyph, the system's sub-menu arrow).
struct MenuEntry {
  RECT rect{};
  bool skinned = true;
  bool separator = false;
  bool glyph = false;
  bool subMenu = false;
};
// Mismatches of the menu window on the screen against the skin: its border, and every entry the
// skin draws: a separator whole, an item's parts without content (its cell over the popup's
// background; entry `selected` in the selected cell). `glyphSize` as the items' painter takes it.
std::vector<std::string> MenuWindowMismatches(const TSkinContent& skin, HWND window,
                                              const std::vector<MenuEntry>& entries, int selected,
                                              int glyphSize = 16);

// The skinned system menu's glyphs as the build drew them: 16 x 16 each (restore, maximise,
// minimise, close), the bottom-left colour transparent.
std::optional<Bitmap24> SystemMenuGlyphs();
// Mismatches of glyph `index` drawn with its top-left at `at` (window coordinates); transparent
// pixels are not checked.
std::vector<std::string> GlyphMismatches(const ScreenGrab& grab, POINT origin, const Bitmap24& glyphs, int index,
                                         POINT at);

// The places of a popup menu's items in its window (window coordinates), as the system lays them
// out; for a menu of this program.
std::vector<RECT> ItemPlaces(HWND menuWindow, HMENU menu);

// The popup menu window of this thread that shows `menu`, or nullptr.
HWND MenuWindowOf(HMENU menu);

// Runs steps one after the other from a timer of this thread while a popup menu shows: the menu's
// own loop keeps the timer running. Each step is polled until it answers true. Once every step is
// done, or the time is up, the menu is closed with a real Escape. A step gets the menu window and
// the menu shown in it.
class MenuScript {
 public:
  using Step = std::function<bool(HWND menuWindow, HMENU menu)>;
  explicit MenuScript(std::vector<Step> steps, std::chrono::milliseconds timeout = std::chrono::seconds(10));
  ~MenuScript();
  MenuScript(const MenuScript&) = delete;
  MenuScript& operator=(const MenuScript&) = delete;
  // Every step answered true before the time was up.
  bool Done() const { return done_ == steps_.size(); }
  // A menu showed, and has closed again.
  bool Finished() const { return finished_; }
  size_t StepsDone() const { return done_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  std::vector<Step> steps_;
  size_t done_ = 0;
  std::chrono::steady_clock::time_point deadline_{};
  bool started_ = false;
  bool closing_ = false;
  int closingTicks_ = 0;
  bool finished_ = false;
  ThreadTimer timer_;
};

}  // namespace qlt::test
