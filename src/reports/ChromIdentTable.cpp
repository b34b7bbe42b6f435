// The identification table of the chromatogram report (IdentHeader, IdentValue, IdentSumma) and
// the line above it that tells the facts of the additional calculation.

#include "ChromReport.h"
#include "ChromTables.h"
#include "ChromTables_p.h"
#include "TDataModule1.h"
#include "ValueFormat.h"

#include <algorithm>

using namespace chromtables;

QString ConcentrationName(const TChromModule& chrom, int n) {
    switch (n) {
    case 1: return chrom.szConc_Name1();
    case 2: return chrom.szConc_Name2();
    case 3: return chrom.szConc_Name3();
    default: return {};
    }
}

QString IdentColumnHeader(const TChromModule& chrom, int column) {
    const int mode = chrom.bMeth_IdentMode();
    switch (column) {
    case 1: return QStringLiteral("№");
    case 2: return pick(u"Компонент\r\nComponent");
    case 3: return pick(u"Детектор\r\nDetector");
    case 4:
        if (mode == kModeTime)
            return pick(u"Время,мин\r\nTime,min");
        if (mode == kModeRelVolume)
            return pick(u"Отн.объем\r\nRel.volume");
        if (mode == kModeIndex && chrom.bMeth_IndexKind() == 0)
            return pick(u"Индекс\r\nIndex");
        if (mode == kModeIndex && chrom.bMeth_IndexKind() == 1)
            return pick(u"Т.кипения\r\nB.point");
        return {};
    case 5: return pick(u"Окно\r\nWindow") + (mode == kModeTime ? pick(u",мин\r\n,min") : QString());
    case 6:
    case 7:
    case 8: return ConcentrationName(chrom, column - 5);
    case 9: return pick(u"Высота,мв\r\nHeigth,mv");
    case 10: return pick(u"Площадь,мв*мин\r\nArea,mv*min");
    default: return {};
    }
}

QString IdentValue(const TChromModule& chrom, const TPrintSettings& settings, int row, int column, bool forceGeneral) {
    const int lastIdent = lastRow(chrom.iIdent_Last(), TChromModule::kMaxIdent);
    const bool byComponent = settings.bIdent_ByComp() != 0;
    if (row < 0 || row > (byComponent ? chrom.iMax_Comp() - 1 : lastIdent))
        return {};

    // In component order the row is a method component, found when an identification record
    // names it (the first such record); otherwise the row is the identification record itself.
    int identIndex = row;
    if (byComponent) {
        identIndex = -1;
        for (int i = 0; i <= lastIdent && identIndex < 0; ++i)
            if (chrom.IdentRec(i).iIdent_Comp() == row)
                identIndex = i;
    }
    const bool found = identIndex >= 0;
    const TIdentRec ident = chrom.IdentRec(identIndex);
    TPeakRec peak;
    TCompRec comp;
    QString detectorName;
    if (found) {
        // A peak list no detector holds names no peak: its fields read as zero rather than as
        // some other detector's peak.
        const int detector = detectorOfPeakList(chrom, ident.bIdent_PeakList());
        if (detector >= 0) {
            const TDetectorEntry& entry = chrom.DetectorEntry(detector);
            detectorName = entry.szDet_Name;
            peak = chrom.PeakRec(recordIndex(entry.iDet_FirstPeak, ident.iIdent_Peak()));
        }
        if (ident.iIdent_Comp() <= chrom.iMax_Comp())
            comp = chrom.CompRec(ident.iIdent_Comp());
    } else {
        comp = chrom.CompRec(row);
        detectorName = chrom.DetectorEntry(comp.bComp_MainD()).szDet_Name;
    }

    const int mode = chrom.bMeth_IdentMode();
    const auto number = [&](double value) {
        return FormatByCode(settings.bIdentCol_Format(column - 1), forceGeneral, value);
    };
    const QString dash = QStringLiteral("-");
    switch (column) {
    case 1: return QString::number(static_cast<std::int64_t>(row) + 1);
    case 2: return comp.szComp_Name().left(50);
    case 3: return detectorName;
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
        if (mode == kModeIndex) // a reference peak is found by time even in index identification
            return number(comp.bComp_Reper() ? comp.dRTime_DTM() : comp.dIndex_DTM());
        return {};
    case 6:
    case 7:
    case 8: return found ? number(ident.fIdent_Conc(column - 6)) : dash;
    case 9: return found ? number(peak.fPeak_Height()) : dash;
    case 10: return found ? number(peak.fPeak_Area()) : dash;
    default: return {};
    }
}

QString IdentColumnSum(const TChromModule& chrom, const TPrintSettings& settings, int column) {
    if (column < 6 || column > 10)
        return {};
    return FormatByCode(settings.bIdentCol_Format(column - 1), false, chrom.dIdentSum(column - 6));
}

namespace {

QString g5(double value) { return GeneralNumber(value, 5, 3); }
QString g7(double value) { return GeneralNumber(value, 7, 3); }

} // namespace

