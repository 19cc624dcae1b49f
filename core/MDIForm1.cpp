#include "core/MDIForm1.h"

#include "acquisition/AcquisitionTick.h"
#include "acquisition/frm_USBkom.h"
#include "controls/AccessibleControls.h"
#include "controls/NumberField.h"
#include "controls/SteadyPanel.h"
#include "core/DateTimeText.h"
#include "core/Form1.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/SubWindowTiling.h"
#include "core/Twips.h"
#include "core/WorkCommands.h"
#include "windows/ProgramPrinter.h"
#include "windows/frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// Our icons, for a desktop without an icon theme.
static void InitToolIcons() { Q_INIT_RESOURCE(ToolIcons); }

namespace pxr3 {

namespace {

QPixmap lamp(const QColor &color, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color.darker(160), 1));
    QRadialGradient glow(size * 0.35, size * 0.35, size * 0.6);
    glow.setColorAt(0, color.lighter(170));
    glow.setColorAt(1, color);
    painter.setBrush(glow);
    painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    return pixmap;
}

} // namespace

MDIForm1::MDIForm1(QWidget *parent) : QMainWindow(parent)
{
    InitToolIcons();
    setObjectName(QStringLiteral("MDIForm1"));
    setCaption(QStringLiteral("PXR2-N"));
    area_ = new QMdiArea;
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    buildPanel();
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Picture1);
    layout->addWidget(area_, 1);
    setCentralWidget(central);

    buildMenu();
    buildToolbar();
    buildStatusBar();
    showConnected(false);
    resize(TwipsToPixels(this, 15360), TwipsToPixels(this, 10800));
}

void MDIForm1::buildPanel()
{
    Picture1 = new QWidget;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedHeight(TwipsToPixels(this, 900));
    Picture1->setAutoFillBackground(true);

    struct Row {
        int index, top, captionLeft, valueLeft;
        const char *caption;
    };
    const Row rows[] = {
        {0, 120, 120, 1440, QT_TR_NOOP("Radionuklid :")},
        {1, 120, 2640, 3840, QT_TR_NOOP("Čas měření :")},
        {2, 120, 4320, 6600, QT_TR_NOOP("[s]     Počet opakování :")},
        {3, 360, 120, 1440, QT_TR_NOOP("L-ROI :")},
        {4, 360, 2640, 3840, QT_TR_NOOP("P-ROI :")},
        {5, 360, 4800, 6600, QT_TR_NOOP("Vysoké napětí :")},
        {6, 600, 120, 1440, "ROI:"},
        {8, 600, 4800, 6600, QT_TR_NOOP("Pozadí [1/s] :")},
    };
    for (const Row &r : rows) {
        Label1[r.index] = new QLabel(tr(r.caption), Picture1);
        Label1[r.index]->move(TwipsToPixels(this, r.captionLeft), TwipsToPixels(this, r.top));
        Label2[r.index] = new QLabel(r.index == 0 ? QStringLiteral("NONAME") : QStringLiteral("0"), Picture1);
        Label2[r.index]->setObjectName(QStringLiteral("Label2_%1").arg(r.index));
        Label2[r.index]->setStyleSheet(QStringLiteral("color: blue;"));
        Label2[r.index]->move(TwipsToPixels(this, r.valueLeft), TwipsToPixels(this, r.top));
        Label2[r.index]->setMinimumWidth(TwipsToPixels(this, r.index == 0 ? 1150 : r.index == 1 ? 480 : 700));
    }
    const QString readoutNames[9] = {
        tr("Radionuklid"),     tr("Čas měření [s]"),    tr("Počet opakování"),     tr("Levý kanál ROI"),
        tr("Pravý kanál ROI"), tr("Vysoké napětí [V]"), tr("Impulzy v ROI [imp]"), QString(),
        tr("Pozadí [1/s]")};
    for (const Row &r : rows)
        NameReadout(Label2[r.index], readoutNames[r.index]);
    Label1[7] = new QLabel(tr("Počet řádků :"), Picture1);
    Label1[7]->move(TwipsToPixels(this, 7200), TwipsToPixels(this, 360));

    Check1 = new QCheckBox(tr("rolování "), Picture1);
    Check1->move(TwipsToPixels(this, 7200), TwipsToPixels(this, 120));
    Text1 = new QLineEdit(QStringLiteral("20"), Picture1);
    Text1->setEnabled(false);
    Label1[7]->setBuddy(Text1);
    Text1->setGeometry(TwipsToPixels(this, 8520), TwipsToPixels(this, 360), TwipsToPixels(this, 600),
                       TwipsToPixels(this, 285));
    MakeNumberField(Text1);
    // The state, not the click: the keyboard, the program and a screen reader's toggle tick it too.
    connect(Check1, &QCheckBox::toggled, this, [this] {
        Text1->setEnabled(Check1->isChecked());
        if (Check1->isChecked())
            Text1->setFocus();
    });

    const int size = TwipsToPixels(this, 480);
    imgConnected = new QLabel(Picture1);
    imgConnected->setPixmap(lamp(QColor(40, 190, 60), size));
    imgConnected->setToolTip(tr("Analyzátor dodává data"));
    imgConnected->setAccessibleName(tr("Analyzátor dodává data"));
    imgNotConnected = new QLabel(Picture1);
    imgNotConnected->setPixmap(lamp(QColor(200, 40, 40), size));
    imgNotConnected->setToolTip(tr("Analyzátor nedodává data"));
    imgNotConnected->setAccessibleName(tr("Analyzátor nedodává data"));
    for (QLabel *picture : {imgConnected, imgNotConnected})
        picture->setGeometry(0, TwipsToPixels(this, 200), size, size);
    showDelivering(false);
}

