#include "TNameTables.h"

#include "Bilingual.h"

#include <algorithm>

namespace {

// Our own instrument line. Rows 4 to 6 are data-acquisition converters, 10 the mass-selective
// detector, 12 a detector unit; the rest are chromatographs.
const char16_t* const kDeviceTypeNames[] = {
    u"Хроматограф Тарвекс-100\r\nChromatograph Tarvex-100",
    u"Хроматограф Тарвекс-200\r\nChromatograph Tarvex-200",
    u"Хроматограф Тарвекс-300\r\nChromatograph Tarvex-300",
    u"Хроматограф Тарвекс-310\r\nChromatograph Tarvex-310",
    u"АЦП Тарвекс-А1\r\nADC Tarvex-A1",
    u"АЦП Тарвекс-А2\r\nADC Tarvex-A2",
    u"АЦП Тарвекс-А4\r\nADC Tarvex-A4",
    u"Хроматограф Тарвекс-400\r\nChromatograph Tarvex-400",
    u"Хроматограф Тарвекс-Dx8\r\nChromatograph Tarvex-Dx8",
    u"Хроматограф Тарвекс-500\r\nChromatograph Tarvex-500",
    u"Детектор МСД\r\nDetector MSD",
    u"Хроматограф Тарвекс-Qsl\r\nChromatograph Tarvex-Qsl",
    u"Блок детекторов Тарвекс-БД\r\nDetector unit Tarvex-DU",
};

const char16_t* const kSingleDetectorName6 = u"TX-6";

const char16_t* const kDetSetNames0[] = {
    u"ПИД-ПФД-ЭЗД\r\nFID-FPD-ECD",   u"ДТП\r\nTCD",
    u"ПИД-ДТП\r\nFID-TCD",           u"ПИД-ПФД\r\nFID-FPD",
    u"ТИД-ЭЗД\r\nTID(NPD)-ECD",      u"ФИД\r\nPID",
    u"ФИД-ЭЗД\r\nPID-ECD",           u"ПИД-ПИД\r\nFID-FID",
    u"ПИД-ТИД-ЭЗД\r\nFID-TID(NPD)-ECD", u"ДТП-ДТП\r\nTCD-TCD",
    u"ПИД-ФИД\r\nFID-PID",           u"ПИД-ДТП-ДТП\r\nFID-TCD-TCD",
    u"ПИД-ЭЗД-ФИД\r\nFID-ECD-PID",   u"ФИД-ДТП\r\nPID-TCD",
    u"ПФД-ДТП\r\nFPD-TCD",           u"ПФД-ДТП-ДТП\r\nFPD-TCD-TCD",
    u"ПИД-ПИД-ЭЗД\r\nFID-FID-ECD",   u"ПИД-ПИД-ДТП\r\nFID-FID-TCD",
    u"ПИД-ЭЗД-ЭЗД\r\nFID-ECD-ECD",
};

const char16_t* const kDetSetNames2[] = {
    u"ПИД1/2-ЭЗД-ПФДС/Ф\r\nFID1/2-ECD-FPDS/PH", u"ПИД-ЭЗД-ПФДС/Ф\r\nFID-ECD-FPDS/PH",
    u"ТИД-ЭЗД\r\nTID(NPD)-ECD",                 u"ФИД\r\nPID",
    u"ДТП\r\nTCD",                               u"ПИД-ДТП\r\nFID-TCD",
    u"ПИД-ПИД\r\nFIF-FID",                       u"ФИД-ЭЗД\r\nPID-ECD",
    u"ПИД-ПФДС/Ф\r\nFID-FPDS/PH",
};

const char16_t* const kDetSetNames4[] = {
    u"ЭЗД\r\nECD", u"ПИД\r\nFID", u"ПФД\r\nFPD", u"ТИД\r\nTID(NPD)", u"ФИД\r\nPID", u"ДТП\r\nTCD", u"ПУ\r\nPD",
};

const char16_t* const kDetSetNames9[] = {
    u"ПИД1/2-ЭЗД-ПФДС/Ф\r\nFID1/2-ECD-FPDS/PH", u"ПИД-ЭЗД-ПФДС/Ф\r\nFID-ECD-FPDS/PH",
    u"ТИД-ЭЗД\r\nTID(NPD)-ECD",                 u"ФИД\r\nPID",
    u"ДТП\r\nTCD",                               u"ПИД-ДТП\r\nFID-TCD",
    u"ПИД-ПИД\r\nFID-FID",
};

const char16_t* const kChannelNames0[] = {
    u"ПИД$ПФД$ЭЗД\r\nFID$FPD$ECD",
    u"ДТП+$ДТП-\r\nTCD+$TCD-",
    u"ПИД$ДТП+$ДТП-\r\nFID$TCD+$TCD-",
    u"ПИД$ПФД\r\nFID$FPD",
    u"ТИД$ЭЗД\r\nTID(NPD)$ECD",
    u"ФИД\r\nPID",
    u"ФИД$ЭЗД\r\nPID$ECD",
    u"ПИД-1$ПИД-2\r\nFID-1$FID-2",
    u"ПИД$ТИД$ЭЗД\r\nFID$TID(NPD)$ECD",
    u"ДТП-1$ДТП-2\r\nTCD-1$TCD-2",
    u"ПИД$ФИД\r\nFID$PID",
    u"ПИД$ДТП-1$ДТП-2\r\nFID$TCD-1$TCD-2",
    u"ПИД$ФИД$ЭЗД\r\nFID$PID$ECD",
    u"ФИД$ДТП+$ДТП-\r\nPID$TCD+$TCD-",
    u"ПФД$ДТП+$ДТП-\r\nFPD$TCD+$TCD-",
    u"ПФД$ДТП-1$ДТП2\r\nFPD$TCD-1$TCD2",
    u"ПИД-1$ПИД-2$ЭЗД\r\nFID-1$FID-2$ECD",
    u"ПИД-1$ПИД-2$ДТП\r\nFID-1$FID-2$TCD",
    u"ПИД$ЭЗД-1$ЭЗД-2\r\nFID$ECD-1$ECD-2",
};

// Russian only: the same text in both languages.
const char16_t* const kChannelNames1[] = {u"ЭЗД", u"ПИД", u"ПФД", u"ТИД", u"ФИД", u"ДТП", u"ПУ"};

const char16_t* const kChannelNames2[] = {
    u"ЭЗД$ПФД-Ф$ПФД-С$ПИД 1$ПИД 2\r\nECD$FPD-PH$FPD-S$FID 1$FID 2",
    u"ЭЗД$ПФД-Ф$ПФД-С$ПИД 1\r\nECD$FPD-PH$FPD-S$FID 1",
    u"ЭЗД$ТИД\r\nECD$TID(NPD)",
    u"ФИД\r\nPID",
    u"ДТП-1$ДТП-2\r\nTCD-1$TCD-2",
    u"ДТП-1$ДТП-2$ПИД\r\nTCD-1$TCD-2$FID",
    u"ПИД-1$ПИД-2\r\nFID-1$FID-2",
    u"ЭЗД$ФИД\r\nECD$PID",
    u"ПФД-Ф$ПФД-С$ПИД 1\r\nFPD-PH$FPD-S$FID 1",
};

const char16_t* const kChannelNames9[] = {
    u"ЭЗД$ПФД-Ф$ПФД-С$ПИД-1$ПИД-2\r\nECD$FPD-PH$FPD-S$FID-1$FID-2",
    u"ЭЗД$ПФД-Ф$ПФД-С$ПИД-1$ПИД-2\r\nECD$FPD-PH$FPD-S$FID-1$FID-2",
    u"ЭЗД$ТИД\r\nECD$TID(NPD)",
    u"ФИД\r\nPID",
    u"ДТП-1$ДТП-2\r\nTCD-1$TCD-2",
    u"ДТП-1$ДТП-2$ПИД-1$ПИД-2\r\nTCD-1$TCD-2$FID-1$FID-2",
    u"ПИД-1$ПИД-2\r\nFID-1$FID-2",
};

const char16_t* const kCarrierGasNames[] = {u"Азот", u"Гелий", u"Водород", u"Аргон"};

/// Row `index` of `table`, the last row for a larger index.
template <std::size_t N> QString row(const char16_t* const (&table)[N], int index) {
    const std::size_t i = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), N - 1);
    return QString::fromUtf16(table[i]);
}

} // namespace

