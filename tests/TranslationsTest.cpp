// The windows in the language chosen at start: menus, window titles, the table's headers and
// Qt's own standard buttons come out English with the English translation and stay Czech
// without it.

#include "core/Translations.h"
#include "acquisition/frm_USBkom.h"
#include "core/MDIForm1.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "records/Form2.h"
#include "records/MeasurementTable.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace pxr3;

class TranslationsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void initTestCase()
    {
        SetMessageSink([](const UserMessage &) { return true; });
        SetProgramFolder(folder.path());
        ResetSharedState();
    }
    void cleanupTestCase() { InstallTranslations(UiLanguage::Czech); }

    void windowsSpeakTheChosenLanguage_data()
    {
        QTest::addColumn<QString>("language"); // as --lang gives it
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("communicationTitle");
        QTest::addColumn<QString>("parametersTitle");
        QTest::addColumn<QString>("noteHeader");
        QTest::addColumn<QString>("cancelButton");
        QTest::newRow("English") << QStringLiteral("en")
                                 << QStringList{QStringLiteral("&System"), QStringLiteral("&Data"),
                                                QStringLiteral("&Measurement"), QStringLiteral("&Windows"),
                                                QStringLiteral("&About")}
                                 << QStringLiteral("USB Communication") << QStringLiteral("Measurement Parameters")
                                 << QStringLiteral("Note") << QStringLiteral("Cancel");
        // Czech after English: a change of language takes the English out again.
        QTest::newRow("Czech") << QStringLiteral("cs")
                               << QStringList{QStringLiteral("&Systém"), QStringLiteral("&Data"),
                                              QStringLiteral("&Měření"), QStringLiteral("&Okna"),
                                              QStringLiteral("&O programu")}
                               << QStringLiteral("USB komunikace") << QStringLiteral("Parametry měření")
                               << QStringLiteral("Poznámka") << QStringLiteral("Zrušit");
    }
    void windowsSpeakTheChosenLanguage()
    {
        QFETCH(QString, language);
        InstallTranslations(ChooseUiLanguage(language, QString()));

        MDIForm1 main;
        QStringList menus;
        for (const QAction *menu : main.menuBar()->actions())
            menus << menu->text();
        QTEST(menus, "menus");
        auto *usbkom = new frm_USBkom;
        main.setCommunicationWindow(usbkom, main.addChild(usbkom));
        QTEST(usbkom->windowTitle(), "communicationTitle");
        Form2 parameters(&main, usbkom);
        QTEST(parameters.windowTitle(), "parametersTitle");
        MeasurementTable table;
        QTEST(table.headerData(5, Qt::Horizontal).toString(), "noteHeader");
        // What is written into a table file stays Czech in any language.
        QCOMPARE(table.text(0, 5), QStringLiteral("Poznámka"));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QTEST(buttons.button(QDialogButtonBox::Cancel)->text(), "cancelButton");
    }

    // A text both shown and logged: the status bar speaks the user's language, the
    // communication log keeps the Czech.
    void aNoticeIsShownTranslatedAndLoggedInCzech()
    {
        InstallTranslations(UiLanguage::English);
        QTemporaryDir base;
        QFile blocker(base.filePath(QStringLiteral("blocker"))); // no folder can be made inside a file
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const FolderChoice choice = ChooseProgramFolder(base.filePath(QStringLiteral("blocker/pxr3")),
                                                        base.filePath(QStringLiteral("user/pxr3")));
        QVERIFY2(choice.notice.contains(QStringLiteral("is not writable")), qPrintable(choice.notice));
        QVERIFY2(choice.loggedNotice.contains(QStringLiteral("nelze zapisovat")), qPrintable(choice.loggedNotice));
    }
};

QTEST_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
