// The pictures of the scenario editor window: the tool bar's images (open, save, save as) and
// the window's icon, drawn from small pixel maps in the source.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace kv::execution {

struct ImageListDeleter {
    void operator()(HIMAGELIST images) const noexcept { ImageList_Destroy(images); }
};
using ImageListOwner = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;
struct IconDeleter {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using IconOwner = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Three 16 x 16 images: open, save, save as.
ImageListOwner CreateToolBarImages();
// The window's 16 x 16 icon.
IconOwner CreateEditorIcon();

} // namespace kv::execution
