// The object behind a window of the library: its window procedure finds it in the window's user
// data, stored there from the creation parameter when the window is made.
#pragma once

#include <windows.h>

namespace kv::execution {

// The object of the window (null before WM_NCCREATE); call first in the window procedure.
template <class Object> Object* WindowObject(HWND window, UINT message, LPARAM lparam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(
                              reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams));
    return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace kv::execution
