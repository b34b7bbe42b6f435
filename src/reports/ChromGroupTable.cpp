// The group table of the chromatogram report: GroupHeader and GroupValue of a cross table of
// ten columns over the group results; and the retention interval of a method group.

#include "ChromReport.h"
#include "ChromTables.h"
#include "ChromTables_p.h"
#include "TDataModule1.h"
#include "ValueFormat.h"

#include <algorithm>

using namespace chromtables;

TGroupInterval GroupInterval(const TChromModule& chrom, const TGroupRec& group, int n, int methodGroupRow) {
    TGroupInterval interval;
    const bool index = chrom.bMeth_IdentMode() == kModeIndex;
    interval.start = index ? group.dGroup_IndexBeg() : group.dGroup_TimeBeg();
    interval.end = index ? group.dGroup_IndexEnd() : group.dGroup_TimeEnd();
    interval.text = GeneralNumber(interval.start, 15, 0) + QStringLiteral(" - ") + GeneralNumber(interval.end, 15, 0);

    // The gasoline calculation sends groups without an interval: such a group stands at the
    // retention of its first member component (the component's second group number names it).
    if (chrom.bMeth_CalcMethod() == 1 && chrom.bMeth_AddCalc() == 3 && interval.start == 0 && interval.end == 0) {
        const std::int64_t wanted = std::max<std::int64_t>(n, static_cast<std::int64_t>(methodGroupRow) + 1);
        const int last = std::min(chrom.iMax_Comp(), TChromModule::kMaxComps - 1);
        interval.text = QStringLiteral("-");
        for (int k = 0; k <= last; ++k) {
            const TCompRec comp = chrom.CompRec(k);
            if (comp.iGroup_Num(1) == wanted) {
                interval.start = interval.end = index ? comp.dComp_Index() : comp.dComp_Time();
                interval.text = GeneralNumber(interval.start, 15, 0);
                break;
            }
        }
    }
    return interval;
}

QString GroupColumnHeader(const TChromModule& chrom, int column) {
    const bool index = chrom.bMeth_IdentMode() == kModeIndex;
    switch (column) {
    case 1: return QStringLiteral("№");
    case 2: return pick(u"Группа\r\nGroup");
    case 3: return pick(u"Детектор\r\nDetector");
    case 4: return index ? pick(u"Индекс начала, мин\r\nTime start,min") : pick(u"Время начала, мин\r\nTime start,min");
    case 5: return index ? pick(u"Индекс конца, мин\r\nTime end,min") : pick(u"Время конца, мин\r\nTime end,min");
    case 6:
    case 7:
    case 8: return ConcentrationName(chrom, column - 5);
    case 9: return pick(u"Высота,мв\r\nHeigth,mv");
    case 10: return pick(u"Площадь,мв*мин\r\nArea,mv*min");
    default: return {};
    }
}

QString GroupValue(const TChromModule& chrom, const TPrintSettings& settings, int row, int column,
                   bool forceGeneral, int methodGroupRow) {
    if (row < 0 || row > lastRow(chrom.iGroupRes_Last(), TChromModule::kMaxGroupRes))
        return {};
    const TGroupResRec result = chrom.GroupResRec(row);
    const int g = result.iGroupRes_Group();
    const TGroupRec group = g >= 0 && g <= chrom.iMax_Group() ? chrom.GroupRec(g) : TGroupRec();
    const auto number = [&](double value) {
        return FormatByCode(settings.bGroupCol_Format(column - 1), forceGeneral, value);
    };
    switch (column) {
    case 1: return QString::number(static_cast<std::int64_t>(row) + 1);
    case 2: return group.szGroup_Name().left(50);
    case 3: return chrom.DetectorEntry(detectorOfPeakList(chrom, result.bGroupRes_PeakList())).szDet_Name;
    case 4:
    case 5: {
        const TGroupInterval interval =
            GroupInterval(chrom, group, static_cast<int>(std::min<std::int64_t>(static_cast<std::int64_t>(g) + 1, std::numeric_limits<int>::max())),
                          methodGroupRow);
        return number(column == 4 ? interval.start : interval.end);
    }
    case 6:
    case 7:
    case 8: return number(result.fGroupRes_Conc(column - 6));
    case 9: return number(result.fGroupRes_Height());
    case 10: return number(result.fGroupRes_Area());
    default: return {};
    }
}

namespace chromtables {

void InstallGroupSources(TDataModule1& data, TChromModule& chrom) {
    auto refill = [&data, &chrom] {
        if (data.designMode || data.methodMode)
            return;
        const int row = data.rowIndex(QStringLiteral("GroupDataset"));
        const int column = data.rowIndex(QStringLiteral("ChromGroupColumn"));
        tarvex::engine::Report& report = data.CommonReport();
        report.setVariable(QStringLiteral("GroupHeader"), QuoteText(GroupColumnHeader(chrom, column)));
        report.setVariable(QStringLiteral("GroupValue"),
                           QuoteText(GroupValue(chrom, data.printSettings, row, column, false,
                                                data.rowIndex(QStringLiteral("MethGroupDataset")))));
    };
    data.setRefill(QStringLiteral("GroupDataset"), refill);
    data.setRefill(QStringLiteral("ChromGroupColumn"), refill);
}

} // namespace chromtables
