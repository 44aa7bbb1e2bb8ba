#pragma once
// The vocabulary the skin component shares with the skin manager and the form descriptions: the
// kinds of controls that can be skinned, the scope of a skin component, and the default rows of
// Skin3rd, which map control classes of other libraries to those kinds. Portable: no <windows.h>.
#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/TypeInfo.h"

namespace qlt {

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
  xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab,
  xcSystemMenu, xcFastReport
};
// A set of TSkinControlType: bit n is the kind of ordinal n.
using TSkinControlTypes = std::uint32_t;
constexpr TSkinControlTypes SkinControlBit(TSkinControlType kind) { return TSkinControlTypes{1} << kind; }
// Every kind but xcFastReport: what a new component and QLT's main window skin.
inline constexpr TSkinControlTypes kDefaultSkinControls = (SkinControlBit(xcFastReport) - 1);

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

const TEnumInfo& SkinControlTypeInfo();
const TEnumInfo& SkinFormTypeInfo();

// "Class=kind" rows, in order; the first row that names a class decides its kind.
const std::vector<std::u16string_view>& DefaultSkin3rdRows();

}  // namespace qlt
