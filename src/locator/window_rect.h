#pragma once
// Window handles as the system keeps them (32 bits) and the rectangles of windows.
#include <windows.h>

#include "locator/element.h"

namespace tvx {

// Window handles carry 32 significant bits; widening sign-extends, as Windows does.
inline HWND HwndOf(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(window)));
}
inline WindowHandle HandleOf(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window));
}

// The window's outer rectangle, frame included, in screen pixels; {0,0,0,0}
// for 0 or a window that no longer exists.
ElementRect WindowRectOf(WindowHandle window);

}  // namespace tvx
