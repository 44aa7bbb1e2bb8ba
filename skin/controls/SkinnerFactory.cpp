// The skinner of each kind: one place that knows every control skinner class.
#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinControl.h"

namespace qlt {

TSkinControl* CreateSkinner(SkinnerKind kind, TComponent* owner) {
  switch (kind) {
    default:
      return nullptr;
  }
}

}  // namespace qlt
