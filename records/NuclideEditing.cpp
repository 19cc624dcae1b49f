#include "records/NuclideEditing.h"

#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/Startup.h"
#include "core/TextFile.h"
#include "core/UserMessages.h"
#include "records/SettingsFiles.h"

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
        {f.measureTime, "Čas měření [s]", v.measureTime}, {f.repeatCount, "Počet opakování", v.repeatCount},
        {f.leftRoi, "Levá ROI", v.record.leftRoi},       {f.rightRoi, "Pravá ROI", v.record.rightRoi},
    };
    for (const auto &field : integers) {
        const std::optional<int16_t> value = RoundToInt16(LeadingNumber(field.text));
        if (!value) {
            refuse(QStringLiteral("Hodnota „%1“ v poli „%2“ je příliš velká.")
                       .arg(field.text, QString::fromUtf8(field.label)));
            return std::nullopt;
        }
        field.value = *value;
    }
    if (!HighVoltageAcceptable(f.highVoltage)) {
        refuse(QStringLiteral("Vysoké napětí musí být v rozsahu 0 až %1 V.").arg(kMaxHighVoltage));
        return std::nullopt;
    }
    v.record.name = StoredNuclideName(f.name);
    v.record.highVoltage = *RoundToInt16(LeadingNumber(f.highVoltage));
    v.record.calFactor = decimalField(f.calFactor);
    v.record.background = decimalField(f.background);
    return v;
}

// The record that storing the fields overwrites: the current one, or 0 for a new one.
int targetRecord(int current)
{
    return current >= 1 && current <= state().NuclideCount ? current : 0;
}

// Whether the record can be stored as record target (0: a new one) and written to PXR3.KAL
// as it is.
bool storable(const NuclideRecord &record, int target)
{
    if (target == 0 && state().NuclideCount >= kNuclideSlots)
        return refuse(QStringLiteral("Tabulka radionuklidů je plná (nejvýše %1 záznamů). "
                                     "Vyberte existující záznam nebo některý odeberte.")
                          .arg(kNuclideSlots));
    QByteArray encoded;
    const FileResult name = EncodeWindows1250(record.name, encoded);
    if (!name.ok)
        return refuse(QStringLiteral("Název radionuklidu nelze uložit: ") + name.error);
    return true;
}

// Stores the fields into the current record, or appends one that becomes current, takes it
// as the working values and writes both files. True when the files were written.
bool storeRecord(const FieldValues &v)
{
    SharedState &s = state();
    int k = targetRecord(s.CurrentNuclide);
    if (k == 0) {
        k = ++s.NuclideCount;
        s.CurrentNuclide = int16_t(k);
    }
    s.NuclideTable(k) = v.record;
    SetWorkingValues(v.record);
    s.MeasureTime = v.measureTime;
    s.RepeatCount = v.repeatCount;
    return LoadSaveConfig(0);
}

void showRecord(ParameterFields &f, const NuclideRecord &r)
{
    f.leftRoi = IntText(r.leftRoi);
    f.rightRoi = IntText(r.rightRoi);
    f.highVoltage = IntText(r.highVoltage);
    f.calFactor = FloatText(r.calFactor);
    f.background = FloatText(r.background);
}

// The fields as activation shows them.
ParameterFields shownFields()
{
    const SharedState &s = state();
    ParameterFields f;
    f.measureTime = IntText(s.MeasureTime);
    f.repeatCount = IntText(s.RepeatCount);
    if (const NuclideRecord *current = CurrentRecord()) {
        f.selected = s.CurrentNuclide - 1;
        f.name = current->name;
        showRecord(f, *current);
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
    LoadSaveConfig(1);
    return shownFields();
}

void SelectNuclide(ParameterFields &fields, int position)
{
    SharedState &s = state();
    if (position < 0 || position >= s.NuclideCount)
        return;
    s.CurrentNuclide = int16_t(position + 1);
    fields.selected = position;
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
    SetWorkingValues(v->record);
    s.CurrentNuclide = chosen;
    s.RoiBounds(1) = s.WorkLeftRoi;
    s.RoiBounds(2) = s.WorkRightRoi;
    if (store)
        storeRecord(*v);
    CloseParameters();
    return true;
}

bool SaveParameters(ParameterFields &fields)
{
    if (fields.name.isEmpty())
        return refuse(QStringLiteral("Pozor, není zadán název radionuklidu."));
    const std::optional<FieldValues> v = readFields(fields);
    if (!v || !storable(v->record, targetRecord(state().CurrentNuclide)))
        return false;
    const bool saved = storeRecord(*v);
    if (saved)
        ShowMessage(MessageIcon::Information, QString(), QStringLiteral("Data byla uložena do CFG souborů."));
    LoadSaveConfig(1);
    fields = shownFields();
    return saved;
}

void NewParameters(ParameterFields &fields)
{
    state().CurrentNuclide = 0;
    fields.name.clear();
    fields.selected = -1;
    for (QString *value : {&fields.leftRoi, &fields.rightRoi, &fields.highVoltage, &fields.calFactor, &fields.background})
        *value = QStringLiteral("0");
}

bool RemoveNuclide(ParameterFields &fields)
{
    SharedState &s = state();
    if (fields.selected < 0 || fields.selected >= s.NuclideCount)
        return false;
    const int k = fields.selected + 1;
    if (!AskYesNo(MessageIcon::Question, QStringLiteral("Dotaz"),
                  QStringLiteral("Chcete odstranit nastavení pro ") + s.NuclideTable(k).name + QStringLiteral(" ?")))
        return false;

    for (int slot = k; slot < s.NuclideCount; ++slot)
        s.NuclideTable(slot) = s.NuclideTable(slot + 1);
    s.NuclideTable(s.NuclideCount) = NuclideRecord{};
    --s.NuclideCount;
    // No record is current once the table is empty.
    s.CurrentNuclide = int16_t(s.NuclideCount == 0 ? 0 : std::max(k - 1, 1));
    const bool saved = LoadSaveConfig(0);

    // The removed entry's name must not stay as if it still named a record.
    fields.name.clear();
    fields.selected = -1;
    // The record that Save would now write to is shown, also when it is the first: left
    // unselected, the fields would still hold the removed record's values, and Save would put
    // them over record 1 without the operator having chosen it.
    if (s.CurrentNuclide >= 1)
        SelectNuclide(fields, s.CurrentNuclide - 1);
    if (saved)
        ShowMessage(MessageIcon::Information, QString(), QStringLiteral("Záznam byl odstraněn z CFG souboru."));
    return true;
}

void CloseParameters() { state().MeasureState = 0; }

bool HighVoltageAcceptable(const QString &text)
{
    const std::optional<int16_t> value = RoundToInt16(LeadingNumber(text));
    return value && *value >= 0 && *value <= kMaxHighVoltage;
}

} // namespace pxr3
