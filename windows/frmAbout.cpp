#include "windows/frmAbout.h"

#include "controls/MyButton.h"
#include "core/UserMessages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

namespace pxr3 {

const char *const kSupportMail = PXR3_SUPPORT_MAIL;

QString frmAbout::SystemInfoTool()
{
    for (const char *tool : {"hardinfo2", "hardinfo", "gnome-system-monitor", "kinfocenter", "xfce4-taskmanager"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("O programu %1").arg(QString::fromLatin1(kProgramTitle)));

    auto *icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    auto *title =
        new QLabel(QStringLiteral("<b style='font-size:14pt'>%1</b>").arg(QString::fromLatin1(kProgramTitle)));
    auto *version = new QLabel(tr("Verze %1").arg(QStringLiteral(PXR3_VERSION)));
    version->setObjectName(QStringLiteral("lblVersion"));
    auto *description = new QLabel(tr("Ovládání a vyhodnocení mnohokanálového analyzátoru PXR3"));
    // A build without an address shows none rather than one nobody reads.
    QLabel *mail = nullptr;
    if (*kSupportMail) {
        mail = new QLabel(QStringLiteral("<a href='mailto:%1'>%1</a>").arg(QString::fromLatin1(kSupportMail)));
        mail->setObjectName(QStringLiteral("lblMail"));
        mail->setOpenExternalLinks(true);
    }

    AddDefaultSkinBox(this);
    cmdOK = new MyButton(QStringLiteral("cmdOK"), this);
    cmdOK->SetText(QStringLiteral("OK"));
    cmdOK->setFixedSize(90, 28);
    connect(cmdOK, &MyButton::Click, this, &QDialog::accept);
    cmdSysInfo = new MyButton(QStringLiteral("cmdSysInfo"), this);
    cmdSysInfo->SetText(tr("&Systémové informace..."));
    cmdSysInfo->setFixedSize(cmdSysInfo->sizeHint().width(), 28);
    // Without a tool the button could do nothing: it is not offered.
    cmdSysInfo->setVisible(!SystemInfoTool().isEmpty());
    connect(cmdSysInfo, &MyButton::Click, this, &frmAbout::StartSysInfo);

    auto *text = new QVBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(title), static_cast<QWidget *>(version),
                       static_cast<QWidget *>(description), static_cast<QWidget *>(mail)})
        if (w)
            text->addWidget(w);
    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    cmdOK->setFocus(); // Enter on the focused button closes the box
}

void frmAbout::StartSysInfo()
{
    const QString tool = SystemInfoTool();
    if (tool.isEmpty() || !QProcess::startDetached(tool, {}))
        ShowMessage(MessageIcon::Warning, QString(), tr("Systémové informace nyní nejsou k dispozici"));
}

} // namespace pxr3
