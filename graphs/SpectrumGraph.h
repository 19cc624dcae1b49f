#pragma once
// The spectrum graph of the communication window: the counts of the current cycle per
// channel, the ROI sum and measuring time in the title, a linear or logarithmic y axis.

#include "graphs/ecGraph.h"

#include <functional>

namespace pxr3 {

class SpectrumGraph : public ecGraph {
    Q_OBJECT
public:
    explicit SpectrumGraph(QWidget *parent = nullptr);

    // Redraws channels 1 .. n - 1 of CycleSpectrum; n = 0 keeps the previous picture.
    void DrawSpectrumGraph(int32_t n);
    // The "LOG Y-osa" click: flips LogY and re-scales the y axis without new points.
    void ToggleLogY();

    // The accumulated measuring time shown in the title (the device link keeps it).
    void SetTotalTimeSource(std::function<long long()> source);

    double GraphMax() const { return m_graphMax; }

protected:
    void addMenuActions(QMenu &menu) override; // "Uložit spektrum jako…"

private:
    void shadeRoi(int last);
    void showError(const QString &what);

    double m_graphMax = 0;
    std::function<long long()> m_totalTime;
};

} // namespace pxr3
