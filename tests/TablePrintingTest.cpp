// Printing the table through Qt's printer into PDF files, and the spreadsheet button.

#include "records/TablePrinting.h"
#include "core/ProgramFolder.h"
#include "core/UserMessages.h"
#include "records/MeasurementTable.h"
#include "records/SpreadsheetExport.h"
#include "windows/ProgramPrinter.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace pxr3;

class TablePrintingTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QList<UserMessage> messages;
    QList<QUrl> opened;

    static void fillRows(int count)
    {
        measurementTable().reset();
        for (int row = 1; row <= count; ++row)
            measurementTable().setText(row, 1, QStringLiteral("02.03.2026 14:37:50 (čas opraven ručně)"));
    }
    static int pdfPages(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly)
            ? int(QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))))
            : -1;
    }
    void expectOneMessage(MessageIcon icon, const QString &text)
    {
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, icon);
        QVERIFY2(messages[0].text.startsWith(text), qPrintable(messages[0].text));
        messages.clear();
    }

public slots:
    void openFile(const QUrl &url) { opened << url; }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        SetProgramFolder(folder.path());
        SetMessageSink([this](const UserMessage &m) {
            messages << m;
            return false;
        });
    }

    void everyRowIsPrintedOnPagesOfTheRealFont()
    {
        fillRows(150);
        const QString pdf = folder.filePath(QStringLiteral("table.pdf"));
        QVERIFY(PrintTableToPdfFile(pdf, measurementTable()));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageLayout(programPrinter().pageLayout());
        const PrintMetrics metrics = DeviceMetrics(printer);
        const QVector<PrintedPage> pages = TablePrintout(measurementTable(), metrics);
        QVERIFY(pages.size() > 1);
        QCOMPARE(pdfPages(pdf), int(pages.size()));
        // The long date is cut to the 40 mm of its column in the printed font, and no more.
        const QString date = pages[0][2 + 7 + 1].text;
        QVERIFY(metrics.textWidth(PrintFont::Row, date) <= 40);
        QVERIFY(metrics.textWidth(PrintFont::Row, measurementTable().text(1, 1).left(date.size() + 1)) > 40);
    }

    void printingUsesTheChosenPrinterAndReportsWhatHappened()
    {
        fillRows(3);
        QPrinter &printer = programPrinter();
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            PrintTable();
            expectOneMessage(MessageIcon::Warning, QStringLiteral("Není k dispozici žádná tiskárna"));
        }
        // The printer set-up chose printing into a file.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(QStringLiteral("chosen.pdf")));
        PrintTable();
        expectOneMessage(MessageIcon::Information, QStringLiteral("Data jsou vytištěna !"));
        QCOMPARE(pdfPages(printer.outputFileName()), 1);
        // A printer that cannot start (a file in a missing folder) is reported, not claimed printed.
        printer.setOutputFileName(folder.filePath(QStringLiteral("missing/chosen.pdf")));
        PrintTable();
        expectOneMessage(MessageIcon::Warning, QStringLiteral("Tisk se nezdařil"));
        printer.setOutputFileName(QString());
    }

    void spreadsheetButtonSavesTheTableAndOpensTheFile()
    {
        fillRows(2);
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openFile");
        ExportForSpreadsheet();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(opened.size(), 1);
        QCOMPARE(QFileInfo(opened[0].toLocalFile()).dir().dirName(), QStringLiteral("DATA"));
        QFile file(opened[0].toLocalFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), 4); // the conditions, the header and the two rows
    }
};

QTEST_MAIN(TablePrintingTest)
#include "TablePrintingTest.moc"
