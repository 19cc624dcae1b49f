#include "records/SpectrumExportDialog.h"

#include "core/UserMessages.h"
#include "records/SpectrumExport.h"
#include "records/TableCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

namespace pxr3 {

namespace {

struct FormatFilter {
    SpectrumFormat format;
    const char *text;
};

const FormatFilter kFilters[] = {
    {SpectrumFormat::N42, QT_TRANSLATE_NOOP("SpectrumExport", "Spektrum ANSI N42.42 (*.n42)")},
    {SpectrumFormat::Spe, QT_TRANSLATE_NOOP("SpectrumExport", "Spektrum IAEA/ORTEC SPE (*.spe)")},
    {SpectrumFormat::Csv, QT_TRANSLATE_NOOP("SpectrumExport", "Tabulka CSV (*.csv)")},
};

QString Translated(const char *text) { return QCoreApplication::translate("SpectrumExport", text); }

} // namespace

void SaveSpectrumAs(QWidget *parent)
{
    QFileDialog dialog(parent, Translated(QT_TRANSLATE_NOOP("SpectrumExport", "Uložit spektrum jako")), TableFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const FormatFilter &filter : kFilters)
        filters << Translated(filter.text);
    dialog.setNameFilters(filters);
    // A name typed without a suffix gets the chosen format's, before the dialog asks about
    // overwriting.
    const auto formatOfFilter = [&filters](const QString &chosen) {
        return kFilters[std::max<qsizetype>(0, filters.indexOf(chosen))].format;
    };
    dialog.setDefaultSuffix(SpectrumSuffix(kFilters[0].format));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString &chosen) { dialog.setDefaultSuffix(SpectrumSuffix(formatOfFilter(chosen))); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    const SpectrumFormat format = SpectrumFormatOfName(path).value_or(formatOfFilter(dialog.selectedNameFilter()));
    const FileResult saved = SaveCycleSpectrumAs(path, format);
    if (!saved.ok)
        ShowMessage(MessageIcon::Critical, Translated(QT_TRANSLATE_NOOP("SpectrumExport", "Uložení spektra")),
                    Translated(QT_TRANSLATE_NOOP("SpectrumExport", "Spektrum se nepodařilo uložit do souboru %1.\n%2"))
                        .arg(QDir::toNativeSeparators(path), saved.error));
}

} // namespace pxr3
