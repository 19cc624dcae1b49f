#include "records/TableFileDialogs.h"

#include "records/TableCommands.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace pxr3 {

QString ChooseTableFile(QWidget *parent, TableFileDialog kind)
{
    const bool save = kind == TableFileDialog::Save;
    QFileDialog dialog(parent,
                       save ? QCoreApplication::translate("TableFileDialogs", "Uložení dat")
                            : QCoreApplication::translate("TableFileDialogs", "Načtení dat"),
                       TableFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QCoreApplication::translate("TableCommands", kTableFileFilter));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace pxr3