QString IdentAddOnLine(const TDataModule1& /*data*/, const TChromModule& chrom) {
    const int method = chrom.bMeth_CalcMethod();
    const int addCalc = chrom.bMeth_AddCalc();
    QString line;
    if (method == 1 && addCalc == 3)
        line += pick(u"Процент неизвестных = ") + g5(chrom.dAdd_UnknownPct()) + QStringLiteral(" ;");
    if (method == 1 && addCalc == 4)
        line += pick(u"Плотность бензина,г/см3 = ") + g5(chrom.dAdd_GasolineDensity()) + QStringLiteral(" ;");
    if (method == 2 && addCalc == 2) {
        if (chrom.dAdd_H2S_CO2() > 0)
            line += QStringLiteral(" ") + pick(u"Содержание H2S+CO2 : ") + g5(chrom.dAdd_H2S_CO2()) + QStringLiteral(" ,%");
        if (chrom.dAdd_O2_N2() > 0)
            line += QStringLiteral(" ") + pick(u"Содержание O2+N2 : ") + g5(chrom.dAdd_O2_N2()) + QStringLiteral(" ,%");
        if (chrom.dAdd_RatioN2O2() > 0)
            line += QStringLiteral(" ") + pick(u"Соотношение K=N2/O2 : ") + g5(chrom.dAdd_RatioN2O2());
    }
    if (method == 2 && addCalc == 5) {
        line += pick(u"Объем пробы: \r\nSample volume: ") + g7(chrom.dVolume()) + pick(u"мкл\r\nmcl") +
                pick(u"     Плотность нефти: ") + g5(chrom.dAdd_OilDensity()) + pick(u" г/см3\r\n g/sm3");
    } else if (method == 2 && addCalc != 2) {
        line += pick(u"Объем пробы: \r\nSample volume: ") + g7(chrom.dVolume()) + QStringLiteral(" ");
        switch (chrom.bSize_Volume()) {
        case 0: line += pick(u"мкл\r\nmcl"); break;
        case 1: line += pick(u"мл\r\nml"); break;
        case 2: line += QStringLiteral("г"); break;
        default: break;
        }
        if (addCalc == 1)
            line += pick(u"     Объемная доля этилового спирта: ") + g5(chrom.dAdd_EthanolPct()) + QStringLiteral("%");
    }
    if (method == 3 && addCalc == 0) {
        const int kind = chrom.bIS_QuantityKind();
        static const char16_t* const kWords[] = {u"Масса \r\nWeight", u"Объем \r\nVolume", u"Количество \r\nAmount"};
        static const char16_t* const kUnits[] = {u"г\r\ng", u"мл\r\nml", u"%"};
        if (kind == 0 || kind == 1 || kind == 2) {
            line += pick(kWords[kind]) + pick(u"внутреннего стандарта: \r\ninternal standart :") +
                    g7(kind == 2 ? chrom.dIS_Amount2() : chrom.dIS_Amount()) + QStringLiteral(" ") + pick(kUnits[kind]);
        }
        line += QStringLiteral(" : ");
        const int pure = chrom.bSize_VolumeInt();
        if (pure == 0 || pure == 1)
            line += pick(kWords[pure]);
        line += pick(u"чистой пробы \r\npure probe") + g7(chrom.dPure_Amount());
        if (pure == 0 || pure == 1)
            line += pick(kUnits[pure]);
        line += QStringLiteral(" ");
    }
    if (method > 1 && chrom.bExtract_On()) {
        line += pick(u"Обьем экстракта: \r\nExtract volume: ") + g7(chrom.dExtract_Volume()) + pick(u" ,мл\r\n ,ml") +
                pick(u" Навеска образца: ") + g7(chrom.dSample_Weight()) + pick(u" ,мл(г)\r\n ml(g)");
    }
    if (method == 3 && addCalc == 1)
        line += QStringLiteral(" , ") + pick(u"Плотность бензина,г/см3 = ") + g5(chrom.dAdd_GasolineDensity()) +
                QStringLiteral(" ;");
    if (method == 3 && addCalc == 3) {
        line = pick(u"Стандарт: \r\nStandart: ") + g7(chrom.dIS_Amount()) + pick(u"мл*‰\r\nml*‰") +
               pick(u"; Проба: \r\n; Sample: ") + g7(chrom.dPure_Amount()) + pick(u" мл ;\r\n ml ;") +
               pick(u"Коэф.биожидкости ") + g7(chrom.dBioCoef());
    }
    return line;
}

namespace chromtables {

void InstallIdentSources(TDataModule1& data, TChromModule& chrom) {
    auto refill = [&data, &chrom] {
        if (data.designMode || data.methodMode)
            return;
        const int row = data.rowIndex(QStringLiteral("IdentDataset"));
        const int column = data.rowIndex(QStringLiteral("ChromIdentColumn"));
        tarvex::engine::Report& report = data.CommonReport();
        report.setVariable(QStringLiteral("IdentHeader"), QuoteText(IdentColumnHeader(chrom, column)));
        report.setVariable(QStringLiteral("IdentValue"),
                           QuoteText(IdentValue(chrom, data.printSettings, row, column, false)));
        report.setVariable(QStringLiteral("IdentSumma"), QuoteText(IdentColumnSum(chrom, data.printSettings, column)));
    };
    data.setRefill(QStringLiteral("IdentDataset"), refill);
    data.setRefill(QStringLiteral("ChromIdentColumn"), refill);
}

} // namespace chromtables
