#pragma once
// The program's plotting component: a small set of graph operations over QCustomPlot, in
// the terms the spectrum and time-course graphs are set up with. One series, two axes; the
// operations work on the axis selected last, as the set-up sequences expect.

#include "graphs/SpectrumGraphModel.h"

#include <QColor>
#include <QString>
#include <QWidget>

class QCustomPlot;
class QMenu;
class QCPAbstractPlottable;
class QCPAxis;
class QCPCurve;
class QCPGraph;
class QCPScatterStyle;
class QCPTextElement;

namespace pxr3 {

class KeptPointsCurve;

class ecGraph : public QWidget {
    Q_OBJECT
public:
    enum class Axis { X, Y };
    // Points sorted by x (a spectrum), or drawn in the order they were added, so that a
    // series starting again at the left draws over the earlier points instead of merging.
    enum class PointOrder { ByX, AsAdded };

    explicit ecGraph(QWidget *parent = nullptr, PointOrder order = PointOrder::ByX);

    // 1. Removes the points and puts every setting back to its start value.
    void Clear();
    void SetTitle(const QString &text);
    // Font text "size|style" such as "12|bold"; an empty name keeps the family.
    void SetTitleFont(const QString &name, const QString &fontText);
    // Plot area (top and bottom of its shading).
    void SetColors(const QColor &top, const QColor &bottom);
    // Frame of the plot area and the surround outside it.
    void SetColors2(const QColor &frame, const QColor &surround);
    // Font name (empty keeps it), legend shown (true) and two settings kept for callers
    // that pass them: the title-to-plot spacing in percent and a reserved value.
    void SetLayout(const QString &fontName, bool legend, int spacing, int reserved);

    void SelectAxis(Axis axis);
    void SetAxisTitle(const QString &text);
    // Range, about `majorTicks` labelled steps with `minorTicks` - 1 sub-ticks between
    // them, labels shown when `labels`, written by the number format.
    void SetAxisScale(double min, double max, int majorTicks, int minorTicks, bool labels, const QString &format);
    void SetAxisGrid(const QColor &major, const QColor &minor, bool showMajor, bool showMinor);
    // "bold", "italic" or "bold italic" for the axis title and labels.
    void SetAxisTextStyle(const QString &style);
    // Font name (empty keeps it), size (-1 keeps it), label angle, labels shown.
    void SetAxisTextStyle(const QString &fontName, int size, int angle, bool labels);
    // Tick marks shown (non-zero) and a label angle in degrees.
    void SetAxisProperties(int ticks, int angle);
    void SetLogScale(bool on);

    void SetSeriesCaption(const QString &text);
    // Line style (0 none, 1 solid, 2 steps), line width, line colour, fill colour under
    // the line (an invalid colour: no fill).
    void SetSeriesAppearance(int lineStyle, int width, const QColor &line, const QColor &fill = QColor());
    // Point colour (an invalid colour keeps the line colour), point size, shape (0 none,
    // 1 disc, 2 square, 3 cross).
    void SetSeriesPoints(const QColor &color, int size, int shape = 1);
    void AddPoint(double x, double y);
    // Drops the first `count` points in drawing order (the oldest when AsAdded).
    void RemoveFirstPoints(int count);
    // Draws the graph now.
    void Draw();
    // Draws the graph at the next chance (cheap when called for every point).
    void Refresh();
    // For a graph that gains a point at every frame: the axes, grid and legend are drawn once
    // and kept while only the points and the title change.
    void KeepBackdrop();

    // What the graph was asked to show, for callers and tests that check it.
    AxisRange RequestedRange(Axis axis) const;
    int PointCount() const;
    QString Title() const;

    QCustomPlot *plot() const { return m_plot; }

    // Saves the picture; the format follows the file name (".png" or ".pdf").
    bool SaveTo(const QString &fileName);

protected:
    // Actions a graph adds to its right-click menu, after saving the picture as PNG or PDF.
    virtual void addMenuActions(QMenu &) { }
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct AxisSettings {
        AxisRange range;
        QString format;
        bool log = false;
        int majorTicks = 5;
        int minorTicks = 5;
    };
    void installTicker(Axis axis);
    QCPAxis *current() const;
    AxisSettings &settings(Axis axis) { return axis == Axis::X ? m_x : m_y; }
    const AxisSettings &settings(Axis axis) const { return axis == Axis::X ? m_x : m_y; }
    void applyRange(Axis axis);
    void showMenu(const QPoint &globalPos);
    enum class PictureFormat { Png, Pdf };
    void saveAs(PictureFormat format);
    void setLineStyle(int lineStyle);
    void setScatterStyle(const QCPScatterStyle &style);
    bool fitTitle(); // true when the title's size changed

    QCustomPlot *m_plot = nullptr;
    QCPAbstractPlottable *m_series = nullptr; // the one of the two below in use
    QCPGraph *m_byX = nullptr;
    KeptPointsCurve *m_asAdded = nullptr;
    QCPTextElement *m_title = nullptr;
    QFont m_titleFont; // as set; the title is drawn smaller where the graph is too narrow for it
    Axis m_axis = Axis::X;
    AxisSettings m_x;
    AxisSettings m_y;
    bool m_stale = false; // changed while hidden
    bool m_keepBackdrop = false;
    bool m_backdropChanged = true; // since the last whole drawing: more than the points to draw
    bool m_pointsReplotQueued = false;
};

} // namespace pxr3
