#pragma once
// The one printer of the program: the printer set-up chooses it, printing uses it.

class QPrinter;
class QWidget;

namespace pxr3 {

QPrinter &programPrinter();

// The system's printer choice and paper settings, kept for later printing.
void ShowPrinterSetup(QWidget *parent);

} // namespace pxr3
