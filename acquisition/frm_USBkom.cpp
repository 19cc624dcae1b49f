#include "acquisition/frm_USBkom.h"

#include "acquisition/CycleSpectrum.h"
#include "controls/AccessibleControls.h"
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

#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace pxr3 {

namespace {

// Sizes of the design, in twips.
constexpr int kMargin = 120;
constexpr int kButtonWidth = 1455;
constexpr int kButtonHeight = 375;
constexpr int kFieldWidth = 600;
constexpr int kFieldHeight = 315;
constexpr int kStatusHeight = 300;
constexpr int kDesignWidth = 14400;
constexpr int kDesignHeight = 5600;
constexpr int kLogMinWidth = 1800;
constexpr int kFieldIndent = 300;    // "T" and "U": the field stands between the letter and the unit
constexpr int kRoiFieldIndent = 840; // "ROI L :", "KF :", "Poz:"
constexpr int kSmoothingIndent = 840;

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

    Text1 = new LogView;
    Text1->setAccessibleName(tr("Záznam komunikace"));
    Text1->setMinimumWidth(TwipsToPixels(this, kLogMinWidth));

    // Value, its uncertainty and the unit on one line each; the activity's limits below them.
    auto *readouts = new QGridLayout;
    readouts->addWidget(addLabel(QStringLiteral("n  =")), 0, 0);
    a_v = addLabel(QStringLiteral("0,0000E+00"));
    readouts->addWidget(a_v, 0, 1);
    NameReadout(a_v, tr("Četnost n [1/s]"));
    rateU_ = addLabel(QString());
    readouts->addWidget(rateU_, 0, 2);
    NameReadout(rateU_, tr("Nejistota četnosti u(n) [1/s]"));
    QLabel *rateUnit = addLabel(QStringLiteral("s<sup>-1</sup>"));
    rateUnit->setTextFormat(Qt::RichText);
    readouts->addWidget(rateUnit, 0, 3);
    QLabel *activityName = addLabel(QStringLiteral("a<sub>v</sub>&nbsp;&nbsp;="));
    activityName->setTextFormat(Qt::RichText);
    readouts->addWidget(activityName, 1, 0);
    Label5 = addLabel(QStringLiteral("0,0000E+00"));
    readouts->addWidget(Label5, 1, 1);
    NameReadout(Label5, tr("Objemová aktivita a [Bq/m³]"));
    activityU_ = addLabel(QString());
    readouts->addWidget(activityU_, 1, 2);
    NameReadout(activityU_, tr("Nejistota aktivity u(a) [Bq/m³]"));
    QLabel *activityUnit = addLabel(QStringLiteral("Bq/m<sup>3</sup>"));
    activityUnit->setTextFormat(Qt::RichText);
    readouts->addWidget(activityUnit, 1, 3);
    threshold_ = addLabel(QString());
    readouts->addWidget(threshold_, 2, 0, 1, 2);
    NameReadout(threshold_, tr("Rozhodovací mez aktivity a* [Bq/m³]"));
    limit_ = addLabel(QString());
    readouts->addWidget(limit_, 2, 2, 1, 2);
    NameReadout(limit_, tr("Mez detekce aktivity a# [Bq/m³]"));
    readouts->setColumnStretch(3, 1);
    // The results are what the operator reads from across the room: large, the values bold; their
    // uncertainties keep the common size, so the read-outs fit under the log and the controls.
    QFont large = font();
    large.setPointSizeF(font().pointSizeF() * 1.6);
    for (int row = 0; row < 2; ++row)
        for (int column : {0, 1, 3}) {
            large.setBold(column == 1);
            readouts->itemAtPosition(row, column)->widget()->setFont(large);
        }
    threshold_->setToolTip(tr("rozhodovací mez aktivity (α = 5 %)"));
    limit_->setToolTip(tr("mez detekce aktivity (α = β = 5 %)"));

    auto *column1 = new QVBoxLayout;
    auto *open = addButton(QStringLiteral("Open USB"), tr(kTipOpen));
    column1->addWidget(open);
    connect(open, &QPushButton::clicked, this, &frm_USBkom::Command2_Click);
    auto *close = addButton(QStringLiteral("Close USB"), tr(kTipClose));
    column1->addWidget(close);
    connect(close, &QPushButton::clicked, this, &frm_USBkom::Command1_Click);
    Command4[0] = addButton(QStringLiteral("MCA ID"), tr("ID analyzátoru"));
    column1->addWidget(Command4[0]);
    Command4[7] = addButton(tr("Read VN"), tr(kTipVoltage));
    column1->addWidget(Command4[7]);
    Command4[2] = addButton(tr("Write VN"), tr(kTipVoltage));
    column1->addWidget(Command4[2]);

