#pragma once
// TSkinData, the component that carries a skin and switches skinning on and off. QLT's main window
// holds one (SkinData1) whose packed skin travels in the form description as "SkinStream"; while the
// form is read the skin is unpacked into skin objects (TSkinContent), and once the form is loaded
// the component registers with the skin manager and asks it to skin the program's windows. The
// frame, control and menu painters read the skin from here.
//
// A skin that cannot be read (the old format, or damaged) never stops the program: the component
// tells the user once and the program runs unskinned.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "skin/data/SkinObjects.h"
#include "skin/data/SkinTypes.h"
#include "ui/Classes.h"
#include "ui/Graphics.h"
#include "ui/Handles.h"

namespace qlt {

class TSkinData;

// Lets the application veto skinning of a window class (DoSkin arrives true).
using TOnFormSkin = std::function<void(TObject* Sender, const std::u16string& aName, bool& DoSkin)>;
// Lets the application supply its own control skinner: Sender is the form skinner, Form the
// container whose components are walked, ControlClass the class name in upper case.
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TComponent* Form,
                                          TComponent* Control, const std::u16string& ControlClass,
                                          TComponent*& SkinnedControl)>;

// How the skin engine tells the user about a skin it cannot use: the application's simple message
// box by default. Tests put their own in place.
using SkinMessageHandler = std::function<void(const std::u16string& text)>;
SkinMessageHandler& SkinMessageBox();

// DrawTextA with the text in the system's ANSI code page (the text routine of the Windows 9x family).
int DrawTextAnsi(HDC dc, std::u16string_view text, RECT& rect, UINT format);
// What DrawText may write beyond a text's end with DT_MODIFYSTRING: an ellipsis and its NUL.
inline constexpr std::size_t kModifiedTextRoom = 4;

// A skin colour as a GDI colour: system colours through GetSysColor, clNone and values not given as
// the fallback.
COLORREF SkinColourToRgb(TColor colour, COLORREF fallback);

class TSkinData : public TComponent, public TSkinContent {
  QLT_CLASS(TSkinData)
 public:
  static constexpr const char16_t* kVersion = u"2.71.10.28";

  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  // Published properties.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag() const { return disableTag_; }
  void SetDisableTag(int32_t value) { disableTag_ = value; }
  TSkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControlTypes value) { skinControls_ = value; }
  TStringList* Skin3rd() { return &skin3rd_; }
  const std::u16string& SkinFile() const { return skinFile_; }
  void SetSkinFile(const std::u16string& path);
  // Reads "(none)" in the running program; what is written has no effect.
  std::u16string SkinStore() const { return u"(none)"; }
  void SetSkinStore(const std::u16string&) {}
  TSkinFormType SkinFormtype() const { return skinFormtype_; }
  void SetSkinFormtype(TSkinFormType value) { skinFormtype_ = value; }
  // Fixed; what is written has no effect.
  std::u16string Version() const { return kVersion; }
  void SetVersion(const std::u16string&) {}
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool value) { menuUpdate_ = value; }
  bool MenuMerge() const { return menuMerge_; }
  void SetMenuMerge(bool value) { menuMerge_ = value; }

  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  // Unpacks and parses SkinStream into the skin objects. False when the skin cannot be read: the
  // user has been told, NoSkin stays set and the objects of an earlier load stay as they were.
  bool LoadSkin();
  void Loaded() override;
  void DefineProperties(TFiler& filer) override;  // "SkinStream"
  // The "SkinStream" property: a 32-bit little-endian byte count and that many bytes of packed skin.
  void ReadSkinStream(std::string_view data);
  std::string WriteSkinStream() const;

  // Asked by the skin manager whether windows of a class may be skinned (DoSkin arrives true).
  void DoFormSkin(const std::u16string& name, bool& doSkin);
  // Fires OnSkinChanged; called by the skin manager after it has carried out a requested action.
  void DoSkinChanged();
  // Text for the painters: DrawTextW on the NT family, the ANSI code page elsewhere. The text is
  // never written to: with DT_MODIFYSTRING the system shortens a copy.
  int DrawSkinText(HDC dc, std::u16string_view text, RECT& rect, UINT format) const;
  // The largest skin file read: far above any skin, far below what would exhaust memory.
  static constexpr std::uintmax_t kMaxSkinFileSize = 16u << 20;
  // Bytes a packed skin may lack at its end and still be whole (its last bits read as zeros).
  static constexpr std::uint64_t kToleratedMissingBytes = 1;

  // The packed skin as read from the form data or from a skin file.
  TMemoryStream SkinStream;
  // True while no description has been read completely.
  bool NoSkin = true;
  // The frame painter leaves a window's frame alone while this is false.
  bool FramePaintEnabled = true;

  // A solid brush of ButtonFaceColour, made at the end of each load.
  HBRUSH FaceBrush() const { return faceBrush_.Get(); }
  // Empty until the frame skinner stores a window icon here.
  TBitmap* IconBitmap() { return &iconBitmap_; }
  // The skinned system menu's images: restore, maximise, minimise, close, 16 x 16 each.
  TImageList* MenuGlyphs() { return menuGlyphs_.get(); }

 private:
  void LoadMenuGlyphs();
  // True while the component is read from a description or designed: Loaded takes over then.
  bool Deferred() const { return InState(csLoading) || InState(csDesigning); }

  bool active_ = false;
  int32_t disableTag_ = 99;
  TSkinControlTypes skinControls_ = kDefaultSkinControls;
  TStringList skin3rd_;
  std::u16string skinFile_;
  TSkinFormType skinFormtype_ = sfMainform;
  bool menuUpdate_ = true;
  bool menuMerge_ = false;
  UniqueBrush faceBrush_;
  TBitmap iconBitmap_;
  std::unique_ptr<TImageList> menuGlyphs_;
};

}  // namespace qlt
