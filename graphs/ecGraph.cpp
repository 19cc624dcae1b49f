#include "graphs/ecGraph.h"

#include "core/UserMessages.h"
#include "graphs/KeptPointsCurve.h"
#include "graphs/NumberFormat.h"

#include <QFileDialog>
#include <QMenu>
#include <QPalette>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace pxr3 {

namespace {

QCPScatterStyle PictureOfPoint(QCPScatterStyle::ScatterShape shape, const QColor &color, double size)
{
    // A point drawn as a picture made once: painting the shape anew for every point is
    // most of what a redraw of a few thousand points costs.
    if (shape == QCPScatterStyle::ssNone)
        return QCPScatterStyle(shape);
    const QCPScatterStyle drawn(shape, color, color, size);
    const int side = int(std::ceil(size)) + 2;
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QCPPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawn.applyTo(&painter, QPen(color));
    drawn.drawShape(&painter, side / 2.0, side / 2.0);
    painter.end();
    return QCPScatterStyle(picture);
}

// Labels by our number formats; time formats step in whole minutes, not day fractions.
class FormatTicker : public QCPAxisTicker {
public:
    QString format;
    int subTicks = 4;

protected:
    QString getTickLabel(double tick, const QLocale &, QChar, int) override { return TickLabel(format, tick); }
    int getSubTickCount(double) override { return subTicks; }
    double getTickStep(const QCPRange &range) override
    {
        if (!IsTimeFormat(format))
            return QCPAxisTicker::getTickStep(range);
        const double minutes = range.size() * 1440.0 / std::max(1, tickCount());
        static const double kSteps[] = {1, 2, 5, 10, 15, 30, 60, 120, 180, 360, 720, 1440};
        for (double step : kSteps) {
            if (step >= minutes)
                return step / 1440.0;
        }
        return 1.0;
    }
};

// Labels at the decades (1, 10, 100, ...), unlabelled sub-ticks between them; also over less than
// two decades, where QCustomPlot's own log ticker falls back to linear steps crowding at the top.
class DecadeTicker : public QCPAxisTickerLog {
protected:
    QString getTickLabel(double tick, const QLocale &, QChar, int) override { return DecadeLabel(tick); }
    QVector<double> createTickVector(double, const QCPRange &range) override
    {
        QVector<double> decades;
        if (!(range.lower > 0) || !(range.upper > range.lower))
            return decades;
        for (double decade = std::pow(10.0, std::floor(std::log10(range.lower)));; decade *= 10.0) {
            decades.append(decade);
            if (decade >= range.upper)
                return decades;
        }
    }
};

// Drops the first `count` points of a plottable's data.
template <class Data> void RemoveFirst(Data &data, int count)
{
    if (count >= data.size())
        data.clear();
    else if (count > 0)
        data.removeBefore((data.constBegin() + count)->sortKey());
}

QFont WithStyle(QFont font, const QString &style)
{
    const QString s = style.toLower();
    font.setBold(s.contains(QLatin1String("bold")));
    font.setItalic(s.contains(QLatin1String("italic")));
    return font;
}

} // namespace

ecGraph::ecGraph(QWidget *parent, PointOrder order) : QWidget(parent), m_plot(new QCustomPlot(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);
    // The plot takes the right click for itself, so the menu is asked for by the plot.
    m_plot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_plot, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { showMenu(m_plot->mapToGlobal(at)); });
    // The plot fills all of itself: nothing beneath it needs painting first.
    m_plot->setAttribute(Qt::WA_OpaquePaintEvent);
    // Nothing is drawn on the overlay: drawn with the other layers it needs no paint buffer
    // (a picture of the plot's size) of its own, and a repaint blits one picture, not two.
    m_plot->layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);
    // Lines as segments rather than one stroked path: the joins of a 2 px line look the same.
    m_plot->setPlottingHint(QCP::phFastPolylines, true);
    // A replot of any cause (the first show's resize among them) draws the current state.
    connect(m_plot, &QCustomPlot::afterReplot, this, [this] {
        m_stale = false;
        m_backdropChanged = false;
    });
    m_plot->plotLayout()->insertRow(0);
    m_title = new QCPTextElement(m_plot, QString());
    m_plot->plotLayout()->addElement(0, 0, m_title);
    // The legend stands at the right under the title, above the plot area: inside it, it covered
    // the points.
    m_plot->plotLayout()->insertRow(1);
    auto *legendRow = new QCPLayoutGrid;
    m_plot->plotLayout()->addElement(1, 0, legendRow);
    m_plot->plotLayout()->setRowStretchFactor(1, 0.001);
    legendRow->addElement(0, 0, new QCPLayoutElement(m_plot));
    m_plot->axisRect()->insetLayout()->take(m_plot->legend);
    legendRow->addElement(0, 1, m_plot->legend);
    legendRow->setColumnStretchFactor(1, 0.001);
    if (order == PointOrder::AsAdded) {
        // A curve keeps its points in the order of a running parameter, not of x.
        m_asAdded = new KeptPointsCurve(m_plot->xAxis, m_plot->yAxis);
        m_series = m_asAdded;
    } else {
        m_byX = m_plot->addGraph();
        // The line is drawn over the fill's edge, so smoothing that edge shows nowhere and costs a frame's drawing much.
        m_byX->setAntialiasedFill(false);
        m_series = m_byX;
    }
    Clear();
}

