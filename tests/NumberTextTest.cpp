#include "core/NumberText.h"
#include "TestSupport.h"
#include "core/DateTimeText.h"

#include <cmath>
#include <limits>
#include <optional>

using namespace pxr3;

TEST(LeadingNumber, ReadsTheLongestLeadingNumberLeniently)
{
    struct Case {
        const char *text;
        double value;
    };
    const Case cases[] = {
        {"250", 250}, {"  250  ", 250}, {"2 5 0", 250}, {"-12.5", -12.5}, {"+7", 7},       {"12a", 12},
        {"a12", 0},   {"", 0},          {"   ", 0},     {"0,25", 0},      {"1.5E3", 1500}, {"1.5e-2", 0.015},
        {"2D2", 200}, {"3E", 3},        {"3E+", 3},     {".5", 0.5},      {"5.", 5},       {"-", 0},
        {".", 0},     {"1 . 5", 1.5},   {"1e400", 0},   {"12-3", 12},     {"- 4", -4},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(RoundToInt16, RoundsHalvesToEvenAndDetectsOverflow)
{
    struct Case {
        double value;
        std::optional<int16_t> expected;
    };
    const Case cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {32767, 32767},
        {32767.4, 32767},
        {32767.5, std::nullopt},
        {-32768, -32768},
        {-32768.5, -32768},
        {-32769, std::nullopt},
        {1e9, std::nullopt},
        {NAN, std::nullopt},
        {INFINITY, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RoundToInt16(c.value), c.expected) << c.value;
}

TEST(FloatText, WritesTheShortestFormThatReadsBackWithTheLocaleSeparator)
{
    const struct {
        QLocale::Language language;
        float value;
        const char *text;
    } cases[] = {
        {QLocale::Czech, 1.0f, "1"},           {QLocale::Czech, 0.0f, "0"},
        {QLocale::Czech, 0.00001f, "0,00001"}, {QLocale::Czech, 1.0f / 3.0f, "0,3333333"},
        {QLocale::Czech, 123.456f, "123,456"}, {QLocale::English, 3.4e38f, "3.4E+38"},
    };
    for (const auto &c : cases) {
        test::LocaleScope scope(c.language);
        EXPECT_EQ(FloatText(c.value), QString::fromLatin1(c.text)) << c.text;
    }
}

TEST(AppendIntText, WritesWhatIntTextWritesBehindTheText)
{
    const long long values[] = {0,
                                7,
                                -7,
                                10,
                                -10,
                                254,
                                65535,
                                1000000007,
                                std::numeric_limits<long long>::max(),
                                std::numeric_limits<long long>::min(),
                                std::numeric_limits<long long>::min() + 1};
    for (long long value : values) {
        QString text = QStringLiteral("No.bytes : ");
        AppendIntText(text, value);
        EXPECT_EQ(text, QStringLiteral("No.bytes : ") + IntText(value)) << value;
    }
}

TEST(ExpText, MatchesTheResultPatterns)
{
    test::LocaleScope czech(QLocale::Czech);
    const struct {
        double value;
        int digits;
        const char *text;
    } cases[] = {
        {-0.0, 4, "0,0000E+00"},     {-1234.5, 3, "-1,235E+03"}, {0.00012345, 3, "1,235E-04"},
        {1.5e123, 4, "1,5000E+123"}, {9.99995, 4, "1,0000E+01"}, // the carry moves the exponent
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExpText(c.value, c.digits), QString::fromLatin1(c.text)) << c.text;
}

TEST(DateTimeText, CountsDaysSinceTheOldEpoch)
{
    EXPECT_DOUBLE_EQ(DaysFromDateTime(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    EXPECT_EQ(DateText(2.5), QStringLiteral("01.01.1900"));
    EXPECT_EQ(TimeText(2.5), QStringLiteral("12:00:00"));
}
