#include "skin/controls/ControlDiscovery.h"

#include <algorithm>
#include <vector>

#include "skin/controls/SkinControl.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Utf.h"

namespace qlt {

namespace {

template <class T>
bool Is(const TComponent* c) {
  return c->InheritsFrom(T::StaticClass());
}

std::u16string UpperClassName(const TComponent* c) { return Widen(AsciiUpper(c->ClassName())); }

std::u16string LowerClassOfWindow(HWND window) {
  wchar_t name[101] = {};
  const int n = GetClassNameW(window, name, 101);
  return AsciiLower(std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(std::max(n, 0))));
}

bool Has(const TSkinData& sd, TSkinControlType kind) { return (sd.SkinControls() & SkinControlBit(kind)) != 0; }

bool HasScrollBars(TComponent* c) {
  auto* w = dynamic_cast<TWinControl*>(c);
  if (!w) return false;
  if (Is<TListBox>(c) || c->Tag() == 55) return true;
  if (!w->HandleAllocated()) return false;
  return (GetWindowLongW(w->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

// Whether a control already has a skinner of this form: a windowless one by its object, a
// windowed one by its window.
bool IsComponentSkinned(TWinSkinForm& form, TComponent* component) {
  auto* windowed = dynamic_cast<TWinControl*>(component);
  for (TSkinControl* s : form.ControlSkinners()) {
    if (s->LifeState() == lsDead) continue;
    if (s->Owner() == component || s->Control() == component) return true;
    if (windowed && windowed->HandleAllocated() && s->Handle() == windowed->Handle()) return true;
  }
  return false;
}

// The kind a control of a form gets by the built-in table, or nothing (with `recurse` set for the
// containers whose own components are walked).
SkinnerKind KindOfComponent(TComponent* c, const TSkinData& sd, bool& ownColour, bool& recurse) {
  ownColour = false;
  recurse = false;
  const std::u16string n = UpperClassName(c);
  if (n == u"TDBCOMBOBOXEH" || n == u"TQRPREVIEW" || n == u"TFRDESIGNERPAGE" || n == u"TFRPBOX") return SkinnerKind::kNone;
  const bool tabs = Has(sd, xcTab) && sd.Tabs && !sd.Tabs->Image.Empty();
  if (n == u"TMVCPANEL") {
    recurse = true;
    return SkinnerKind::kNone;
  }
  if (Is<TPageControl>(c) && tabs) return SkinnerKind::kTab;
  if (Is<TCheckBox>(c)) return Has(sd, xcCheckBox) ? SkinnerKind::kCheckBox : SkinnerKind::kNone;
  if (n == u"TTRACKBAR") return Has(sd, xcButton) ? SkinnerKind::kTrackBar : SkinnerKind::kNone;
  if (n == u"TUPDOWN") return Has(sd, xcButton) ? SkinnerKind::kUpDown : SkinnerKind::kNone;
  if (Is<TGroupBox>(c)) {
    if (!Has(sd, xcPanel)) return SkinnerKind::kNone;
    ownColour = recurse = true;
    return SkinnerKind::kGroupBox;
  }
  if (Is<TRadioButton>(c)) return Has(sd, xcRadioButton) ? SkinnerKind::kRadioButton : SkinnerKind::kNone;
  if (Is<TComboBox>(c)) return Has(sd, xcCombo) ? SkinnerKind::kComboBox : SkinnerKind::kNone;
  // A bit button without its switch stays plain: it never falls through to the push buttons.
  if (Is<TBitBtn>(c)) return Has(sd, xcBitBtn) ? SkinnerKind::kBitButton : SkinnerKind::kNone;
  if (Is<TSpeedButton>(c)) return Has(sd, xcSpeedButton) ? SkinnerKind::kSpeedButton : SkinnerKind::kNone;
  if (Is<TPanel>(c)) {
    if (!Has(sd, xcPanel)) return SkinnerKind::kNone;
    ownColour = recurse = true;
    return SkinnerKind::kBox;
  }
  if (HasScrollBars(c) && Has(sd, xcScrollbar)) return SkinnerKind::kScrollbar;
  if (Is<TButton>(c)) return Has(sd, xcButton) ? SkinnerKind::kButton : SkinnerKind::kNone;
  if (Is<TCustomEdit>(c)) return Has(sd, xcEdit) ? SkinnerKind::kEdit : SkinnerKind::kNone;
  if (Is<TForm>(c)) {
    // Only a form placed inside this one: an owned form with a window of its own (a dialog the
    // form opens) gets a form skinner of its own, and its controls get their skinners from that.
    if (!static_cast<TForm*>(c)->Parent()) return SkinnerKind::kNone;
    ownColour = recurse = true;
    return SkinnerKind::kBox;
  }
  return SkinnerKind::kNone;
}

// A row of Skin3rd names the kind of a class of another library: the first row that starts with
// the class name and "=" decides. Returns false when no row names the class.
bool KindOfSkin3rd(const std::u16string& upperName, TSkinData& sd, SkinnerKind& kind, bool& ownColour) {
  const std::u16string prefix = AsciiLower(upperName) + u"=";
  TStringList* rows = sd.Skin3rd();
  for (int i = 0; i < rows->Count(); ++i) {
    const std::u16string row = AsciiLower((*rows)[i]);
    if (row.compare(0, prefix.size(), prefix) != 0) continue;
    const std::u16string word = row.substr(prefix.size(), 50);
    if (word.empty()) return false;
    kind = SkinnerKind::kNone;
    ownColour = false;
    if (word == u"combobox" && Has(sd, xcCombo)) kind = SkinnerKind::kComboBox;
    else if (word == u"edit" && Has(sd, xcEdit)) kind = SkinnerKind::kEdit;
    else if (word == u"radiobutton" && Has(sd, xcRadioButton)) kind = SkinnerKind::kRadioButton;
    else if (word == u"panel" && Has(sd, xcPanel)) kind = SkinnerKind::kBox, ownColour = true;
    else if (word == u"trackbar" && Has(sd, xcButton)) kind = SkinnerKind::kTrackBar;
    else if (word == u"button" && Has(sd, xcButton)) kind = SkinnerKind::kButton;
    else if (word == u"bitbtn" && Has(sd, xcButton)) kind = SkinnerKind::kBitButton;
    else if (word == u"speedbutton" && Has(sd, xcSpeedButton)) kind = SkinnerKind::kSpeedButton;
    else if (word == u"tab" && Has(sd, xcTab) && sd.Tabs) kind = SkinnerKind::kTab;
    else if (word == u"progress" && Has(sd, xcProgress)) kind = SkinnerKind::kProgress;
    else if (word == u"scrollbar" && Has(sd, xcScrollbar)) kind = SkinnerKind::kScrollbar;
    else if ((word == u"groupbox" || word == u"radiogroup") && Has(sd, xcGroupBox)) kind = SkinnerKind::kGroupBox, ownColour = true;
    else if (word == u"checkgroup" && Has(sd, xcPanel) && Has(sd, xcGroupBox)) kind = SkinnerKind::kGroupBox, ownColour = true;
    else if (word == u"checkbox" && Has(sd, xcCheckBox)) kind = SkinnerKind::kCheckBox;
    // "nil", a kind whose switch is off and any other word: the class stays plain.
    return true;
  }
  return false;
}

// The windows of a class among a window's descendants that the framework did not make (it has no
// class for them: the program made them itself).
void CollectForeignWindows(HWND parent, const std::u16string& lowerClass, std::vector<HWND>& found) {
  for (HWND c = GetTopWindow(parent); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!TWinControl::FindControl(c)) {
      if (LowerClassOfWindow(c) == lowerClass) found.push_back(c);
      continue;  // the inside of a window of its own is its own business
    }
    CollectForeignWindows(c, lowerClass, found);
  }
}
void CollectForeignScrollBars(HWND parent, std::vector<HWND>& bars) { CollectForeignWindows(parent, u"scrollbar", bars); }

// The system's status bars, progress bars and track bars among a window's descendants that the
// framework did not make (it has no classes of them: the program made them itself).
void CollectForeignBars(HWND parent, std::vector<HWND>& bars) {
  for (HWND c = GetTopWindow(parent); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!TWinControl::FindControl(c)) {
      if (IsBarClass(LowerClassOfWindow(c))) bars.push_back(c);
      continue;
    }
    CollectForeignBars(c, bars);
  }
}

void Attach(TWinSkinForm& form, TSkinControl* skinner, bool ownColour) {
  if (!skinner) return;
  skinner->AttachControl(&form, form.Skin(), ownColour);
  // A skinner that could not attach is of no use to anyone.
  if (!skinner->Attached()) delete skinner;
}

// A skinner that works on a window (it belongs to the form skinner).
void AttachToWindow(TWinSkinForm& form, SkinnerKind kind, HWND window) {
  TSkinControl* skinner = CreateSkinner(kind, &form);
  if (!skinner) return;
  skinner->AttachWindow(window, form.Skin(), &form);
  if (!skinner->Attached()) delete skinner;
}

}  // namespace

bool IsBarClass(const std::u16string& c) {
  return c == u"msctls_statusbar32" || c == u"msctls_progress32" || c == u"msctls_trackbar32";
}

SkinnerKind KindOfBarWindow(const std::u16string& c, std::uint32_t skinControls) {
  auto on = [&](TSkinControlType kind) { return (skinControls & SkinControlBit(kind)) != 0; };
  if (c == u"msctls_statusbar32") return on(xcStatusBar) ? SkinnerKind::kStatusBar : SkinnerKind::kNone;
  if (c == u"msctls_progress32") return on(xcProgress) ? SkinnerKind::kProgress : SkinnerKind::kNone;
  // Track bars go with the buttons, as the framework's track bar class does.
  if (c == u"msctls_trackbar32") return on(xcButton) ? SkinnerKind::kTrackBar : SkinnerKind::kNone;
  return SkinnerKind::kNone;
}

void SkinForeignBars(TWinSkinForm& form) {
  TSkinData* sd = form.Skin();
  if (!sd || !form.Window()) return;
  std::vector<HWND> bars;
  CollectForeignBars(form.Window(), bars);
  for (HWND bar : bars) {
    if (form.FindControlSkinner(bar)) continue;
    const SkinnerKind kind = KindOfBarWindow(LowerClassOfWindow(bar), sd->SkinControls());
    if (kind == SkinnerKind::kNone) continue;
    TSkinControl* skinner = CreateSkinner(kind, &form);
    if (!skinner) continue;
    skinner->AttachWindow(bar, sd, &form);
    if (!skinner->Attached()) delete skinner;
  }
}

SkinnerKind KindOfChildWindow(const std::u16string& c, DWORD style) {
  if (c == u"button") {
    const DWORD type = style & BS_TYPEMASK;
    switch (type) {
      case BS_GROUPBOX:
      case BS_OWNERDRAW:
        return SkinnerKind::kNone;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return SkinnerKind::kCheckBox;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return SkinnerKind::kRadioButton;
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
      case BS_USERBUTTON:
        return SkinnerKind::kButton;
      default:
        // Split buttons, command links and kinds this engine does not draw keep their own look.
        return SkinnerKind::kNone;
    }
  }
  if (c == u"combobox") return (style & 3) == CBS_SIMPLE ? SkinnerKind::kNone : SkinnerKind::kComboBox;
  if (c == u"scrollbar") {
    // Only size boxes and grips are sizers: a real scroll bar is skinned as one.
    return (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) ? SkinnerKind::kSizer : SkinnerKind::kScrollControl;
  }
  if (c == u"systabcontrol32") return (style & TCS_OWNERDRAWFIXED) ? SkinnerKind::kNone : SkinnerKind::kTab;
  if (c == u"edit") return SkinnerKind::kEdit;
  return SkinnerKind::kNone;
}

void SkinComponents(TWinSkinForm& form, TComponent* container) {
  if (!container || !form.Skin()) return;
  form.PurgeDeadControls();
  // A snapshot: attaching may create components (a skinner is one).
  const std::vector<TComponent*> components = container->ComponentList();
  for (TComponent* c : components) SkinComponent(form, container, c);
  if (container == form.Form()) SkinForeignScrollBars(form);
  if (container == form.Form()) SkinForeignTabControls(form);
  if (container == form.Form()) SkinForeignBars(form);
}

void SkinComponent(TWinSkinForm& form, TComponent* container, TComponent* c) {
  TSkinData* sd = form.Skin();
  if (!sd || !c || dynamic_cast<TSkinControl*>(c) || c->InState(csDestroying)) return;
  if (c->Tag() % 100 == sd->DisableTag()) return;
  if (IsComponentSkinned(form, c)) return;
  if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->HandleAllocated()) {
    try {
      w->HandleNeeded();
    } catch (...) {
      return;  // its window comes later, and the skin with it
    }
  }
  const std::u16string name = UpperClassName(c);
  if (sd->OnSkinControl) {
    TComponent* chosen = nullptr;
    sd->OnSkinControl(&form, sd, container, c, name, chosen);
    if (auto* skinner = dynamic_cast<TSkinControl*>(chosen)) {
      // The application's object: one that cannot attach stays the application's to free.
      if (!form.HasControlSkinner(skinner)) skinner->AttachControl(&form, sd, false);
      return;
    }
  }
  SkinnerKind kind = SkinnerKind::kNone;
  bool ownColour = false, recurse = false;
  if (!KindOfSkin3rd(name, *sd, kind, ownColour)) kind = KindOfComponent(c, *sd, ownColour, recurse);
  if (kind == SkinnerKind::kTab) {
    // Tab controls are skinned by window, page controls too.
    if (auto* w = dynamic_cast<TWinControl*>(c)) AttachToWindow(form, kind, w->Handle());
  } else if (kind != SkinnerKind::kNone) {
    Attach(form, CreateSkinner(kind, c), ownColour);
  }
  if (recurse) SkinComponents(form, c);
}

