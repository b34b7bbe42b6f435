#include "ChromPassport.h"

#include "Bilingual.h"
#include "ChromReport.h"
#include "MemoView.h"
#include "TChromModule.h"
#include "TDataModule1.h"
#include "ValueFormat.h"

#include <QDateTime>
#include <cmath>

namespace {

using tarvex::Pick;

QString B(const char* literal) { return QuoteText(Pick(QString::fromUtf8(literal))); }
QString G(double v) { return FormatGeneral(8, 5, false, v); }
QString I(qint64 v) { return QString::number(v); }
// Reals go to the engine as expressions: "." whatever the locale, full precision.
QString R(double v) { return std::isfinite(v) ? QString::number(v, 'g', 15) : QStringLiteral("0"); }

void setMemo(tarvex::engine::Report& report, const QString& name, const QString& text) {
    if (auto* memo = report.findObject<tarvex::engine::MemoView>(name))
        memo->text = text;
}

} // namespace

QString IdentModeText(int mode, const QString& current) {
    switch (mode) {
    case 0: return Pick(QStringLiteral("Время\r\nTime"));
    case 1: return Pick(QStringLiteral("Относительный обьем\r\nRelative volume"));
    case 2: return Pick(QStringLiteral("Индексы Ковача\r\nCovash Indexes"));
    default: return current;
    }
}

QString PeakChoiceText(int choice, const QString& current) {
    switch (choice) {
    case 0: return Pick(QStringLiteral("Ближайший по времени\r\nNearest on time"));
    case 1: return Pick(QStringLiteral("Максимальная высота\r\nMaximal heigth"));
    case 2: return Pick(QStringLiteral("Максимальная площадь\r\nMaximal area"));
    default: return current;
    }
}

QString SampleModeText(int k) {
    switch (k) {
    case 0: return Pick(QStringLiteral("Инжекция\r\nInjection"));
    case 1: return Pick(QStringLiteral("Проба\r\nSample"));
    case 2: return Pick(QStringLiteral("Шаг серии\r\nSeries"));
    default: return {};
    }
}

QString SolventText(int k) {
    static const char* const kNames[] = {"A", "B", "C", "D"};
    return k >= 0 && k < 4 ? QString::fromLatin1(kNames[k]) : QString();
}

QString ConcentrationUnitText(int code) {
    static const char* const kUnits[] = {
        " мкг/мл\r\nmcg/ml", " мг/мл\r\nmg/ml", " мг/л\r\nmg/l",       " мг/м3\r\nmg/m3",      " мг/кг\r\nmg/kg",
        " %обьем.",          " %мас.",          " ppm обьем.",         " ppm мас.",            " %обьем.",
        " %мас.",            " г/100м3\r\ng/100m3", " мкг/л\r\nmkg/l"};
    return code >= 0 && code <= 12 ? Pick(QString::fromUtf8(kUnits[code])) : QString();
}

QString GasTypeName(int index) {
    static const char* const kGases[] = {"Азот", "Гелий", "Водород", "Аргон"};
    return QString::fromUtf8(kGases[index < 0 ? 0 : index > 3 ? 3 : index]);
}

