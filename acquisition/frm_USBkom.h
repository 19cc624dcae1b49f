#pragma once
// The operator's panel for the analyser: link buttons, measurement fields, the
// communication log, the spectrum graph and the rate and activity read-outs.

#include "acquisition/AcquisitionTick.h"
#include "acquisition/TickTimer.h"

#include <QMap>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace pxr3 {

class SpectrumGraph;
class LogView;
class frm_Prubeh;

class frm_USBkom : public QWidget, private AcquisitionView {
    Q_OBJECT
public:
    explicit frm_USBkom(QWidget *parent = nullptr);
    ~frm_USBkom() override;

    // The windows the acquisition tick also shows its results on.
    void setCourseWindow(frm_Prubeh *course) { course_ = course; }
    void setRowsInViewSource(std::function<int()> source) { rowsInView_ = std::move(source); }

    // The buttons' handlers; the main window and the series press them the same way.
    void Command2_Click(); // "Open USB"
    void Command1_Click(); // "Close USB"
    void Command4_Click(int index);
    void Command5_Click(); // "Clear"
    void Command6_Click(); // "Průběh F2"
    void Command3_Click(); // "Konec"
    // The main window's reconnect: empty log, close, open again.
    void Reconnect();
    // "Start" as a series presses it: a fresh cycle also when a measurement already runs.
    void StartForSeries();

    // Marks everything the operator reads as coming from the simulated analyser.
    void setSimulated(bool simulated);

    QLineEdit *text2() const { return Text2; }
    QLineEdit *text4() const { return Text4; }
    QLineEdit *text3(int index) const { return Text3[index]; }
    QCheckBox *check(int number) const; // 1 "LOG data", 2 " SF:", 3 "LOG Y-osa"
    QPushButton *command4(int index) const { return Command4.value(index); }
    LogView *logView() const { return Text1; }
    QLabel *statusLine() const { return StatusBar; }
    QLabel *rateLabel() const { return a_v; }
    QLabel *activityLabel() const { return Label5; }
    // "± u(n)", "± u(a)", "a* = …" and "a# = …" beside the read-outs.
    QLabel *uncertaintyLabel(int index) const;
    SpectrumGraph *graph() const { return ecGraph1; }
    TickTimer *timer() const { return Timer1.get(); }

    // F2, F5, F8 and Ctrl+F5 act as their buttons; true when the key was one of them. While a
    // measurement runs F5 is left to the main menu, where it is "S&top" during a series.
    bool functionKey(int key, Qt::KeyboardModifiers modifiers);
    bool isFunctionKey(int key, Qt::KeyboardModifiers modifiers) const;

    QSize sizeHint() const override;

signals:
    // The main window's status-bar indicators follow the link.
    void connectionShown(bool connected);
    void quitRequested();
    // What the acquisition tick shows on the main window.
    void readingShown(const QString &reply);
    void linkWarningShown(const QString &text); // the link lost, waited for, restored
    void deliveringShown(bool delivering);
    void roiCountsShown(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // What starting and stopping need from the window.
    QString timeText() const override;
    void setTimeText(const QString &text) override;
    QString roiText(int index) const override;
    void redrawSpectrum(int bound) override;
    void closeLink() override { Command1_Click(); }
    void openLink() override { Command2_Click(); }
    bool timerEnabled() const override;
    void setTimerEnabled(bool enabled) override;
    // What the tick needs.
    QString calFactorText() const override;
    QString backgroundText() const override;
    bool logDataChecked() const override;
    bool smoothingChecked() const override;
    void showReadout(const Readout &readout) override;
    double courseStart() const override;
    void addCoursePoint(double courseTimeDays, double value) override;
    void showReading(const QString &reply) override;
    void showDelivering(bool delivering) override { emit deliveringShown(delivering); }
    void showRoiCounts(const QString &text) override { emit roiCountsShown(text); }
    int rowsInView() const override { return rowsInView_ ? rowsInView_() : 0; }

    QPushButton *addButton(const QString &text, const QString &tip);
    QLineEdit *addField(const QString &text);
    QLabel *addLabel(const QString &text);
    QLayout *fieldOnLabel(const QString &text, QLineEdit *field, int indentTwips);
    void followLinkRecovery();
    void showLog(const QString &text);
    void takeLogEdit();
    void takeRoiField(int index);

    LogView *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text3[5] = {};
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QMap<int, QPushButton *> Command4;
    QLabel *a_v = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *rateU_ = nullptr;
    QLabel *activityU_ = nullptr;
    QLabel *threshold_ = nullptr;
    QLabel *limit_ = nullptr;
    QLabel *StatusBar = nullptr;
    QLabel *simulationNotice_ = nullptr;
    SpectrumGraph *ecGraph1 = nullptr;
    std::unique_ptr<TickTimer> Timer1;
    frm_Prubeh *course_ = nullptr;
    std::function<int()> rowsInView_;
    bool logUpdatePending_ = false;
};

} // namespace pxr3
