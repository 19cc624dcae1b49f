#pragma once
// The operator's panel for the analyser: link buttons, measurement fields, the
// communication log, the spectrum graph and the rate and activity read-outs.

#include "acquisition/MeasurementControl.h"

#include <QMap>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace pxr3 {

class SpectrumGraph;

class frm_USBkom : public QWidget, private MeasurementPanel {
    Q_OBJECT
public:
    explicit frm_USBkom(QWidget *parent = nullptr);

    // The buttons' handlers; the main window and the series press them the same way.
    void Command2_Click(); // "Open USB"
    void Command1_Click(); // "Close USB"
    void Command4_Click(int index);
    void Command5_Click(); // "Clear"
    void Command6_Click(); // "Průběh F2"
    void Command3_Click(); // "Konec"
    // The main window's reconnect: empty log, close, open again.
    void Reconnect();

    // Marks everything the operator reads as coming from the simulated analyser.
    void setSimulated(bool simulated);

    QLineEdit *text2() const { return Text2; }
    QLineEdit *text4() const { return Text4; }
    QLineEdit *text3(int index) const { return Text3[index]; }
    QCheckBox *check(int number) const; // 1 "LOG data", 2 " SF:", 3 "LOG Y-osa"
    QPushButton *command4(int index) const { return Command4.value(index); }
    QPlainTextEdit *logView() const { return Text1; }
    QLabel *statusLine() const { return StatusBar; }
    QLabel *rateLabel() const { return a_v; }
    QLabel *activityLabel() const { return Label5; }
    SpectrumGraph *graph() const { return ecGraph1; }
    QTimer *timer() const { return Timer1; }

    // F2, F5, F8 and Ctrl+F5 act as their buttons; true when the key was one of them.
    bool functionKey(int key, Qt::KeyboardModifiers modifiers);
    static bool isFunctionKey(int key, Qt::KeyboardModifiers modifiers);

    QSize sizeHint() const override;

signals:
    // The main window's status-bar indicators follow the link.
    void connectionShown(bool connected);
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
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

    QPushButton *addButton(const QString &text, const QString &tip, int leftTwips, int topTwips);
    QLineEdit *addField(const QString &text, int leftTwips, int topTwips);
    QLabel *addLabel(const QString &text, int leftTwips, int topTwips, int widthTwips);
    void place(QWidget *w, int leftTwips, int topTwips, int widthTwips, int heightTwips);
    void showLog(const QString &text);
    void takeLogEdit();
    void takeRoiField(int index);

    QPlainTextEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text3[5] = {};
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QMap<int, QPushButton *> Command4;
    QLabel *a_v = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *StatusBar = nullptr;
    QLabel *simulationNotice_ = nullptr;
    SpectrumGraph *ecGraph1 = nullptr;
    QTimer *Timer1 = nullptr;
    QString shownLog_; // the log as the view shows it, to append without rebuilding
    bool showingLog_ = false;
};

} // namespace pxr3
