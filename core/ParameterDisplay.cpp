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
    main->setPanelValue(0, name);
    main->setPanelValue(1, IntText(s.MeasureTime));
    main->setPanelValue(2, IntText(s.RepeatCount));
}

void ShowMeasuringSet(MDIForm1 *main, frm_USBkom *usbkom, const QString &name)
{
    const SharedState &s = state();
    ShowMeasureSettings(main, name);
    main->setPanelValue(3, IntText(s.WorkLeftRoi));
    main->setPanelValue(4, IntText(s.WorkRightRoi));
    main->setPanelValue(5, IntText(s.WorkHighVoltage));
    main->setPanelValue(8, FloatText(s.WorkBackground));
    ShowCurrentCaption(main);
    // The window's fields are what a measurement started from it reads.
    usbkom->text3(0)->setText(IntText(s.WorkLeftRoi));
    usbkom->text3(1)->setText(IntText(s.WorkRightRoi));
    usbkom->text4()->setText(IntText(s.WorkHighVoltage));
    usbkom->text2()->setText(IntText(s.MeasureTime));
    usbkom->text3(3)->setText(FloatText(s.WorkCalFactor));
    usbkom->text3(4)->setText(FloatText(s.WorkBackground));
}

bool ApplyMeasuringSet(MDIForm1 *main, frm_USBkom *usbkom)
{
    if (!ApplyCurrentRecord())
        return false;
    ShowMeasuringSet(main, usbkom, CurrentRecord()->name);
    return true;
}

} // namespace pxr3
