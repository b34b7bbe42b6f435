// Which sections of CommonReport print, and the driver's order of steps.

#include "ChromDriver.h"
#include "ChromDriver_p.h"

#include "ChromPassport.h"
#include "ChromReport.h"
#include "ChromTables.h"
#include "ValueFormat.h"
#include "TChromModule.h"
#include "TDataModule1.h"
#include "TVisibilityModule.h"

#include <cmath>

namespace {

using chromdriver::section;
using chromdriver::setCount;

// The working method switches copied from the print settings (block offsets 228 onward).
struct Working {
    const std::array<std::uint8_t, 42>& b;
    bool at(int offset) const { return b[static_cast<std::size_t>(offset - 228)] != 0; }
    bool bPrintUpravl() const { return at(228); }
    bool bPrintMethPassport() const { return at(229); }
    bool bPrintTemps() const { return at(230); }
    bool bPrintGas() const { return at(231); }
    bool bPrintIdentParams() const { return at(232); }
    bool bPrintIntegrEvents() const { return at(233); }
    bool bPrintCalcParams() const { return at(234); }
    bool bPrintDevices() const { return at(235); }
    bool bPrintSplit() const { return at(236); }
    bool bPrintEconomy() const { return at(237); }
    bool bPrintBlow() const { return at(238); }
    bool bPrintMethComps() const { return at(243); }
    bool bPrintCompPassport() const { return at(244); }
    bool bPrintCompProps() const { return at(245); }
    bool bPrintCompGrad() const { return at(246); }
    bool bPrintCompExtra() const { return at(247); }
    bool bPrintMethGroups() const { return at(257); }
    bool bPrintGroupPassport() const { return at(258); }
    bool bPrintGroupProps() const { return at(259); }
    bool bPrintGroupGrad() const { return at(260); }
};

} // namespace

