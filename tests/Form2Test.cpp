// The parameters dialog as the operator types into it, and what applying a set shows on the
// main window and the communication window.

#include "acquisition/frm_USBkom.h"
#include "core/MDIForm1.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "records/Form2.h"
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
    void initTestCase() { SetMessageSink([](const UserMessage &) { return true; }); }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        SetProgramFolder(folder->path());
        ResetSharedState();
        state().NuclideTable(1) = {StoredNuclideName(QStringLiteral("Rn-222")), 40, 180, 720, 0.0f, 0.0f};
        state().NuclideCount = 1;
        state().CurrentNuclide = 1;
        LoadSaveConfig(0);
        main = std::make_unique<MDIForm1>();
        usbkom = new frm_USBkom;
        main->setCommunicationWindow(usbkom, main->addChild(usbkom));
        main->setCaption(QStringLiteral("PXR3-USB [  Rn-222    ]"));
    }
    void cleanup() { main.reset(); }

    void activationShowsTheCurrentRecordWhileTheDialogIsOpen()
    {
        main->showDelivering(true);
        Form2 dialog(main.get(), usbkom);
        dialog.show();
        QCOMPARE(state().MeasureState, int16_t(3));
        QVERIFY(!deliveringShown());
        QCOMPARE(dialog.combo1()->count(), 1);
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

        // A name typed over the selection: applied, stored as a new set and named in the caption.
        Form2 dialog(main.get(), usbkom);
        dialog.show();
        dialog.combo1()->lineEdit()->selectAll();
        QTest::keyClicks(dialog.combo1()->lineEdit(), QStringLiteral("Tn-220"));
        dialog.MyButton1_Click(0);
        QCOMPARE(main->caption(), QStringLiteral("PXR3-USB [  Tn-220    ]"));
        QCOMPARE(main->panelValue(0)->text(), QStringLiteral("Tn-220"));
        QCOMPARE(state().NuclideCount, int16_t(2));
        QVERIFY(file("PXR3.KAL").contains("Tn-220"));
    }
};

QTEST_MAIN(Form2Test)
#include "Form2Test.moc"
