#include "core/MainStartup.h"

#include "acquisition/MeasurementSeries.h"
#include "acquisition/frm_USBkom.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/CommLogFile.h"
#include "core/MDIForm1.h"
#include "core/NumberText.h"
#include "core/ParameterDisplay.h"
#include "core/SeriesOnWindows.h"
#include "core/SharedState.h"
#include "core/Startup.h"
#include "core/Twips.h"
#include "core/UserMessages.h"
#include "core/WorkCommands.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "graphs/frm_Prubeh.h"
#include "records/Form2.h"
#include "records/SettingsFiles.h"
#include "records/SpreadsheetExport.h"
#include "records/TableCommands.h"
#include "records/TableFileDialogs.h"
#include "records/TablePrinting.h"
#include "records/vse_mer.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <memory>

namespace pxr3 {

namespace {

void InstallLinkHooks(MDIForm1 *main, frm_USBkom *usbkom, QMdiSubWindow *usbkomFrame)
{
    LinkHooks hooks;
    hooks.highVoltageText = [usbkom] { return usbkom->text4()->text(); };
    hooks.measureTimeText = [usbkom] { return usbkom->text2()->text(); };
    hooks.deviceConnected = [main, usbkomFrame] {
        main->setStatusText(QCoreApplication::translate("MainStartup", "PXD3 připojena."));
        usbkomFrame->showMinimized();
    };
    SetLinkHooks(hooks);
}

void InstallSeries(ProgramWindows &windows)
{
    auto *series = new MeasurementSeries(std::make_unique<SeriesOnWindows>(windows.main, windows.usbkom), windows.main);
    windows.series = series;
    QObject::connect(windows.main, &MDIForm1::stopRequested, series, &MeasurementSeries::StopRequested);
    workCommands().NewMeasurement = [series] { series->NewMeasurement(); };
    workCommands().EndMeasuring = [series, usbkom = windows.usbkom] {
        series->Abandon();
        usbkom->timer()->stop();
    };
}

// The commands on the table as a whole: clear, save, load, print and export.
void InstallTableCommands(QWidget *main)
{
    WorkCommands &commands = workCommands();
    commands.ClearTable = [] { ClearTable(); };
    commands.SaveTable = [main] { SaveTableCommand(ChooseTableFile(main, TableFileDialog::Save)); };
    commands.LoadTable = [main] { LoadTableCommand(ChooseTableFile(main, TableFileDialog::Load)); };
    commands.PrintTable = [] { PrintTable(); };
    commands.PreviewTable = [main] { PreviewTable(main); };
    commands.PrintTableToPdf = [main] { PrintTableToPdf(main); };
    commands.ExportTable = [] { ExportForSpreadsheet(); };
}

} // namespace

ProgramWindows StartProgram(bool simulated)
{
    ProgramWindows windows;
    PrepareProgramFolders();
    InstallCommLogFile();

    auto *main = new MDIForm1;
    windows.main = main;
    main->setSimulated(simulated);
    SetMainWindowPlacement(main);
    LoadSaveConfig(1);
    main->show();
    // Without a current set the panel still shows the time and repetitions a series will use.
    const NuclideRecord *record = CurrentRecord();
    ShowMeasureSettings(main, record ? record->name : main->panelValue(0)->text());
    ShowCurrentCaption(main);
    state().MeasureState = 0;

    windows.table = new vse_mer;
    main->setTableWindow(main->addChild(windows.table));
    windows.table->show();
    InstallTableCommands(main);
    ClearTable();
    main->tileVertically();
    ResetMeasurementState();

    windows.usbkom = new frm_USBkom;
    windows.usbkom->setSimulated(simulated);
    QMdiSubWindow *usbkomFrame = main->addChild(windows.usbkom);
    main->setCommunicationWindow(windows.usbkom, usbkomFrame);
    InstallLinkHooks(main, windows.usbkom, usbkomFrame);
    const int designOffset = TwipsToPixels(main, 100);
    usbkomFrame->move(designOffset, designOffset);
    windows.usbkom->show();
    windows.course = new frm_Prubeh;
    main->setCourseWindow(main->addChild(windows.course));
    windows.usbkom->setCourseWindow(windows.course);
    workCommands().ShowCourse = [course = windows.course] { course->OpenCourse(); };
    InstallSeries(windows);
    workCommands().ShowParameters = [main, usbkom = windows.usbkom] {
        Form2 dialog(main, usbkom);
        dialog.exec();
    };
    LoadSaveConfig(1);

    if (simulated)
        NoteSimulatedAnalyser();
    state().LinkStatus = static_cast<int16_t>(USB_Open());
    main->showConnected(state().LinkStatus == 1);
    if (state().LinkStatus == 1) {
        MCA_Command(QStringLiteral("R"));
        windows.usbkom->text4()->setText(IntText(state().DeviceHighVoltage));
        MCA_Command(QStringLiteral("E"));
    }
    state().ReadingBusy = 0;
    // The current set is measured with from the first start, as if "N&astavit" had been pressed.
    if (!ApplyMeasuringSet(main, windows.usbkom))
        windows.usbkom->text2()->setText(IntText(state().MeasureTime)); // the cycle a series will run
    return windows;
}

} // namespace pxr3
