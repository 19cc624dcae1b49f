#include "records/NuclideEditing.h"

#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/Startup.h"
#include "core/TextFile.h"
#include "core/UserMessages.h"
#include "records/SettingsFiles.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>

namespace pxr3 {

namespace {

struct FieldValues {
    int16_t measureTime = 0;
    int16_t repeatCount = 0;
    NuclideRecord record;
};

bool refuse(const QString &text)
{
    ShowMessage(MessageIcon::Warning, QString(), text);
    return false;
}

float decimalField(QString text) { return float(ParseDecimal(text)); }

// The fields as numbers; a value that does not fit its field is refused rather than stored
// wrapped, and the high voltage must lie within what the detector takes.
std::optional<FieldValues> readFields(const ParameterFields &f)
{
    FieldValues v;
    const struct {
        const QString &text;
        const char *label;
        int16_t &value;
    } integers[] = {
        {f.measureTime, QT_TRANSLATE_NOOP("NuclideEditing", "Čas měření [s]"), v.measureTime},
        {f.repeatCount, QT_TRANSLATE_NOOP("NuclideEditing", "Počet opakování"), v.repeatCount},
        {f.leftRoi, QT_TRANSLATE_NOOP("NuclideEditing", "Levá ROI"), v.record.leftRoi},
        {f.rightRoi, QT_TRANSLATE_NOOP("NuclideEditing", "Pravá ROI"), v.record.rightRoi},
    };
    for (const auto &field : integers) {
        const std::optional<int16_t> value = RoundToInt16(LeadingNumber(field.text));
        if (!value) {
            refuse(QCoreApplication::translate("NuclideEditing", "Hodnota „%1“ v poli „%2“ je příliš velká.")
                       .arg(field.text, QCoreApplication::translate("NuclideEditing", field.label)));
            return std::nullopt;
        }
        field.value = *value;
    }
    if (!HighVoltageAcceptable(f.highVoltage)) {
        refuse(QCoreApplication::translate("NuclideEditing", "Vysoké napětí musí být v rozsahu 0 až %1 V.")
                   .arg(kMaxHighVoltage));
        return std::nullopt;
    }
    v.record.name = StoredNuclideName(f.name);
    v.record.highVoltage = *RoundToInt16(LeadingNumber(f.highVoltage));
    v.record.calFactor = decimalField(f.calFactor);
    v.record.background = decimalField(f.background);
    return v;
}

// The record that storing the fields overwrites: k when it is in use, or 0 for a new one.
int targetRecord(int k) { return k >= 1 && k <= state().NuclideCount ? k : 0; }

// Whether the record can be stored as record target (0: a new one) and written to PXR3.KAL
// as it is.
bool storable(const NuclideRecord &record, int target)
{
    if (target == 0 && state().NuclideCount >= kNuclideSlots)
        return refuse(QCoreApplication::translate("NuclideEditing",
                                                  "Tabulka radionuklidů je plná (nejvýše %1 záznamů). "
                                                  "Vyberte existující záznam nebo některý odeberte.")
                          .arg(kNuclideSlots));
    QByteArray encoded;
    const FileResult name = EncodeWindows1250(record.name, encoded);
    if (!name.ok)
        return refuse(QCoreApplication::translate("NuclideEditing", "Název radionuklidu nelze uložit: ") + name.error);
    return true;
}

// Puts the record into slot k, or appends it when k is not in use; the record's number.
int placeRecord(const NuclideRecord &record, int k)
{
    SharedState &s = state();
    k = targetRecord(k);
    if (k == 0)
        k = ++s.NuclideCount;
    s.NuclideTable(k) = record;
    return k;
}

// Rereads the files for the sets they hold. What is in force stays: the set measured with and
// the time and repetitions, which a start or a Set without a name change without storing.
void reloadFiles()
{
    SharedState &s = state();
    const int16_t measuring = s.CurrentNuclide;
    const int16_t measureTime = s.MeasureTime;
    const int16_t repeatCount = s.RepeatCount;
    LoadSaveConfig(1);
    s.CurrentNuclide = measuring;
    s.MeasureTime = measureTime;
    s.RepeatCount = repeatCount;
}

void showRecord(ParameterFields &f, const NuclideRecord &r)
{
    f.leftRoi = IntText(r.leftRoi);
    f.rightRoi = IntText(r.rightRoi);
    f.highVoltage = IntText(r.highVoltage);
    f.calFactor = FloatText(r.calFactor);
    f.background = FloatText(r.background);
}

// The fields showing record k, or the working values when k is not in use.
ParameterFields shownFields(int k)
{
    const SharedState &s = state();
    ParameterFields f;
    f.measureTime = IntText(s.MeasureTime);
    f.repeatCount = IntText(s.RepeatCount);
    if (targetRecord(k) != 0) {
        f.selected = k - 1;
        f.shown = k;
        f.name = s.NuclideTable(k).name;
        showRecord(f, s.NuclideTable(k));
    } else {
        f.leftRoi = IntText(s.WorkLeftRoi);
        f.rightRoi = IntText(s.WorkRightRoi);
        f.highVoltage = IntText(s.WorkHighVoltage);
        f.calFactor = FloatText(s.WorkCalFactor);
        f.background = FloatText(s.WorkBackground);
    }
    return f;
}

} // namespace

QStringList NuclideNames()
{
    QStringList names;
    for (int slot = 1; slot <= state().NuclideCount; ++slot)
        names << state().NuclideTable(slot).name;
    return names;
}

ParameterFields ActivateParameters()
{
    state().MeasureState = 3;
    reloadFiles();
    return shownFields(state().CurrentNuclide);
}

void SelectNuclide(ParameterFields &fields, int position)
{
    SharedState &s = state();
    if (position < 0 || position >= s.NuclideCount)
        return;
    fields.selected = position;
    fields.shown = position + 1;
    fields.name = s.NuclideTable(position + 1).name;
    showRecord(fields, s.NuclideTable(position + 1));
}

bool ApplyParameters(const ParameterFields &fields)
{
    const std::optional<FieldValues> v = readFields(fields);
    if (!v)
        return false;
    const int16_t chosen = int16_t(fields.selected + 1);
    const bool store = !fields.name.isEmpty();
    if (store && !storable(v->record, targetRecord(chosen)))
        return false;

    SharedState &s = state();
    s.MeasureTime = v->measureTime;
    s.RepeatCount = v->repeatCount;
    ApplyWorkingValues(v->record);
    // Chosen from the list, the set is stored over its record; typed, it is a new one.
    s.CurrentNuclide = store ? int16_t(placeRecord(v->record, chosen)) : chosen;
    if (store)
        LoadSaveConfig(0);
    CloseParameters();
    return true;
}

bool SaveParameters(ParameterFields &fields)
{
    if (fields.name.isEmpty())
        return refuse(QCoreApplication::translate("NuclideEditing", "Pozor, není zadán název radionuklidu."));
    const std::optional<FieldValues> v = readFields(fields);
    if (!v || !storable(v->record, targetRecord(fields.shown)))
        return false;
    // Only the record is stored: the working values stay those "N&astavit" applied.
    SharedState &s = state();
    const int k = placeRecord(v->record, fields.shown);
    s.MeasureTime = v->measureTime;
    s.RepeatCount = v->repeatCount;
    const bool saved = LoadSaveConfig(0);
    if (saved)
        ShowMessage(MessageIcon::Information, QString(),
                    QCoreApplication::translate("NuclideEditing", "Data byla uložena do CFG souborů."));
    reloadFiles();
    fields = shownFields(k);
    return saved;
}

void NewParameters(ParameterFields &fields)
{
    fields.name.clear();
    fields.selected = -1;
    fields.shown = 0;
    for (QString *value :
         {&fields.leftRoi, &fields.rightRoi, &fields.highVoltage, &fields.calFactor, &fields.background})
        *value = QStringLiteral("0");
}

Removal RemoveNuclide(ParameterFields &fields)
{
    SharedState &s = state();
    const int k = targetRecord(fields.shown);
    if (k == 0)
        return Removal::None;
    if (!AskYesNo(MessageIcon::Question, QCoreApplication::translate("NuclideEditing", "Dotaz"),
                  QCoreApplication::translate("NuclideEditing", "Chcete odstranit nastavení pro ") +
                      s.NuclideTable(k).name + QCoreApplication::translate("NuclideEditing", " ?")))
        return Removal::None;

    for (int slot = k; slot < s.NuclideCount; ++slot)
        s.NuclideTable(slot) = s.NuclideTable(slot + 1);
    s.NuclideTable(s.NuclideCount) = NuclideRecord{};
    --s.NuclideCount;
    // The record before the removed one is left current; none once the table is empty.
    const int left = s.NuclideCount == 0 ? 0 : std::max(k - 1, 1);
    Removal removal = Removal::OtherSet;
    if (s.CurrentNuclide == k) {
        // Measuring with a set that is gone would leave the rows' emission without a record.
        s.CurrentNuclide = int16_t(left);
        ApplyCurrentRecord();
        removal = Removal::MeasuringSet;
    } else if (s.CurrentNuclide > k) {
        --s.CurrentNuclide; // the same set, one slot down
    }
    const bool saved = LoadSaveConfig(0);

    // The removed entry's name must not stay as if it still named a record.
    fields.name.clear();
    fields.selected = -1;
    fields.shown = 0;
    // The record that Save would now write to is shown, also when it is the first: left
    // unselected, the fields would still hold the removed record's values, and Save would put
    // them over record 1 without the operator having chosen it.
    if (left >= 1)
        SelectNuclide(fields, left - 1);
    if (saved)
        ShowMessage(MessageIcon::Information, QString(),
                    QCoreApplication::translate("NuclideEditing", "Záznam byl odstraněn z CFG souboru."));
    return removal;
}

void CloseParameters() { state().MeasureState = 0; }

bool HighVoltageAcceptable(const QString &text)
{
    const std::optional<int16_t> value = RoundToInt16(LeadingNumber(text));
    return value && *value >= 0 && *value <= kMaxHighVoltage;
}

} // namespace pxr3