    column1->addSpacing(TwipsToPixels(this, 60));
    Text2 = addField(QStringLiteral("2"));
    Text2->setAccessibleName(tr("Doba cyklu T [s]"));
    column1->addLayout(fieldOnLabel(QStringLiteral("T                [s]"), Text2, kFieldIndent));
    Text4 = addField(QStringLiteral("550"));
    Text4->setAccessibleName(tr("Vysoké napětí U [V]"));
    column1->addLayout(fieldOnLabel(QStringLiteral("U               [V]"), Text4, kFieldIndent));
    const char *roiLabels[] = {QT_TR_NOOP("ROI L :"), QT_TR_NOOP("ROI P :")};
    for (int i = 0; i < 2; ++i) {
        Text3[i] = addField(i == 0 ? QStringLiteral("5") : QStringLiteral("250"));
        Text3[i]->setAccessibleName(i == 0 ? tr("Levý kanál ROI L") : tr("Pravý kanál ROI P"));
        column1->addLayout(fieldOnLabel(tr(roiLabels[i]), Text3[i], kRoiFieldIndent));
    }
    Text3[3] = addField(QStringLiteral("1"));
    Text3[3]->setAccessibleName(tr("Kalibrační faktor KF"));
    column1->addLayout(fieldOnLabel(tr("KF :"), Text3[3], kRoiFieldIndent));
    Text3[4] = addField(QStringLiteral("1"));
    Text3[4]->setAccessibleName(tr("Pozadí [1/s]"));
    column1->addLayout(fieldOnLabel(tr("Poz:"), Text3[4], kRoiFieldIndent));
    column1->addStretch();

    auto *column2 = new QVBoxLayout;
    auto *clear = addButton(QStringLiteral("&Clear F8"), tr("vymazání okna zápisu komunikace"));
    column2->addWidget(clear);
    connect(clear, &QPushButton::clicked, this, &frm_USBkom::Command5_Click);
    Command4[1] = addButton(tr("Akt. Spektrum "), tr(kTipStop));
    column2->addWidget(Command4[1]);
    Command4[3] = addButton(tr("Uložit spektrum"), tr(kTipStop));
    column2->addWidget(Command4[3]);
    Command4[8] = addButton(QStringLiteral("Start  F5"), tr("start mereni spektra"));
    column2->addWidget(Command4[8]);
    Command4[13] = addButton(QStringLiteral("Stop Ctrl +F5"), tr(kTipStop));
    column2->addWidget(Command4[13]);
    auto *course = addButton(tr("Průběh F2"), QString());
    column2->addWidget(course);
    connect(course, &QPushButton::clicked, this, &frm_USBkom::Command6_Click);
    for (auto it = Command4.cbegin(); it != Command4.cend(); ++it) {
        const int index = it.key();
        connect(it.value(), &QPushButton::clicked, this, [this, index] { Command4_Click(index); });
    }

    column2->addSpacing(TwipsToPixels(this, 60));
    Check1 = new QCheckBox(QStringLiteral("LOG data"));
    Check1->setFixedHeight(TwipsToPixels(this, kFieldHeight));
    column2->addWidget(Check1);
    Check2 = new QCheckBox(QStringLiteral(" SF:"));
    Check2->setAccessibleName(tr("Vyhlazení průběhu SF"));
    Check2->setFixedHeight(TwipsToPixels(this, kFieldHeight));
    Text3[2] = addField(QStringLiteral("0"));
    Text3[2]->setAccessibleName(tr("Parametr vyhlazení SF"));
    Text3[2]->setEnabled(false);
    auto *smoothing = new QHBoxLayout;
    smoothing->setSpacing(0);
    smoothing->addWidget(Check2);
    smoothing->addStretch();
    smoothing->addWidget(Text3[2]);
    Check2->setFixedWidth(TwipsToPixels(this, kSmoothingIndent));
    column2->addLayout(smoothing);
    Check3 = new QCheckBox(tr("LOG Y-osa"));
    Check3->setFixedHeight(TwipsToPixels(this, kFieldHeight));
    column2->addWidget(Check3);
    column2->addSpacing(TwipsToPixels(this, 120));
    auto *quit = addButton(tr("Konec"), tr("minimalizace okna USB komunikace"));
    column2->addWidget(quit);
    column2->addStretch();
    connect(quit, &QPushButton::clicked, this, &frm_USBkom::Command3_Click);
    // Under both columns: its text is longer than a button of one.
    auto *saveAs = addButton(tr("Uložit spektrum jako…"), tr("spektrum cyklu do souboru N42, SPE nebo CSV"));
    connect(saveAs, &QPushButton::clicked, this, [this] { SaveSpectrumAs(this); });

