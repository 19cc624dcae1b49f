#include "records/TablePrinting.h"

#include "core/UserMessages.h"
#include "records/MeasurementTable.h"
#include "records/TableCommands.h"
#include "windows/ProgramPrinter.h"

#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace pxr3 {

namespace {

constexpr double kMillimetresPerInch = 25.4;

QFont FontOf(PrintFont font)
{
    const bool bold = font == PrintFont::Title || font == PrintFont::Header;
    QFont arial(QStringLiteral("Arial"), font == PrintFont::Title ? 12 : 10, bold ? QFont::Bold : QFont::Normal);
    arial.setStyleHint(QFont::SansSerif); // where Arial is missing, a font like it
    return arial;
}

// Without any printer installed Qt's printer writes PDF, but to no file until one is chosen.
bool HasPrinter(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return !QPrinterInfo::availablePrinters().isEmpty() && printer.isValid();
}

QString PrintTitle() { return QCoreApplication::translate("TablePrinting", "Tisk..."); }
QString PdfTitle() { return QCoreApplication::translate("TablePrinting", "Tisk do PDF"); }

} // namespace

PrintMetrics DeviceMetrics(const QPaintDevice &device)
{
    const double dotsPerMmX = device.logicalDpiX() / kMillimetresPerInch;
    const double dotsPerMmY = device.logicalDpiY() / kMillimetresPerInch;
    QVector<QFontMetricsF> measures;
    for (PrintFont kind : {PrintFont::Title, PrintFont::Conditions, PrintFont::Header, PrintFont::Row})
        measures.append(QFontMetricsF(FontOf(kind), &device));
    PrintMetrics metrics;
    metrics.textWidth = [=](PrintFont kind, const QString &text) {
        return measures[int(kind)].horizontalAdvance(text) / dotsPerMmX;
    };
    metrics.lineHeight = [=](PrintFont kind) { return measures[int(kind)].lineSpacing() / dotsPerMmY; };
    metrics.pageHeight = device.height() / dotsPerMmY;
    return metrics;
}

bool PaintTable(QPagedPaintDevice &device, const MeasurementTable &table)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QVector<PrintedPage> pages = TablePrintout(table, DeviceMetrics(device));
    const double dotsPerMmX = device.logicalDpiX() / kMillimetresPerInch;
    const double dotsPerMmY = device.logicalDpiY() / kMillimetresPerInch;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        if (page > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        for (const PrintedText &text : pages[page]) {
            if (text.text.isEmpty())
                continue;
            painter.setFont(FontOf(text.font));
            // The line's top is the text's top, as the printer's print position is.
            painter.drawText(QRectF(text.x * dotsPerMmX, text.y * dotsPerMmY, device.width(), device.height()),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text.text);
        }
    }
    return painter.end();
}

void PrintTable()
{
    QPrinter &printer = programPrinter();
    if (!HasPrinter(printer)) {
        ShowMessage(MessageIcon::Warning, PrintTitle(),
                    QCoreApplication::translate("TablePrinting",
                                                "Není k dispozici žádná tiskárna, data nebyla vytištěna.\n"
                                                "Tabulku lze vytisknout do souboru: Data → Tisk do PDF..."));
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = PaintTable(printer, measurementTable());
    QGuiApplication::restoreOverrideCursor();
    if (printed)
        ShowMessage(MessageIcon::Information, PrintTitle(),
                    QCoreApplication::translate("TablePrinting", "Data jsou vytištěna !"));
    else
        ShowMessage(MessageIcon::Warning, PrintTitle(),
                    QCoreApplication::translate("TablePrinting", "Tisk se nezdařil: tiskárna %1 data nepřijala.")
                        .arg(printer.printerName()));
}

void PreviewTable(QWidget *parent)
{
    QPrintPreviewDialog dialog(&programPrinter(), parent);
    dialog.setWindowTitle(QCoreApplication::translate("TablePrinting", "Náhled tisku"));
    // The preview's own print button prints through the same painting.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [](QPrinter *printer) {
        if (!PaintTable(*printer, measurementTable()))
            ShowMessage(MessageIcon::Warning, PrintTitle(),
                        QCoreApplication::translate("TablePrinting", "Tisk se nezdařil."));
    });
    dialog.exec();
}

bool PrintTableToPdfFile(const QString &path, const MeasurementTable &table)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageLayout(programPrinter().pageLayout());
    pdf.setOutputFileName(path);
    return PaintTable(pdf, table);
}

void PrintTableToPdf(QWidget *parent)
{
    QString path =
        QFileDialog::getSaveFileName(parent, PdfTitle(), NewDataFilePath(QStringLiteral("Data"), QStringLiteral("pdf")),
                                     QCoreApplication::translate("TablePrinting", "Dokument PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QLatin1String(".pdf");
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = PrintTableToPdfFile(path, measurementTable());
    QGuiApplication::restoreOverrideCursor();
    const QString shown = QDir::toNativeSeparators(path);
    if (written)
        ShowMessage(MessageIcon::Information, PdfTitle(),
                    QCoreApplication::translate("TablePrinting", "Data jsou uložena do souboru %1.").arg(shown));
    else
        ShowMessage(MessageIcon::Warning, PdfTitle(),
                    QCoreApplication::translate("TablePrinting", "Soubor %1 se nepodařilo zapsat.").arg(shown));
}

} // namespace pxr3
