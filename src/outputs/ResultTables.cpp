#include "ResultTables.h"

#include "Bilingual.h"
#include "TChromModule.h"
#include "TPrintSettings.h"
#include "ValueFormat.h"

#include <QStringList>
#include <algorithm>
#include <limits>

namespace {

QString pick(const char16_t* text) { return tarvex::Pick(QString::fromUtf16(text)); }

// The index of record `first + offset`, or -1 (a null record) when the sum leaves the int range.
int recordIndex(std::int64_t first, std::int64_t offset) {
    const std::int64_t index = first + offset;
    return index < 0 || index > std::numeric_limits<int>::max() ? -1 : static_cast<int>(index);
}

// Identification modes of the method: by retention time, by relative volume, by index.
constexpr int kModeTime = 0;
constexpr int kModeRelVolume = 1;
constexpr int kModeIndex = 2;

} // namespace

int TResultTables::detectorOfPeakList(int list) const {
    int found = -1;
    for (int k = 0; k < rec_.iDet_Count(); ++k)
        if (rec_.DetectorEntry(k).iDet_PeakList == list)
            found = k;
    return found;
}

QString TResultTables::concentrationName(int n) const {
    switch (n) {
    case 1:
        return rec_.szConc_Name1();
    case 2:
        return rec_.szConc_Name2();
    case 3:
        return rec_.szConc_Name3();
    default:
        return {};
    }
}

QString TResultTables::PeakTypeCode(unsigned flags) {
    QString code(6, QLatin1Char(' '));
    if (flags & 2u) {
        code[0] = QChar(u'Б');
        code[1] = QLatin1Char('-');
    }
    if (flags & 1u) {
        code[1] = QLatin1Char('-');
        code[2] = QChar(u'Б');
    }
    if (flags & 64u)
        code[5] = QChar(u'Н');
    if (flags & 128u)
        code[5] = QChar(u'Х');
    if (flags & 256u)
        code[4] = QLatin1Char('*');
    return code;
}

QString TResultTables::PeakColumnHeader(int c) const {
    switch (c) {
    case 1:
        return QStringLiteral("№");
    case 2:
        return pick(u"Время, мин\r\nTime,min");
    case 3:
        if (rec_.bMeth_IdentMode() == kModeIndex) {
            if (rec_.bMeth_IndexKind() == 0)
                return pick(u"Индекс\r\nIndex");
            if (rec_.bMeth_IndexKind() == 1)
                return pick(u"Т.кипения\r\nT.boiling");
            return {};
        }
        return pick(u"Отн.объем\r\nRel.volume");
    case 4:
        return pick(u"Детектор\r\nDetector");
    case 5:
        return pick(u"Компонент\r\nComponent");
    case 6:
        return pick(u"Высота,мв\r\nHeigth,mv");
    case 7:
        return pick(u"Площадь,мв*мин\r\nArea,mv*min");
    case 8:
        return pick(u"Высота,%\r\nHeigth,%");
    case 9:
        return pick(u"Площадь,%\r\nArea,%");
    case 10:
        return pick(u"Ширина,сек\r\nWidth,sec");
    case 11:
        return pick(u"Тип\r\nType");
    case 12:
        return pick(u"Группа\r\nGroup");
    default:
        return {};
    }
}