void ecGraph::Clear()
{
    m_backdropChanged = true;
    if (m_byX)
        m_byX->data()->clear();
    else
        m_asAdded->data()->clear();
    m_plot->clearItems();
    m_x = AxisSettings{};
    m_y = AxisSettings{};
    m_axis = Axis::X;
    m_title->setText(QString());
    m_titleFont = QFont(font().family(), 10);
    m_title->setFont(m_titleFont);
    for (QCPAxis *axis : {m_plot->xAxis, m_plot->yAxis}) {
        axis->setLabel(QString());
        axis->setScaleType(QCPAxis::stLinear);
        axis->setTicker(QSharedPointer<FormatTicker>::create());
        axis->setTickLabels(true);
        axis->setTicks(true);
        axis->setTickLabelRotation(0);
        axis->setLabelFont(font());
        axis->setTickLabelFont(font());
        axis->grid()->setVisible(true);
        axis->grid()->setSubGridVisible(false);
        axis->setRange(0, 1);
    }
    m_series->setName(QString());
    setLineStyle(1);
    m_series->setPen(QPen(Qt::black, 1));
    m_series->setBrush(Qt::NoBrush);
    setScatterStyle(QCPScatterStyle());
    m_plot->legend->setVisible(false);
    m_plot->axisRect()->setBackground(Qt::white);
    m_plot->setBackground(palette().color(QPalette::Button));
}

void ecGraph::SetTitle(const QString &text)
{
    // The title is drawn with the points; only its coming or going moves the plot area.
    if (text.isEmpty() != m_title->text().isEmpty())
        m_backdropChanged = true;
    m_title->setText(text);
    fitTitle();
}

void ecGraph::SetTitleFont(const QString &name, const QString &fontText)
{
    m_backdropChanged = true;
    QFont f = m_title->font();
    if (!name.isEmpty())
        f.setFamily(name);
    const QStringList parts = fontText.split(QLatin1Char('|'));
    bool ok = false;
    const int size = parts.value(0).toInt(&ok);
    if (ok && size > 0)
        f.setPointSize(size);
    m_titleFont = WithStyle(f, parts.value(1));
    m_title->setFont(m_titleFont);
    fitTitle();
}

void ecGraph::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The plot has already been drawn at its new size, with the title as it was.
    if (fitTitle())
        Refresh();
}

bool ecGraph::fitTitle()
{
    // A title cut at both ends hides the time it tells: in a narrow tile it is drawn smaller,
    // down to a size still readable.
    constexpr qreal kSmallest = 6;
    const int room = width() - 8;

    QFont f = m_titleFont;
    while (f.pointSizeF() > kSmallest && QFontMetrics(f).horizontalAdvance(m_title->text()) > room)
        f.setPointSizeF(std::max(kSmallest, f.pointSizeF() - 1));
    if (f == m_title->font())
        return false;
    m_backdropChanged = true; // the title's row changes its height
    m_title->setFont(f);
    return true;
}

void ecGraph::SetColors(const QColor &top, const QColor &bottom)
{
    m_backdropChanged = true;
    // One colour is a plain fill: a gradient of it looks the same and costs a tick far more.
    if (top == bottom) {
        m_plot->axisRect()->setBackground(QBrush(top));
        return;
    }
    QLinearGradient shade(0, 0, 0, 1);
    shade.setCoordinateMode(QGradient::ObjectMode);
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    m_plot->axisRect()->setBackground(QBrush(shade));
}

void ecGraph::SetColors2(const QColor &frame, const QColor &surround)
{
    m_backdropChanged = true;
    m_plot->setBackground(surround);
    for (QCPAxis *axis : {m_plot->xAxis, m_plot->yAxis})
        axis->setBasePen(QPen(frame.darker(160), 1));
}

