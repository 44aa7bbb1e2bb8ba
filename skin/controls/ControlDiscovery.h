#pragma once
// Which skinner each control of a skinned window gets. A form's components are walked in the order
// of its description (SkinComponents); a window without a form object (a message box, a dialog of
// the system) has its child windows walked instead (SkinChildWindows). Controls whose windows come
// later (a hidden form's controls get theirs when it is first shown) are picked up one by one as
// their windows appear (SkinComponent, from the skin manager's watch on the framework).
#include <windows.h>

#include <cstdint>
#include <string>

namespace qlt {

class TComponent;
class TSkinControl;
class TWinSkinForm;

// What a control is skinned as.
enum class SkinnerKind {
  kNone,
  kButton, kBitButton, kSpeedButton,
  kCheckBox, kRadioButton, kGroupBox,
  kScrollbar,       // a control that scrolls: its scroll bars are the skin's
  kScrollControl,   // a scroll bar control of its own
  kSizer,           // a size box or size grip
  kTab, kComboBox, kEdit, kBox, kStatusBar, kProgress, kTrackBar, kUpDown,
};

// Skins the components `container` owns, in order (dead skinners of the form are freed first).
void SkinComponents(TWinSkinForm& form, TComponent* container);
// Skins one component of `container`, unless it is excluded or skinned already.
void SkinComponent(TWinSkinForm& form, TComponent* container, TComponent* component);
// Skins the direct child windows of a window that has no form object.
void SkinChildWindows(TWinSkinForm& form);
// Skins one child window that has no framework object, by its class and style.
void SkinChildWindow(TWinSkinForm& form, HWND child);
// Skins the scroll bar windows a form's program made itself (they have no framework object),
// wherever they are among the form's windows.
void SkinForeignScrollBars(TWinSkinForm& form);
// Skins the system tab controls a form's program made itself, wherever they are among the form's
// windows (when the skin has tabs and its tab switch is on).
void SkinForeignTabControls(TWinSkinForm& form);

// Skins the system's status bars, progress bars and track bars a form's program made itself
// (they have no framework object), wherever they are among the form's windows, as the skin
// component's switches allow.
void SkinForeignBars(TWinSkinForm& form);
// Whether a lower-case window class is one of those bars, and the kind it gets with the switches
// given (TSkinData::SkinControls).
bool IsBarClass(const std::u16string& lowerClassName);
SkinnerKind KindOfBarWindow(const std::u16string& lowerClassName, std::uint32_t skinControls);

// The kind a bare child window of a window without a form object gets, from its class and style.
SkinnerKind KindOfChildWindow(const std::u16string& lowerClassName, DWORD style);

// Makes the skinner of a kind (nullptr for a kind this build has none for).
TSkinControl* CreateSkinner(SkinnerKind kind, TComponent* owner);

}  // namespace qlt
