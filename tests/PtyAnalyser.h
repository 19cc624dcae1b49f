#pragma once
// The simulated analyser behind a pseudo-terminal: the program reaches it with --port as it
// reaches a real analyser left to the kernel's ftdi_sio driver, at the wire's pace.

#include "devicelink/SimulatedAnalyser.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace pxr3::test {

class PtyAnalyser : public QObject {
public:
    // With a link path, that name is made a symbolic link to the terminal: an analyser started
    // again under it is found where the program looked before.
    explicit PtyAnalyser(SimulatedAnalyser::Pace pace = SimulatedAnalyser::Pace::RealTime,
                         const QString &linkPath = QString());
    ~PtyAnalyser() override;
    PtyAnalyser(const PtyAnalyser &) = delete;
    PtyAnalyser &operator=(const PtyAnalyser &) = delete;

    bool ready() const { return master_ >= 0; }
    QString portPath() const { return linkPath_.isEmpty() ? path_ : linkPath_; }

private:
    void hear();  // bytes from the program: whole frames go to the analyser
    void speak(); // bytes from the analyser go to the program

    int master_ = -1;
    int slave_ = -1;
    QString path_;
    QString linkPath_;
    QSocketNotifier *notifier_ = nullptr;
    SimulatedAnalyser analyser_;
    FtHandle handle_ = 0;
    QByteArray heard_;
};

} // namespace pxr3::test