// A theme icon where the desktop has one, else Qt's own picture of the same thing. A look-up
// searches the theme's folders and decodes every size of the picture, so each icon is made
// once and shared by the toolbar and the menus.
QIcon MDIForm1::themed(const char *name, QStyle::StandardPixmap fallback)
{
    const QString key = QString::fromLatin1(name) + QLatin1Char('|') + QString::number(fallback);
    auto found = icons_.constFind(key);
    if (found != icons_.constEnd())
        return *found;
    // As QIcon::fromTheme(name, fallback), without making the fallback when the theme has one.
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
    if (icon.isNull() || icon.availableSizes().isEmpty()) {
        // Our own drawing where there is one: Qt's pictures of a print or a spreadsheet are none.
        const QString drawn = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
        if (QFile::exists(drawn))
            icon = QIcon(drawn);
        else
            icon = fallback == QStyle::SP_CustomBase ? QIcon() : QApplication::style()->standardIcon(fallback);
    }
    icons_.insert(key, icon);
    return icon;
}

// A menu's icons are drawn only when it opens: they are made then, not at start-up.
void MDIForm1::showMenuIcons(QMenu *menu)
{
    for (auto i = menuIcons_.begin(); i != menuIcons_.end();) {
        if (i->menu == menu) {
            i->action->setIcon(themed(i->name, i->fallback));
            i = menuIcons_.erase(i);
        } else {
            ++i;
        }
    }
}

QAction *MDIForm1::addMenuItem(QMenu *menu, const QString &name, const QString &text, const QKeySequence &key,
                               const char *iconName, QStyle::StandardPixmap fallback, void (MDIForm1::*handler)())
{
    QAction *action = menu->addAction(text);
    if (iconName)
        menuIcons_.append({menu, action, iconName, fallback});
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::ApplicationShortcut);
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    menuItems_.insert(name, action);
    return action;
}

