// The parameters dialog as the operator types into it, and what applying a set shows on the
// main window and the communication window.

#include "records/Form2.h"
#include "acquisition/frm_USBkom.h"
#include "core/MDIForm1.h"
#include "core/ParameterDisplay.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "records/SettingsFiles.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace pxr3;

class Form2Test : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<MDIForm1> main;
    frm_USBkom *usbkom = nullptr;

    QByteArray file(const char *name) const
    {
        QFile f(folder->filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool deliveringShown() const
    {
        for (const QLabel *picture : main->findChildren<QLabel *>())
            if (picture->toolTip() == QStringLiteral("Analyzátor dodává data"))
                return !picture->isHidden();
        return false;
    }

private slots:
    void initTestCase()
    {
        SetMessageSink([](const UserMessage &) { return true; });
        QLocale::setDefault(QLocale::c());
    }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        SetProgramFolder(folder->path());
        ResetSharedState();
        state().NuclideTable(1) = {StoredNuclideName(QStringLiteral("Rn-222")), 40, 180, 720, 0.0f, 0.0f};
        state().NuclideTable(2) = {StoredNuclideName(QStringLiteral("Tn-220")), 60, 200, 650, 12.5f, 0.3f};
        state().NuclideCount = 2;
        state().CurrentNuclide = 1;
        LoadSaveConfig(0);
        main = std::make_unique<MDIForm1>();
        usbkom = new frm_USBkom;
        main->setCommunicationWindow(usbkom, main->addChild(usbkom));
        ApplyMeasuringSet(main.get(), usbkom); // as start-up leaves the windows
    }
    void cleanup() { main.reset(); }

    void activationShowsTheCurrentRecordWhileTheDialogIsOpen()
    {
        main->showDelivering(true);
        Form2 dialog(main.get(), usbkom);
        dialog.show();
        QCOMPARE(state().MeasureState, int16_t(3));
        QVERIFY(!deliveringShown());
        QCOMPARE(dialog.combo1()->count(), 2);
        QCOMPARE(dialog.combo1()->currentText(), QStringLiteral("Rn-222    "));
        QCOMPARE(dialog.text1(5)->text(), QStringLiteral("720"));
        dialog.MyButton1_Click(1); // "&Zavřít"
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state().MeasureState, int16_t(0));
    }

    void fieldsTakeOnlyNumbersAndEnterMovesOn()
    {
        Form2 dialog(main.get(), usbkom);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (int index : {0, 1, 3, 4, 5, 6, 7}) {
            QLineEdit *field = dialog.text1(index);
            field->clear();
            QTest::keyClicks(field, QStringLiteral("a-1x,"));
            QCOMPARE(field->text(), QStringLiteral("1,"));
        }
        // The high voltage stops at 1000 as it is typed.
        dialog.text1(5)->clear();
        QTest::keyClicks(dialog.text1(5), QStringLiteral("10001"));
        QCOMPARE(dialog.text1(5)->text(), QStringLiteral("1000"));

        dialog.text1(0)->setFocus();
        QTest::keyClick(dialog.text1(0), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), dialog.text1(1));
        QTest::keyClick(dialog.text1(1), Qt::Key_Enter);
        QVERIFY(dialog.combo1()->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == dialog.combo1());
        QCOMPARE(dialog.text1(1)->text(), QStringLiteral("1,")); // nothing typed by Enter
    }

    void setShowsTheValuesButOnlyANamedSetChangesTheCaptionAndTheFiles()
    {
        const QByteArray kal = file("PXR3.KAL");
        const QByteArray cfg = file("PARAMETRY.CFG");
        {
            Form2 dialog(main.get(), usbkom);
            dialog.show();
            dialog.MyButton1_Click(4); // "&Nový"
            dialog.text1(3)->setText(QStringLiteral("12"));
            dialog.text1(4)->setText(QStringLiteral("99"));
            dialog.text1(5)->setText(QStringLiteral("650"));
            dialog.text1(7)->setText(QStringLiteral("0,5"));
            dialog.MyButton1_Click(0); // "N&astavit"
            QVERIFY(!dialog.isVisible());
        }
        QCOMPARE(main->panelValue(0)->text(), QString());
        QCOMPARE(main->panelValue(3)->text(), QStringLiteral("12"));
        QCOMPARE(main->panelValue(5)->text(), QStringLiteral("650"));
        QCOMPARE(usbkom->text4()->text(), QStringLiteral("650"));
        QCOMPARE(usbkom->text3(1)->text(), QStringLiteral("99"));
        QCOMPARE(state().RoiBounds(2), int16_t(99));
        QCOMPARE(state().WorkBackground, 0.5f);
        QCOMPARE(state().MeasureState, int16_t(0));
        QCOMPARE(main->caption(), QStringLiteral("PXR3-USB [  Rn-222    ]"));
        QCOMPARE(file("PXR3.KAL"), kal);
        QCOMPARE(file("PARAMETRY.CFG"), cfg);

        // A name typed over the selection: applied, stored as a new set and named in the caption;
        // its factor and background go to the window's "KF :" and "Poz:" with the rest.
        Form2 dialog(main.get(), usbkom);
        dialog.show();
        dialog.combo1()->lineEdit()->selectAll();
        QTest::keyClicks(dialog.combo1()->lineEdit(), QStringLiteral("Bi-214"));
        dialog.text1(6)->setText(QStringLiteral("12,5"));
        dialog.MyButton1_Click(0);
        QCOMPARE(main->caption(), QStringLiteral("PXR3-USB [  Bi-214    ]"));
        QCOMPARE(main->panelValue(0)->text(), QStringLiteral("Bi-214    "));
        QCOMPARE(usbkom->text3(3)->text(), QStringLiteral("12.5"));
        QCOMPARE(usbkom->text3(4)->text(), QStringLiteral("0.5"));
        QCOMPARE(state().NuclideCount, int16_t(3));
        QVERIFY(file("PXR3.KAL").contains("Bi-214"));
    }

    // The list only chooses what the dialog shows: closing after a click changes nothing.
    void aListClickAndCloseLeaveTheSetMeasuredWith()
    {
        {
            Form2 dialog(main.get(), usbkom);
            dialog.show();
            dialog.Combo1_Click(1);
            QCOMPARE(dialog.text1(5)->text(), QStringLiteral("650"));
            dialog.MyButton1_Click(1); // "&Zavřít"
        }
        QCOMPARE(state().CurrentNuclide, int16_t(1));
        QCOMPARE(main->caption(), QStringLiteral("PXR3-USB [  Rn-222    ]"));
        QCOMPARE(main->panelValue(0)->text(), QStringLiteral("Rn-222    "));
        QCOMPARE(usbkom->text4()->text(), QStringLiteral("720"));
        QVERIFY(LoadSaveConfig(0)); // as the quit writes it
        QCOMPARE(file("PARAMETRY.CFG").mid(6, 2), QByteArray::fromHex("0100"));
    }

    // With the set measured with removed, the one left current is measured with at once.
    void removingTheSetMeasuredWithAppliesTheOneLeftToTheWindows()
    {
        state().CurrentNuclide = 2;
        ApplyMeasuringSet(main.get(), usbkom);
        QCOMPARE(usbkom->text3(3)->text(), QStringLiteral("12.5"));
        Form2 dialog(main.get(), usbkom);
        dialog.show();
        dialog.MyButton1_Click(3); // "&Odebrat" the shown Tn-220
        QVERIFY(dialog.isVisible());
        QCOMPARE(state().CurrentNuclide, int16_t(1));
        QCOMPARE(main->caption(), QStringLiteral("PXR3-USB [  Rn-222    ]"));
        QCOMPARE(main->panelValue(3)->text(), QStringLiteral("40"));
        QCOMPARE(usbkom->text3(0)->text(), QStringLiteral("40"));
        QCOMPARE(usbkom->text3(1)->text(), QStringLiteral("180"));
        QCOMPARE(usbkom->text4()->text(), QStringLiteral("720"));
        QCOMPARE(usbkom->text3(3)->text(), QStringLiteral("0"));
        QCOMPARE(state().RoiBounds(2), int16_t(180));
    }
};

QTEST_MAIN(Form2Test)
#include "Form2Test.moc"
