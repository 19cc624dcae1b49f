#pragma once
// A completed cycle as the station publishes it: one JSON object that a subscriber can take
// apart without knowing the table's layout, its numbers worked from the row's counts and time
// exactly as the table's are.

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace pxr3 {

struct CycleReport {
    QString series; // the autosave's name without its suffix: the files of the cycle are found by it
    int row = 0;
    int cycle = 0;
    int cycles = 0; // 0: the series runs until stopped
    QDateTime start, end;
    QString setName;
    int roiLeft = 0, roiRight = 0;
    int highVoltage = 0;
    int seconds = 0; // T of the row
    qint64 counts = 0;
    double background = 0; // [1/s]
    double calFactor = 0;  // [Bq/m3 per 1/s]
    int failedReadings = 0;
    int gapSeconds = 0;
    bool simulated = false;
};

// The row just completed, with the conditions it was measured under.
CycleReport CompletedCycleReport(const QString &series, int row, int cycle, int cycles);

// Compact JSON, one line. Rates are null when the row has no time, the activity and its limits
// also when the set's calibration factor is not applied (1 or less).
QByteArray CycleMessage(const CycleReport &report, const QString &station);

// The station's retained status: online with the program's version and set, or offline.
QByteArray StationStatusMessage(const QString &station, bool online, const QString &setName = QString(),
                                bool simulated = false);

} // namespace pxr3