QString TResultTables::PeakValue(int row, int firstPeak, bool forceGeneral, const QString& detectorName, int c,
                                 const QLocale& numbers) const {
    const TPeakRec peak = rec_.PeakRec(recordIndex(firstPeak, row));
    const auto number = [&](double value) {
        return FormatByCode(settings_.bPeakCol_Format(c - 1), forceGeneral, value, numbers);
    };
    switch (c) {
    case 1:
        return QString::number(static_cast<std::int64_t>(row) + 1);
    case 2:
        return number(peak.fPeak_Time());
    case 3:
        return number(rec_.bMeth_IdentMode() == kModeRelVolume ? peak.fPeak_RelVolume() : peak.fPeak_Index());
    case 4:
        return detectorName;
    case 5: {
        const int comp = peak.iPeak_Comp();
        if (comp < 0 || comp > rec_.iMax_Comp())
            return {};
        return rec_.CompRec(comp).szComp_Name().left(50);
    }
    case 6:
        return number(peak.fPeak_Height());
    case 7:
        return number(peak.fPeak_Area());
    case 8:
        return number(peak.fPeak_HeightPct());
    case 9:
        return number(peak.fPeak_AreaPct());
    case 10: {
        // Seconds from the peak's start to its apex; a rate of 0 gives no finite width and
        // the formatter prints it as 0.
        const double rate = rec_.fChr_Rate();
        return number((static_cast<double>(peak.fPeak_Time()) * 60.0 * rate - peak.iPeak_StartPoint()) / rate);
    }
    case 11:
        return PeakTypeCode(peak.wPeak_Flags());
    case 12: {
        QStringList groups;
        for (int i = 0; i < 5; ++i)
            if (peak.wPeak_Group(i) != 0)
                groups << QString::number(peak.wPeak_Group(i));
        return groups.join(QLatin1Char(','));
    }
    default:
        return {};
    }
}

QString TResultTables::IdentColumnHeader(int c) const {
    const int mode = rec_.bMeth_IdentMode();
    switch (c) {
    case 1:
        return QStringLiteral("№");
    case 2:
        return pick(u"Компонент\r\nComponent");
    case 3:
        return pick(u"Детектор\r\nDetector");
    case 4:
        if (mode == kModeTime)
            return pick(u"Время,мин\r\nTime,min");
        if (mode == kModeRelVolume)
            return pick(u"Отн.объем\r\nRel.volume");
        if (mode == kModeIndex && rec_.bMeth_IndexKind() == 0)
            return pick(u"Индекс\r\nIndex");
        if (mode == kModeIndex && rec_.bMeth_IndexKind() == 1)
            return pick(u"Т.кипения\r\nB.point");
        return {};
    case 5:
        return pick(u"Окно\r\nWindow") + (mode == kModeTime ? pick(u",мин\r\n,min") : QString());
    case 6:
    case 7:
    case 8:
        return concentrationName(c - 5);
    case 9:
        return pick(u"Высота,мв\r\nHeigth,mv");
    case 10:
        return pick(u"Площадь,мв*мин\r\nArea,mv*min");
    default:
        return {};
    }
}

QString TResultTables::IdentValue(int row, int c, bool forceGeneral, const QLocale& numbers) const {
    // With the component order the row is a method component, found when an identification
    // record names it; otherwise it is the identification record itself.
    int identIndex = row;
    if (settings_.bIdent_ByComp()) {
        identIndex = -1;
        const int last = std::min(rec_.iIdent_Last(), TChromModule::kMaxIdent - 1);
        for (int i = 0; i <= last && identIndex < 0; ++i)
            if (rec_.IdentRec(i).iIdent_Comp() == row)
                identIndex = i;
    }
    const bool found = identIndex >= 0;
    const TIdentRec ident = rec_.IdentRec(identIndex);
    TPeakRec peak;
    TCompRec comp;
    QString detectorName;
    if (found) {
        const int det = detectorOfPeakList(ident.bIdent_PeakList());
        const TDetectorEntry& entry = rec_.DetectorEntry(det);
        detectorName = entry.szDet_Name;
        peak = rec_.PeakRec(recordIndex(entry.iDet_FirstPeak, ident.iIdent_Peak()));
        if (ident.iIdent_Comp() <= rec_.iMax_Comp())
            comp = rec_.CompRec(ident.iIdent_Comp());
    } else {
        comp = rec_.CompRec(row);
        detectorName = rec_.DetectorEntry(comp.bComp_MainD()).szDet_Name;
    }

    const int mode = rec_.bMeth_IdentMode();
    const auto number = [&](double value) {
        return FormatByCode(settings_.bIdentCol_Format(c - 1), forceGeneral, value, numbers);
    };
    const QString dash = QStringLiteral("-");
    switch (c) {
    case 1:
        return QString::number(static_cast<std::int64_t>(row) + 1);
    case 2:
        return comp.szComp_Name().left(50);
    case 3:
        return detectorName;
    case 4:
        if (mode == kModeTime)
            return number(found ? peak.fPeak_Time() : comp.dComp_Time());
        if (mode == kModeRelVolume)
            return number(found ? peak.fPeak_RelVolume() : comp.dComp_RelatV());
        if (mode == kModeIndex)
            return number(found ? peak.fPeak_Index() : comp.dComp_Index());
        return {};
    case 5:
        if (mode == kModeTime)
            return number(comp.dRTime_DTM());
        if (mode == kModeRelVolume)
            return number(comp.dVRelat_DTM());
        if (mode == kModeIndex)
            return number(comp.bComp_Reper() ? comp.dRTime_DTM() : comp.dIndex_DTM());
        return {};
    case 6:
    case 7:
    case 8:
        return found ? number(ident.fIdent_Conc(c - 6)) : dash;
    case 9:
        return found ? number(peak.fPeak_Height()) : dash;
    case 10:
        return found ? number(peak.fPeak_Area()) : dash;
    default:
        return {};
    }
}

