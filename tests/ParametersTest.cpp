#include "TestSupport.h"
#include "records/NuclideEditing.h"
#include "records/SettingsFiles.h"

using namespace pxr3;

namespace {

class ParametersTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        openOnThreeRecords();
    }
    // Three records in the files, the third current, and the dialog opened on them.
    void openOnThreeRecords()
    {
        ResetSharedState();
        const char *names[] = {"Rn-222", "Tn-220", "Po-218"};
        for (int i = 0; i < 3; ++i)
            state().NuclideTable(i + 1) = {StoredNuclideName(QString::fromLatin1(names[i])),
                                           int16_t(10 * (i + 1)),
                                           int16_t(100 + i),
                                           int16_t(700 + i),
                                           2.5f,
                                           0.25f};
        state().NuclideCount = 3;
        state().CurrentNuclide = 3;
        LoadSaveConfig(0);
        ResetSharedState();
        LoadSaveConfig(1); // as start-up reads them
        fields = ActivateParameters();
        answer = true;
    }
    QByteArray file(const char *name) const { return test::FileBytes(path(QString::fromLatin1(name))); }
    QString name(int slot) const { return state().NuclideTable(slot).name.trimmed(); }

    ParameterFields fields;
};

} // namespace

TEST_F(ParametersTest, ACurrentRecordBeyondTheRecordsInUseIsNotShown)
{
    EXPECT_EQ(fields.selected, 2);
    state().CurrentNuclide = 7;
    LoadSaveConfig(0);
    state().WorkHighVoltage = 555;
    fields = ActivateParameters();
    EXPECT_EQ(state().MeasureState, 3);
    EXPECT_EQ(fields.selected, -1);
    EXPECT_EQ(fields.name, QString());
    EXPECT_EQ(fields.highVoltage, QStringLiteral("555")); // the working value
}

TEST_F(ParametersTest, SaveOfAChangedBackgroundKeepsTheLocalesCommaAndTheSelection)
{
    test::LocaleScope czech(QLocale::Czech);
    SelectNuclide(fields, 2);
    fields.background = QStringLiteral("1,5");
    EXPECT_TRUE(SaveParameters(fields));
    EXPECT_EQ(state().NuclideTable(3).background, 1.5f);
    EXPECT_TRUE(file("PXR3.KAL").endsWith("Po-218    \r\n 30\r\n 102\r\n 702\r\n2,5\r\n1,5\r\n"));
    EXPECT_EQ(fields.selected, 2);
    EXPECT_EQ(fields.background, QStringLiteral("1,5"));
}

TEST_F(ParametersTest, NewNamesAreAppendedByNewAndSaveAndBySetButRenamedBySave)
{
    // Only Set makes the stored set the one measured with (in PARAMETRY.CFG); Save keeps the third.
    const struct {
        bool viaNew, apply;
        int count, stored, current;
        const char *second, *fourth;
    } cases[] = {
        {true, false, 4, 4, 3, "Tn-220", "Po-214"}, // New, a name, Save
        {false, true, 4, 4, 4, "Tn-220", "Po-214"}, // a name typed over the second entry, Set
        {false, false, 3, 2, 3, "Po-214", ""},      // the same, Save: the second entry renamed
    };
    for (const auto &c : cases) {
        openOnThreeRecords();
        SelectNuclide(fields, 1);
        if (c.viaNew)
            NewParameters(fields);
        fields.name = QStringLiteral("Po-214");
        fields.selected = -1; // typed, no longer a list entry
        fields.highVoltage = QStringLiteral("650");
        EXPECT_TRUE(c.apply ? ApplyParameters(fields) : SaveParameters(fields));
        ResetSharedState();
        LoadSaveConfig(1); // what the files hold
        EXPECT_EQ(state().NuclideCount, c.count);
        EXPECT_EQ(state().CurrentNuclide, c.current);
        EXPECT_EQ(name(2), QString::fromLatin1(c.second));
        EXPECT_EQ(name(4), QString::fromLatin1(c.fourth));
        EXPECT_EQ(state().NuclideTable(c.stored).highVoltage, 650);
    }
}

