#include "core/Form1.h"

#include "controls/MyButton.h"
#include "core/CommLog.h"
#include "core/MDIForm1.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "core/WorkCommands.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/USB_KOM.h"
#include "records/MeasurementTable.h"
#include "records/SettingsFiles.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace pxr3 {

namespace {

// Closes the analyser and ends. When the quit came from inside a command's wait, the wait
// is ended at once and the device closed as soon as the command has let go of the link.
void EndProgram(const QPointer<MDIForm1> &main)
{
    if (LinkBusy()) {
        AbandonReplyWait();
        QTimer::singleShot(0, [main] { EndProgram(main); });
        return;
    }
    USB_Close();
    commLog().append(commLog().status());
    if (main)
        main->allowClose();
    QApplication::exit(0);
}

// Results and edits nobody saved are named before they could be lost with the program.
QString QuitQuestion()
{
    QString text = Form1::tr("Přejete si ukončit program  PXR3-USB ?");
    const MeasurementTable &table = measurementTable();
    if (state().TableModified == 0 && !table.unsavedResults())
        return text;
    text += Form1::tr("\n\nPozor: tabulka obsahuje neuložená data.");
    if (!table.autosaveError().isEmpty())
        text += Form1::tr("\nAutomatické uložení selhalo (%1): výsledky měření nejsou uloženy v žádném souboru.")
                    .arg(table.autosaveError());
    else if (!table.autosavePath().isEmpty() && state().TableModified == 0)
        text += Form1::tr("\nVýsledky měření jsou zachovány v souboru\n") + table.autosavePath();
    return text;
}

} // namespace

Form1::Form1(MDIForm1 *mainWindow) : QDialog(mainWindow), main_(mainWindow)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    AddDefaultSkinBox(this);

    Image1 = new QLabel(this);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    Image1->setAccessibleName(tr("Otázka"));
    Label1 = new QLabel(QuitQuestion(), this);

    auto *question = new QHBoxLayout;
    question->addWidget(Image1);
    question->addSpacing(8);
    question->addWidget(Label1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const char *texts[] = {QT_TR_NOOP("&Ano"), QT_TR_NOOP("&Ne")};
    for (int i = 0; i < 2; ++i) {
        MyButton1[i] = new MyButton(QStringLiteral("MyButton1"), this);
        MyButton1[i]->SetText(tr(texts[i]));
        MyButton1[i]->setFixedSize(90, 28);
        connect(MyButton1[i], &MyButton::Click, this, [this, i] { MyButton1_Click(i); });
        buttons->addWidget(MyButton1[i]);
    }
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    MyButton1[0]->setFocus();
}

void Form1::MyButton1_Click(int index)
{
    close();
    if (index != 0)
        return; // "&Ne" leaves the table's unsaved state as it is: a later "Nový" must still ask
    QuitWithoutAsking(main_);
}

void QuitWithoutAsking(MDIForm1 *mainWindow)
{
    if (workCommands().EndMeasuring)
        workCommands().EndMeasuring();
    LoadSaveConfig(0);
    EndProgram(mainWindow);
}

} // namespace pxr3