void MDIForm1::buildMenu()
{
    QMenuBar *bar = menuBar();
    QMenu *m1 = bar->addMenu(tr("&Systém"));
    menuItems_.insert(QStringLiteral("m1"), m1->menuAction());
    connect(m1, &QMenu::aboutToShow, this, [this, m1] { showMenuIcons(m1); });
    addMenuItem(m1, "m11", tr("&Nastavní tisku"), {}, "document-page-setup", QStyle::SP_CustomBase,
                &MDIForm1::printerSetup);
    addMenuItem(m1, "m13", tr("&Komunikace"), {}, "network-wired", QStyle::SP_BrowserReload, &MDIForm1::reconnect);
    addMenuItem(m1, "m14", tr("Nastavení měření"), {}, "preferences-system", QStyle::SP_CustomBase,
                &MDIForm1::parameters);
    m1->addSeparator()->setObjectName(QStringLiteral("m15"));
    QAction *m16 = addMenuItem(m1, "m16", tr("Konec &programu"), QKeySequence(Qt::CTRL | Qt::Key_X), "application-exit",
                               QStyle::SP_DialogCloseButton, &MDIForm1::quit);
    // A text field takes Ctrl+X as "cut": Ctrl+Q quits from anywhere, and the menu shows it.
    m16->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::CTRL | Qt::Key_X)});

    QMenu *m4 = bar->addMenu(QStringLiteral("&Data"));
    menuItems_.insert(QStringLiteral("m4"), m4->menuAction());
    connect(m4, &QMenu::aboutToShow, this, [this, m4] { showMenuIcons(m4); });
    addMenuItem(m4, "m41", tr("&Nový"), QKeySequence(Qt::CTRL | Qt::Key_N), "document-new", QStyle::SP_FileIcon,
                &MDIForm1::clearTable);
    addMenuItem(m4, "m42", tr("&Uložit"), QKeySequence(Qt::Key_F2), "document-save", QStyle::SP_DialogSaveButton,
                &MDIForm1::saveTable);
    addMenuItem(m4, "m43", tr("&Načíst"), QKeySequence(Qt::Key_F3), "document-open", QStyle::SP_DialogOpenButton,
                &MDIForm1::loadTable);
    m4->addSeparator()->setObjectName(QStringLiteral("m44"));
    addMenuItem(m4, "m45", tr("&Tisk"), QKeySequence(Qt::CTRL | Qt::Key_T), "document-print", QStyle::SP_CustomBase,
                &MDIForm1::printTable);
    addMenuItem(m4, "m46", tr("Náhled tisku"), {}, "document-print-preview", QStyle::SP_CustomBase,
                &MDIForm1::previewTable);
    addMenuItem(m4, "m47", tr("Tisk do PDF..."), {}, "application-pdf", QStyle::SP_CustomBase,
                &MDIForm1::printTableToPdf);

    QMenu *m2 = bar->addMenu(tr("&Měření"));
    menuItems_.insert(QStringLiteral("m2"), m2->menuAction());
    connect(m2, &QMenu::aboutToShow, this, [this, m2] { showMenuIcons(m2); });
    addMenuItem(m2, "m21", QStringLiteral("&Start"), QKeySequence(Qt::Key_F4), "media-playback-start",
                QStyle::SP_MediaPlay, &MDIForm1::start);
    addMenuItem(m2, "m22", QStringLiteral("S&top"), QKeySequence(Qt::Key_F5), "media-playback-stop",
                QStyle::SP_MediaStop, &MDIForm1::stopFromMenu)
        ->setEnabled(false);

    QMenu *m3 = bar->addMenu(tr("&Okna"));
    menuItems_.insert(QStringLiteral("m3"), m3->menuAction());
    connect(m3, &QMenu::aboutToShow, this, [this, m3] { showMenuIcons(m3); });
    addMenuItem(m3, "m31", tr("&Tabulka dat"), QKeySequence(Qt::CTRL | Qt::Key_D), "x-office-spreadsheet",
                QStyle::SP_CustomBase, &MDIForm1::showTable);
    addMenuItem(m3, "m32", tr("&Graf dat"), QKeySequence(Qt::CTRL | Qt::Key_G), "x-office-presentation",
                QStyle::SP_CustomBase, &MDIForm1::showCourse);
    m3->addSeparator()->setObjectName(QStringLiteral("m33"));
    addMenuItem(m3, "m34", tr("&Horizontálně"), {}, "view-split-top-bottom", QStyle::SP_CustomBase,
                &MDIForm1::tileHorizontally);
    addMenuItem(m3, "m35", tr("&Vertikálně"), {}, "view-split-left-right", QStyle::SP_CustomBase,
                &MDIForm1::tileVertically);

    QAction *m5 = bar->addAction(tr("&O programu"));
    m5->setObjectName(QStringLiteral("m5"));
    connect(m5, &QAction::triggered, this, &MDIForm1::about);
    menuItems_.insert(QStringLiteral("m5"), m5);
}

