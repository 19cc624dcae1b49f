#pragma once
// What the parameters dialog decides: choosing, applying, saving, adding and removing
// radionuclide sets. It works on the shared state and the parameter files; the dialog only
// shows these fields and passes the operator's commands on.

#include <QString>
#include <QStringList>

namespace pxr3 {

constexpr int kMaxHighVoltage = 1000; // volts the detector takes

// The dialog's fields as texts, the record they show and which entry of its list the name
// comes from.
struct ParameterFields {
    QString measureTime;
    QString repeatCount;
    QString name;      // the list box's text
    int selected = -1; // list position (0-based) the name was chosen from; -1 when typed or none
    int shown = 0;     // the record (1-based) Save and Remove act on; 0 for a new one
    QString leftRoi;
    QString rightRoi;
    QString highVoltage;
    QString calFactor;
    QString background;
};

// The list: the stored names of the records in use, in table order.
QStringList NuclideNames();

// The set measured with (CurrentNuclide) changes only by "N&astavit" and by the removal of
// that set; choosing, saving and removing other sets only change what the dialog shows.

// The dialog becoming active: marks it open in MeasureState, reloads the files and shows the
// set measured with, or the working values when none is current.
ParameterFields ActivateParameters();

// A click on list entry position: the dialog shows that record.
void SelectNuclide(ParameterFields &fields, int position);

// "N&astavit": applies the fields to the working values and the ROI and, with a name, stores
// them as a record (the selected one, else a new one) that becomes the set measured with,
// and writes the files. False, with a message and nothing changed, when a value is refused;
// the dialog then stays open.
bool ApplyParameters(const ParameterFields &fields);

// "&Uložit": stores the fields into the shown record (a new one when none is shown), writes
// and reloads the files and shows the record again. The working values stay. False when
// refused or not saved.
bool SaveParameters(ParameterFields &fields);

// "&Nový": no record shown, an empty name and zero values; nothing is stored.
void NewParameters(ParameterFields &fields);

enum class Removal {
    None,         // nothing removed
    OtherSet,     // the set measured with stays (its number shifted when it came later)
    MeasuringSet, // it was the set measured with: the record left current is applied, if any
};

// "&Odebrat": after the operator agrees, removes the shown record and writes the files; the
// record before it (the first when it was the first) is shown.
Removal RemoveNuclide(ParameterFields &fields);

// The dialog closing by "&Zavřít" or by applying.
void CloseParameters();

// A high-voltage text whose value lies within 0 to kMaxHighVoltage.
bool HighVoltageAcceptable(const QString &text);

} // namespace pxr3
