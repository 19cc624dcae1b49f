#include "graphs/SpectrumGraphModel.h"

#include "core/NumberText.h"

#include <QCoreApplication>
#include <algorithm>

namespace pxr3 {

int LastDrawnChannel(int32_t n)
{
    // The callers pass at most 256; anything larger would read past the last channel.
    return std::clamp<int32_t>(n - 1, 0, kChannels);
}

double SpectrumGraphMax(const Spectrum &spectrum, int32_t n, int roiLeft, int roiRight)
{
    double graphMax = 0;
    const int last = LastDrawnChannel(n);
    for (int k = 1; k <= last; ++k) {
        if (roiLeft <= k && k <= roiRight && spectrum(k) > graphMax)
            graphMax = spectrum(k);
    }
    return graphMax;
}

AxisRange SpectrumYRange(int16_t logY, double graphMax)
{
    if (logY == -1)
        return {true, 1.0, graphMax + 1.0};
    if (logY == 0)
        return {true, 0.0, graphMax};
    return {};
}

QString SpectrumTitle(int32_t roiSum, long long totalTime)
{
    return QCoreApplication::translate("SpectrumGraph", "Spektrum PXR3 : ROI = ") + IntText(roiSum) +
        QCoreApplication::translate("SpectrumGraph", " Čas : ") + IntText(totalTime);
}

int16_t ToggledLogY(int16_t logY)
{
    if (logY == -1)
        return 0;
    if (logY == 0)
        return -1;
    return logY;
}

} // namespace pxr3
