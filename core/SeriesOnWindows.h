#pragma once
// The measurement series pressing the communication window's buttons and showing its
// progress on the main window.

#include "acquisition/MeasurementSeries.h"

namespace pxr3 {

class MDIForm1;
class frm_USBkom;

class SeriesOnWindows : public SeriesControls {
public:
    SeriesOnWindows(MDIForm1 *main, frm_USBkom *usbkom) : main_(main), usbkom_(usbkom) { }

    void setSeriesRunning(bool running) override;
    void applyMeasuringSet() override;
    void emptyLog() override;
    void writeVoltage() override;
    void startMeasuring() override;
    void clearCycle() override;
    void stopMeasuring() override;
    void showIdle() override;
    bool acquisitionRunning() const override;
    bool clearTable() override;
    void showProgress(const QString &text, int secondsDone, int secondsPerCycle) override;
    void showWarning(const QString &text) override;

private:
    MDIForm1 *main_;
    frm_USBkom *usbkom_;
};

} // namespace pxr3
