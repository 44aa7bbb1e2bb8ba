// TWinSkinForm: the control skinners of the window.
#include <algorithm>

#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinControl.h"
#include "skin/frame/WinSkinForm.h"
#include "ui/Forms.h"

namespace qlt {

bool TWinSkinForm::AddControlSkinner(TSkinControl* skinner) {
  if (HasControlSkinner(skinner)) return true;
  controlSkinners_.push_back(skinner);
  return false;
}

void TWinSkinForm::RemoveControlSkinner(TSkinControl* skinner) {
  std::erase(controlSkinners_, skinner);
  if (hotButton_ == skinner) hotButton_ = nullptr;
}

bool TWinSkinForm::HasControlSkinner(const TSkinControl* skinner) const {
  return std::find(controlSkinners_.begin(), controlSkinners_.end(), skinner) != controlSkinners_.end();
}

TSkinControl* TWinSkinForm::FindControlSkinner(HWND window) const {
  for (TSkinControl* s : controlSkinners_) {
    if (s->LifeState() != lsDead && s->Handle() == window) return s;
  }
  return nullptr;
}

void TWinSkinForm::PurgeDeadControls() {
  // Out of the list first: their destructors leave it alone then.
  std::vector<TSkinControl*> dead;
  std::erase_if(controlSkinners_, [&](TSkinControl* s) {
    if (s->LifeState() != lsDead) return false;
    dead.push_back(s);
    return true;
  });
  for (TSkinControl* s : dead) {
    if (hotButton_ == s) hotButton_ = nullptr;
    s->ForgetFormSkinner();
    delete s;
  }
}

void TWinSkinForm::FreeControlSkinners() {
  hotButton_ = nullptr;
  std::vector<TSkinControl*> list;
  list.swap(controlSkinners_);
  for (TSkinControl* s : list) {
    s->ForgetFormSkinner();
    delete s;  // gives its control back first
  }
}

void TWinSkinForm::SkinControls() {
  if (form_) {
    SkinComponents(*this, form_);
  } else {
    SkinChildWindows(*this);
  }
}

void TWinSkinForm::SkinLateControl(TComponent* control) {
  if (!subclassed_ || state_ == skDead || state_ == skDestroying || !form_) return;
  // A control whose window was made again (RecreateWnd) still has the skinner of its old window,
  // dead but hooked into its messages: it goes before the new window gets its skinner.
  PurgeDeadControls();
  SkinComponent(*this, control->Owner() ? control->Owner() : form_, control);
}

void TWinSkinForm::LeaveHotButton() {
  if (TSkinControl* hot = std::exchange(hotButton_, nullptr)) hot->SendMouseLeave();
}

}  // namespace qlt
