// The peak table of the chromatogram report: a cross table of up to twelve columns, walked
// detector by detector, whose cells show ChromPeakHeader, ChromPeakValue and ChromPeakSumma.

#include "ChromReport.h"
#include "ChromTables.h"
#include "ChromTables_p.h"
#include "TDataModule1.h"
#include "ValueFormat.h"

#include <memory>

using namespace chromtables;

QString PeakTypeCode(unsigned flags) {
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
    if (flags & 128u) // a cut peak is told rather than an unresolved one
        code[5] = QChar(u'Х');
    if (flags & 256u)
        code[4] = QLatin1Char('*');
    return code;
}

QString PeakColumnHeader(const TChromModule& chrom, int column) {
    switch (column) {
    case 1: return QStringLiteral("№");
    case 2: return pick(u"Время, мин\r\nTime,min");
    case 3:
        if (chrom.bMeth_IdentMode() == kModeIndex) {
            if (chrom.bMeth_IndexKind() == 0)
                return pick(u"Индекс\r\nIndex");
            if (chrom.bMeth_IndexKind() == 1)
                return pick(u"Т.кипения\r\nT.boiling");
            return {};
        }
        return pick(u"Отн.объем\r\nRel.volume");
    case 4: return pick(u"Детектор\r\nDetector");
    case 5: return pick(u"Компонент\r\nComponent");
    case 6: return pick(u"Высота,мв\r\nHeigth,mv");
    case 7: return pick(u"Площадь,мв*мин\r\nArea,mv*min");
    case 8: return pick(u"Высота,%\r\nHeigth,%");
    case 9: return pick(u"Площадь,%\r\nArea,%");
    case 10: return pick(u"Ширина,сек\r\nWidth,sec");
    case 11: return pick(u"Тип\r\nType");
    case 12: return pick(u"Группа\r\nGroup");
    default: return {};
    }
}

QString PeakValue(const TChromModule& chrom, const TPrintSettings& settings, int row, int firstPeak,
                  bool forceGeneral, const QString& detectorName, int column) {
    const TPeakRec peak = chrom.PeakRec(recordIndex(firstPeak, row));
    const auto number = [&](double value) {
        return FormatByCode(settings.bPeakCol_Format(column - 1), forceGeneral, value);
    };
    switch (column) {
    case 1: return QString::number(static_cast<std::int64_t>(row) + 1);
    case 2: return number(peak.fPeak_Time());
    case 3:
        return number(chrom.bMeth_IdentMode() == kModeRelVolume ? peak.fPeak_RelVolume() : peak.fPeak_Index());
    case 4: return detectorName;
    case 5: {
        const int comp = peak.iPeak_Comp();
        if (comp < 0 || comp > chrom.iMax_Comp())
            return {};
        return chrom.CompRec(comp).szComp_Name().left(50);
    }
    case 6: return number(peak.fPeak_Height());
    case 7: return number(peak.fPeak_Area());
    case 8: return number(peak.fPeak_HeightPct());
    case 9: return number(peak.fPeak_AreaPct());
    case 10: {
        // Seconds from the peak's start to its apex. A rate of 0 gives no finite width, which the
        // formatter prints as 0.
        const double rate = chrom.fChr_Rate();
        return number((static_cast<double>(peak.fPeak_Time()) * 60.0 * rate - peak.iPeak_StartPoint()) / rate);
    }
    case 11: return PeakTypeCode(peak.wPeak_Flags());
    case 12: {
        QStringList groups;
        for (int i = 0; i < 5; ++i)
            if (peak.wPeak_Group(i) != 0)
                groups << QString::number(peak.wPeak_Group(i));
        return groups.join(QLatin1Char(','));
    }
    default: return {};
    }
}

QString PeakColumnSum(const TChromModule& chrom, const TPrintSettings& settings, int column, int channel) {
    // dPeakSum holds per peak list the area sum, then the height sum.
    const int list = chrom.bMeth_DetPeakList(channel);
    const auto number = [&](double value) { return FormatByCode(settings.bPeakCol_Format(column - 1), false, value); };
    switch (column) {
    case 6: return number(chrom.dPeakSum(2 * list + 1));
    case 7: return number(chrom.dPeakSum(2 * list));
    case 8:
    case 9: return number(100.0 - chrom.dUndetectablePct());
    default: return {};
    }
}

namespace chromtables {

void InstallPeakSources(TDataModule1& data, TChromModule& chrom) {
    // The first peak of the detector the master band is on; the detail rows count from it.
    auto firstPeak = std::make_shared<int>(0);

    auto refillCell = [&data, &chrom, firstPeak] {
        if (data.designMode || data.methodMode)
            return;
        const int column = data.rowIndex(QStringLiteral("ChromPeakColumns"));
        const int row = data.rowIndex(QStringLiteral("PeakDataSet"));
        const int detector = data.rowIndex(QStringLiteral("PeakDetectorDataset"));
        const TDetectorEntry& entry = chrom.DetectorEntry(detector);
        const bool hasDetector = detector >= 0 && detector < chrom.iDet_Count();
        // A row before the first (a step back from row 0) or past the peaks held has no peak.
        // Rows may run on past the detector's own peaks: a template without the detector band
        // lists the peaks of all detectors one after another.
        const std::int64_t peak = static_cast<std::int64_t>(*firstPeak) + row;
        const bool hasPeak = hasDetector && row >= 0 && peak < chrom.PeakCount();
        tarvex::engine::Report& report = data.CommonReport();
        report.setVariable(QStringLiteral("ChromPeakHeader"), QuoteText(PeakColumnHeader(chrom, column)));
        report.setVariable(QStringLiteral("ChromPeakValue"),
                           QuoteText(hasPeak ? PeakValue(chrom, data.printSettings, row, *firstPeak, false,
                                                         entry.szDet_Name, column)
                                             : QString()));
        report.setVariable(QStringLiteral("ChromPeakSumma"),
                           QuoteText(hasDetector ? PeakColumnSum(chrom, data.printSettings, column, entry.iDet_Channel)
                                                 : QString()));
    };

    data.setRefill(QStringLiteral("PeakDataSet"), refillCell);
    data.setRefill(QStringLiteral("ChromPeakColumns"), refillCell);
    data.setRefill(QStringLiteral("PeakDetectorDataset"), [&data, &chrom, firstPeak, refillCell] {
        if (data.designMode)
            return;
        // Select the detector: its peaks become the detail rows (none when it is not printed),
        // and the detail starts again from its first row.
        const TDetectorEntry& entry = chrom.DetectorEntry(data.rowIndex(QStringLiteral("PeakDetectorDataset")));
        *firstPeak = entry.iDet_FirstPeak;
        if (tarvex::engine::UserDataSet* peaks = data.rowSource(QStringLiteral("PeakDataSet"))) {
            peaks->setRangeEndCount(entry.bDet_Print ? entry.iDet_PeakCount : 0);
            data.rowIndex(QStringLiteral("PeakDataSet")) = 0;
            peaks->first();
        }
        refillCell();
    });
}

} // namespace chromtables
