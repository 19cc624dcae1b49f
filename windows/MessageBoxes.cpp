#include "windows/MessageBoxes.h"

#include "core/UserMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace pxr3 {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: break;
    }
    return QMessageBox::Information;
}

} // namespace

void InstallMessageBoxes()
{
    SetMessageSink([](const UserMessage &message) {
        const QString title = message.title.isEmpty() ? QString::fromUtf8(kProgramTitle) : message.title;
        QMessageBox box(BoxIcon(message.icon), title, message.text,
                        message.question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                        QApplication::activeWindow());
        if (message.question) {
            box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("MessageBoxes", "&Ano"));
            box.button(QMessageBox::No)->setText(QCoreApplication::translate("MessageBoxes", "&Ne"));
            box.setDefaultButton(message.defaultNo ? QMessageBox::No : QMessageBox::Yes);
        }
        return box.exec() == QMessageBox::Yes;
    });
}

} // namespace pxr3