QString HostDateTimeText(double stamp) {
    if (!std::isfinite(stamp) || std::fabs(stamp) > 3e6)
        return {};
    const QDateTime base(QDate(1899, 12, 30), QTime(0, 0));
    const auto ms = static_cast<qint64>(std::llround(stamp * 86400000.0));
    const QDateTime when = base.addMSecs(ms);
    // The same day-first form the report's own [Date] prints, whatever the machine's locale.
    return when.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

QString FindInternalStandard(TDataModule1& data, const TChromModule& chrom) {
    data.internalStandardDetector = -1;
    QString name;
    for (int i = 0; i <= chrom.iIdent_Last() && i < TChromModule::kMaxComps; ++i) {
        if (chrom.CompRec(i).bComp_IntStd()) {
            data.internalStandardDetector = i;
            name = chrom.CompRec(i).szComp_Name();
        }
    }
    return name;
}

void FillPassport(TDataModule1& data, TChromModule& chrom) {
    if (data.designMode)
        return;
    tarvex::engine::Report& r = data.CommonReport();
    const bool C = data.chromMode;
    const bool M = data.methodMode;
    const TPrintSettings& ps = data.printSettings;
    auto set = [&r](const char* name, const QString& value) { r.setVariable(QString::fromLatin1(name), value); };

    if (C) {
        set("szFileMethod", QuoteText(chrom.szFileMethod()));
        set("FooterString", QuoteText(ps.szNameFile()));
    }
    if (M)
        set("FooterString", QuoteText(chrom.szNameMethod()));
    set("bType_Device", QuoteText(chrom.DeviceTypeName(M)));
    set("bType_MultiDet", QuoteText(chrom.DetectorSetName()));
    set("bWork_Dets", QuoteText(chrom.JoinedDetectorNames()));
    if (C)
        set("bChrom_Num", I(chrom.bChrom_Num()));
    set("szNameFile", QuoteText(ps.szNameFile()));
    if (C) {
        set("szTime", QuoteText(HostDateTimeText(chrom.dChr_DateTime())));
        set("szNameChrom", QuoteText(chrom.szNameChrom()));
    }
    if (M)
        set("szNameMethod", QuoteText(chrom.szNameMethod()));
    setMemo(r, QStringLiteral("Memo251"), chrom.szChromComment());
    setMemo(r, QStringLiteral("Memo270"), chrom.szMeth_Comment());
    if (C)
        set("szNameMan", QuoteText(chrom.szNameMan()));
    set("iMax_Comp", I(chrom.iMax_Comp()));
    set("iMax_Group", I(chrom.iMax_Group()));
    set("GroupTimeOrIndex", chrom.bMeth_IdentMode() == 2 ? B("Интервал индексов\r\nIndex interval,min")
                                                         : B("Интервал времени,мин\r\nTime interval,min"));
    if (chrom.bType_Device() == 8) {
        set("dContrDx8_TempI1", R(chrom.dContrDx8_TempI1()));
        set("dContrDx8_TempI2", R(chrom.dContrDx8_TempI2()));
        set("dContrDx8_TempPK", R(chrom.dContrDx8_TempPK()));
    } else {
        set("dContrQsl_TempD1", R(chrom.dContrQsl_TempD1()));
        set("dContrQsl_TempD2", R(chrom.dContrQsl_TempD2()));
        set("dContrQsl_TempD3", R(chrom.dContrQsl_TempD3()));
        set("dContrQsl_TempI1", R(chrom.dContrQsl_TempI1()));
        set("dContrQsl_TempI2", R(chrom.dContrQsl_TempI2()));
    }
    set("bSpr_IDTP1", G(chrom.bSpr_IDTP1()));
    set("bSpr_IDTP2", G(chrom.bSpr_IDTP2()));
    set("iEZD_Diapazon", I(chrom.iEZD_Diapazon()));
    set("dContr_TempC0", G(chrom.dContr_TempC0()));
    set("dContr_PressC01", G(chrom.dContr_PressC01()));
    set("dContr_PressC02", G(chrom.dContr_PressC02()));
    set("bNum_Col", I(chrom.bNum_Col() + 1));

    if (C) {
        auto columnType = [&](const char* name) {
            if (chrom.bType_Column1() == 0)
                set(name, B("Насадочная\r\nPacked"));
            else if (chrom.bType_Column1() == 1)
                set(name, B("Капиллярная\r\nCapillary"));
        };
        set("dCol_Leng1", G(chrom.dCol_Leng1()));
        set("dCol_Diam1", G(chrom.dCol_Diam1()));
        set("szCol_Name1", QuoteText(chrom.szCol_Name1()));
        columnType("bType_Column1");
        set("szCol_Factory1", QuoteText(chrom.szCol_Factory1()));
        set("szCol_AddName1", QuoteText(chrom.szCol_AddName1()));
        set("dCol_Leng2", G(chrom.dCol_Leng2()));
        set("dCol_Diam2", G(chrom.dCol_Diam2()));
        set("szCol_Name2", QuoteText(chrom.szCol_Name2()));
        set("szCol_Factory2", QuoteText(chrom.szCol_Factory2()));
        set("szCol_AddName2", QuoteText(chrom.szCol_AddName2()));
        // The host keeps one column type for both columns.
        columnType("bType_Column2");
    }
    set("bFlag_Flame", YesNo(ps.bFlag_Flame()));
    set("iFlameTime", G(ps.iFlameTime()));
    if (C)
        set("iNumProba", I(chrom.iNumProba()));
    set("dFlameHyd", G(ps.dFlameHyd()));
    set("dFlameAir", G(ps.dFlameAir()));
    if (C) {
        set("dVolume", G(chrom.dVolume()));
        setMemo(r, QStringLiteral("Memo8"), chrom.szChr_SampleName());
    }
    switch (chrom.bSize_Volume()) {
    case 0: set("bSize_Volume", B("мкл\r\nmcl")); break;
    case 1: set("bSize_Volume", B("мл\r\nml")); break;
    case 2: set("bSize_Volume", B("г\r\ng")); break;
    default: set("bSize_Volume", QuoteText(QString())); break;
    }
    set("bSize_Conc", QuoteText(ConcentrationUnitText(chrom.bSize_Conc())));
    set("bSize_VolumeInt", chrom.bSize_VolumeInt() == 1 ? B("мл\r\nml") : chrom.bSize_VolumeInt() == 0
                                                                             ? B("г\r\ng")
                                                                             : QuoteText(QString()));
    set("dContr_Times", G(chrom.dContr_Times()));
    set("dContr_TempD", G(chrom.dContr_TempD()));
    set("dContr_TempI", G(chrom.dContr_TempI()));
    set("ChrgGas1", G(chrom.ChrgGas1()));
    set("ChrgGas2", G(chrom.ChrgGas2()));
    set("ChrgGas3", G(chrom.ChrgGas3()));
    set("ChrgGas4", G(chrom.ChrgGas4()));
    set("ChrgAir", G(chrom.ChrgAir()));
    set("ChrgH2", G(chrom.ChrgH2()));
    for (int k = 0; k < 4; ++k)
        r.setVariable(QStringLiteral("ChrgGasType%1").arg(k + 1), QuoteText(GasTypeName(ps.bChrgGasType(k))));
    set("SplitChrgGas1", G(chrom.SplitChrgGas1()));
    set("SplitChrgGas2", G(chrom.SplitChrgGas2()));
    set("SplitChrgGas3", G(chrom.SplitChrgGas3()));
    set("SplitChrgGas4", G(chrom.SplitChrgGas4()));
    set("SplitDelay", R(chrom.SplitDelay()));
    set("EconomiaChrgGas1", G(chrom.EconomiaChrgGas1()));
    set("EconomiaChrgGas2", G(chrom.EconomiaChrgGas2()));
    set("EconomiaChrgGas3", G(chrom.EconomiaChrgGas3()));
    set("EconomiaChrgGas4", G(chrom.EconomiaChrgGas4()));
    set("EconomiaTimeVcl", I(chrom.EconomiaTimeVcl()));
    set("ProduvkaChrgGas1", G(chrom.ProduvkaChrgGas1()));
    set("ProduvkaChrgGas2", G(chrom.ProduvkaChrgGas2()));
    set("ProduvkaChrgGas3", G(chrom.ProduvkaChrgGas3()));
    set("ProduvkaChrgGas4", G(chrom.ProduvkaChrgGas4()));
    set("ProduvkaTime", G(chrom.ProduvkaTime()));
    set("ProduvkaColumnTemp", G(chrom.ProduvkaColumnTemp()));
    set("ProduvkadBlow_Press", G(chrom.ProduvkadBlow_Press()));

    set("bType_Calcul", QuoteText(chrom.CalcMethodName(QString())));
    set("bIdent_Type", QuoteText(IdentModeText(chrom.bMeth_IdentMode())));
    set("IntStandart", QuoteText(chrom.CalcMethodName(FindInternalStandard(data, chrom))));
    set("bIdent_Peak", QuoteText(PeakChoiceText(chrom.bIdent_Peak())));
    set("bIdent_ReperPeak", QuoteText(PeakChoiceText(chrom.bIdent_ReperPeak())));
    if (chrom.bType_Index() == 1)
        set("bType_Index", B("Логарифмический\r\nLogarithmic"));
    else if (chrom.bType_Index() == 2)
        set("bType_Index", B("Линейный\r\nLinear"));
    if (chrom.bType_ProcIndex() == 1)
        set("bType_ProcIndex", B("с идентификацией\r\nWith identification"));
    else if (chrom.bType_ProcIndex() == 2)
        set("bType_ProcIndex", B("без идентификации\r\nWithout identification"));
    if (chrom.bMeth_IndexKind() == 0)
        set("bBase_Index", B("Время\r\nTime"));
    else if (chrom.bMeth_IndexKind() == 1)
        set("bBase_Index", B("Температура кипения\r\nTemperature of boiling"));
    set("dProc_TimeNoSorb", G(chrom.dProc_TimeNoSorb()));
    set("bProc_All", YesNo(chrom.bProc_All()));

    set("dSampl_VolumeG", G(chrom.dSampl_VolumeG()));
    set("bSampl_NumInjG", G(chrom.bSampl_NumInjG()));
    set("bSampl_TimeInG", G(chrom.bSampl_TimeInG()));
    set("dSampl_VolumeW", G(chrom.dSampl_VolumeW()));
    set("bSampl_NFirst", I(chrom.bSampl_NFirst()));
    set("bSampl_NLast", I(chrom.bSampl_NLast()));
    set("bSampl_NInject", I(chrom.bSampl_NInject()));
    set("bSampl_NumPump", I(chrom.bSampl_NumPump()));
    set("bSampl_SpeedIn", I(chrom.bSampl_SpeedIn()));
    set("bSampl_SpeedOut", I(chrom.bSampl_SpeedOut()));
    set("bSampl_TimWash", I(chrom.bSampl_TimWash()));
    set("bSampl_TimInj", I(chrom.bSampl_TimInj()));
    set("dKran_TimeOP", G(chrom.dKran_TimeOP()));
    set("dKran_Time1", G(chrom.dKran_Time1()));
    set("dKran_Time2", G(chrom.dKran_Time2()));
    set("dDRP_TempProba", G(chrom.dDRP_TempProba()));
    set("dDRP_TempKran", G(chrom.dDRP_TempKran()));
    set("iDRP_TimeGazOut", I(chrom.iDRP_TimeGazOut()));
    set("iDRP_NumAnal", I(chrom.iDRP_NumAnal()));
    set("dDRP_Volume", G(chrom.dDRP_Volume()));
    set("dDRP_TimeGazIn", G(chrom.dDRP_TimeGazIn()));

    set("bHT300_TypePreWash", QuoteText(SampleModeText(chrom.bHT300_TypePreWash())));
    set("bHT300_SolventPreWash", QuoteText(SolventText(chrom.bHT300_SolventPreWash())));
    set("dHT300_VolumePreWash", G(chrom.dHT300_VolumePreWash()));
    set("bHT300_NumPreWash", I(chrom.bHT300_NumPreWash()));
    set("bHT300_TypePostWash", QuoteText(SampleModeText(chrom.bHT300_TypePostWash())));
    set("bHT300_SolventPostWash", QuoteText(SolventText(chrom.bHT300_SolventPostWash())));
    set("dHT300_VolumePostWash", G(chrom.dHT300_VolumePostWash()));
    set("bHT300_NumPostWash", I(chrom.bHT300_NumPostWash()));
    set("dHT300_VolumeSampleWash", G(chrom.dHT300_VolumeSampleWash()));
    set("bHT300_NumSampleWash", I(chrom.bHT300_NumSampleWash()));
    set("dHT300_Volume", G(chrom.dHT300_Volume()));
    set("dHT300_VolumeAir", R(chrom.dHT300_VolumeAir()));
    set("bHT300_TimeViscosity", I(chrom.bHT300_TimeViscosity()));
    set("bHT300_NumSroke", I(chrom.bHT300_NumSroke()));
    set("iHT300_SpeedOut", I(chrom.iHT300_SpeedOut()));
    set("iHT300_SpeedIn", I(chrom.iHT300_SpeedIn()));
    set("bHT300_TimeWaitPre", I(chrom.bHT300_TimeWaitPre()));
    set("bHT300_TimeWaitPost", I(chrom.bHT300_TimeWaitPost()));
    set("dHT300_VolumeAirGap", G(chrom.dHT300_VolumeAirGap()));
    set("dHT300_VolumeIntStandart", G(chrom.dHT300_VolumeIntStandart()));
    set("bHT300_NumIntStandart", I(chrom.bHT300_NumIntStandart()));
    switch (chrom.bHT300_TypeInjector()) {
    case 0: set("bHT300_TypeInjector", B("Первый испаритель\r\nFirst injector")); break;
    case 1: set("bHT300_TypeInjector", B("Второй испаритель\r\nSecond injector")); break;
    case 2: set("bHT300_TypeInjector", B("Одна проба в 2 испарителя\r\n")); break;
    case 3: set("bHT300_TypeInjector", B("Разные пробы в 2 испарителя\r\n")); break;
    default: set("bHT300_TypeInjector", QuoteText(QString())); break;
    }
    set("bHT300_TypeInjection", chrom.bHT300_TypeInjection() == 1 ? B("Серия\r\nSeries") : B("Одиночная\r\nSingle"));
    set("bHT300_FirstVial", I(chrom.bHT300_FirstVial()));
    set("bHT300_LastVial", I(chrom.bHT300_LastVial()));
    set("bHT300_NumOneVialSeries", I(chrom.bHT300_NumOneVialSeries()));
    set("bHT300_Vial", I(chrom.bHT300_Vial()));
    switch (chrom.bHT300_TypeIntAirGap()) {
    case 0: set("bHT300_TypeIntAirGap", B("Одиночный\r\nSingle")); break;
    case 1: set("bHT300_TypeIntAirGap", B("Двойной\r\nDual")); break;
    default: set("bHT300_TypeIntAirGap", QuoteText(QString())); break;
    }

    if (C) {
        const QString addOn = chrom.bMeth_CalcMethod() > 1
                                  ? QStringLiteral(" ")
                                  : Pick(QStringLiteral("Недетектируемый компонент ")) +
                                        GeneralNumber(chrom.dUndetectablePct(), 7, 3) + QLatin1Char('%');
        set("ChromPeakAddOn", QuoteText(addOn));
        set("IdentAddOn", QuoteText(IdentAddOnLine(data, chrom)));
    }
}
