// The main window, the quit dialog and the communication window, driven as the operator
// drives them, against the simulated analyser.

#include "acquisition/MeasurementSeries.h"
#include "acquisition/frm_USBkom.h"
#include "controls/LogView.h"
#include "controls/MyButton.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/Form1.h"
#include "core/MDIForm1.h"
#include "core/MainStartup.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/TextFile.h"
#include "core/UserMessages.h"
#include "core/WaitSeconds.h"
#include "core/WorkCommands.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/SimulatedAnalyser.h"
#include "devicelink/USB_KOM.h"
#include "graphs/SpectrumGraph.h"
#include "records/MeasurementTable.h"
#include "records/NuclideRecord.h"
#include "records/SettingsFiles.h"
#include "records/TableFile.h"
#include "records/WindowPlacement.h"
#include "records/vse_mer.h"
#include "windows/frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace pxr3;

namespace {

const QByteArray kStartFrame = QByteArray::fromHex("400200420246");

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    SimulatedAnalyser *analyser = nullptr;
    QStringList called;
    std::chrono::steady_clock::time_point fakeNow{};

    void recordCommands()
    {
        called.clear();
        using Command = std::function<void()> WorkCommands::*;
        const std::pair<Command, const char *> commands[] = {
            {&WorkCommands::ClearTable, "ClearTable"},         {&WorkCommands::SaveTable, "SaveTable"},
            {&WorkCommands::LoadTable, "LoadTable"},           {&WorkCommands::PrintTable, "PrintTable"},
            {&WorkCommands::PreviewTable, "PreviewTable"},     {&WorkCommands::PrintTableToPdf, "PrintTableToPdf"},
            {&WorkCommands::ExportTable, "ExportTable"},       {&WorkCommands::NewMeasurement, "NewMeasurement"},
            {&WorkCommands::ShowParameters, "ShowParameters"}, {&WorkCommands::ShowCourse, "ShowCourse"}};
        for (const auto &[command, name] : commands)
            workCommands().*command = [this, name = name] { called << QString::fromLatin1(name); };
    }
    void useSimulator(SimulatedAnalyser::Pace pace)
    {
        auto simulator = std::make_unique<SimulatedAnalyser>(pace);
        analyser = simulator.get();
        SetDriver(std::move(simulator));
    }
    static QString labelTexts(const QWidget *widget)
    {
        QStringList texts;
        for (const QLabel *label : widget->findChildren<QLabel *>())
            texts << label->text();
        return texts.join('\n');
    }
    void connectAnalyser()
    {
        analyser->setDevices({SimulatedAnalyser::Analyser()});
        state().LinkStatus = static_cast<int16_t>(USB_Open());
    }
    long framesWritten(const QByteArray &frame) const
    {
        const auto &w = analyser->written();
        return std::count(w.begin(), w.end(), frame);
    }

private slots:
    void initTestCase()
    {
        SetMessageSink([](const UserMessage &) { return false; });
        SetWaitClock({[this] { return fakeNow; }, [this](auto d) { fakeNow += d; }});
    }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        SetProgramFolder(folder->path());
        ResetSharedState();
        ResetLinkState();
        SetLinkHooks({});
        commLog().clear();
        commLog().setStatus(QString());
        workCommands() = WorkCommands();
        useSimulator(SimulatedAnalyser::Pace::Fast);
    }
    void cleanup()
    {
        SetMainWindowPlacement(nullptr);
        // A test that ended the program leaves the application quitting, and every event loop
        // would return at once; a run of the main loop clears that.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    // --- main window ---

    void toolbarAndMenuReachTheirCommands()
    {
        MDIForm1 w;
        recordCommands();
        for (const char *key : {"start", "tisk", "novy", "nast", "save", "load", "excel"})
            w.toolButton(QString::fromLatin1(key))->trigger();
        QCOMPARE(called,
                 (QStringList{"NewMeasurement", "PrintTable", "ClearTable", "ShowParameters", "SaveTable", "LoadTable",
                              "ExportTable"}));
        called.clear();
        for (const char *item : {"m41", "m42", "m43", "m45", "m46", "m47", "m21", "m14"})
            w.menuItem(QString::fromLatin1(item))->trigger();
        QCOMPARE(called,
                 (QStringList{"ClearTable", "SaveTable", "LoadTable", "PrintTable", "PreviewTable", "PrintTableToPdf",
                              "NewMeasurement", "ShowParameters"}));
        w.toolButton(QStringLiteral("stop"))->trigger();
        QCOMPARE(state().StopRequest, int16_t(-1));
        QVERIFY(!w.toolButton(QStringLiteral("stop"))->isEnabled());
    }

    void commandWithoutItsWindowSaysSo()
    {
        MDIForm1 w;
        w.toolButton(QStringLiteral("save"))->trigger();
        QCOMPARE(w.statusText(), QString::fromUtf8(kUnavailableCommand));
    }

    void theCommunicationWindowsCloseBoxMinimisesItAndMcaBringsItUp()
    {
        MDIForm1 w;
        auto *usb = new frm_USBkom;
        QMdiSubWindow *frame = w.addChild(usb);
        w.setCommunicationWindow(usb, frame);
        w.show();
        frame->show();
        frame->close();
        QVERIFY(frame->isMinimized() && frame->isVisible());
        QCOMPARE(frame->widget(), usb);

        state().MeasureState = 1; // a cycle runs: its state must stay
        w.p2_ButtonClick(QStringLiteral("mca"));
        QCOMPARE(state().MeasureState, int16_t(1));
        QVERIFY(!frame->isMinimized() && frame->isVisible());
        state().MeasureState = 0;
        w.p2_ButtonClick(QStringLiteral("mca"));
        QCOMPARE(state().MeasureState, int16_t(5));
    }

    void seriesDisablesAllButStopAndMca()
    {
        MDIForm1 w;
        for (bool running : {true, false}) {
            w.setSeriesRunning(running);
            for (const char *key : {"start", "novy", "save", "load", "tisk", "nast", "excel"})
                QVERIFY2(w.toolButton(QString::fromLatin1(key))->isEnabled() != running, key);
            for (const char *menu : {"m1", "m4", "m21"})
                QVERIFY2(w.menuItem(QString::fromLatin1(menu))->isEnabled() != running, menu);
            QCOMPARE(w.toolButton(QStringLiteral("stop"))->isEnabled(), running);
            QCOMPARE(w.menuItem(QStringLiteral("m22"))->isEnabled(), running);
            QVERIFY(w.toolButton(QStringLiteral("mca"))->isEnabled());
        }
    }

    // The clock on the status bar: date and time of the wall clock, each panel as wide as its text.
    void theStatusBarClockShowsTheDateAndTimeWhole()
    {
        VirtualClock clock(QDateTime(QDate(2026, 3, 2), QTime(14, 37, 50)));
        VirtualClockScope virtualTime(clock);
        MDIForm1 w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::sendPostedEvents();
        const auto *date = w.findChild<QLabel *>(QStringLiteral("StatusBar1_panel2"));
        const auto *time = w.findChild<QLabel *>(QStringLiteral("StatusBar1_panel3"));
        QVERIFY(date && time);
        QCOMPARE(date->text(), QStringLiteral("02.03.2026"));
        QCOMPARE(time->text(), QStringLiteral("14:37:50"));
        for (const QLabel *panel : {date, time}) {
            QVERIFY2(panel->isVisible(), qPrintable(panel->objectName()));
            QVERIFY2(panel->width() >= panel->sizeHint().width(), qPrintable(panel->objectName()));
            QVERIFY2(panel->height() >= panel->sizeHint().height(), qPrintable(panel->objectName()));
        }
    }

    // Menu icons are made when their menu first opens: then every item that had one has it.
    void openingAMenuGivesItsItemsTheirIcons()
    {
        MDIForm1 w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const char *menu : {"m1", "m4", "m2"}) {
            QMenu *m = w.menuItem(QString::fromLatin1(menu))->menu();
            QVERIFY2(m, menu);
            m->popup(w.geometry().center());
            QTRY_VERIFY(m->isVisible());
            m->hide();
        }
        // Those with a picture of Qt's own when the desktop has none.
        for (const char *item : {"m11", "m13", "m14", "m16", "m41", "m42", "m43", "m21", "m22"})
            QVERIFY2(!w.menuItem(QString::fromLatin1(item))->icon().isNull(), item);
        // Shared with the toolbar button of the same command.
        QCOMPARE(w.menuItem(QStringLiteral("m42"))->icon().cacheKey(),
                 w.toolButton(QStringLiteral("save"))->icon().cacheKey());
    }

    // Without an icon theme the toolbar shows our drawings of print, settings and spreadsheet.
    void toolbarShowsOurPicturesWhereTheDesktopHasNone()
    {
        QIcon::setThemeName(QString());
        MDIForm1 w;
        for (const auto &[key, name] : {std::pair{"tisk", "document-print"}, std::pair{"nast", "preferences-system"},
                                        std::pair{"excel", "x-office-spreadsheet"}}) {
            const QImage shown = w.toolButton(QString::fromLatin1(key))->icon().pixmap(24, 24).toImage();
            QVERIFY2(!shown.isNull(), key); // the SVG plug-in drew it
            QCOMPARE(shown, QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name))).pixmap(24, 24).toImage());
        }
    }

    void closingIsRefusedInFavourOfTheQuitDialog()
    {
        MDIForm1 w;
        w.show();
        state().TableModified = 2;
        QVERIFY(!w.close());
        QVERIFY(!w.close()); // a second attempt brings the same dialog forward
        QCOMPARE(w.findChildren<Form1 *>().size(), 1);
        QPointer<Form1> dialog = w.quitDialog();
        QVERIFY(dialog && dialog->isVisible());
        QTest::mouseClick(dialog->noButton(), Qt::LeftButton);
        QTRY_VERIFY(!dialog); // closed and gone
        QVERIFY(w.isVisible());
        // Unsaved table edits stay marked, so a later "Nový" still asks.
        QCOMPARE(state().TableModified, int16_t(2));
    }

    // Ctrl+X in a text field cuts; Ctrl+Q, which the menu shows, quits from there, and Ctrl+X
    // quits where no text field has the focus.
    void quitKeysReachTheQuitDialogAndCtrlXStillCutsInAField()
    {
        MDIForm1 w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(w.menuItem(QStringLiteral("m16"))->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Q));
        int asked = 0;
        const auto press = [&](QWidget *target, Qt::Key key) {
            // The dialog is modal: it is answered from inside its own loop.
            QTimer::singleShot(0, &w, [&] {
                if (Form1 *dialog = w.quitDialog()) {
                    ++asked;
                    QTest::mouseClick(dialog->noButton(), Qt::LeftButton);
                }
            });
            QApplication::setActiveWindow(&w); // back from the dialog before
            QTest::keyClick(target, key, Qt::ControlModifier);
            QCoreApplication::processEvents(); // the answer, when no dialog came
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        QLineEdit *field = w.rowsInView();
        field->setEnabled(true);
        field->setFocus();
        field->selectAll();
        press(field, Qt::Key_X);
        QCOMPARE(field->text(), QString());
        QCOMPARE(asked, 0);
        press(field, Qt::Key_Q);
        QCOMPARE(asked, 1);
        w.rollingCheck()->setFocus();
        press(w.rollingCheck(), Qt::Key_X);
        QCOMPARE(asked, 2);
    }

    void aMinimisedWindowsIconCoversNoTile()
    {
        MDIForm1 w;
        w.resize(800, 600);
        QWidget *children[] = {new QWidget, new QWidget, new QWidget};
        QMdiSubWindow *frames[3];
        for (int i = 0; i < 3; ++i)
            frames[i] = w.addChild(children[i]);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (QMdiSubWindow *frame : frames)
            frame->show();
        w.tileVertically();
        frames[1]->showMinimized();
        QTRY_VERIFY(frames[0]->geometry().bottom() < frames[1]->geometry().top());
        QVERIFY(!frames[2]->geometry().intersects(frames[1]->geometry()));
        w.tileHorizontally(); // and so does a tiling the operator asks for
        QVERIFY(!frames[2]->geometry().intersects(frames[1]->geometry()));
        QVERIFY(!frames[0]->geometry().intersects(frames[1]->geometry()));
    }

    void quitDuringACommandsWaitEndsTheWaitAndClosesTheDevice()
    {
        MDIForm1 w;
        connectAnalyser();
        Form1 *dialog = new Form1(&w);
        bool pressed = false;
        programClock().schedule(50'000, [&] {
            pressed = LinkBusy();
            dialog->MyButton1_Click(0);
        });
        analyser->failNext(SimulatedAnalyser::Fault::NoReply);
        MCA_Command(QStringLiteral("I"));
        QVERIFY(pressed);
        QCOMPARE(link().CommandOk, int16_t(0));
        QTRY_VERIFY(commLog().text().endsWith(QStringLiteral("\r\nDevice is closed.")));
        QVERIFY(w.close());
    }

    // An operator quitting in the middle of a series' cycle: warned of the results not saved,
    // the series and the timer stop, the analyser is closed, and the completed row stays on disk.
    void quitInTheMiddleOfASeriesCycleEndsItAndKeepsTheCompletedRows()
    {
        VirtualClock clock;
        VirtualClockScope virtualTime(clock);
        useSimulator(SimulatedAnalyser::Pace::RealTime); // paced by the virtual clock
        const ProgramWindows windows = StartProgram(true);
        std::unique_ptr<MDIForm1> main(windows.main);
        SetMainWindowPlacement(main.get());
        state().RepeatCount = 3;
        windows.usbkom->text2()->setText(QStringLiteral("4"));
        main->toolButton(QStringLiteral("start"))->trigger();
        clock.runFor(7'000'000); // the high voltage, one cycle of two frames, one frame of the next
        QVERIFY(windows.series->running());
        QCOMPARE(state().CurrentRow, 2);
        QCOMPARE(main->seriesProgressText()->text(), QStringLiteral("Série: cyklus 2 z 3"));

        Form1 *dialog = new Form1(main.get());
        const QString texts = labelTexts(dialog);
        const QString autosave = windows.series->autosavePath();
        QVERIFY(texts.contains(QStringLiteral("neuložená data")));
        QVERIFY(texts.contains(autosave));
        dialog->MyButton1_Click(0);
        QVERIFY(!windows.series->running());
        QVERIFY(!windows.usbkom->timer()->isActive());
        QVERIFY(commLog().text().endsWith(QStringLiteral("\r\nDevice is closed.")));
        QCOMPARE(QFileInfo(folder->filePath(QStringLiteral("PARAMETRY.CFG"))).size(), qint64(28)); // the settings saved
        QVERIFY(main->close());
        const size_t sent = analyser->written().size();
        clock.runFor(10'000'000);
        QCOMPARE(analyser->written().size(), sent);
        MeasurementTable saved;
        QVERIFY(LoadTableFile(saved, autosave).ok);
        QCOMPARE(saved.text(1, 1), measurementTable().text(1, 1));
        QVERIFY(!saved.text(1, 1).isEmpty());
        QVERIFY(saved.text(2, 1).isEmpty());
    }

    // An unattended night: the analyser unplugged and back, a full disk. The main window tells
    // the truth at each step, and the quit question says what is not saved.
    void anUnpluggedAnalyserAndAFullDiskShowOnTheMainWindow()
    {
        VirtualClock clock;
        VirtualClockScope virtualTime(clock);
        useSimulator(SimulatedAnalyser::Pace::RealTime); // paced by the virtual clock
        const ProgramWindows windows = StartProgram(true);
        std::unique_ptr<MDIForm1> main(windows.main);
        SetMainWindowPlacement(main.get());
        state().RepeatCount = 20;
        windows.usbkom->text2()->setText(QStringLiteral("4"));
        main->toolButton(QStringLiteral("start"))->trigger();
        clock.runFor(3'000'000);
        QVERIFY(main->connectedShown());
        analyser->unplug(20'000'000);
        clock.runFor(1'000'000);
        QVERIFY(main->notConnectedShown() && !main->connectedShown());
        QVERIFY(main->statusText().startsWith(QStringLiteral("Spojení s analyzátorem ztraceno")));
        QVERIFY(main->seriesProgressText()->text().startsWith(QStringLiteral("Série čeká na analyzátor")));
        clock.runFor(10'000'000);
        QVERIFY(main->statusText().startsWith(QStringLiteral("Analyzátor nedostupný, výpadek 10 s")));
        SetWriteLimitForTests(0);
        clock.runFor(20'000'000); // back, and a cycle completes
        QVERIFY(main->connectedShown() && !main->notConnectedShown());
        QVERIFY(main->seriesProgressText()->text().contains(QStringLiteral("automatické uložení selhalo")));

        Form1 *dialog = new Form1(main.get());
        const QString texts = labelTexts(dialog);
        SetWriteLimitForTests(std::nullopt);
        QVERIFY(texts.contains(QStringLiteral("výsledky měření nejsou uloženy v žádném souboru")));
        dialog->MyButton1_Click(0);
        QVERIFY(main->close());
    }

    void rowsInViewTakesOnlyNumbers()
    {
        MDIForm1 w;
        w.show();
        QVERIFY(!w.rowsInView()->isEnabled());
        QTest::mouseClick(w.rollingCheck(), Qt::LeftButton, {}, QPoint(4, w.rollingCheck()->height() / 2));
        QVERIFY(w.rowsInView()->isEnabled());
        w.rowsInView()->clear();
        QTest::keyClicks(w.rowsInView(), QStringLiteral("1a-2,5.x"));
        QKeyEvent arabicThree(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("٣"));
        QApplication::sendEvent(w.rowsInView(), &arabicThree);
        QCOMPARE(w.rowsInView()->text(), QStringLiteral("12,5."));
        w.rowsInView()->clear();
        w.rowsInView()->insert(QStringLiteral("abc")); // as a paste does
        QVERIFY(w.rowsInView()->text().isEmpty());
    }

    // --- communication window ---

    void functionKeysActAsTheirButtonsBeforeTheMenuShortcuts()
    {
        MDIForm1 w;
        auto *usb = new frm_USBkom;
        w.setCommunicationWindow(usb, w.addChild(usb));
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        recordCommands();
        connectAnalyser();
        commLog().append(QStringLiteral("something"));
        QTest::keyClick(usb->text2(), Qt::Key_F8);
        QVERIFY(commLog().text().isEmpty());
        QTest::keyClick(usb->text4(), Qt::Key_F2); // "Průběh F2", not the menu's save
        QTest::keyClick(usb->text2(), Qt::Key_F3); // not one of the window's keys: the menu's load
        QCOMPARE(called, (QStringList{"ShowCourse", "LoadTable"}));

        QTest::keyClick(usb->text3(0), Qt::Key_F5, Qt::ShiftModifier);
        QVERIFY(!usb->timer()->isActive());
        QTest::keyClick(usb->text3(0), Qt::Key_F5);
        QVERIFY(usb->timer()->isActive());
        // While a series measures, F5 is the menu's "S&top", not a second start.
        w.setSeriesRunning(true);
        QTest::keyClick(usb->text2(), Qt::Key_F5);
        QCOMPARE(framesWritten(kStartFrame), 1);
        QCOMPARE(state().StopRequest, int16_t(-1));
        w.setSeriesRunning(false);
        state().StopRequest = 0;
        QTest::keyClick(usb->logView(), Qt::Key_F5, Qt::ControlModifier);
        QCOMPARE(state().StopRequest, int16_t(-1));
        QCOMPARE(framesWritten(kStartFrame), 1);
    }

    // Tiled wide or narrow, the graph is whole and takes the room; no control covers another,
    // also in a tile smaller than all of them.
    void theCommunicationWindowScalesItsGraphAndKeepsItsControlsApart()
    {
        frm_USBkom usb;
        usb.show();
        QVERIFY(QTest::qWaitForWindowExposed(&usb));
        QList<QWidget *> controls;
        for (QWidget *w : usb.findChildren<QWidget *>())
            if (qobject_cast<QPushButton *>(w) || qobject_cast<QCheckBox *>(w) || qobject_cast<QLineEdit *>(w))
                controls << w;
        QVERIFY(controls.size() >= 12 + 3 + 7); // buttons, check boxes, fields
        int graphWidth = 0;
        for (const QSize size : {QSize(640, 600), QSize(1280, 600), QSize(300, 200)}) {
            usb.resize(size);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            const auto placed = [&usb](QWidget *w) { return QRect(w->mapTo(&usb, QPoint(0, 0)), w->size()); };
            for (int i = 0; i < controls.size(); ++i)
                for (int j = i + 1; j < controls.size(); ++j)
                    QVERIFY2(!placed(controls[i]).intersects(placed(controls[j])),
                             qPrintable(controls[i]->objectName() + QLatin1Char('/') + controls[j]->objectName()));
            if (size.width() < 640)
                continue;
            QVERIFY(usb.rect().contains(placed(usb.graph())));
            QVERIFY(usb.graph()->width() > graphWidth);
            graphWidth = usb.graph()->width();
        }
    }

    void roiFieldsTakeTheirLeadingNumberAndTheSmoothingFieldFollowsItsCheckBox()
    {
        frm_USBkom usb;
        usb.show();
        usb.text3(0)->setText(QStringLiteral("12a"));
        QCOMPARE(state().RoiBounds(1), int16_t(12));
        usb.text3(1)->setText(QStringLiteral("248.5"));
        QCOMPARE(state().RoiBounds(2), int16_t(248));
        usb.text3(0)->setText(QStringLiteral("a12"));
        QCOMPARE(state().RoiBounds(1), int16_t(0));
        usb.text3(0)->setText(QStringLiteral("70000"));
        QCOMPARE(state().RoiBounds(1), int16_t(0)); // beyond 16 bits: the bound in force stays
        usb.text3(3)->setText(QStringLiteral("7"));
        QCOMPARE(state().RoiBounds(1), int16_t(0));

        QVERIFY(!usb.text3(2)->isEnabled());
        usb.check(2)->click();
        QVERIFY(usb.text3(2)->isEnabled());
        usb.text3(2)->setText(QStringLiteral("3"));
        usb.check(2)->click();
        QVERIFY(!usb.text3(2)->isEnabled());
        QCOMPARE(state().RoiBounds(3), int16_t(3));
    }

    void logViewShowsTheLinkLogAndEmptiesPast20000()
    {
        frm_USBkom usb;
        commLog().append(QStringLiteral("Write : GET ID"));
        QCoreApplication::sendPostedEvents(); // the view follows when the program is idle
        QCOMPARE(usb.logView()->toPlainText(), QStringLiteral("\nWrite : GET ID"));
        commLog().setText(QString(CommLog::kMaxLength, QLatin1Char('x')));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(usb.logView()->toPlainText().size(), CommLog::kMaxLength); // at the limit it stays
        commLog().append(QString());
        QCoreApplication::sendPostedEvents();
        QVERIFY(usb.logView()->toPlainText().isEmpty());
        usb.logView()->setPlainText(QStringLiteral("a\nb"));
        QCOMPARE(commLog().text(), QStringLiteral("a\r\nb"));
        commLog().setStatus(QStringLiteral("Write Ok."));
        QCOMPARE(usb.statusLine()->text(), QStringLiteral("Write Ok."));
    }

    void highVoltageIsWrittenAndReadBack()
    {
        frm_USBkom usb;
        SetLinkHooks({[&usb] { return usb.text4()->text(); }, {}, {}});
        connectAnalyser();
        usb.text4()->setText(QStringLiteral("1500"));
        usb.command4(2)->click();
        usb.text4()->clear();
        usb.command4(7)->click();
        QCOMPARE(usb.text4()->text(), QStringLiteral("1000"));
    }

    void linkButtonsOpenReconnectAndCloseAndShowItOnTheMainWindow()
    {
        frm_USBkom usb;
        analyser->setDevices({SimulatedAnalyser::Analyser()});
        QSignalSpy shown(&usb, &frm_USBkom::connectionShown);
        usb.Command2_Click();
        QCOMPARE(state().LinkStatus, int16_t(1));
        QCOMPARE(shown.takeFirst().at(0).toBool(), true);
        commLog().append(QStringLiteral("old entry"));
        usb.Reconnect();
        QVERIFY(!commLog().text().contains(QStringLiteral("old entry")));
        QCOMPARE(analyser->opens(), 2);
        shown.clear();
        usb.Command1_Click();
        QCOMPARE(shown.takeFirst().at(0).toBool(), false);
    }

    void spectrumIsFetchedIntoTheCycle()
    {
        VirtualClock clock;
        VirtualClockScope virtualTime(clock);
        useSimulator(SimulatedAnalyser::Pace::Fast); // made under the virtual clock, to run on it
        frm_USBkom usb;
        connectAnalyser();
        usb.command4(8)->click(); // the analyser measures
        clock.runFor(2'100'000);  // and has sent a frame
        state().CycleSpectrum.fill(0);
        usb.command4(1)->click();
        QVERIFY(state().CycleSpectrum == state().ReceivedSpectrum);
        QVERIFY(!(state().CycleSpectrum == Spectrum()));

        // A failed fetch adds nothing: the previous frame is not counted twice.
        const Spectrum before = state().CycleSpectrum;
        analyser->disconnect();
        usb.command4(1)->click();
        QVERIFY(state().CycleSpectrum == before);
    }

    void aboutOffersTheSystemToolOnlyWhenThereIsOne()
    {
        QTemporaryDir bin;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit());
        QVERIFY(frmAbout().systemInfoButton()->isHidden());
        // No address configured, none shown.
        QCOMPARE(frmAbout().findChild<QLabel *>(QStringLiteral("lblMail")) != nullptr, *kSupportMail != 0);
        QFile tool(bin.filePath(QStringLiteral("hardinfo")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n");
        tool.close();
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!frmAbout().systemInfoButton()->isHidden());
        qputenv("PATH", path);
    }

    // --- start-up ---

    void startupWithAnAnalyserShowsItConnected()
    {
        analyser->setDevices({SimulatedAnalyser::Analyser()});
        const ProgramWindows windows = StartProgram(true);
        std::unique_ptr<MDIForm1> main(windows.main);
        QVERIFY(windows.table->isVisible());
        QVERIFY(windows.usbkom->parentWidget()->isMinimized()); // an analyser answered
        QVERIFY(main->connectedShown() && !main->notConnectedShown());
        QCOMPARE(windows.usbkom->text4()->text(), QString::number(analyser->highVoltage()));
        QVERIFY(!analyser->measuring());
        QVERIFY(main->windowTitle().contains(QStringLiteral("SIMULOVANÝ ANALYZÁTOR")));
    }

    // The current set is measured with from the start, without "N&astavit": a measurement
    // started from the window sums the set's ROI, not the window's design bounds.
    void startupAppliesTheCurrentSetOverTheAnalysersVoltageAndTheDesignTexts()
    {
        QLocale::setDefault(QLocale::c());
        state().NuclideTable(1) = {StoredNuclideName(QStringLiteral("Rn-222")), 120, 180, 700, 12.5f, 0.012345f};
        state().NuclideCount = 1;
        state().CurrentNuclide = 1;
        state().MeasureTime = 60;
        LoadSaveConfig(0);
        ResetSharedState();

        analyser->setDevices({SimulatedAnalyser::Analyser()});
        const ProgramWindows windows = StartProgram(false);
        std::unique_ptr<MDIForm1> main(windows.main);
        frm_USBkom *usb = windows.usbkom;
        QCOMPARE(main->windowTitle(), QStringLiteral("PXR3-USB [  Rn-222    ]"));
        QCOMPARE(main->panelValue(3)->text(), QStringLiteral("120"));
        const QStringList shown{usb->text3(0)->text(), usb->text3(1)->text(), usb->text4()->text(),
                                usb->text2()->text(),  usb->text3(3)->text(), usb->text3(4)->text()};
        QCOMPARE(shown, (QStringList{"120", "180", "700", "60", "12.5", "0.012345"}));
        // The panel shows the background whole, every digit.
        QLabel *background = main->panelValue(8);
        QCOMPARE(background->text(), QStringLiteral("0.012345"));
        QVERIFY(background->width() >= background->fontMetrics().horizontalAdvance(background->text()));
        QCOMPARE(state().RoiBounds(1), int16_t(120));
        usb->command4(8)->click(); // "Start  F5"
        QVERIFY(usb->timer()->isActive());
        QCOMPARE(state().RoiBounds(1), int16_t(120));
        QCOMPARE(state().RoiBounds(2), int16_t(180));
    }

    void startupWithoutAnalyserCarriesOn()
    {
        analyser->setDevices({});
        const ProgramWindows windows = StartProgram(false);
        std::unique_ptr<MDIForm1> main(windows.main);
        QVERIFY(main->isVisible());
        QVERIFY(main->notConnectedShown() && !main->connectedShown());
        QVERIFY(analyser->written().empty());
        // No radionuclide set yet: the time and repetitions a series will use are still shown.
        QCOMPARE(main->panelValue(1)->text(), QString::number(state().MeasureTime));
        QCOMPARE(main->panelValue(2)->text(), QString::number(state().RepeatCount));
    }
};

QTEST_MAIN(WindowsTest)
#include "WindowsTest.moc"