    // The state, not the click: the keyboard, the program and a screen reader's toggle tick it too.
    connect(Check2, &QCheckBox::toggled, this, [this](bool checked) {
        Text3[2]->setEnabled(checked);
        if (checked)
            Text3[2]->setFocus();
    });

    ecGraph1 = new SpectrumGraph;
    ecGraph1->setAccessibleName(tr("Graf spektra"));
    ecGraph1->SetTotalTimeSource([] { return static_cast<long long>(state().CycleSpectrumTime); });
    connect(Check3, &QCheckBox::toggled, ecGraph1, &SpectrumGraph::ToggleLogY);
    ecGraph1->DrawSpectrumGraph(256); // axes and title from the start, before any spectrum

    StatusBar = new QLabel;
    NameReadout(StatusBar, tr("Stav spojení"));
    StatusBar->setFixedHeight(TwipsToPixels(this, kStatusHeight));
    StatusBar->setFrameShape(QFrame::StyledPanel);
    StatusBar->setFrameShadow(QFrame::Sunken);
    simulationNotice_ = new QLabel(tr("SIMULOVANÝ ANALYZÁTOR"), StatusBar);
    simulationNotice_->setStyleSheet(
        QStringLiteral("color: white; background: #c00000; font-weight: bold; padding: 0 6px;"));
    simulationNotice_->hide();

    // The log, the two columns of controls and the graph side by side, the read-outs under the
    // log and the controls; the graph takes the room the window gets. A window tiled smaller
    // than all of it scrolls rather than squeezing.
    auto *panel = new QWidget;
    auto *columns = new QGridLayout(panel);
    const int margin = TwipsToPixels(this, kMargin);
    columns->setContentsMargins(margin, margin, margin, margin);
    columns->setSpacing(margin);
    columns->addWidget(Text1, 0, 0);
    auto *controls = new QGridLayout;
    controls->setContentsMargins(0, 0, 0, 0);
    controls->setSpacing(margin);
    controls->addLayout(column1, 0, 0);
    controls->addLayout(column2, 0, 1);
    saveAs->setFixedWidth(2 * saveAs->width() + margin);
    controls->addWidget(saveAs, 1, 0, 1, 2);
    controls->setRowStretch(0, 1);
    columns->addLayout(controls, 0, 1, 1, 2);
    columns->addLayout(readouts, 1, 0, 1, 3);
    columns->addWidget(ecGraph1, 0, 3, 2, 1);
    columns->setColumnStretch(0, 1);
    columns->setColumnStretch(3, 3);
    columns->setRowStretch(0, 1);
    Text1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(panel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    layout->addWidget(StatusBar);

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

QPushButton *frm_USBkom::addButton(const QString &text, const QString &tip)
{
    auto *button = new QPushButton(text);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    button->setFixedSize(TwipsToPixels(this, kButtonWidth), TwipsToPixels(this, kButtonHeight));
    return button;
}

QLineEdit *frm_USBkom::addField(const QString &text)
{
    auto *field = new QLineEdit(text);
    field->setFixedSize(TwipsToPixels(this, kFieldWidth), TwipsToPixels(this, kFieldHeight));
    return field;
}

QLabel *frm_USBkom::addLabel(const QString &text) { return new QLabel(text); }

QLayout *frm_USBkom::fieldOnLabel(const QString &text, QLineEdit *field, int indentTwips)
{
    // As designed, the field stands over the blanks of its label, between a name and a unit.
    auto *row = new QGridLayout;
    row->addWidget(addLabel(text), 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    auto *fieldRow = new QHBoxLayout;
    fieldRow->addSpacing(TwipsToPixels(this, indentTwips));
    fieldRow->addWidget(field);
    fieldRow->addStretch();
    row->addLayout(fieldRow, 0, 0);
    row->setColumnMinimumWidth(0, TwipsToPixels(this, kButtonWidth));
    return row;
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
    const int statusHeight = StatusBar->height();
    simulationNotice_->setGeometry(StatusBar->width() - simulationNotice_->sizeHint().width() - 2, 1,
                                   simulationNotice_->sizeHint().width(), statusHeight - 2);
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