void MDIForm1::buildToolbar()
{
    p2 = addToolBar(QStringLiteral("p2"));
    p2->setObjectName(QStringLiteral("p2"));
    p2->setMovable(false);
    struct Button {
        const char *key;
        QString tip;
        QIcon icon;
    };
    const Button buttons[] = {
        {"start", QStringLiteral("Start"), themed("media-playback-start", QStyle::SP_MediaPlay)},
        {"stop", QStringLiteral("Stop"), themed("media-playback-stop", QStyle::SP_MediaStop)},
        {"novy", tr("Nový"), themed("document-new", QStyle::SP_FileIcon)},
        {"save", tr("Uložit "), themed("document-save", QStyle::SP_DialogSaveButton)},
        {"load", tr("Načíst "), themed("document-open", QStyle::SP_DialogOpenButton)},
        {"tisk", tr("Tisk"), themed("document-print", QStyle::SP_CustomBase)},
        {"nast", tr("Nastavení"), themed("preferences-system", QStyle::SP_CustomBase)},
        {"excel", tr("Excelu"), themed("x-office-spreadsheet", QStyle::SP_CustomBase)},
        {"mca", QString(), QIcon()},
    };
    for (const Button &b : buttons) {
        const QString key = QString::fromLatin1(b.key);
        QAction *action =
            key == QLatin1String("mca") ? p2->addAction(QStringLiteral("MCA")) : p2->addAction(b.icon, b.tip);
        action->setObjectName(QStringLiteral("p2_") + key);
        if (!b.tip.isEmpty())
            action->setToolTip(b.tip);
        connect(action, &QAction::triggered, this, [this, key] { p2_ButtonClick(key); });
        toolButtons_.insert(key, action);
        toolOrder_.append(action);
    }
    // The button that shows the buttons that do not fit is an arrow only.
    if (auto *more = p2->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(tr("Další tlačítka"));
}

void MDIForm1::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    const char *designTexts[] = {QT_TR_NOOP("Co se děje ..."), "", "", QT_TR_NOOP("Připojeno"),
                                 QT_TR_NOOP("Nepřipojeno")};
    for (int i = 0; i < 5; ++i) {
        panels_[i] = new QLabel(tr(designTexts[i]));
        panels_[i]->setObjectName(QStringLiteral("StatusBar1_panel%1").arg(i + 1));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setContentsMargins(4, 0, 4, 0);
        if (i == 0)
            bar->addWidget(panels_[i], 1);
        else if (i == 1 || i == 2)
            bar->addPermanentWidget(new SteadyPanel(panels_[i])); // the clock: a new text each second
        else
            bar->addPermanentWidget(panels_[i]);
    }
    const QString panelNames[3] = {tr("Stav"), tr("Datum"), tr("Čas")};
    for (int i = 0; i < 3; ++i)
        NameReadout(panels_[i], panelNames[i]);
    panels_[3]->setStyleSheet(QStringLiteral("color: #1a7f2a; font-weight: bold;"));
    panels_[4]->setStyleSheet(QStringLiteral("color: #b01c1c; font-weight: bold;"));
    simulationNotice_ = new QLabel(tr("SIMULACE – data nejsou měřená"));
    simulationNotice_->setStyleSheet(
        QStringLiteral("background: #b01c1c; color: white; font-weight: bold; padding: 0 6px;"));
    simulationNotice_->setVisible(false);
    bar->insertPermanentWidget(1, simulationNotice_);
    seriesText_ = new QLabel;
    seriesText_->setObjectName(QStringLiteral("seriesProgressText"));
    NameReadout(seriesText_, tr("Průběh série"));
    seriesText_->setVisible(false);
    bar->insertPermanentWidget(2, seriesText_);
    seriesBar_ = new QProgressBar;
    seriesBar_->setObjectName(QStringLiteral("seriesProgressBar"));
    seriesBar_->setAccessibleName(tr("Uplynulý čas cyklu [s]"));
    seriesBar_->setFormat(QStringLiteral("%v / %m s"));
    seriesBar_->setMaximumWidth(TwipsToPixels(this, 2000));
    seriesBar_->setVisible(false);
    bar->insertPermanentWidget(3, seriesBar_);
    updateClock();
    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &MDIForm1::updateClock);
    clock->start(1000);
}

void MDIForm1::showSeriesProgress(const QString &text, int secondsDone, int secondsPerCycle)
{
    seriesText_->setText(text);
    seriesText_->setVisible(!text.isEmpty());
    seriesBar_->setVisible(secondsPerCycle > 0);
    if (secondsPerCycle > 0) {
        seriesBar_->setRange(0, secondsPerCycle);
        seriesBar_->setValue(secondsDone);
    }
}

void MDIForm1::updateClock()
{
    const double now = NowDays();
    panels_[1]->setText(DateText(now));
    panels_[2]->setText(TimeText(now));
}

void MDIForm1::setCaption(const QString &caption)
{
    caption_ = caption;
    setWindowTitle(simulated_ ? caption_ + tr("  – SIMULOVANÝ ANALYZÁTOR") : caption_);
}

