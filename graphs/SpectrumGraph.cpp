#include "graphs/SpectrumGraph.h"

#include "core/RoiSums.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "records/SpectrumExportDialog.h"

#include <QMenu>
#include <qcustomplot.h>

#include <exception>

namespace pxr3 {

namespace {

// Colours of the set-up, given as red, green, blue.
const QColor kWhite(255, 255, 255);
const QColor kGrey200(200, 200, 200);
const QColor kLightGrey(0xD3, 0xD3, 0xD3);
const QColor kBlue(0, 0, 255);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kGreen(0, 0x80, 0);
const QString kExpFormat = QStringLiteral("0.0 E+00");

} // namespace

SpectrumGraph::SpectrumGraph(QWidget *parent) : ecGraph(parent) { setMinimumSize(240, 180); }

void SpectrumGraph::SetTotalTimeSource(std::function<long long()> source) { m_totalTime = std::move(source); }

void SpectrumGraph::DrawSpectrumGraph(int32_t n)
{
    if (n == 0)
        return;
    try {
        SharedState &s = state();
        const long long totalTime = m_totalTime ? m_totalTime() : 0;
        Clear();
        SetTitle(SpectrumTitle(RoiSumCycle(), totalTime));
        SetTitleFont(QString(), QStringLiteral("12|bold"));
        SetColors(kWhite, kWhite);
        SetColors2(kGrey200, palette().color(QPalette::Button));
        SetLayout(QString(), true, 90, 0);
        SelectAxis(Axis::X);
        SetAxisTitle(tr("Kanál"));
        SetAxisScale(1, 256, 5, 10, true, QStringLiteral("000"));
        SetAxisGrid(kLightGrey, kLightGrey, true, true);
        SetAxisTextStyle(QStringLiteral("bold"));
        SetAxisProperties(1, 0);

        const int last = LastDrawnChannel(n);
        m_graphMax = SpectrumGraphMax(s.CycleSpectrum, n, s.RoiBounds(1), s.RoiBounds(2));

        SelectAxis(Axis::Y);
        SetAxisTitle(tr("N [imp]"));
        SetAxisTextStyle(QString(), -1, 0, true);
        SetAxisProperties(1, 0);
        SetLogScale(s.LogY != 0);
        SetSeriesCaption(tr("N [Imp]"));
        SetSeriesAppearance(1, 2, kBlue, kGrey);
        SetSeriesPoints(kGreen, 2, 1);
        const AxisRange y = SpectrumYRange(s.LogY, m_graphMax);
        if (y.set)
            SetAxisScale(y.min, y.max, 5, 10, true, kExpFormat);
        shadeRoi(last);
        for (int k = 1; k <= last; ++k)
            AddPoint(k, s.CycleSpectrum(k));
        // Painted when the program is next idle: a frame's evaluation does not wait for it.
        Refresh();
    } catch (const std::exception &e) {
        showError(QString::fromLocal8Bit(e.what()));
    }
}

void SpectrumGraph::ToggleLogY()
{
    try {
        SharedState &s = state();
        const AxisRange y = SpectrumYRange(ToggledLogY(s.LogY), m_graphMax);
        if (s.LogY == -1 || s.LogY == 0) {
            SelectAxis(Axis::Y);
            if (s.LogY == 0)
                SetAxisTextStyle(QString(), -1, 0, true);
            s.LogY = ToggledLogY(s.LogY);
            // The scale type follows at once: a logarithmic range on a linear axis (or the
            // reverse) would show the operator a scale the check box does not claim.
            SetLogScale(s.LogY != 0);
            SetAxisScale(y.min, y.max, 5, 10, true, kExpFormat);
        }
        Draw();
    } catch (const std::exception &e) {
        showError(QString::fromLocal8Bit(e.what()));
    }
}

void SpectrumGraph::addMenuActions(QMenu &menu)
{
    menu.addSeparator();
    menu.addAction(tr("Uložit spektrum jako…"), this, [this] { SaveSpectrumAs(this); });
}

void SpectrumGraph::shadeRoi(int last)
{
    // The summed window, behind the curve, so the operator sees which channels count.
    const SharedState &s = state();
    const int left = std::max<int>(1, s.RoiBounds(1));
    const int right = std::min<int>(kChannels, s.RoiBounds(2));
    if (left > right || last < 1)
        return;
    auto *rect = new QCPItemRect(plot());
    rect->setLayer(QStringLiteral("background"));
    rect->setClipToAxisRect(true);
    rect->topLeft->setTypeX(QCPItemPosition::ptPlotCoords);
    rect->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->bottomRight->setTypeX(QCPItemPosition::ptPlotCoords);
    rect->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->topLeft->setCoords(left - 0.5, 0);
    rect->bottomRight->setCoords(right + 0.5, 1);
    rect->setPen(QPen(QColor(230, 170, 40, 160), 1));
    rect->setBrush(QColor(255, 215, 90, 60));
}

void SpectrumGraph::showError(const QString &what)
{
    // The redraw is given up; the next frame draws afresh.
    ShowMessage(MessageIcon::Critical, QString(), what);
}

} // namespace pxr3
