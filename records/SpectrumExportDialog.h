#pragma once
// "Uložit spektrum jako…": the file dialog of the spectrum export.

class QWidget;

namespace pxr3 {

// Asks for a file in the DATA folder and writes the current cycle spectrum into it, in the
// format its suffix names, else the one of the chosen filter. A failure is told in a message.
void SaveSpectrumAs(QWidget *parent);

} // namespace pxr3
