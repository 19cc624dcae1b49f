#pragma once
// The radionuclide set in use as the main window and the communication window show it.
// Start-up and the parameters dialog show it the same way.

class QString;

namespace pxr3 {

class MDIForm1;
class frm_USBkom;

// "PXR3-USB [  " + the current record's name + "]"; nothing changes when none is current.
void ShowCurrentCaption(MDIForm1 *main);

// The panel's radionuclide name, measurement time and number of repetitions.
void ShowMeasureSettings(MDIForm1 *main, const QString &name);

// The working ROI bounds, high voltage and background on the panel; the high voltage and the
// measurement time in the communication window.
void ShowWorkingValues(MDIForm1 *main, frm_USBkom *usbkom);

// The measuring set applied as "N&astavit" applies it: working values, ROI bounds, the panel,
// the caption and the communication window's ROI, "U [V]", "T [s]", "KF :" and "Poz:".
// Without a current set the window's values serve and nothing changes.
void ApplyMeasuringSet(MDIForm1 *main, frm_USBkom *usbkom);

} // namespace pxr3
