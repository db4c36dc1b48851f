#pragma once
// The interface id that every AccessibleObjectFromWindow call of ours asks for.
// mingw-w64's liboleacc.a exports an IID_IAccessible symbol that resolves to an
// import thunk, not the GUID, when -loleacc precedes -luuid; the compiler's own
// __uuidof never goes through the linker, so it is always the real id.
#include <oleacc.h>

namespace tvx {
inline const IID& AccessibleIid() { return __uuidof(IAccessible); }
}  // namespace tvx
