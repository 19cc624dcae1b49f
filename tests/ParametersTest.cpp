#include "records/NuclideEditing.h"
#include "records/SettingsFiles.h"
#include "TestSupport.h"

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
            state().NuclideTable(i + 1) = {StoredNuclideName(QString::fromLatin1(names[i])), int16_t(10 * (i + 1)),
                                           int16_t(100 + i), int16_t(700 + i), 2.5f, 0.25f};
        state().NuclideCount = 3;
        state().CurrentNuclide = 3;
        LoadSaveConfig(0);
        ResetSharedState();
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
    const struct {
        bool viaNew, apply;
        int count, current;
        const char *second, *fourth;
    } cases[] = {
        {true, false, 4, 4, "Tn-220", "Po-214"},  // New, a name, Save
        {false, true, 4, 4, "Tn-220", "Po-214"},  // a name typed over the second entry, Set
        {false, false, 3, 2, "Po-214", ""},       // the same, Save: the second entry renamed
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
        EXPECT_EQ(state().NuclideTable(c.current).highVoltage, 650);
    }
}

TEST_F(ParametersTest, RemoveMovesTheLaterRecordsDownAndSelectsAsTheOperatorExpects)
{
    const struct {
        int position, current, selected;
        QStringList left;
    } cases[] = {
        {2, 2, 1, {"Rn-222    ", "Tn-220    "}}, // the third of three: the second is selected
        {0, 1, 0, {"Tn-220    ", "Po-218    "}}, // the first: the new first, where Save would write
    };
    for (const auto &c : cases) {
        openOnThreeRecords();
        SelectNuclide(fields, c.position);
        EXPECT_TRUE(RemoveNuclide(fields));
        EXPECT_EQ(state().CurrentNuclide, c.current);
        EXPECT_EQ(fields.selected, c.selected);
        EXPECT_EQ(fields.name, c.left[c.selected]);
        EXPECT_EQ(fields.leftRoi, QString::number(state().NuclideTable(c.current).leftRoi));
        ResetSharedState();
        LoadSaveConfig(1);
        EXPECT_EQ(NuclideNames(), c.left);
    }
    // Answering No removes nothing; removing the last record leaves none current.
    answer = false;
    SelectNuclide(fields, 0);
    EXPECT_FALSE(RemoveNuclide(fields));
    EXPECT_EQ(state().NuclideCount, 2);
    answer = true;
    SelectNuclide(fields, 0);
    RemoveNuclide(fields);
    SelectNuclide(fields, 0);
    RemoveNuclide(fields);
    EXPECT_EQ(state().CurrentNuclide, 0);
    EXPECT_EQ(file("PXR3.KAL"), QByteArray("PXR3.KAL\r\n"));
}

TEST_F(ParametersTest, RefusedValuesChangeNothingAndSaySo)
{
    const struct {
        const char *name, *highVoltage;
        int records; // in the table beforehand
        bool apply;
        const char *says;
    } cases[] = {
        {"Bi-214", "500", 100, true, "plná"},  // a 101st record
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
