// The number and text forms every report shares.

#include "Bilingual.h"
#include "ValueFormat.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QLocale pointLocale() {
    QLocale l(QLocale::English, QLocale::UnitedStates);
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}
QLocale commaLocale() {
    QLocale l(QLocale::Russian, QLocale::Russia);
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

TEST(ValueFormat, FormatByCodeTable) {
    struct Case {
        int code;
        bool general;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {1, false, 3.14159, "3.14"},
        {0, false, 2.25, "2.3"},
        {5, false, 0.1234567891, "0.123457"},
        {2, false, -0.0004, "0.000"},
        {2, false, 1234567.891, "1234567.891"},
        {3, false, 123456789.123456, "123456789.1230"}, // 12 significant digits, then 4 decimals
        {6, false, 1234, "1.23E+03"},
        {7, false, 1234, "1.234E+03"},
        {6, false, 0.000123456, "1.23E-04"},
        {6, false, -98765, "-9.88E+04"},
        {6, false, 0, "00.00"},
        {8, false, -0.0, "00.00"},
        {10, false, 1e100, "1.000000E+100"},
        {11, false, 5, ""},
        {255, false, 5, ""},
        {-1, false, 5, ""},
        {11, true, 0.1, "0.1"},
        {3, true, 1234.5, "1234.5"},
        {3, true, 1e-7, "1E-7"},
        {3, true, 1.0 / 3.0, "0.333333333333333"},
        {1, false, std::nan(""), "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatByCode(c.code, c.general, c.value, pointLocale()), QString::fromUtf8(c.expected))
            << "code " << c.code << " value " << c.value;
}

TEST(ValueFormat, DecimalSeparatorFollowsTheLocale) {
    EXPECT_EQ(FormatByCode(1, false, 3.14159, commaLocale()), QStringLiteral("3,14"));
    EXPECT_EQ(FormatByCode(6, false, 1234, commaLocale()), QStringLiteral("1,23E+03"));
    EXPECT_EQ(FormatByCode(6, false, 0, commaLocale()), QStringLiteral("00,00"));
    EXPECT_EQ(FormatGeneral(8, 5, false, 12345.678, commaLocale()), QStringLiteral("'12345,678'"));
    EXPECT_EQ(FormatByCode(1, false, 1234567.5, commaLocale()), QStringLiteral("1234567,50")); // no grouping
}

TEST(ValueFormat, GeneralNotation) {
    const QLocale l = pointLocale();
    EXPECT_EQ(FormatGeneral(8, 5, true, 0.0, l), QStringLiteral("'-'"));
    EXPECT_EQ(FormatGeneral(8, 5, true, -0.0, l), QStringLiteral("'-'"));
    EXPECT_EQ(FormatGeneral(8, 5, false, 0.0, l), QStringLiteral("'0'"));
    EXPECT_EQ(FormatGeneral(8, 5, true, 2.5, l), QStringLiteral("'2.5'"));
    EXPECT_EQ(FormatGeneral(8, 5, false, 123456789.0, l), QStringLiteral("'1.2345679E00008'"));
    EXPECT_EQ(FormatGeneral(8, 5, false, 0.0000012, l), QStringLiteral("'1.2E-00006'"));
    EXPECT_EQ(GeneralNumber(0.00012345678, 5, 3, l), QStringLiteral("0.00012346"));
    EXPECT_EQ(GeneralNumber(-150.0, 7, 3, l), QStringLiteral("-150"));
}

TEST(ValueFormat, QuoteTextAndYesNo) {
    EXPECT_EQ(QuoteText(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(QuoteText(QString()), QStringLiteral("''"));
    EXPECT_EQ(QuoteText(QStringLiteral("a\r\nb\t''")), QStringLiteral("'a\r\nb\t'''''"));
    tarvex::setLanguageIndex(2);
    EXPECT_EQ(YesNo(1), QStringLiteral("'Yes'"));
    EXPECT_EQ(YesNo(0), QStringLiteral("'No'"));
    tarvex::setLanguageIndex(1);
    EXPECT_EQ(YesNo(7), QStringLiteral("'Да'"));
}

} // namespace
