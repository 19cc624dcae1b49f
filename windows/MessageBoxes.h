#pragma once
// Puts the logic's messages on screen as message boxes.

namespace pxr3 {

void InstallMessageBoxes();

} // namespace pxr3