void MDIForm1::setSimulated(bool simulated)
{
    simulated_ = simulated;
    simulationNotice_->setVisible(simulated);
    setCaption(caption_);
}

QMdiSubWindow *MDIForm1::addChild(QWidget *child)
{
    QMdiSubWindow *frame = area_->addSubWindow(child);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    // A window put aside leaves an icon at the bottom; the others make room for it. Queued: the
    // area places the icon after the state has changed.
    connect(
        frame, &QMdiSubWindow::windowStateChanged, this,
        [this](Qt::WindowStates before, Qt::WindowStates now) {
            if ((now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized))
                tileVertically();
        },
        Qt::QueuedConnection);
    return frame;
}

void MDIForm1::setCommunicationWindow(frm_USBkom *window, QMdiSubWindow *frame)
{
    usbkom_ = window;
    usbkomFrame_ = frame;
    connect(window, &frm_USBkom::connectionShown, this, &MDIForm1::showConnected);
    connect(window, &frm_USBkom::quitRequested, this, &MDIForm1::quit);
    connect(window, &frm_USBkom::readingShown, this, &MDIForm1::setStatusText);
    connect(window, &frm_USBkom::linkWarningShown, this, &MDIForm1::setStatusText);
    connect(window, &frm_USBkom::deliveringShown, this, &MDIForm1::showDelivering);
    connect(window, &frm_USBkom::roiCountsShown, this, [this](const QString &text) { setPanelValue(6, text); });
    window->setRowsInViewSource(
        [this] { return Check1->isChecked() ? RoundToInt16(LeadingNumber(Text1->text())).value_or(0) : 0; });
}

void MDIForm1::tileVertically() { TileSubWindows(area_, Qt::Horizontal); }
void MDIForm1::tileHorizontally() { TileSubWindows(area_, Qt::Vertical); }

void MDIForm1::p2_ButtonClick(const QString &key)
{
    SharedState &s = state();
    if (key == QLatin1String("mca")) {
        if (s.MeasureState != 1)
            s.MeasureState = 5;
        if (usbkomFrame_) {
            usbkomFrame_->showNormal();
            usbkomFrame_->raise();
            area_->setActiveSubWindow(usbkomFrame_);
        }
    } else if (key == QLatin1String("start")) {
        start();
    } else if (key == QLatin1String("stop")) {
        toolButtons_.value(QStringLiteral("stop"))->setEnabled(false);
        RequestStop();
        emit stopRequested();
    } else if (key == QLatin1String("excel")) {
        exportTable();
    } else if (key == QLatin1String("tisk")) {
        printTable();
    } else if (key == QLatin1String("novy")) {
        clearTable();
    } else if (key == QLatin1String("nast")) {
        parameters();
    } else if (key == QLatin1String("save")) {
        saveTable();
    } else if (key == QLatin1String("load")) {
        loadTable();
    }
}

void MDIForm1::setSeriesRunning(bool running)
{
    for (int i = 0; i < 8; ++i)
        toolOrder_[i]->setEnabled(!running);
    toolOrder_[8]->setEnabled(true);
    toolButtons_.value(QStringLiteral("stop"))->setEnabled(running);
    for (const char *name : {"m1", "m4", "m21"})
        menuItems_.value(QString::fromLatin1(name))->setEnabled(!running);
    menuItems_.value(QStringLiteral("m22"))->setEnabled(running);
}

void MDIForm1::showConnected(bool connected)
{
    panels_[3]->setVisible(connected);
    panels_[4]->setVisible(!connected);
}

bool MDIForm1::connectedShown() const { return !panels_[3]->isHidden(); }
bool MDIForm1::notConnectedShown() const { return !panels_[4]->isHidden(); }

void MDIForm1::showDelivering(bool delivering)
{
    imgConnected->setVisible(delivering);
    imgNotConnected->setVisible(!delivering);
}

void MDIForm1::setStatusText(const QString &text) { panels_[0]->setText(text); }

void MDIForm1::showBrokerState(const QString &text)
{
    if (!brokerPanel_) {
        brokerPanel_ = new QLabel(this);
        brokerPanel_->setObjectName(QStringLiteral("StatusBar1_mqtt"));
        brokerPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        brokerPanel_->setContentsMargins(4, 0, 4, 0);
        statusBar()->addPermanentWidget(brokerPanel_);
        NameReadout(brokerPanel_, tr("Stav brokeru MQTT"));
    }
    brokerPanel_->setText(text);
}
QString MDIForm1::statusText() const { return panels_[0]->text(); }

