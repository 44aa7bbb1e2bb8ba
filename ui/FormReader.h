#pragma once
// Applies a form description to its root component and writes a root component back as a
// description. Portable: no <windows.h>.
//
// Reading: the root's own properties are set; each nested object creates a component of its
// registered class (or reuses one the root already owns under that name), owned by the root, named,
// given to the root's field of that name, put into its enclosing object (SetParentComponent), and
// its properties are set; references to other components are resolved at the end; then every
// component read, the root first, gets Loaded. Event properties name handler methods of the root's
// class. A description that does not fit (unknown class, property, identifier or handler) raises
// EReadError naming the object, property and line.
#include "ui/Classes.h"
#include "ui/FormText.h"

namespace qlt {

void ReadRootComponent(TComponent& root, const DfmObject& description);
DfmObject WriteRootComponent(TComponent& root);

}  // namespace qlt
