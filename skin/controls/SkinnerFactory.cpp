// The skinner of each kind: one place that knows every control skinner class.
#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinBars.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinMarks.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/controls/SkinTabs.h"

namespace qlt {

TSkinControl* CreateSkinner(SkinnerKind kind, TComponent* owner) {
  switch (kind) {
    case SkinnerKind::kButton:
      return new TSkinButton(owner);
    case SkinnerKind::kCheckBox:
      return new TSkinCheckBox(owner);
    case SkinnerKind::kRadioButton:
      return new TSkinRadioButton(owner);
    case SkinnerKind::kGroupBox:
      return new TSkinGroupBox(owner);
    case SkinnerKind::kBitButton:
      return new TSkinBitButton(owner);
    case SkinnerKind::kSpeedButton:
      return new TSkinSpeedButton(owner);
    case SkinnerKind::kScrollbar:
      return new TSkinScrollbar(owner);
    case SkinnerKind::kScrollControl:
      return new TSkinScControl(owner);
    case SkinnerKind::kSizer:
      return new TSkinSizer(owner);
    case SkinnerKind::kEdit:
      return new TSkinEdit(owner);
    case SkinnerKind::kUpDown:
      return new TSkinUpDown(owner);
    case SkinnerKind::kComboBox:
      return new TSkinComBox(owner);
    case SkinnerKind::kTab:
      return new TSkinTab(owner);
    // Plain containers, status bars, progress bars and track bars.
    case SkinnerKind::kBox:
      return new TSkinBox(owner);
    case SkinnerKind::kStatusBar:
      return new TSkinStatusBar(owner);
    case SkinnerKind::kProgress:
      return new TSkinProgress(owner);
    case SkinnerKind::kTrackBar:
      return new TSkinTrackBar(owner);
    default:
      return nullptr;
  }
}

}  // namespace qlt
