// Preloaded (LD_PRELOAD) into a process started for the start-up figures: at the first paint
// of a window it prints the processor time and resident memory the process has used until
// then, and ends it. The program is measured as it is built, and the bare window it is held
// against by the same code.

#include "bench/ProcessFigures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted_ && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            painted_ = true;
            // After the paint has been flushed to the screen.
            QTimer::singleShot(0, [] {
                std::printf("%.3f %.2f\n", pxr3::bench::ProcessorSeconds() * 1e3, pxr3::bench::ResidentMegabytes());
                std::fflush(stdout);
                // What a program does at its end is not part of its start-up.
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool painted_ = false;
};

void InstallFirstPaint() { QCoreApplication::instance()->installEventFilter(new FirstPaint(qApp)); }

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallFirstPaint)