void SetReportSections(TDataModule1& data, const TChromModule& r) {
    if (data.designMode)
        return;
    const bool M = data.methodMode;
    const bool C = data.chromMode;
    const Working w {data.methodSettings};
    const TPrintSettings& ps = data.printSettings;
    const int device = r.bType_Device();
    const int ext = r.iExtDevices();
    const int format = ps.bExport_Format();

    if (M)
        SetDetectorSections(data, r);
    section(data, "ChromPrint", !M);
    if (!M)
        SetDetectorSections(data, r);
    section(data, "UpravlPrint", M ? w.bPrintUpravl() : r.bPrn_Control() != 0);
    section(data, "Column1Print", r.bChr_ColumnMode() == 0 || r.bChr_ColumnMode() == 2);
    section(data, "Column2Print", r.bChr_ColumnMode() == 1 || r.bChr_ColumnMode() == 2);
    section(data, "StatChromPrint", r.bChr_HasStatChrom() && r.iStatChrom_Count() != 0);
    section(data, "ChromTitlePrint", r.bPrn_ChromTitle() && C);
    section(data, "ChromPrintMan", r.bPrn_Operator() && r.bPrn_ChromTitle());
    section(data, "ChromPrintComment", r.bPrn_Comment() && r.bPrn_ChromTitle());
    section(data, "ChromPrintDevice", r.bPrn_Device() && r.bPrn_ChromTitle());
    section(data, "ReaperPrint", r.iReper_Index() >= 0);
    section(data, "ProbaPrint", r.bPrn_Sample() && !M);
    section(data, "ColumnPrint", r.bPrn_Column() && !M);
    section(data, "MethodModulePrint", device != 8 && device != 10 && device != 11);
    section(data, "TempRx4", device != 8 && device != 11);
    section(data, "Qsl", device == 8 || device == 11);
    if (device == 10 || device == 11) {
        section(data, "QslTempDet1", r.bQsl_TempDetOn(0));
        section(data, "QslTempDet2", r.bQsl_TempDetOn(1));
        section(data, "QslTempDet3", r.bQsl_TempDetOn(2));
        section(data, "QslTempISP1", ps.bPrint_QslTempISP1());
        section(data, "QslTempISP2", ps.bPrint_QslTempISP2());
        section(data, "Dx8PKVisible", false);
    } else if (device == 8) {
        section(data, "QslTempDet1", false);
        section(data, "QslTempDet2", false);
        section(data, "QslTempDet3", false);
        section(data, "QslTempISP1", ps.bPrint_QslTempISP1());
        section(data, "QslTempISP2", ps.bPrint_QslTempISP2());
        section(data, "Dx8PKVisible", true);
    }
    section(data, "H2AirPrint", device != 8 && device != 10 && device != 11 && !ps.bPrint_NoH2Air());
    section(data, "Gas3Print", true);
    section(data, "Gas4Print", ps.bPrint_Gas4());
    const bool devices = M && w.bPrintDevices();
    section(data, "DAJPrint", devices && (ext & 1));
    section(data, "DAGPrint", devices && (ext & 2));
    section(data, "VaportPrint", (ext & 4) && r.bPrn_Temps());
    const bool temps = (r.bPrn_Temps() && !M) || (w.bPrintTemps() && M);
    section(data, "VaportTempPrint", (r.bPrn_Temps() && !M && !r.bChr_NoEvapTemp()) || (w.bPrintTemps() && M));
    section(data, "CranBlowPrint", devices && (ext & 8));
    section(data, "CranChangePrint", devices && (ext & 16));
    section(data, "DRPPrint", devices && (ext & 32));
    section(data, "HT300APrint", devices && (ext & 64));
    section(data, "HT300APreWash", r.bHT_PreWash());
    section(data, "HT300APostWash", r.bHT_PostWash());
    section(data, "HT300ASampleWash", r.bHT_SampleWash());
    section(data, "HT300AIntStandart", r.bHT_IntStd());
    section(data, "HT300ATypeInj1", r.bHT_InjType() == 0);
    section(data, "HT300ATypeInj2", r.bHT_InjType() == 1);
    section(data, "TempPrint", temps);
    section(data, "DetectorTempPrint", (r.bPrn_Temps() && !M && !r.bChr_NoDetTemp()) || (w.bPrintTemps() && M));
    section(data, "ProgColumnPrint", r.bMeth_ColTempProg() && temps);
    section(data, "TempColumnPrint", !r.bMeth_ColTempProg() && temps);
    section(data, "GasPrint", (r.bPrn_Gases() && !M) || (w.bPrintGas() && M));
    section(data, "Column1ProgPress", ps.bPrint_Column1Press() && r.bMeth_Col1PressProg());
    section(data, "Column1Press", ps.bPrint_Column1Press() && !r.bMeth_Col1PressProg());
    section(data, "Column2ProgPress", ps.bPrint_Column2Press() && r.bMeth_Col2PressProg());
    section(data, "Column2Press", ps.bPrint_Column2Press() && !r.bMeth_Col2PressProg());
    section(data, "BlowPress", ps.bPrint_Column1Press() || ps.bPrint_Column2Press());
    section(data, "IdentParams", (r.bPrn_Processing() && !M) || (w.bPrintUpravl() && M && w.bPrintIdentParams()));
    section(data, "CalcParams", (r.bPrn_Processing() && !M) || (w.bPrintUpravl() && M && w.bPrintCalcParams()));
    section(data, "IndexPrint", r.bMeth_IdentMode() == 2);
    section(data, "DevicePrint", devices);
    section(data, "SplitPrint", (r.bPrn_Control() && r.bMeth_SplitOn() && r.bPrn_Split() && !M) || (w.bPrintSplit() && M));
    section(data, "EconomiaPrint", (r.bPrn_Control() && r.bMeth_EconomyOn() && !M) || (w.bPrintEconomy() && M));
    section(data, "BlowPrint", (r.bPrn_Control() && r.bMeth_BlowOn() && !M) || (w.bPrintBlow() && M));
    if (M)
        section(data, "IntegrEventsPrint", w.bPrintIntegrEvents() && w.bPrintUpravl());
    if (C)
        section(data, "IntegrEventsPrint", r.bPrn_Processing());
    section(data, "MethodComment", !r.szMeth_Comment().trimmed().isEmpty() && w.bPrintMethPassport());
    section(data, "MethodPasport", w.bPrintMethPassport());
    section(data, "MethodPrint", M);
    bool anyDetectorPrinted = false;
    for (int k = 0; k < r.iDet_Count(); ++k)
        anyDetectorPrinted = anyDetectorPrinted || r.DetectorEntry(k).bDet_Print;
    section(data, "PeakPrint", r.bPrn_Peaks() && anyDetectorPrinted && !M);
    section(data, "ChromPicturePrint", r.bPrn_Picture() && !M);
    section(data, "IdentPrint", r.bPrn_Ident() && !M);
    section(data, "ChromGroupPrint", r.bPrn_Groups() && !M);
    section(data, "JournalPrint", ps.bPrint_Journal() && !M);
    section(data, "AddCalcPrint", r.bPrn_AddCalc() && !M);
    section(data, "CompStatPrint", r.bPrn_CompStat() && !M);

    const bool calc1gas = r.bMeth_CalcMethod() == 1 && r.bMeth_AddCalc() == 3;
    const int compSubs = w.bPrintCompPassport() + w.bPrintCompProps() + w.bPrintCompGrad() + w.bPrintCompExtra();
    const bool gasComp = compSubs == 1 && w.bPrintCompProps() && calc1gas;
    const bool noCompSub = compSubs == 0 && !gasComp;
    const int groupSubs = w.bPrintGroupPassport() + w.bPrintGroupProps() + w.bPrintGroupGrad();
    const bool gasGroup = groupSubs == 1 && w.bPrintGroupProps() && calc1gas;
    const bool noGroupSub = groupSubs == 0 && !gasGroup;
    section(data, "MethodCompPrint", w.bPrintMethComps() && M && !(noCompSub || gasComp));
    section(data, "MethodGroupPrint", w.bPrintMethGroups() && M && !(noGroupSub || gasGroup));
    section(data, "MethodCompPrintShort", w.bPrintMethComps() && M && noCompSub);
    section(data, "MethodCompReportPrintBenzin", w.bPrintMethComps() && M && gasComp);
    section(data, "MethodGroupReportPrintBenzin", w.bPrintMethGroups() && M && gasGroup);
    section(data, "MethodGroupPrintShort", w.bPrintMethGroups() && M && noGroupSub);

    const bool comment = r.iChr_CommentLen() > 0;
    section(data, "AddCalcRTFPrint", data.exportFlag ? comment && format > 4 : comment);
    section(data, "AddCalcTextPrint", data.exportFlag && comment && format < 5);
    section(data, "AddCalcCoefPrint", r.bAddCalc_CoefPrint() && !data.addCalcCoefs.empty());
    section(data, "ChromIdentAddOnPrint", !IdentAddOnLine(data, r).isEmpty());
    section(data, "ChromPeakAddOnPrint", r.bMeth_CalcMethod() <= 1 && r.dUndetectablePct() > 0);
}