QLabel *MDIForm1::panelValue(int index) const { return index >= 0 && index < 9 ? Label2[index] : nullptr; }

void MDIForm1::setPanelValue(int index, const QString &text)
{
    if (QLabel *label = panelValue(index)) {
        label->setText(text);
        label->adjustSize();
    }
}

void MDIForm1::runCommand(const std::function<void()> &command)
{
    if (command)
        command();
    else
        setStatusText(UnavailableCommandText());
}

void MDIForm1::printerSetup() { ShowPrinterSetup(this); }

void MDIForm1::reconnect()
{
    if (usbkom_)
        usbkom_->Reconnect();
}

void MDIForm1::parameters() { runCommand(workCommands().ShowParameters); }
void MDIForm1::quit() { showQuitDialog(true); }
void MDIForm1::clearTable() { runCommand(workCommands().ClearTable); }
void MDIForm1::saveTable() { runCommand(workCommands().SaveTable); }
void MDIForm1::loadTable() { runCommand(workCommands().LoadTable); }
void MDIForm1::printTable() { runCommand(workCommands().PrintTable); }
void MDIForm1::previewTable() { runCommand(workCommands().PreviewTable); }
void MDIForm1::printTableToPdf() { runCommand(workCommands().PrintTableToPdf); }
void MDIForm1::exportTable() { runCommand(workCommands().ExportTable); }
void MDIForm1::start() { runCommand(workCommands().NewMeasurement); }
void MDIForm1::stopFromMenu()
{
    RequestStop();
    emit stopRequested();
}

void MDIForm1::showTable() { bringUp(tableFrame_); }

void MDIForm1::showCourse()
{
    // The time course as it stands, points kept; "Průběh F2" starts it afresh.
    if (state().CourseWindowOpen != -1 && workCommands().ShowCourse)
        workCommands().ShowCourse();
    else
        bringUp(courseFrame_);
}

void MDIForm1::bringUp(QMdiSubWindow *frame)
{
    if (!frame)
        return;
    if (frame->isMinimized())
        frame->showNormal();
    frame->show();
    if (frame->widget())
        frame->widget()->show();
    frame->raise();
    area_->setActiveSubWindow(frame);
}

void MDIForm1::about()
{
    frmAbout dialog(this);
    dialog.exec();
}

Form1 *MDIForm1::quitDialog() const { return quitDialog_; }

void MDIForm1::showQuitDialog(bool modal)
{
    // One question at a time: another close attempt brings the open dialog forward.
    if (quitDialog_) {
        quitDialog_->raise();
        quitDialog_->activateWindow();
        return;
    }
    quitDialog_ = new Form1(this);
    quitDialog_->setAttribute(Qt::WA_DeleteOnClose);
    if (modal)
        quitDialog_->exec();
    else
        quitDialog_->show();
}

void MDIForm1::closeEvent(QCloseEvent *event)
{
    if (closeAllowed_) {
        event->accept();
        return;
    }
    event->ignore();
    showQuitDialog(false);
}

void MDIForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    const int left = width() - 3 * imgConnected->width();
    imgConnected->move(left, imgConnected->y());
    imgNotConnected->move(left, imgNotConnected->y());
    tileVertically();
}

WindowPlacement MDIForm1::placement() const
{
    WindowPlacement p;
    p.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    const QRect inner = isMinimized() || isMaximized() ? normalGeometry() : geometry();
    // The position is the outer frame's, as move() restores it; otherwise the window would
    // creep by its title bar at every start.
    const QPoint outer = inner.topLeft() - (geometry().topLeft() - pos());
    p.top = PixelsToTwips(this, outer.y());
    p.left = PixelsToTwips(this, outer.x());
    p.width = PixelsToTwips(this, inner.width());
    p.height = PixelsToTwips(this, inner.height());
    return p;
}

void MDIForm1::applyState(int16_t windowState)
{
    setWindowState(windowState == 2 ? Qt::WindowMaximized : windowState == 1 ? Qt::WindowMinimized : Qt::WindowNoState);
}

void MDIForm1::applyPosition(int32_t top, int32_t left) { move(TwipsToPixels(this, left), TwipsToPixels(this, top)); }

void MDIForm1::applySize(int32_t width, int32_t height)
{
    resize(TwipsToPixels(this, width), TwipsToPixels(this, height));
}

} // namespace pxr3
