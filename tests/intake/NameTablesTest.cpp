// Names of device types, detector sets and gases: index clamping and the language pick.

#include "Bilingual.h"
#include "TNameTables.h"

#include <gtest/gtest.h>

namespace {

TEST(NameTables, IndexesAreClampedAndPicked) {
    struct Case {
        int language;
        QString actual;
        const char16_t* expected;
    };
    tarvex::setLanguageIndex(1);
    const Case ru[] = {
        {1, TNameTables::DetectorSetName(2, 200), u"ПИД-ПФДС/Ф"},
        {1, TNameTables::DetectorSetName(1, 1), u"ДТП"},
        {1, TNameTables::DetectorSetName(0, 40), u"ПИД-ЭЗД-ЭЗД"},
        {1, TNameTables::DetectorSetName(20, 0), u""},
        {1, TNameTables::DetectorSetName(6, 3), u"TX-6"},
        {1, TNameTables::DeviceTypeName(10), u"Детектор МСД"},
        {1, TNameTables::CarrierGasName(9), u"Аргон"},
        {1, TNameTables::CarrierGasName(1), u"Гелий"},
    };
    for (const Case& c : ru)
        EXPECT_EQ(c.actual, QString::fromUtf16(c.expected));
    tarvex::setLanguageIndex(2);
    const Case en[] = {
        {2, TNameTables::DetectorSetName(2, 200), u"FID-FPDS/PH"},
        {2, TNameTables::DetectorSetName(1, 1), u"TCD"},
        {2, TNameTables::DeviceTypeName(20), u"Detector unit Tarvex-DU"},
        {2, TNameTables::DeviceTypeName(10), u"Detector MSD"},
        {2, TNameTables::CarrierGasName(9), u"Аргон"},
    };
    for (const Case& c : en)
        EXPECT_EQ(c.actual, QString::fromUtf16(c.expected));
    // Every device row is a bilingual literal: the two languages differ.
    for (int row = 0; row <= 12; ++row) {
        tarvex::setLanguageIndex(1);
        const QString russian = TNameTables::DeviceTypeName(row);
        tarvex::setLanguageIndex(2);
        EXPECT_NE(russian, TNameTables::DeviceTypeName(row)) << row;
        EXPECT_FALSE(TNameTables::DeviceTypeName(row).isEmpty()) << row;
    }
}

} // namespace