QString TNameTables::DeviceTypeName(int deviceType) { return tarvex::Pick(row(kDeviceTypeNames, deviceType)); }

QString TNameTables::DetectorSetName(int deviceType, int multiDet) {
    switch (deviceType) {
    case 0:
    case 1:
        return tarvex::Pick(row(kDetSetNames0, multiDet));
    case 2:
    case 3:
        return tarvex::Pick(row(kDetSetNames2, multiDet));
    case 4:
    case 5:
    case 12:
        return tarvex::Pick(row(kDetSetNames4, multiDet));
    case 6:
        return SingleDetectorName6();
    case 9:
        return tarvex::Pick(row(kDetSetNames9, multiDet));
    default:
        return {};
    }
}

QString TNameTables::ChannelNamesRaw(int deviceType, int multiDet) {
    switch (deviceType) {
    case 0:
        return row(kChannelNames0, multiDet);
    case 1:
    case 3:
    case 4:
    case 5:
        return row(kChannelNames1, multiDet);
    case 2:
        return row(kChannelNames2, multiDet);
    case 6:
        return SingleDetectorName6();
    case 9:
        return row(kChannelNames9, multiDet);
    default:
        return {};
    }
}

QString TNameTables::CarrierGasName(int index) { return tarvex::Pick(row(kCarrierGasNames, index)); }

QString TNameTables::SingleDetectorName6() { return QString::fromUtf16(kSingleDetectorName6); }