TEST_F(ParametersTest, RemoveKeepsTheSetMeasuredWithOrAppliesTheOneLeftInItsPlace)
{
    const struct {
        int measuring, position; // before: the set measured with, the list entry removed
        int measuringAfter;
        const char *measuringName;
        int shownAfter; // the record the dialog shows, where Save would write
        Removal removal;
    } cases[] = {
        {3, 0, 2, "Po-218", 1, Removal::OtherSet},     // one before it: the same set, one slot down
        {1, 2, 1, "Rn-222", 2, Removal::OtherSet},     // one after it
        {3, 2, 2, "Tn-220", 2, Removal::MeasuringSet}, // itself: the one before takes its place
        {1, 0, 1, "Tn-220", 1, Removal::MeasuringSet}, // itself, the first: the new first
    };
    for (const auto &c : cases) {
        openOnThreeRecords();
        state().CurrentNuclide = int16_t(c.measuring);
        SelectNuclide(fields, c.position);
        EXPECT_EQ(RemoveNuclide(fields), c.removal);
        EXPECT_EQ(state().CurrentNuclide, c.measuringAfter);
        EXPECT_EQ(name(c.measuringAfter), QString::fromLatin1(c.measuringName));
        EXPECT_EQ(fields.shown, c.shownAfter);
        EXPECT_EQ(fields.name, state().NuclideTable(c.shownAfter).name);
        EXPECT_EQ(fields.leftRoi, QString::number(state().NuclideTable(c.shownAfter).leftRoi));
        // Applied at once when it took the removed set's place; otherwise nothing applied.
        const NuclideRecord &measured = state().NuclideTable(c.measuringAfter);
        const bool applied = c.removal == Removal::MeasuringSet;
        EXPECT_EQ(state().WorkHighVoltage, applied ? measured.highVoltage : 0);
        EXPECT_EQ(state().RoiBounds(2), applied ? measured.rightRoi : 0);
        ResetSharedState();
        LoadSaveConfig(1);
        EXPECT_EQ(state().NuclideCount, 2);
        EXPECT_EQ(state().CurrentNuclide, c.measuringAfter);
    }
    // Answering No removes nothing; removing the last record leaves none measured with, and
    // nothing is applied: the window's values serve.
    openOnThreeRecords();
    answer = false;
    SelectNuclide(fields, 0);
    EXPECT_EQ(RemoveNuclide(fields), Removal::None);
    EXPECT_EQ(state().NuclideCount, 3);
    answer = true;
    for (int left = 3; left > 0; --left) {
        SelectNuclide(fields, left - 1);
        RemoveNuclide(fields);
    }
    EXPECT_EQ(state().CurrentNuclide, 0);
    EXPECT_EQ(state().WorkHighVoltage, 700); // Rn-222's, applied when it was the one left
    EXPECT_EQ(file("PXR3.KAL"), QByteArray("PXR3.KAL\r\n"));
}

TEST_F(ParametersTest, ChoosingSavingAndReopeningLeaveTheSetMeasuredWith)
{
    ASSERT_TRUE(ApplyParameters(fields)); // the third set applied
    state().MeasureTime = 40;             // as a start from the window's "T [s]" leaves it
    fields = ActivateParameters();
    EXPECT_EQ(fields.shown, 3);
    EXPECT_EQ(fields.measureTime, QStringLiteral("40"));

    // Another set chosen, changed and saved: stored into it, nothing else taken.
    SelectNuclide(fields, 0);
    fields.rightRoi = QStringLiteral("150");
    fields.highVoltage = QStringLiteral("650");
    ASSERT_TRUE(SaveParameters(fields));
    EXPECT_EQ(state().NuclideTable(1).highVoltage, 650);
    EXPECT_EQ(fields.shown, 1);
    EXPECT_EQ(fields.highVoltage, QStringLiteral("650"));
    EXPECT_EQ(state().CurrentNuclide, 3);
    EXPECT_EQ(state().WorkHighVoltage, 702);
    EXPECT_EQ(state().WorkRightRoi, 102);
    EXPECT_EQ(state().RoiBounds(2), 102);

    // Another one chosen and the dialog closed: the settings file still names the third.
    SelectNuclide(fields, 1);
    CloseParameters();
    EXPECT_EQ(state().CurrentNuclide, 3);
    ASSERT_TRUE(LoadSaveConfig(0));
    EXPECT_EQ(file("PARAMETRY.CFG").mid(6, 2), QByteArray::fromHex("0300"));
}

TEST_F(ParametersTest, RefusedValuesChangeNothingAndSaySo)
{
    const struct {
        const char *name, *highVoltage;
        int records; // in the table beforehand
        bool apply;
        const char *says;
    } cases[] = {
        {"Bi-214", "500", 100, true, "plná"}, // a 101st record
        {"Bi-214", "500", 100, false, "plná"},
        {"", "1001", 3, true, "0 až 1000 V"},  // more than the detector takes
        {"", "70000", 3, true, "0 až 1000 V"}, // beyond 16 bits: never stored wrapped
        {"Rn-222", "65536", 3, false, "0 až 1000 V"},
        {"Rn-日", "500", 3, false, "Windows-1250"}, // PXR3.KAL could not hold the name
        {"", "500", 3, false, "Pozor, není zadán název radionuklidu."},
    };
    for (const auto &c : cases) {
        openOnThreeRecords();
        for (int slot = 4; slot <= c.records; ++slot)
            state().NuclideTable(slot) = state().NuclideTable(1);
        state().NuclideCount = int16_t(c.records);
        NewParameters(fields);
        fields.name = QString::fromUtf8(c.name);
        fields.highVoltage = QString::fromLatin1(c.highVoltage);
        const NuclideTable before = state().NuclideTable;
        const QByteArray kal = file("PXR3.KAL");
        messages.clear();
        EXPECT_FALSE(c.apply ? ApplyParameters(fields) : SaveParameters(fields)) << c.highVoltage;
        EXPECT_EQ(state().NuclideCount, c.records);
        EXPECT_EQ(state().NuclideTable, before);
        EXPECT_EQ(state().WorkHighVoltage, 0);
        EXPECT_EQ(state().MeasureState, 3); // the dialog stays open
        EXPECT_EQ(file("PXR3.KAL"), kal);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].text.contains(QString::fromUtf8(c.says))) << messages[0].text.toStdString();
    }
}
