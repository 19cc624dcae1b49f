#include "windows/ProgramPrinter.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace pxr3 {

QPrinter &programPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void ShowPrinterSetup(QWidget *parent)
{
    QPrintDialog dialog(&programPrinter(), parent);
    dialog.setWindowTitle(QCoreApplication::translate("ProgramPrinter", "Nastavení tisku"));
    dialog.setOptions({});
    // It only chooses: nothing is printed when it closes.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    dialog.exec();
}

} // namespace pxr3
