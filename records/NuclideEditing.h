#pragma once
// What the parameters dialog decides: choosing, applying, saving, adding and removing
// radionuclide sets. It works on the shared state and the parameter files; the dialog only
// shows these fields and passes the operator's commands on.

#include <QString>
#include <QStringList>

namespace pxr3 {

constexpr int kMaxHighVoltage = 1000; // volts the detector takes

// The dialog's fields as texts, and which entry of its list the name comes from.
struct ParameterFields {
    QString measureTime;
    QString repeatCount;
    QString name;      // the list box's text
    int selected = -1; // list position (0-based) the name was chosen from; -1 when typed or none
    QString leftRoi;
    QString rightRoi;
    QString highVoltage;
    QString calFactor;
    QString background;
};

// The list: the stored names of the records in use, in table order.
QStringList NuclideNames();

// The dialog becoming active: marks it open in MeasureState, reloads the files and shows the
// current record, or the working values when no record is current.
ParameterFields ActivateParameters();

// A click on list entry position: that record becomes current and is shown.
void SelectNuclide(ParameterFields &fields, int position);

// "N&astavit": applies the fields to the working values and the ROI and, with a name, stores
// them as a record (the selected one, else a new one) and writes the files. False, with a
// message and nothing changed, when a value is refused; the dialog then stays open.
bool ApplyParameters(const ParameterFields &fields);

// "&Uložit": stores the fields into the current record (a new one when none is current),
// writes and reloads the files and shows them again. False when refused or not saved.
bool SaveParameters(ParameterFields &fields);

// "&Nový": no record current, an empty name and zero values; nothing is stored.
void NewParameters(ParameterFields &fields);

// "&Odebrat": after the operator agrees, removes the selected record and writes the files.
// True when a record was removed.
bool RemoveNuclide(ParameterFields &fields);

// The dialog closing by "&Zavřít" or by applying.
void CloseParameters();

// A high-voltage text whose value lies within 0 to kMaxHighVoltage.
bool HighVoltageAcceptable(const QString &text);

} // namespace pxr3