void ecGraph::SetLayout(const QString &fontName, bool legend, int, int)
{
    m_backdropChanged = true;
    if (!fontName.isEmpty())
        m_plot->legend->setFont(QFont(fontName));
    m_plot->legend->setVisible(legend);
}

void ecGraph::SelectAxis(Axis axis) { m_axis = axis; }

QCPAxis *ecGraph::current() const { return m_axis == Axis::X ? m_plot->xAxis : m_plot->yAxis; }

void ecGraph::SetAxisTitle(const QString &text)
{
    m_backdropChanged = true;
    current()->setLabel(text);
}

void ecGraph::SetAxisScale(double min, double max, int majorTicks, int minorTicks, bool labels, const QString &format)
{
    m_backdropChanged = true;
    AxisSettings &s = settings(m_axis);
    s.range = {true, min, max};
    s.format = format;
    s.majorTicks = majorTicks;
    s.minorTicks = minorTicks;
    current()->setTickLabels(labels);
    installTicker(m_axis);
    applyRange(m_axis);
}

void ecGraph::installTicker(Axis which)
{
    const AxisSettings &s = settings(which);
    QCPAxis *axis = which == Axis::X ? m_plot->xAxis : m_plot->yAxis;
    if (s.log) {
        auto ticker = QSharedPointer<DecadeTicker>::create();
        ticker->setLogBase(10);
        ticker->setSubTickCount(8);
        axis->setTicker(ticker);
    } else {
        auto ticker = QSharedPointer<FormatTicker>::create();
        ticker->format = s.format;
        ticker->setTickCount(std::max(1, s.majorTicks));
        ticker->subTicks = std::max(0, s.minorTicks - 1);
        axis->setTicker(ticker);
    }
}

void ecGraph::applyRange(Axis which)
{
    const AxisSettings &s = settings(which);
    QCPAxis *axis = which == Axis::X ? m_plot->xAxis : m_plot->yAxis;
    if (!s.range.set)
        return;
    double lo = s.range.min;
    double hi = s.range.max;
    // An empty span (an ROI with no counts gives 0 .. 0) still needs a visible axis.
    if (s.log) {
        lo = lo > 0 ? lo : 1.0;
        if (!(hi > lo))
            hi = lo * 10.0;
    } else if (!(hi > lo)) {
        hi = lo + 1.0;
    }
    axis->setRange(lo, hi);
}

void ecGraph::SetAxisGrid(const QColor &major, const QColor &minor, bool showMajor, bool showMinor)
{
    m_backdropChanged = true;
    QCPGrid *grid = current()->grid();
    grid->setPen(QPen(major, 0, Qt::SolidLine));
    grid->setSubGridPen(QPen(minor, 0, Qt::DotLine));
    grid->setVisible(showMajor);
    grid->setSubGridVisible(showMinor);
}

void ecGraph::SetAxisTextStyle(const QString &style)
{
    m_backdropChanged = true;
    QCPAxis *axis = current();
    axis->setLabelFont(WithStyle(axis->labelFont(), style));
    axis->setTickLabelFont(WithStyle(axis->tickLabelFont(), style));
}

void ecGraph::SetAxisTextStyle(const QString &fontName, int size, int angle, bool labels)
{
    m_backdropChanged = true;
    QCPAxis *axis = current();
    QFont f = axis->tickLabelFont();
    if (!fontName.isEmpty())
        f.setFamily(fontName);
    if (size > 0)
        f.setPointSize(size);
    axis->setTickLabelFont(f);
    axis->setTickLabelRotation(angle);
    axis->setTickLabels(labels);
}

void ecGraph::SetAxisProperties(int ticks, int angle)
{
    m_backdropChanged = true;
    current()->setTicks(ticks != 0);
    current()->setTickLabelRotation(angle);
}

