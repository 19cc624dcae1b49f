#include "records/SpreadsheetExport.h"

#include "core/UserMessages.h"
#include "records/MeasurementTable.h"
#include "records/TableCsv.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace pxr3 {

void ExportForSpreadsheet()
{
    const CsvExport exported = ExportTableCsv(measurementTable(), QLocale());
    const QString shown = QDir::toNativeSeparators(exported.path);
    if (!exported.result.ok) {
        ShowMessage(MessageIcon::Warning, QString(),
                    QCoreApplication::translate("SpreadsheetExport", "Tabulku se nepodařilo uložit do souboru %1.\n%2")
                        .arg(shown, exported.result.error));
    } else if (exported.path.isEmpty()) {
        ShowMessage(MessageIcon::Information, QString(),
                    QCoreApplication::translate("SpreadsheetExport", "Tabulka neobsahuje žádná data."));
    } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(exported.path))) {
        ShowMessage(MessageIcon::Information, QString(),
                    QCoreApplication::translate("SpreadsheetExport",
                                                "Tabulka je uložena do souboru %1.\n"
                                                "Program pro tabulky se nepodařilo spustit, otevřete soubor ručně.")
                        .arg(shown));
    }
}

} // namespace pxr3
