#include "core/DateTimeText.h"
#include "core/NumberText.h"
#include "TestSupport.h"

#include <cmath>

using namespace pxr3;

TEST(LeadingNumber, ReadsTheLongestLeadingNumberLeniently)
{
    struct Case {
        const char *text;
        double value;
    };
    const Case cases[] = {
        {"250", 250},       {"  250  ", 250},  {"2 5 0", 250},    {"-12.5", -12.5},   {"+7", 7},
        {"12a", 12},        {"a12", 0},        {"", 0},           {"   ", 0},         {"0,25", 0},
        {"1.5E3", 1500},    {"1.5e-2", 0.015}, {"2D2", 200},      {"3E", 3},          {"3E+", 3},
        {".5", 0.5},        {"5.", 5},         {"-", 0},          {".", 0},           {"1 . 5", 1.5},
        {"1e400", 0},       {"12-3", 12},      {"- 4", -4},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(ParseDecimal, TakesCommaAndPointAndChangesTheText)
{
    QString comma = QStringLiteral("0,25");
    QString point = QStringLiteral("0.25");
    EXPECT_DOUBLE_EQ(ParseDecimal(comma), 0.25);
    EXPECT_DOUBLE_EQ(ParseDecimal(point), 0.25);
    EXPECT_EQ(comma, QStringLiteral("0.25"));
    QString twoCommas = QStringLiteral("1,2,3");
    EXPECT_DOUBLE_EQ(ParseDecimal(twoCommas), 1.2);
    EXPECT_EQ(twoCommas, QStringLiteral("1.2.3"));
}

TEST(RoundToInt16, RoundsHalvesToEvenAndDetectsOverflow)
{
    struct Case {
        double value;
        std::optional<int16_t> expected;
    };
    const Case cases[] = {
        {0.5, 0},           {1.5, 2},           {2.5, 2},      {-0.5, 0},     {-1.5, -2},
        {2.4999, 2},        {2.5001, 3},        {32767, 32767}, {32767.4, 32767}, {32767.5, std::nullopt},
        {-32768, -32768},   {-32768.5, -32768}, {-32769, std::nullopt}, {1e9, std::nullopt},
        {NAN, std::nullopt}, {INFINITY, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RoundToInt16(c.value), c.expected) << c.value;
}

TEST(WholeNumber, AcceptsOnlyATextThatIsOneNumber)
{
    EXPECT_EQ(WholeNumber(u" 250 "), 250.0);
    EXPECT_EQ(WholeNumber(u"-3"), -3.0);
    EXPECT_EQ(WholeNumber(u"12a"), std::nullopt);
    EXPECT_EQ(WholeNumber(u""), std::nullopt);
    EXPECT_EQ(WholeNumber(u"abc"), std::nullopt);
}

TEST(FloatText, WritesTheShortestFormWithTheLocaleSeparator)
{
    {
        test::LocaleScope czech(QLocale::Czech);
        EXPECT_EQ(FloatText(0.25f), QStringLiteral("0,25"));
        EXPECT_EQ(FloatText(1.0f), QStringLiteral("1"));
        EXPECT_EQ(FloatText(0.1f), QStringLiteral("0,1"));
        EXPECT_EQ(FloatText(123.456f), QStringLiteral("123,456"));
        EXPECT_EQ(FloatText(-2.5f), QStringLiteral("-2,5"));
        EXPECT_EQ(FloatText(1234567.0f), QStringLiteral("1234567"));
        EXPECT_EQ(FloatText(15000000.0f), QStringLiteral("1,5E+07"));
        EXPECT_EQ(FloatText(0.00001f), QStringLiteral("0,00001"));
        EXPECT_EQ(FloatText(0.000001f), QStringLiteral("1E-06"));
        EXPECT_EQ(FloatText(0.0f), QStringLiteral("0"));
        EXPECT_EQ(FloatText(1.0f / 3.0f), QStringLiteral("0,3333333"));
    }
    test::LocaleScope english(QLocale::English);
    EXPECT_EQ(FloatText(0.25f), QStringLiteral("0.25"));
    EXPECT_EQ(FloatText(3.4e38f), QStringLiteral("3.4E+38"));
}

TEST(FloatText, ReadsBackWithinSevenSignificantDigits)
{
    test::LocaleScope czech(QLocale::Czech);
    for (float value : {0.1f, 1.0f / 3.0f, 2.7182817f, 1e-7f, 98765.43f, 6.02e23f, -0.0042f}) {
        QString text = FloatText(value);
        EXPECT_NEAR(ParseDecimal(text), double(value), std::abs(double(value)) * 5e-7) << text.toStdString();
    }
}

TEST(ExpText, MatchesTheResultPatterns)
{
    test::LocaleScope czech(QLocale::Czech);
    EXPECT_EQ(ExpText(0.0, 4), QStringLiteral("0,0000E+00"));
    EXPECT_EQ(ExpText(-0.0, 4), QStringLiteral("0,0000E+00"));
    EXPECT_EQ(ExpText(1234.5, 4), QStringLiteral("1,2345E+03"));
    EXPECT_EQ(ExpText(-1234.5, 3), QStringLiteral("-1,235E+03"));
    EXPECT_EQ(ExpText(0.00012345, 3), QStringLiteral("1,235E-04"));
    EXPECT_EQ(ExpText(1.5e123, 4), QStringLiteral("1,5000E+123"));
    EXPECT_EQ(ExpText(7.0, 3), QStringLiteral("7,000E+00"));
    EXPECT_EQ(ExpText(9.99995, 4), QStringLiteral("1,0000E+01")); // the carry moves the exponent
    EXPECT_EQ(ExpText(0.5, 0), QStringLiteral("5E-01"));
    test::LocaleScope english(QLocale::English);
    EXPECT_EQ(ExpText(-2.5e-7, 4), QStringLiteral("-2.5000E-07"));
}

TEST(DateTimeText, UsesDaysSinceTheOldEpoch)
{
    const QDateTime when(QDate(2026, 12, 6), QTime(7, 5, 9));
    const double days = DaysFromDateTime(when);
    EXPECT_EQ(DateText(days), QStringLiteral("06.12.2026"));
    EXPECT_EQ(TimeText(days), QStringLiteral("07:05:09"));
    EXPECT_DOUBLE_EQ(DaysFromDateTime(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    EXPECT_EQ(DateTimeFromDays(days), when);
    // Just before midnight rounds within the same second grid, not into garbage.
    EXPECT_EQ(TimeText(DaysFromDateTime(QDateTime(QDate(2026, 1, 1), QTime(23, 59, 59)))), QStringLiteral("23:59:59"));
}
