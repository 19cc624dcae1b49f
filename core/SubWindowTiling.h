#pragma once
// Arranging the child windows of the frame: side by side or one above another.

#include <Qt>

class QMdiArea;

namespace pxr3 {

// Qt::Horizontal puts the windows side by side in full height (the frame's "tile
// vertically"); Qt::Vertical stacks them in full width. Minimised windows stay as they are,
// and the tiles leave their icons free.
void TileSubWindows(QMdiArea *area, Qt::Orientation orientation);

} // namespace pxr3
