// The windows as a screen reader sees them: every control named, check boxes that answer the
// reader's toggle, and a communication log read whole though the analyser's frames hold NULs.

#include "acquisition/frm_USBkom.h"
#include "controls/LogView.h"
#include "controls/MyButton.h"
#include "core/CommLog.h"
#include "core/Form1.h"
#include "core/MDIForm1.h"
#include "core/MainStartup.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/SimulatedAnalyser.h"
#include "graphs/SpectrumGraph.h"
#include "graphs/frm_Prubeh.h"
#include "records/Form2.h"
#include "records/vse_mer.h"
#include "windows/frmAbout.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace pxr3;

namespace {

// Controls a screen reader announces by their name alone.
bool NeedsName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::ComboBox:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::PushButton:
    case QAccessible::Slider:
    case QAccessible::StaticText:
    case QAccessible::Table: return true;
    default: return false;
    }
}

void CollectUnnamed(QAccessibleInterface *node, const QString &path, QStringList &unnamed)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child)
            continue;
        const QString where = path + QLatin1Char('/') +
            (child->object() ? QString::fromLatin1(child->object()->metaObject()->className()) + QLatin1Char('#') +
                     child->object()->objectName()
                             : QString::number(i));
        if (NeedsName(child->role()) && child->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << where;
        CollectUnnamed(child, where, unnamed);
    }
}

QStringList Unnamed(QWidget *window)
{
    QStringList unnamed;
    CollectUnnamed(QAccessible::queryAccessibleInterface(window), window->objectName(), unnamed);
    return unnamed;
}

// A control's action, as a screen reader asks for it.
void DoAction(QWidget *widget, const QString &action)
{
    QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(widget)->actionInterface();
    QVERIFY(actions && actions->actionNames().contains(action));
    actions->doAction(action);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<MDIForm1> main;
    ProgramWindows windows;

private slots:
    void initTestCase()
    {
        SetMessageSink([](const UserMessage &) { return false; });
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        SetProgramFolder(folder->path());
        ResetSharedState();
        auto analyser = std::make_unique<SimulatedAnalyser>(SimulatedAnalyser::Pace::Fast);
        analyser->setDevices({});
        SetDriver(std::move(analyser));
        windows = StartProgram(false);
        main.reset(windows.main);
    }
    void cleanupTestCase() { main.reset(); }

    void everyControlOfEveryWindowHasAName()
    {
        Form2 parameters(main.get(), windows.usbkom);
        frmAbout about(main.get());
        Form1 quit(main.get());
        // The main window holds the table, the communication window and the time course.
        for (QWidget *window : std::initializer_list<QWidget *>{main.get(), &parameters, &about, &quit})
            QVERIFY2(Unnamed(window).isEmpty(), qPrintable(Unnamed(window).join(QLatin1Char('\n'))));

        // A read-out is named by what it shows, not by the number it happens to show.
        QList<QLabel *> readouts{windows.usbkom->rateLabel(), windows.usbkom->activityLabel()};
        for (int i : {0, 1, 2, 3, 4, 5, 6, 8})
            readouts << main->panelValue(i);
        for (QLabel *readout : readouts) {
            QAccessibleInterface *node = QAccessible::queryAccessibleInterface(readout);
            QVERIFY2(node->text(QAccessible::Name) != readout->text(), qPrintable(readout->text()));
            QCOMPARE(node->text(QAccessible::Value), readout->text());
            QCOMPARE(node->text(QAccessible::Description), readout->text());
        }
        for (QWidget *graph :
             {static_cast<QWidget *>(windows.usbkom->graph()), static_cast<QWidget *>(windows.course->graph())})
            QVERIFY(!QAccessible::queryAccessibleInterface(graph)->text(QAccessible::Name).isEmpty());
    }

    // Whatever ticks a box, its field follows: here a screen reader's toggle (the action a check box
    // offers). A skinned button is pressed as a push button is.
    void aScreenReadersActionsDoWhatAClickDoes()
    {
        frm_USBkom *usb = windows.usbkom;
        const std::pair<QCheckBox *, QLineEdit *> boxes[] = {{usb->check(2), usb->text3(2)},
                                                             {main->rollingCheck(), main->rowsInView()}};
        for (const auto &[box, field] : boxes) {
            QVERIFY(!box->isChecked() && !field->isEnabled());
            for (bool ticked : {true, false}) {
                DoAction(box, QAccessibleActionInterface::toggleAction());
                QCOMPARE(box->isChecked(), ticked);
                QCOMPARE(field->isEnabled(), ticked);
            }
        }

        Form1 quit(main.get());
        MyButton *no = quit.findChildren<MyButton *>().last();
        QCOMPARE(no->Text(), QStringLiteral("&Ne"));
        quit.show();
        DoAction(no, QAccessibleActionInterface::pressAction());
        QVERIFY(!quit.isVisible());
    }

    // A frame's NUL shows escaped: the rest of the line is on screen and read out, while the
    // log (and so its file) keeps the bytes, also through an edit of the box; a literal "\x" is
    // escaped too, so that it comes back as itself.
    void aLogLineWithANulIsShownAndReadWhole()
    {
        const QString line =
            QStringLiteral("Read  : @") + QChar(0) + QChar(0x02) + QStringLiteral("D \\x41 after the NUL");
        commLog().clear();
        commLog().append(QStringLiteral("Write : MCA DATA"));
        QCoreApplication::sendPostedEvents(); // the view follows when the program is idle
        commLog().append(line);               // appended to what is shown
        QCoreApplication::sendPostedEvents();
        LogView *view = windows.usbkom->logView();
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(view)->textInterface();
        QVERIFY(text);
        const QString read = text->text(0, text->characterCount());
        QVERIFY2(read.endsWith(QStringLiteral("@\\x00\\x02D \\x5cx41 after the NUL")), qPrintable(read));

        view->moveCursor(QTextCursor::End);
        view->insertPlainText(QStringLiteral("!"));
        QCOMPARE(commLog().text(), QStringLiteral("\r\nWrite : MCA DATA\r\n") + line + QLatin1Char('!'));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