void SkinForeignScrollBars(TWinSkinForm& form) {
  if (!form.Skin() || !form.Window()) return;
  std::vector<HWND> bars;
  CollectForeignScrollBars(form.Window(), bars);
  for (HWND bar : bars) SkinChildWindow(form, bar);
}

void SkinForeignTabControls(TWinSkinForm& form) {
  TSkinData* sd = form.Skin();
  if (!sd || !form.Window() || !Has(*sd, xcTab) || !sd->Tabs || sd->Tabs->Image.Empty()) return;
  std::vector<HWND> tabs;
  CollectForeignWindows(form.Window(), u"systabcontrol32", tabs);
  for (HWND tab : tabs) SkinChildWindow(form, tab);
}

void SkinChildWindow(TWinSkinForm& form, HWND c) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
  if (!(style & WS_CHILD) || form.FindControlSkinner(c)) return;
  std::u16string cls = LowerClassOfWindow(c);
  HWND target = c;
  if (cls == u"comboboxex32") {
    target = GetTopWindow(c);
    if (!target) return;
    cls = u"combobox";
  }
  const SkinnerKind kind = KindOfChildWindow(cls, static_cast<DWORD>(GetWindowLongW(target, GWL_STYLE)));
  if (kind == SkinnerKind::kNone) return;
  AttachToWindow(form, kind, target);
}

void SkinChildWindows(TWinSkinForm& form) {
  if (!form.Skin()) return;
  std::vector<HWND> children;
  for (HWND c = GetTopWindow(form.Window()); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (HWND c : children) SkinChildWindow(form, c);
}

}  // namespace qlt
