// The texts the reports derive from the print-job record: channel and detector names, the
// detector table built from them, and the names of the calculation.

#include "Bilingual.h"
#include "TChromModule.h"
#include "TNameTables.h"

#include <algorithm>

namespace {

// The detector-set byte value that means "the channel names are six-character texts".
constexpr int kMultiDetNamed = 50;

QString pick(const char16_t* text) { return tarvex::Pick(QString::fromUtf16(text)); }

} // namespace

QStringList TChromModule::ChannelNames() const {
    QStringList lines;
    if (cChr_NamesMode() == '2') {
        for (int c = 0; c < std::min<int>(bChr_ChannelCount(), kMaxChannels); ++c)
            lines << szChr_DetName6(c);
        return lines;
    }
    const int device = bType_Device();
    if (device == 8 || device == 11) {
        const int slotCount = std::min<int>(bMeth_SlotCount(), 3);
        for (int i = 0; i < slotCount; ++i)
            lines << (device == 8 ? szMeth_SlotName8(i) : szMeth_SlotName11(i));
        return lines;
    }
    if (bMeth_OwnDetNames()) {
        for (int i = 0; i < std::min<int>(bMeth_OwnDetCount(), kMaxChannels); ++i)
            lines << szMeth_DetName6B(i);
        return lines;
    }
    const QString picked = tarvex::Pick(TNameTables::ChannelNamesRaw(device, bType_MultiDet()));
    if (picked.isEmpty())
        return lines;
    lines = picked.split(QLatin1Char('$'));
    if (lines.last().isEmpty()) // a trailing separator ends the list, as a final line break would
        lines.removeLast();
    return lines;
}

int TChromModule::DetectorCount() const {
    int count = 0;
    if (cChr_NamesMode() == '2')
        count = bChr_ChannelCount();
    else if (bMeth_OwnDetNames())
        count = bMeth_OwnDetCount();
    else
        count = static_cast<int>(ChannelNames().size());
    return std::min(count, kMaxChannels);
}

void TChromModule::BuildDetectorTable() {
    const QStringList names = ChannelNames();
    detectors_ = {};
    detCount_ = 0;
    statedPeaks_ = 0;
    std::int64_t first = 0;
    const int channels = DetectorCount();
    for (int ch = 0; ch < channels; ++ch) {
        if (!bMeth_DetOn(ch) && !bMeth_OwnDetNames())
            continue;
        TDetectorEntry& entry = detectors_[static_cast<std::size_t>(detCount_)];
        entry.iDet_Channel = ch;
        entry.iDet_PeakList = bMeth_DetPeakList(ch);
        entry.bDet_On = bMeth_DetOn(ch);
        // Peak lists are 0 to 9; a list number outside them names no peaks.
        std::int64_t stated = 0;
        if (entry.iDet_PeakList < kMaxChannels && iChr_PeakLast(entry.iDet_PeakList) >= 0)
            stated = static_cast<std::int64_t>(iChr_PeakLast(entry.iDet_PeakList)) + 1;
        statedPeaks_ += stated;
        entry.iDet_PeakCount = static_cast<std::int32_t>(std::min<std::int64_t>(stated, kMaxPeaks - first));
        entry.bDet_Print = bDet_PrintFlag(detCount_);
        if (bType_MultiDet() == kMultiDetNamed)
            entry.szDet_Name = szMeth_DetName6A(ch);
        else if (bMeth_OwnDetNames())
            entry.szDet_Name = szMeth_DetName6B(ch);
        else
            entry.szDet_Name = names.value(ch);
        entry.iDet_FirstPeak = static_cast<std::int32_t>(first);
        first += entry.iDet_PeakCount;
        ++detCount_;
    }
}

QString TChromModule::JoinedDetectorNames() const {
    QString joined;
    const auto append = [&joined](const QString& name) {
        if (!joined.isEmpty())
            joined += QStringLiteral(" / ");
        joined += name;
    };
    const int channels = DetectorCount();
    if (bMeth_OwnDetNames()) {
        for (int i = 0; i < channels; ++i)
            append(bType_MultiDet() == kMultiDetNamed ? szMeth_DetName6A(i) : szMeth_DetName6B(i));
        return joined;
    }
    const QStringList names = ChannelNames();
    for (int i = 0; i < channels; ++i)
        if (bMeth_DetOn(i))
            append(names.value(i));
    return joined;
}

QString TChromModule::CalcMethodNameShort(const QString& internalStandard) const {
    switch (bMeth_CalcMethod()) {
    case 0:
        return pick(u"Нормализация\r\nNormalization");
    case 1:
        return pick(u"Внутренняя нормализация\r\nInternal normalization");
    case 2:
        return pick(u"Внешний стандарт\r\nExternal standart");
    case 3:
        return pick(u"Внутренний стандарт\r\nInternal standart") + QStringLiteral(" - ") + internalStandard;
    default:
        return {};
    }
}

QString TChromModule::CalcMethodName(const QString& internalStandard) const {
    return CalcMethodNameShort(internalStandard) + AddCalcName();
}

QString TChromModule::AddCalcName() const {
    struct Entry {
        int method;
        int addCalc;
        const char16_t* text;
    };
    static const Entry kNames[] = {
        {1, 1, u"Сухой газ\r\nDry gas"},
        {1, 2, u"Сжиженный газ\r\nCondensed gas"},
        {1, 3, u"Бензин/Нефть\r\nBenzine/Oil"},
        {1, 4, u"Бензол\r\nBenzol"},
        {1, 5, u"Дистилляция\r\nDistillation"},
        {2, 0, u"Нет доп.расчета\r\nIs not present additional calc"},
        {2, 1, u"Этиловый спирт\r\nEthyl spirit"},
        {2, 2, u"Горючий газ\r\nCombustible gas"},
        {2, 3, u"Нефтяной газ\r\nOil gas"},
        {2, 4, u"Трансформаторное масло\r\nTransformer oil"},
        {2, 5, u"Меркаптаны\r\nMercaptans"},
        {3, 1, u"Бензол\r\nBenzol"},
        {3, 2, u"Стандартная добавка\r\nStandart additive"},
        {3, 3, u"Алкоголь СМЭ\r\nAlcohol JME"},
    };
    for (const Entry& e : kNames)
        if (e.method == bMeth_CalcMethod() && e.addCalc == bMeth_AddCalc())
            return QStringLiteral(", ") + pick(e.text);
    return {};
}

QString TChromModule::DeviceTypeName(bool useMethod) const {
    return TNameTables::DeviceTypeName(useMethod ? bType_Device() : bChr_TypeDevice());
}

QString TChromModule::DetectorSetName() const {
    return TNameTables::DetectorSetName(bType_Device(), bType_MultiDet());
}
