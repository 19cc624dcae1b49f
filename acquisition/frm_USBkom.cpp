#include "acquisition/frm_USBkom.h"

#include "acquisition/CycleSpectrum.h"
#include "controls/LogView.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/Twips.h"
#include "core/WorkCommands.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/LinkRecovery.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "graphs/SpectrumGraph.h"
#include "graphs/frm_Prubeh.h"
#include "records/SpectrumExportDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace pxr3 {

namespace {

// Positions of the design, in twips.
constexpr int kMargin = 120;
constexpr int kColumn1 = 5040;
constexpr int kColumn2 = 6600;
constexpr int kFieldLeft = 5280;
constexpr int kRoiFieldLeft = 5880;
constexpr int kGraphLeft = 8280;
constexpr int kButtonWidth = 1455;
constexpr int kButtonHeight = 375;
constexpr int kFieldWidth = 600;
constexpr int kFieldHeight = 315;
constexpr int kStatusHeight = 300;
constexpr int kDesignWidth = 14400;
constexpr int kDesignHeight = 5600;
constexpr int kRowStep = 420;
constexpr int kRateTop = 4400;
constexpr int kActivityTop = 4700;
constexpr int kLimitsTop = 5000;
constexpr int kValueLeft = 640;
constexpr int kValueWidth = 1400;
constexpr int kUnitLeft = kValueLeft + 2 * kValueWidth + 60;
constexpr int kSaveAsTop = 4800;

const char *const kTipOpen = QT_TRANSLATE_NOOP("pxr3::frm_USBkom", "otevření USB portu");
const char *const kTipClose = QT_TRANSLATE_NOOP("pxr3::frm_USBkom", "zavření USB portu");
const char *const kTipVoltage = QT_TRANSLATE_NOOP("pxr3::frm_USBkom", "nastavení VN a T do PXR5");
const char *const kTipStop = QT_TRANSLATE_NOOP("pxr3::frm_USBkom", "stop mereni spektra");

QString LogForView(const QString &log)
{
    QString text = log;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

frm_USBkom::frm_USBkom(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_USBkom"));
    setWindowTitle(tr("USB komunikace"));
    resize(TwipsToPixels(this, kDesignWidth), TwipsToPixels(this, kDesignHeight));

    Text1 = new LogView(this);
    place(Text1, kMargin, kMargin, kColumn1 - 2 * kMargin, 4200);

    // Value, its uncertainty and the unit on one line each; the activity's limits below them.
    addLabel(QStringLiteral("n  ="), kMargin, kRateTop, 500);
    a_v = addLabel(QStringLiteral("0,0000E+00"), kValueLeft, kRateTop, kValueWidth);
    rateU_ = addLabel(QString(), kValueLeft + kValueWidth, kRateTop, kValueWidth);
    addLabel(QStringLiteral("s<sup>-1</sup>"), kUnitLeft, kRateTop, 600)->setTextFormat(Qt::RichText);
    addLabel(QStringLiteral("a<sub>v</sub>&nbsp;&nbsp;="), kMargin, kActivityTop, 500)->setTextFormat(Qt::RichText);
    Label5 = addLabel(QStringLiteral("0,0000E+00"), kValueLeft, kActivityTop, kValueWidth);
    activityU_ = addLabel(QString(), kValueLeft + kValueWidth, kActivityTop, kValueWidth);
    addLabel(QStringLiteral("Bq/m<sup>3</sup>"), kUnitLeft, kActivityTop, 800)->setTextFormat(Qt::RichText);
    threshold_ = addLabel(QString(), kMargin, kLimitsTop, 2200);
    limit_ = addLabel(QString(), kMargin + 2300, kLimitsTop, 2200);
    threshold_->setToolTip(tr("rozhodovací mez aktivity (α = 5 %)"));
    limit_->setToolTip(tr("mez detekce aktivity (α = β = 5 %)"));

    auto *open = addButton(QStringLiteral("Open USB"), tr(kTipOpen), kColumn1, kMargin);
    connect(open, &QPushButton::clicked, this, &frm_USBkom::Command2_Click);
    auto *close = addButton(QStringLiteral("Close USB"), tr(kTipClose), kColumn1, kMargin + kRowStep);
    connect(close, &QPushButton::clicked, this, &frm_USBkom::Command1_Click);
    Command4[0] = addButton(QStringLiteral("MCA ID"), tr("ID analyzátoru"), kColumn1, kMargin + 2 * kRowStep);
    Command4[7] = addButton(tr("Read VN"), tr(kTipVoltage), kColumn1, kMargin + 3 * kRowStep);
    Command4[2] = addButton(tr("Write VN"), tr(kTipVoltage), kColumn1, kMargin + 4 * kRowStep);

    int row = kMargin + 5 * kRowStep + 60;
    addLabel(QStringLiteral("T                [s]"), kColumn1, row + 30, kButtonWidth);
    Text2 = addField(QStringLiteral("2"), kFieldLeft + 60, row);
    row += kRowStep;
    addLabel(QStringLiteral("U               [V]"), kColumn1, row + 30, kButtonWidth);
    Text4 = addField(QStringLiteral("550"), kFieldLeft + 60, row);
    row += kRowStep;
    const char *roiLabels[] = {QT_TR_NOOP("ROI L :"), QT_TR_NOOP("ROI P :")};
    for (int i = 0; i < 2; ++i, row += kRowStep) {
        addLabel(tr(roiLabels[i]), kColumn1, row + 30, 840);
        Text3[i] = addField(i == 0 ? QStringLiteral("5") : QStringLiteral("250"), kRoiFieldLeft, row);
    }
    addLabel(tr("KF :"), kColumn1, row + 30, 840);
    Text3[3] = addField(QStringLiteral("1"), kRoiFieldLeft, row);
    row += kRowStep;
    addLabel(tr("Poz:"), kColumn1, row + 30, 840);
    Text3[4] = addField(QStringLiteral("1"), kRoiFieldLeft, row);

    auto *clear = addButton(QStringLiteral("&Clear F8"), tr("vymazání okna zápisu komunikace"), kColumn2, kMargin);
    connect(clear, &QPushButton::clicked, this, &frm_USBkom::Command5_Click);
    Command4[1] = addButton(tr("Akt. Spektrum "), tr(kTipStop), kColumn2, kMargin + kRowStep);
    Command4[3] = addButton(tr("Uložit spektrum"), tr(kTipStop), kColumn2, kMargin + 2 * kRowStep);
    Command4[8] = addButton(QStringLiteral("Start  F5"), tr("start mereni spektra"), kColumn2, kMargin + 3 * kRowStep);
    Command4[13] = addButton(QStringLiteral("Stop Ctrl +F5"), tr(kTipStop), kColumn2, kMargin + 4 * kRowStep);
    auto *course = addButton(tr("Průběh F2"), QString(), kColumn2, kMargin + 5 * kRowStep);
    connect(course, &QPushButton::clicked, this, &frm_USBkom::Command6_Click);
    for (auto it = Command4.cbegin(); it != Command4.cend(); ++it) {
        const int index = it.key();
        connect(it.value(), &QPushButton::clicked, this, [this, index] { Command4_Click(index); });
    }

    row = kMargin + 6 * kRowStep + 60;
    Check1 = new QCheckBox(QStringLiteral("LOG data"), this);
    place(Check1, kColumn2, row, kButtonWidth, kFieldHeight);
    row += kRowStep;
    Check2 = new QCheckBox(QStringLiteral(" SF:"), this);
    place(Check2, kColumn2, row, 780, kFieldHeight);
    Text3[2] = addField(QStringLiteral("0"), kColumn2 + 840, row);
    Text3[2]->setEnabled(false);
    row += kRowStep;
    Check3 = new QCheckBox(tr("LOG Y-osa"), this);
    place(Check3, kColumn2, row, kButtonWidth, kFieldHeight);
    row += kRowStep + 120;
    auto *quit = addButton(tr("Konec"), tr("minimalizace okna USB komunikace"), kColumn2, row);
    connect(quit, &QPushButton::clicked, this, &frm_USBkom::Command3_Click);
    // Under both columns: its text is longer than a button of one.
    auto *saveAs =
        addButton(tr("Uložit spektrum jako…"), tr("spektrum cyklu do souboru N42, SPE nebo CSV"), kColumn1, kSaveAsTop);
    place(saveAs, kColumn1, kSaveAsTop, kColumn2 + kButtonWidth - kColumn1, kButtonHeight);
    connect(saveAs, &QPushButton::clicked, this, [this] { SaveSpectrumAs(this); });

    connect(Check2, &QCheckBox::clicked, this, [this](bool checked) {
        Text3[2]->setEnabled(checked);
        if (checked)
            Text3[2]->setFocus();
    });

    ecGraph1 = new SpectrumGraph(this);
    ecGraph1->SetTotalTimeSource([] { return static_cast<long long>(state().CycleSpectrumTime); });
    connect(Check3, &QCheckBox::clicked, ecGraph1, &SpectrumGraph::ToggleLogY);
    ecGraph1->DrawSpectrumGraph(256); // axes and title from the start, before any spectrum

    StatusBar = new QLabel(this);
    StatusBar->setFrameShape(QFrame::StyledPanel);
    StatusBar->setFrameShadow(QFrame::Sunken);
    simulationNotice_ = new QLabel(tr("SIMULOVANÝ ANALYZÁTOR"), StatusBar);
    simulationNotice_->setStyleSheet(
        QStringLiteral("color: white; background: #c00000; font-weight: bold; padding: 0 6px;"));
    simulationNotice_->hide();

    Timer1 = std::make_unique<TickTimer>([this] { Timer1_Timer(*this); });

    // Changes after the design texts are in place: loading the window sets no bounds.
    for (int i = 0; i < 3; ++i)
        connect(Text3[i], &QLineEdit::textChanged, this, [this, i] { takeRoiField(i); });

    showLog(commLog().text());
    StatusBar->setText(commLog().shownStatus());
    connect(&commLog(), &CommLog::textChanged, this, [this] {
        // Entries come several to a frame: the view follows once, when the program is idle.
        if (logUpdatePending_)
            return;
        logUpdatePending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                logUpdatePending_ = false;
                showLog(commLog().text());
            },
            Qt::QueuedConnection);
    });
    connect(&commLog(), &CommLog::statusChanged, StatusBar, &QLabel::setText);
    followLinkRecovery();
    connect(Text1, &QPlainTextEdit::textChanged, this, &frm_USBkom::takeLogEdit);

