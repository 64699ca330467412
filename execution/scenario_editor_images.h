// The pictures of the scenario editor window: the tool bar's images (open, save, save as) and
// the window's icon, drawn from small pixel maps in the source.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace kv::execution {

// Three 16 x 16 images: open, save, save as. The caller destroys the list.
HIMAGELIST CreateToolBarImages();
// The window's 16 x 16 icon. The caller destroys it.
HICON CreateEditorIcon();

} // namespace kv::execution
