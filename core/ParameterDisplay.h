#pragma once
// The radionuclide set measured with as the main window and the communication window show it.
// Start-up, the parameters dialog and a series' start show it the same way.

class QString;

namespace pxr3 {

class MDIForm1;
class frm_USBkom;

// "PXR3-USB [  " + the current record's name + "]"; nothing changes when none is current.
void ShowCurrentCaption(MDIForm1 *main);

// The panel's radionuclide name, measurement time and number of repetitions.
void ShowMeasureSettings(MDIForm1 *main, const QString &name);

// The working values as the set measured with: the panel (name, time, repetitions, ROI, high
// voltage, background), the caption when a set is current, and the communication window's
// "ROI L :", "ROI P :", "U [V]", "T [s]", "KF :" and "Poz:".
void ShowMeasuringSet(MDIForm1 *main, frm_USBkom *usbkom, const QString &name);

// The measuring set applied as "N&astavit" applies it: the current record becomes the working
// values and the ROI bounds, and is shown as above. Without a current set the window's values
// serve: nothing changes and the result is false.
bool ApplyMeasuringSet(MDIForm1 *main, frm_USBkom *usbkom);

} // namespace pxr3