QString TResultTables::GroupColumnHeader(int c) const {
    const bool index = rec_.bMeth_IdentMode() == kModeIndex;
    switch (c) {
    case 1:
        return QStringLiteral("№");
    case 2:
        return pick(u"Группа\r\nGroup");
    case 3:
        return pick(u"Детектор\r\nDetector");
    case 4:
        return index ? pick(u"Индекс начала, мин\r\nTime start,min") : pick(u"Время начала, мин\r\nTime start,min");
    case 5:
        return index ? pick(u"Индекс конца, мин\r\nTime end,min") : pick(u"Время конца, мин\r\nTime end,min");
    case 6:
    case 7:
    case 8:
        return concentrationName(c - 5);
    case 9:
        return pick(u"Высота,мв\r\nHeigth,mv");
    case 10:
        return pick(u"Площадь,мв*мин\r\nArea,mv*min");
    default:
        return {};
    }
}

QString TResultTables::GroupValue(int row, int c, bool forceGeneral, const QLocale& numbers) const {
    const TGroupResRec result = rec_.GroupResRec(row);
    const int g = result.iGroupRes_Group();
    const TGroupRec group = g >= 0 && g <= rec_.iMax_Group() ? rec_.GroupRec(g) : TGroupRec();
    const bool index = rec_.bMeth_IdentMode() == kModeIndex;

    // The group's interval: index or time. The gasoline calculation sends groups without an
    // interval; a group then stands at the retention of its first member component.
    double start = index ? group.dGroup_IndexBeg() : group.dGroup_TimeBeg();
    double end = index ? group.dGroup_IndexEnd() : group.dGroup_TimeEnd();
    if (rec_.bMeth_CalcMethod() == 1 && rec_.bMeth_AddCalc() == 3 && start == 0 && end == 0) {
        const std::int64_t n = static_cast<std::int64_t>(g) + 1;
        const int last = std::min(rec_.iMax_Comp(), TChromModule::kMaxComps - 1);
        for (int k = 0; k <= last; ++k) {
            const TCompRec comp = rec_.CompRec(k);
            if (comp.iGroup_Num(1) == n) {
                start = end = index ? comp.dComp_Index() : comp.dComp_Time();
                break;
            }
        }
    }

    const auto number = [&](double value) {
        return FormatByCode(settings_.bGroupCol_Format(c - 1), forceGeneral, value, numbers);
    };
    switch (c) {
    case 1:
        return QString::number(static_cast<std::int64_t>(row) + 1);
    case 2:
        return group.szGroup_Name().left(50);
    case 3:
        return rec_.DetectorEntry(detectorOfPeakList(result.bGroupRes_PeakList())).szDet_Name;
    case 4:
        return number(start);
    case 5:
        return number(end);
    case 6:
    case 7:
    case 8:
        return number(result.fGroupRes_Conc(c - 6));
    case 9:
        return number(result.fGroupRes_Height());
    case 10:
        return number(result.fGroupRes_Area());
    default:
        return {};
    }
}