    // The window sees the function keys before whichever of its controls has the focus.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

frm_USBkom::~frm_USBkom() = default;

QSize frm_USBkom::sizeHint() const { return {TwipsToPixels(this, kDesignWidth), TwipsToPixels(this, kDesignHeight)}; }

void frm_USBkom::place(QWidget *w, int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    w->setGeometry(TwipsToPixels(this, leftTwips), TwipsToPixels(this, topTwips), TwipsToPixels(this, widthTwips),
                   TwipsToPixels(this, heightTwips));
}

QPushButton *frm_USBkom::addButton(const QString &text, const QString &tip, int leftTwips, int topTwips)
{
    auto *button = new QPushButton(text, this);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    place(button, leftTwips, topTwips, kButtonWidth, kButtonHeight);
    return button;
}

QLineEdit *frm_USBkom::addField(const QString &text, int leftTwips, int topTwips)
{
    auto *field = new QLineEdit(text, this);
    place(field, leftTwips, topTwips, kFieldWidth, kFieldHeight);
    return field;
}

QLabel *frm_USBkom::addLabel(const QString &text, int leftTwips, int topTwips, int widthTwips)
{
    auto *label = new QLabel(text, this);
    place(label, leftTwips, topTwips, widthTwips, 255);
    return label;
}

QCheckBox *frm_USBkom::check(int number) const
{
    return number == 1 ? Check1 : number == 2 ? Check2 : number == 3 ? Check3 : nullptr;
}

void frm_USBkom::setSimulated(bool simulated)
{
    simulationNotice_->setVisible(simulated);
    setWindowTitle(simulated ? tr("USB komunikace  – SIMULOVANÝ ANALYZÁTOR") : tr("USB komunikace"));
}

void frm_USBkom::Command2_Click()
{
    if (RefuseWhenBusy())
        return;
    state().LinkStatus = static_cast<int16_t>(USB_Open());
    emit connectionShown(state().LinkStatus == 1);
}

void frm_USBkom::Command1_Click()
{
    if (RefuseWhenBusy())
        return;
    USB_Close();
    commLog().append(commLog().status());
    emit connectionShown(false);
}

void frm_USBkom::Reconnect()
{
    if (RefuseWhenBusy())
        return;
    commLog().clear();
    USB_Close();
    Command2_Click();
}

// The main window's status bar tells the truth about the link while it is being recovered.
void frm_USBkom::followLinkRecovery()
{
    LinkRecovery &recovery = linkRecovery();
    connect(&recovery, &LinkRecovery::linkLost, this, [this](const QString &reason) {
        state().LinkStatus = 0;
        emit connectionShown(false);
        emit linkWarningShown(tr("Spojení s analyzátorem ztraceno: ") + reason);
    });
    connect(&recovery, &LinkRecovery::retried, this, [this](int seconds) {
        emit linkWarningShown(tr("Analyzátor nedostupný, výpadek %1 – nové připojení každých %2 s")
                                  .arg(OutageText(seconds))
                                  .arg(LinkRecovery::kRetryUs / 1'000'000));
    });
    connect(&recovery, &LinkRecovery::linkRestored, this, [this](int seconds) {
        state().LinkStatus = 1;
        emit connectionShown(true);
        emit linkWarningShown(tr("Spojení obnoveno po %1 s").arg(seconds));
    });
    ResumeOnReconnect(*this, this);
}

void frm_USBkom::showReading(const QString &reply)
{
    // A failed reading of the lost device must not wipe the warning off the status bar.
    if (!linkRecovery().recovering())
        emit readingShown(reply);
}

void frm_USBkom::StartForSeries()
{
    if (!RefuseWhenBusy())
        StartSeriesMeasurement(*this);
}

void frm_USBkom::Command4_Click(int index)
{
    if (index != 3 && Command4.contains(index) && RefuseWhenBusy())
        return;
    switch (index) {
    case 0: MCA_Command(QStringLiteral("I")); break;
    case 1:
        MCA_Command(QStringLiteral("D"));
        // A failed read leaves the previous frame in place; adding it again would count it twice.
        if (link().CommandOk == 1)
            AddReceivedToCycle(link().FrameTime);
        ecGraph1->DrawSpectrumGraph(256);
        break;
    case 2: MCA_Command(QStringLiteral("W")); break;
    case 3: {
        const FileResult saved = SaveCycleSpectrum();
        if (!saved.ok)
            commLog().append(QStringLiteral("Spektrum nelze uložit do souboru SpektrumPXR3.TXT (%1)").arg(saved.error));
        break;
    }
    case 7:
        MCA_Command(QStringLiteral("R"));
        Text4->setText(IntText(state().DeviceHighVoltage));
        break;
    case 8: StartMeasurement(*this); break;
    case 13: StopMeasurement(*this); break;
    default: break;
    }
}

void frm_USBkom::Command5_Click()
{
    commLog().clear();
    EraseCycleSpectrum();
    ecGraph1->DrawSpectrumGraph(256);
}

void frm_USBkom::Command6_Click()
{
    if (workCommands().ShowCourse)
        workCommands().ShowCourse();
    else
        commLog().setStatus(QString::fromUtf8(kUnavailableCommand), UnavailableCommandText());
}

void frm_USBkom::Command3_Click() { emit quitRequested(); }

void frm_USBkom::takeRoiField(int index)
{
    // A number beyond 16 bits is not taken: the bound in force stays.
    if (const auto value = RoundToInt16(LeadingNumber(Text3[index]->text())))
        state().RoiBounds(index + 1) = *value;
}

void frm_USBkom::showLog(const QString &text) { Text1->follow(LogForView(text)); }

void frm_USBkom::takeLogEdit()
{
    if (Text1->following())
        return;
    Text1->takeEdits();
    QString log = Text1->shown();
    commLog().setText(log.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

bool frm_USBkom::isFunctionKey(int key, Qt::KeyboardModifiers modifiers) const
{
    modifiers &= ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier)
        return key == Qt::Key_F2 || (key == Qt::Key_F5 && !Timer1->isActive()) || key == Qt::Key_F8;
    return modifiers == Qt::ControlModifier && key == Qt::Key_F5;
}

bool frm_USBkom::functionKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!isFunctionKey(key, modifiers))
        return false;
    if (modifiers & Qt::ControlModifier)
        Command4_Click(13);
    else if (key == Qt::Key_F2)
        Command6_Click();
    else if (key == Qt::Key_F5)
        Command4_Click(8);
    else
        Command5_Click();
    return true;
}

