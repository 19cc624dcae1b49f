#pragma once
// The time-course window "Data - průběh": the count value of every good frame against the
// time of day, cycle drawn over cycle from the left end of a ten-minute axis.

#include "graphs/CourseAxis.h"
#include "graphs/CoursePoints.h"
#include "graphs/ecGraph.h"

#include <QWidget>

namespace pxr3 {

class frm_Prubeh : public QWidget {
    Q_OBJECT
public:
    explicit frm_Prubeh(QWidget *parent = nullptr);

    // "Průběh F2": shows the window, sets the graph up on the current minute, restarts the
    // frame count at 1 and switches the time course on. Pressing it again starts afresh.
    void OpenCourse();
    // The set-up of the graph; the axis starts at the current minute.
    void DrawCourseGraph(ecGraph &graph);
    // A good frame's point: x = CourseTime, y = its count value. The axis widens to show it;
    // the picture follows at the next chance, and not while the window is closed.
    void AddCoursePoint(double courseTimeDays, double value);

    double CourseStart() const { return m_axis.CourseStart; }
    double CourseEnd() const { return m_axis.CourseEnd; }
    ecGraph *graph() const { return ecGraph1; }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitAxes(double courseTime);

    ecGraph *ecGraph1 = nullptr;
    CourseAxis m_axis;
    CoursePoints m_points;
};

} // namespace pxr3
