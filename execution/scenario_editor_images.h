// The pictures of the scenario editor window: the tool bar's images (open, save, save as) and
// the window's icon, drawn from small pixel maps in the source.
#pragma once

#include "platform/gdi_owners.h"

namespace kv::execution {

// Three 16 x 16 images: open, save, save as.
ImageListOwner CreateToolBarImages();
// The window's 16 x 16 icon.
IconOwner CreateEditorIcon();

} // namespace kv::execution