bool frm_USBkom::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // The window's keys win over the main menu's shortcuts (F2 there saves the table).
        auto *key = static_cast<QKeyEvent *>(event);
        if (isFunctionKey(key->key(), key->modifiers())) {
            key->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (functionKey(key->key(), key->modifiers()))
            return true;
    } else if (event->type() == QEvent::FocusIn) {
        if (auto *field = qobject_cast<QLineEdit *>(watched)) {
            // After the click that brought the focus has placed the cursor.
            QTimer::singleShot(0, field, &QLineEdit::selectAll);
            field->raise();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frm_USBkom::closeEvent(QCloseEvent *event)
{
    // The window lives for the whole run: its close box only puts it aside.
    event->ignore();
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->showMinimized();
    else
        showMinimized();
}

void frm_USBkom::keyPressEvent(QKeyEvent *event)
{
    if (!functionKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

void frm_USBkom::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int statusHeight = TwipsToPixels(this, kStatusHeight);
    const int graphLeft = TwipsToPixels(this, kGraphLeft);
    const int graphTop = TwipsToPixels(this, kMargin);
    StatusBar->setGeometry(0, std::abs(height() - statusHeight), width(), statusHeight);
    simulationNotice_->setGeometry(StatusBar->width() - simulationNotice_->sizeHint().width() - 2, 1,
                                   simulationNotice_->sizeHint().width(), statusHeight - 2);
    ecGraph1->setGeometry(graphLeft, graphTop, std::abs(width() - graphLeft - graphTop),
                          std::abs(height() - statusHeight - graphTop));
}

QString frm_USBkom::timeText() const { return Text2->text(); }
void frm_USBkom::setTimeText(const QString &text) { Text2->setText(text); }
QString frm_USBkom::roiText(int index) const { return Text3[index]->text(); }
void frm_USBkom::redrawSpectrum(int bound) { ecGraph1->DrawSpectrumGraph(bound); }
bool frm_USBkom::timerEnabled() const { return Timer1->isActive(); }

void frm_USBkom::setTimerEnabled(bool enabled)
{
    if (enabled)
        Timer1->start(100'000);
    else
        Timer1->stop();
}

QString frm_USBkom::calFactorText() const { return Text3[3]->text(); }
QString frm_USBkom::backgroundText() const { return Text3[4]->text(); }
bool frm_USBkom::logDataChecked() const { return Check1->isChecked(); }
bool frm_USBkom::smoothingChecked() const { return Check2->isChecked(); }
void frm_USBkom::showReadout(const Readout &readout)
{
    a_v->setText(readout.rate);
    rateU_->setText(readout.rateU);
    Label5->setText(readout.activity);
    activityU_->setText(readout.activityU);
    threshold_->setText(readout.threshold);
    limit_->setText(readout.limit);
}

QLabel *frm_USBkom::uncertaintyLabel(int index) const
{
    QLabel *const labels[] = {rateU_, activityU_, threshold_, limit_};
    return index >= 0 && index < 4 ? labels[index] : nullptr;
}
double frm_USBkom::courseStart() const { return course_ ? course_->CourseStart() : 0.0; }

void frm_USBkom::addCoursePoint(double courseTimeDays, double value)
{
    if (course_)
        course_->AddCoursePoint(courseTimeDays, value);
}

} // namespace pxr3