void RunChromatogramReport(TDataModule1& data, TChromModule& chrom, const TResultFileWriter& writeResultFile) {
    const int format = data.printSettings.bExport_Format();
    const bool fileOnly = data.exportFlag && (format == 11 || format == 12);
    if (!fileOnly) {
        data.CopyMethodSettings();
        data.ApplyPrinterSettings();
        SetTableRowCounts(data, chrom);
        data.headerText = LoadTextFile(data, 0);
        data.footerText = LoadTextFile(data, 1);
        data.methodMode = false;
        data.chromMode = true;
        ComputeColumnWidths(data, TWidthTable::Journal);
        ComputeColumnWidths(data, TWidthTable::Ident);
        ComputeColumnWidths(data, TWidthTable::Group);
        ComputeColumnWidths(data, TWidthTable::Peak);
        ComputeColumnWidths(data, TWidthTable::CompStat);
        if (data.exportFlag) {
            if (format < 4 || format == 6)
                chrom.SetPrn_PictureWhole(1);
            if (format == 1 || (format >= 8 && format <= 11))
                chrom.SetPrn_Picture(0);
        }
        if (chrom.bPrn_Picture() && !data.methodMode) {
            FitChromPicture(data);
            if (chrom.bPrn_PictureWhole() && data.chromPicture.height() < 1000) {
                PutWholePicture(data);
                section(data, "ChromPicturePrintSolid", true);
                setCount(data, "BitmapPartDataSet", 0);
            } else {
                setCount(data, "BitmapPartDataSet", (data.chromPicture.height() + 29) / 30);
                section(data, "ChromPicturePrintSolid", false);
            }
        }
        setCount(data, "AddCalcCoefsDataset", 0);
        if (chrom.bPrn_AddCalc())
            CollectAddCalcCoefs(data, chrom);
        SetAddCalcTableCounts(data, chrom);
        FillPassport(data, chrom);
        // The journal's heading prints before its first row; with no rows no row event sets it.
        if (!data.designMode)
            data.CommonReport().setVariable(QStringLiteral("JournTitle"), QuoteText(JournalTitle(chrom)));
        SetReportSections(data, chrom);
        setCount(data, "AddCalcGraphsDataSet", chrom.iAddCalcGraph_Count());
    }
    if (data.exportFlag) {
        if (writeResultFile)
            writeResultFile(data, chrom);
    } else {
        data.RunReport(1);
    }
}
