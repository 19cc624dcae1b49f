#pragma once
// Start-up with windows: the frame, the table and the communication window, the settings
// read twice around them, then the connection to the analyser.

namespace pxr3 {

class MDIForm1;
class MeasurementSeries;
class frm_Prubeh;
class frm_USBkom;
class vse_mer;

struct ProgramWindows {
    MDIForm1 *main = nullptr; // owns the others; lives until the program ends
    vse_mer *table = nullptr;
    frm_USBkom *usbkom = nullptr;
    frm_Prubeh *course = nullptr; // hidden until the time course is opened
    MeasurementSeries *series = nullptr;
};

// The program folder is chosen and the device driver installed before this runs.
ProgramWindows StartProgram(bool simulated);

} // namespace pxr3
