#include "graphs/frm_Prubeh.h"

#include "acquisition/AcquisitionTick.h"
#include "core/DateTimeText.h"
#include "core/SharedState.h"
#include "core/Twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <cstdlib>

namespace pxr3 {

namespace {

// Design sizes in twips.
constexpr double kWidth = 7200;
constexpr double kHeight = 4800;
constexpr double kGraphMargin = 120;

const QColor kWhite(255, 255, 255);
const QColor kGrey220(220, 220, 220);
const QColor kLightGrey(0xD3, 0xD3, 0xD3);
const QString kValueFormat = QStringLiteral("#0.0");
const QString kTimeFormat = QStringLiteral("h:nn");
constexpr int kMajorTicks = 5;
constexpr int kMinorTicks = 5;

} // namespace

frm_Prubeh::frm_Prubeh(QWidget *parent) : QWidget(parent), ecGraph1(new ecGraph(this, ecGraph::PointOrder::AsAdded))
{
    setWindowTitle(tr("Data - průběh"));
    ecGraph1->KeepBackdrop(); // a point a frame, the axes mostly as they were
    ecGraph1->setAccessibleName(tr("Graf průběhu četnosti"));
    const int margin = TwipsToPixels(this, kGraphMargin);
    ecGraph1->move(margin, margin);
    resize(sizeHint());
}

QSize frm_Prubeh::sizeHint() const { return {TwipsToPixels(this, kWidth), TwipsToPixels(this, kHeight)}; }

void frm_Prubeh::OpenCourse()
{
    // Closing the frame only hid it; it comes back with the window.
    show();
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        frame->showNormal();
        // A frame added while hidden has no size of its own yet.
        if (frame->width() < frame->sizeHint().width() / 2)
            frame->resize(frame->sizeHint());
        frame->raise();
        if (frame->mdiArea())
            frame->mdiArea()->setActiveSubWindow(frame);
    }
    DrawCourseGraph(*ecGraph1);
    RestartCoursePoints();
    state().CourseWindowOpen = -1;
}

void frm_Prubeh::DrawCourseGraph(ecGraph &graph)
{
    graph.Clear();
    if (&graph == ecGraph1) // the kept points are this window's picture
        m_points.Clear();
    graph.SetTitle(tr("Průbeh"));
    graph.SetColors(kWhite, kWhite);
    graph.SetColors2(kGrey220, kGrey220);
    graph.SetLayout(QString(), true, 90, 0);
    graph.SetTitleFont(QString(), QStringLiteral("11|bold"));
    graph.SetAxisTitle(QStringLiteral(" "));
    graph.SelectAxis(ecGraph::Axis::Y);
    graph.SetAxisScale(0, 0, kMajorTicks, kMinorTicks, true, kValueFormat);
    graph.SetAxisGrid(kLightGrey, kLightGrey, true, true);
    graph.SetAxisTitle(tr("N [imp]"));
    graph.SelectAxis(ecGraph::Axis::X);
    graph.SetAxisGrid(kLightGrey, kLightGrey, true, true);
    m_axis = CourseAxisAt(NowDays());
    graph.SetAxisScale(m_axis.CourseStart, m_axis.CourseEnd, kMajorTicks, kMinorTicks, true, kTimeFormat);
    graph.SetSeriesCaption(tr("N [imp]"));
    graph.SetSeriesPoints(QColor(), 2);
    graph.SetSeriesAppearance(0, 1, QColor());
    graph.Refresh();
}

void frm_Prubeh::AddCoursePoint(double courseTimeDays, double value)
{
    ecGraph1->AddPoint(courseTimeDays, value);
    ecGraph1->RemoveFirstPoints(m_points.Add(courseTimeDays, value));
    fitAxes(courseTimeDays);
    ecGraph1->Refresh();
}

void frm_Prubeh::fitAxes(double courseTime)
{
    const CourseAxis widened = CoveringPoint(m_axis, courseTime);
    if (widened.CourseEnd != m_axis.CourseEnd) {
        m_axis = widened;
        ecGraph1->SelectAxis(ecGraph::Axis::X);
        ecGraph1->SetAxisScale(m_axis.CourseStart, m_axis.CourseEnd, kMajorTicks, kMinorTicks, true, kTimeFormat);
    }
    const AxisRange y = m_points.ValueRange();
    const AxisRange shown = ecGraph1->RequestedRange(ecGraph::Axis::Y);
    if (y.min != shown.min || y.max != shown.max) {
        ecGraph1->SelectAxis(ecGraph::Axis::Y);
        ecGraph1->SetAxisScale(y.min, y.max, kMajorTicks, kMinorTicks, true, kValueFormat);
    }
}

void frm_Prubeh::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ecGraph1->resize(std::abs(width() - 2 * ecGraph1->x()), std::abs(height() - 2 * ecGraph1->y()));
}

} // namespace pxr3