void ecGraph::SetLogScale(bool on)
{
    m_backdropChanged = true;
    settings(m_axis).log = on;
    current()->setScaleType(on ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    installTicker(m_axis);
    applyRange(m_axis);
}

void ecGraph::SetSeriesCaption(const QString &text)
{
    m_backdropChanged = true; // the legend's
    m_series->setName(text);
}

void ecGraph::SetSeriesAppearance(int lineStyle, int width, const QColor &line, const QColor &fill)
{
    m_backdropChanged = true;
    setLineStyle(lineStyle);
    if (line.isValid())
        m_series->setPen(QPen(line, std::max(1, width)));
    if (fill.isValid()) {
        QColor light = fill;
        light.setAlpha(70);
        m_series->setBrush(light);
    } else {
        m_series->setBrush(Qt::NoBrush);
    }
}

void ecGraph::SetSeriesPoints(const QColor &color, int size, int shape)
{
    m_backdropChanged = true;
    QCPScatterStyle::ScatterShape s = QCPScatterStyle::ssDisc;
    switch (shape) {
    case 0: s = QCPScatterStyle::ssNone; break;
    case 2: s = QCPScatterStyle::ssSquare; break;
    case 3: s = QCPScatterStyle::ssCross; break;
    default: break;
    }
    const QColor c = color.isValid() ? color : m_series->pen().color();
    setScatterStyle(PictureOfPoint(s, c, std::max(1, size) + 1));
}

void ecGraph::setLineStyle(int lineStyle)
{
    if (m_asAdded) {
        // Steps need sorted x; a curve joins its points in their order.
        m_asAdded->setLineStyle(lineStyle == 0 ? QCPCurve::lsNone : QCPCurve::lsLine);
        return;
    }
    switch (lineStyle) {
    case 0: m_byX->setLineStyle(QCPGraph::lsNone); break;
    case 2: m_byX->setLineStyle(QCPGraph::lsStepCenter); break;
    default: m_byX->setLineStyle(QCPGraph::lsLine); break;
    }
}

void ecGraph::setScatterStyle(const QCPScatterStyle &style)
{
    if (m_byX)
        m_byX->setScatterStyle(style);
    else
        m_asAdded->setScatterStyle(style);
}

void ecGraph::AddPoint(double x, double y)
{
    if (m_byX)
        m_byX->addData(x, y);
    else
        m_asAdded->addData(x, y); // the parameter runs on from the last point's
}

void ecGraph::RemoveFirstPoints(int count)
{
    if (m_byX) {
        RemoveFirst(*m_byX->data(), count);
        return;
    }
    const int dropped = std::clamp(count, 0, m_asAdded->data()->size());
    RemoveFirst(*m_asAdded->data(), count);
    m_asAdded->pointsDropped(dropped);
}

void ecGraph::Draw() { m_plot->replot(QCustomPlot::rpImmediateRefresh); }

void ecGraph::Refresh()
{
    // A hidden or minimised graph is drawn when it is shown again, not for every point.
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    if (!m_keepBackdrop || m_backdropChanged) {
        m_plot->replot(QCustomPlot::rpQueuedReplot);
        return;
    }
    if (m_pointsReplotQueued)
        return;
    m_pointsReplotQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pointsReplotQueued = false;
            if (m_backdropChanged)
                m_plot->replot(QCustomPlot::rpQueuedReplot);
            else
                m_plot->layer(QStringLiteral("main"))->replot(); // the points and the title alone
        },
        Qt::QueuedConnection);
}

void ecGraph::KeepBackdrop()
{
    // The points' layer gets a picture of its own; the layers below and above it keep theirs.
    m_keepBackdrop = true;
    m_plot->layer(QStringLiteral("main"))->setMode(QCPLayer::lmBuffered);
    m_backdropChanged = true;
}

void ecGraph::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale) {
        m_stale = false;
        m_plot->replot(QCustomPlot::rpQueuedReplot);
    }
}

AxisRange ecGraph::RequestedRange(Axis axis) const { return settings(axis).range; }

int ecGraph::PointCount() const { return m_series->interface1D()->dataCount(); }

QString ecGraph::Title() const { return m_title->text(); }

bool ecGraph::SaveTo(const QString &fileName)
{
    if (fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return m_plot->savePdf(fileName);
    return m_plot->savePng(fileName);
}

void ecGraph::showMenu(const QPoint &globalPos)
{
    QMenu menu(this);
    menu.addAction(tr("Uložit graf jako PNG…"), this, [this] { saveAs(PictureFormat::Png); });
    menu.addAction(tr("Uložit graf jako PDF…"), this, [this] { saveAs(PictureFormat::Pdf); });
    addMenuActions(menu);
    menu.exec(globalPos);
}

void ecGraph::saveAs(PictureFormat format)
{
    const bool pdf = format == PictureFormat::Pdf;
    const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    QString name = QFileDialog::getSaveFileName(this, tr("Uložit graf"), QString(),
                                                pdf ? tr("Dokument PDF (*.pdf)") : tr("Obrázek PNG (*.png)"));
    if (name.isEmpty())
        return;
    if (!name.endsWith(suffix, Qt::CaseInsensitive))
        name += suffix;
    if (!SaveTo(name))
        ShowMessage(MessageIcon::Warning, QString(), tr("Graf se nepodařilo uložit do souboru %1.").arg(name));
}

} // namespace pxr3
