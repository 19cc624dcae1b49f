#include "core/ParameterDisplay.h"

#include "acquisition/frm_USBkom.h"
#include "core/MDIForm1.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/Startup.h"

#include <QLabel>
#include <QLineEdit>

namespace pxr3 {

void ShowCurrentCaption(MDIForm1 *main)
{
    if (const NuclideRecord *record = CurrentRecord())
        main->setCaption(QStringLiteral("PXR3-USB [  ") + record->name + QLatin1Char(']'));
}

void ShowMeasureSettings(MDIForm1 *main, const QString &name)
{
    const SharedState &s = state();
    main->panelValue(0)->setText(name);
    main->panelValue(1)->setText(IntText(s.MeasureTime));
    main->panelValue(2)->setText(IntText(s.RepeatCount));
}

void ShowWorkingValues(MDIForm1 *main, frm_USBkom *usbkom)
{
    const SharedState &s = state();
    usbkom->text4()->setText(IntText(s.WorkHighVoltage));
    usbkom->text2()->setText(IntText(s.MeasureTime));
    main->panelValue(3)->setText(IntText(s.WorkLeftRoi));
    main->panelValue(4)->setText(IntText(s.WorkRightRoi));
    main->panelValue(5)->setText(IntText(s.WorkHighVoltage));
    main->panelValue(8)->setText(FloatText(s.WorkBackground));
}

void ApplyMeasuringSet(MDIForm1 *main, frm_USBkom *usbkom)
{
    if (CopyCurrentRecordToWork())
        ShowWorkingValues(main, usbkom);
}

} // namespace pxr3
