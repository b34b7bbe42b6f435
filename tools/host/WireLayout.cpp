#include "WireLayout.h"

#include <QStringList>
#include <array>
#include <stdexcept>

namespace host {

namespace {

// Each line: field name, type, offset. Types: u8, c (one character), u16, i16, i32, f32, f64,
// sN (text of N bytes); "xK" makes an array of K elements.

const char kChromHeader[] = R"(
iChr_HeaderSize i32 15
iChr_PeakRecSize i32 19
iChr_IdentRecSize i32 23
iChr_GroupResRecSize i32 27
iChr_CommentLen i32 31
bChr_TypeDevice u8 35
bChrom_Num u8 36
cChr_NamesMode c 37
bChr_ChannelCount u8 79
dChr_AdcScale f64 80
fChr_Rate f32 88
szFileMethod s260 92
szNameChrom s81 370
szCol_Name1 s66 451
dCol_Leng1 f64 517
dCol_Diam1 f64 525
iNumProba i32 533
szChr_SampleName s244 537
szChromComment s366 781
szNameMan s61 1147
szChr_AddCalcName s260 1208
dVolume f64 1728
dExtract_Volume f64 1736
dSample_Weight f64 1744
dUndetectablePct f64 1752
dAdd_RatioN2O2 f64 1780
dAdd_O2_N2 f64 1788
dAdd_H2S_CO2 f64 1796
dAdd_UnknownPct f64 1804
dAdd_EthanolPct f64 1812
dIS_Amount2 f64 1820
dIS_Amount f64 1828
dPure_Amount f64 1836
bChr_HasAddCalc u8 1844
bExtract_On u8 1845
iChr_MethodPartSize i32 1847
iChr_PeakLast i32x10 1851
iIdent_Last i32 1891
iGroupRes_Last i32 1895
dPeakSum f64x20 1899
iChr_PointCount i32 2059
dAdd_GasolineDensity f64 2415
szChr_DetName6 s6x10 2423
dChr_DateTime f64 2484
bChr_HasStatChrom u8 2492
iChr_CompStatRecSize i32 2506
bChr_HasCompStat u8 2510
dIdentSum f64x5 2528
iChr_JournalRecSize i32 2592
iJournal_Count i32 2596
dAdd_OilDensity f64 2600
dAddCalc_Coef f64x10 2709
szConc_Name1 s61 2789
szConc_Name2 s61 2850
szConc_Name3 s61 2911
iStatChrom_Count u8 2972
szStatChrom_Name s55x10 2973
dBioCoef f64 3523
bAddCalc_CoefPrint u8 3537
bAddCalc_CoefOn u8x10 3538
szAddCalc_CoefName s31x10 3548
bChr_NoEvapTemp u8 3878
bChr_NoDetTemp u8 3879
bType_Column1 u8 4083
szCol_Factory1 s21 4084
szCol_AddName1 s66 4105
bChr_ColumnMode u8 8112
szCol_Name2 s66 8113
dCol_Leng2 f64 8179
dCol_Diam2 f64 8187
szCol_Factory2 s21 8196
szCol_AddName2 s66 8217
)";

const char kMethodHeader[] = R"(
iMeth_HeaderSize i32 15
iMeth_CompRecSize i32 19
iMeth_GroupRecSize i32 23
iMeth_CompCalibSize i32 27
iMeth_GroupCalibSize i32 31
iMeth_CompItemSize i32 35
iMeth_GroupItemSize i32 39
bType_Device u8 43
bType_MultiDet u8 44
bMeth_SlotCount u8 45
bMeth_DetOn u8x10 46
bMeth_DetPeakList u8x10 56
iMax_Comp i32 87
iMax_Group i32 91
szNameMethod s71 95
szMeth_Comment s497 166
bNum_Col u8 663
bSize_Volume u8 664
bSize_Conc u8 665
bIS_QuantityKind u8 666
dContr_Times f64 667
dContr_TempD f64 675
dContr_TempI f64 683
bMeth_ColTempProg u8 691
PrgrColumnTemp f64x5 692
PrgrColumnTime f64x4 732
PrgrColumnSpeed f64x4 764
ChrgGas1 f64 796
ChrgGas2 f64 804
ChrgGas3 f64 812
ChrgGas4 f64 820
ChrgAir f64 828
ChrgH2 f64 836
bSpr_IDTP1 u8 848
bSpr_IDTP2 u8 849
bMeth_Col1PressProg u8 850
PrgrPress1 f64x4 851
bMeth_BlowOn u8 883
ProduvkaTime f64 884
ProduvkaColumnTemp f64 892
ProduvkaChrgGas1 f64 900
ProduvkaChrgGas2 f64 908
ProduvkaChrgGas3 f64 916
ProduvkaChrgGas4 f64 924
ProduvkadBlow_Press f64 932
bMeth_EconomyOn u8 940
EconomiaTimeVcl i32 941
EconomiaChrgGas1 f64 945
EconomiaChrgGas2 f64 953
EconomiaChrgGas3 f64 961
EconomiaChrgGas4 f64 969
bMeth_SplitOn u8 977
SplitChrgGas1 f64 978
SplitChrgGas2 f64 986
SplitChrgGas3 f64 994
SplitChrgGas4 f64 1002
SplitDelay f64 1010
bMeth_CalcMethod u8 1018
bMeth_AddCalc u8 1019
bMeth_IdentMode u8 1020
bIdent_Peak u8 1021
bIdent_ReperPeak u8 1022
bType_Index u8 1023
bType_ProcIndex u8 1024
bMeth_IndexKind u8 1025
dProc_TimeNoSorb f64 1026
bProc_All u8 1034
iExtDevices i32 1755
dSampl_VolumeG f64 1759
bSampl_NumInjG u8 1767
bSampl_TimeInG u8 1768
dSampl_VolumeW f64 1769
bSampl_NFirst u8 1777
bSampl_NLast u8 1778
bSampl_NInject u8 1779
bSampl_NumPump u8 1780
bSampl_SpeedIn u8 1781
bSampl_SpeedOut u8 1782
bSampl_TimWash u8 1783
bSampl_TimInj u8 1784
PrgrIsp f64x4 1785
dKran_TimeOP f64 10357
dKran_Time1 f64 10365
dKran_Time2 f64 10373
iEZD_Diapazon i32 10381
bSize_VolumeInt u8 10405
iReper_Index i32 10414
bPrn_ChromTitle u8 10418
bPrn_Device u8 10419
bPrn_Operator u8 10420
bPrn_Comment u8 10421
bPrn_Control u8 10422
bPrn_Temps u8 10423
bPrn_Gases u8 10424
bPrn_Split u8 10425
bPrn_Sample u8 10426
bPrn_Column u8 10427
bPrn_Processing u8 10428
bPrn_Picture u8 10429
bPrn_Peaks u8 10446
bDet_PrintFlag u8x10 10447
bPrn_Groups u8 10457
bPrn_Ident u8 10458
bPrn_AddCalc u8 10459
bPrn_PictureWhole u8 10460
dContr_TempC0 f64 10461
dContr_PressC01 f64 10469
szMeth_DetName6A s6x10 10615
dContr_PressC02 f64 10675
bMeth_Col2PressProg u8 10683
PrgrPress2 f64x4 10684
bPrn_CompStat u8 10978
dDRP_TempProba f64 11263
dDRP_TempKran f64 11271
iDRP_TimeGazOut i32 11283
iDRP_NumAnal i32 11287
dDRP_Volume f64 11291
dDRP_TimeGazIn f64 11303
bHT_PreWash u8 11312
bHT300_TypePreWash u8 11313
bHT300_SolventPreWash u8 11314
dHT300_VolumePreWash f64 11315
bHT300_NumPreWash u8 11323
bHT_PostWash u8 11324
bHT300_TypePostWash u8 11325
bHT300_SolventPostWash u8 11326
dHT300_VolumePostWash f64 11327
bHT300_NumPostWash u8 11335
bHT_SampleWash u8 11336
dHT300_VolumeSampleWash f64 11337
bHT300_NumSampleWash u8 11345
dHT300_Volume f64 11346
dHT300_VolumeAir f64 11354
bHT300_TimeViscosity u8 11362
bHT300_NumSroke u8 11363
iHT300_SpeedOut i32 11364
iHT300_SpeedIn i32 11368
bHT300_TimeWaitPre u8 11372
bHT300_TimeWaitPost u8 11373
bHT_IntStd u8 11374
dHT300_VolumeIntStandart f64 11375
bHT300_NumIntStandart u8 11383
bHT300_TypeIntAirGap u8 11384
dHT300_VolumeAirGap f64 11385
bHT300_TypeInjector u8 11393
bHT300_TypeInjection u8 11394
bHT300_FirstVial u8 11395
bHT300_LastVial u8 11396
bHT300_NumOneVialSeries u8 11397
bHT300_Vial u8 11398
dContrQsl_TempD1 f64 11448
dContrQsl_TempD2 f64 11456
dContrQsl_TempD3 f64 11464
dContrQsl_TempI1 f64 11472
dContrQsl_TempI2 f64 11480
szMeth_SlotName11 s6x3 11488
bQsl_TempDetOn u8x3 11509
bMeth_OwnDetNames u8 11898
bMeth_OwnDetCount u8 11899
szMeth_DetName6B s6x10 11903
dContrDx8_TempI1 f64 11934
dContrDx8_TempI2 f64 11942
dContrDx8_TempPK f64 11950
szMeth_SlotName8 s6x3 11958
cSample_Prefix s3 11980
)";

const char kPeak[] = R"(
iPeak_StartPoint i32 0
wPeak_Flags u16 20
fPeak_Time f32 42
fPeak_Area f32 46
fPeak_Height f32 50
fPeak_RelVolume f32 58
fPeak_HeightPct f32 62
fPeak_AreaPct f32 66
iPeak_Comp i32 70
fPeak_Index f32 74
wPeak_Group u16x5 117
)";

const char kIdent[] = R"(
fIdent_Conc f32x3 0
bIdent_PeakList u8 20
iIdent_Peak i32 21
iIdent_Comp i32 25
bIdent_Flag u8 28
)";

const char kGroupRes[] = R"(
fGroupRes_Conc f32x3 0
fGroupRes_Area f32 12
fGroupRes_Height f32 16
bGroupRes_PeakList u8 20
iGroupRes_Group i32 25
bGroupRes_Flag u8 28
)";

const char kCompStat[] = R"(
fStat_Average f32x3 0
fStat_SKO f32x3 12
fStat_AbsErr f32x3 24
fStat_RelErr f32x3 36
)";

const char kJournal[] = R"(
iJourn_Time i32 0
szJourn_Event s61 4
bJourn_Kind u8 65
)";

const char kGraph[] = R"(
bGraph_End u8 0
szGraph_Title s161 1
szGraph_BottomTitle s81 162
szGraph_LeftTitle s81 243
bGraph_TitleOn u8 324
bGraph_BottomTitleOn u8 325
bGraph_LeftTitleOn u8 326
dGraph_BottomMin f64 327
dGraph_BottomMax f64 335
dGraph_BottomStep f64 343
dGraph_LeftMin f64 351
dGraph_LeftMax f64 359
dGraph_LeftStep f64 367
bGraph_ValueFormat u8 375
bGraph_FromOrigin u8 377
bGraph_Labels u8 378
bGraph_Grid u8 379
bGraph_Markers u8 380
bGraph_AllPoints u8 381
iGraph_PointCount i32 382
)";

const char kGraphPoint[] = R"(
dGraph_X f64 0
dGraph_Y f64 8
)";

const char kComp[] = R"(
szComp_Name s51 1
dComp_Time f64 52
dComp_RelatV f64 60
dComp_Index f64 68
dComp_Tkip f64 76
dRTime_DTM f64 84
dVRelat_DTM f64 92
dIndex_DTM f64 100
bComp_Base u8 116
bComp_Main u8 117
bComp_Reper u8 118
bComp_IntStd u8 119
bComp_DetOn u8x10 120
bComp_MainD u8 130
dComp_Molekula f64 131
dComp_Density f64 139
bSize_Density u8 147
dComp_MassCoef f64 148
dComp_PressPar f64 156
dMin_Concen f64 164
dMax_Concen f64 172
dDensity_Gaz f64x21 180
dComp_RelDensity20 f64 348
dComp_RelDensity0 f64 356
dDjoul_T20max f64 364
dDjoul_T20maxcalor f64 372
dDjoul_T20min f64 380
dDjoul_T20mincalor f64 388
dDjoul_T0max f64 396
dDjoul_T0maxcalor f64 404
dDjoul_T0min f64 412
dDjoul_T0mincalor f64 420
dSqrtB20 f64 428
dSqrtB0 f64 436
iGroup_Num i32x5 444
dComp_Fug45 f64x8 465
dComp_FugM20 f64x8 529
dComp_FugM35 f64x8 593
dComp_FugM40 f64x8 657
)";

const char kGroup[] = R"(
szGroup_Name s51 1
dGroup_TimeBeg f64 52
dGroup_TimeEnd f64 60
dGroup_Tkip f64 68
bGroup_Base u8 76
bGroup_DetOn u8x10 77
dGroup_Molekula f64 87
dGroup_Density f64 95
bSize_Density u8 103
dGroup_MassCoef f64 104
dGroup_PressPar f64 112
dMin_Concen f64 120
dMax_Concen f64 128
dDensity_Gaz f64x21 136
dGroup_RelDensity20 f64 304
dGroup_RelDensity0 f64 312
dDjoul_T20max f64 320
dDjoul_T20maxcalor f64 328
dDjoul_T20min f64 336
dDjoul_T20mincalor f64 344
dDjoul_T0max f64 352
dDjoul_T0maxcalor f64 360
dDjoul_T0min f64 368
dDjoul_T0mincalor f64 376
dSqrtB20 f64 384
dSqrtB0 f64 392
dGroup_Octan f64 400
bGroup_MainD u8 408
dGroup_OctanMot f64 409
dGroup_Fug45 f64x8 417
dGroup_FugM20 f64x8 481
dGroup_FugM35 f64x8 545
dGroup_FugM40 f64x8 609
dGroup_Cetan f64 673
dGroup_IndexBeg f64 682
dGroup_IndexEnd f64 690
)";

const char kCalib[] = R"(
iCalib_PointCount i32 0
bCalib_Func u8 4
bCalib_UnitExt u8 5
sCalib_SKO f32x20 7
dCalib_CoefAdd2 f64 103
dCalib_CoefAdd1 f64 111
dCalib_CoefAdd3 f64 119
sCalib_K0 f32x20 137
sCalib_K1 f32x20 217
sCalib_K2 f32x20 297
sCalib_K3 f32x20 377
bCalib_UnitNorm u8 465
bCalib_UnitIntStd u8 786
dCalib_Const1 f64 1532
dCalib_Const3 f64 1540
)";

const char kCalibPoint[] = R"(
dPoint_Area f64x10 0
dPoint_Height f64x10 80
dPoint_Conc f64 160
dPoint_Volume f64 168
bPoint_Out u8 176
szPoint_Chrom s21 178
szPoint_Date s9 199
szPoint_Time s9 208
dPoint_Error f64x10 222
)";

const char kPrintSettings[] = R"(
iPrint_Version i32 0
bPrint_Column1Press u8 4
bPrint_Column2Press u8 5
bPrint_Gas4 u8 6
bChrgGasType u8x4 7
szNameFile s61 11
bFlag_Flame u8 72
iFlameTime i32 73
dFlameHyd f64 77
dFlameAir f64 85
bPrint_NoH2Air u8 93
bPrint_QslTempISP1 u8 94
bPrint_QslTempISP2 u8 95
bPeakCol_On u8x12 96
fPeakCol_Width f32x12 108
bPeakCol_Format u8x12 156
bIdentCol_On u8x10 168
fIdentCol_Width f32x10 178
bIdentCol_Format u8x10 218
bPrintUpravl u8 228
bPrintMethPassport u8 229
bPrintTemps u8 230
bPrintGas u8 231
bPrintIdentParams u8 232
bPrintIntegrEvents u8 233
bPrintCalcParams u8 234
bPrintDevices u8 235
bPrintSplit u8 236
bPrintEconomy u8 237
bPrintBlow u8 238
bPrintGradCoefs u8 239
bPrintGradGraph u8 240
bPrintGradPoints u8 242
bPrintMethComps u8 243
bPrintCompPassport u8 244
bPrintCompProps u8 245
bPrintCompGrad u8 246
bPrintCompExtra u8 247
bCompRangeOn u8 248
iCompFrom i32 249
iCompTo i32 253
bPrintMethGroups u8 257
bPrintGroupPassport u8 258
bPrintGroupProps u8 259
bPrintGroupGrad u8 260
bGroupRangeOn u8 261
iGroupFrom i32 262
iGroupTo i32 266
bExport_Format u8 270
szExport_File s261 271
bPrint_HeaderFile u8 532
bPrint_FooterFile u8 533
szHeaderFile s261 534
szFooterFile s261 795
bGroupCol_On u8x10 1056
fGroupCol_Width f32x10 1066
bGroupCol_Format u8x10 1106
iPrinter_Index i32 1116
bOrientation u8 1120
bCompStatCol_On u8x14 1122
fCompStatCol_Width f32x14 1136
bCompStatCol_Format u8x14 1192
bPrint_Mono u8 1206
bPrint_Journal u8 1207
fJournalCol_Width f32x4 1212
iPage_Fields i32 1232
wPage_Params i16x12 1238
bExport_Signal u8 1262
bIdent_ByComp u8 1263
bPrint_AddCalcGraphs u8 1264
)";

WireArea parse(const char* name, int size, const char* text) {
    WireArea area {QString::fromLatin1(name), size, {}};
    const QStringList lines = QString::fromLatin1(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList parts = line.split(QLatin1Char(' '));
        if (parts.size() != 3)
            throw std::logic_error("bad wire layout line: " + line.toStdString());
        QString type = parts[1];
        int count = 1;
        const qsizetype x = type.indexOf(QLatin1Char('x'));
        if (x > 0) {
            count = type.mid(x + 1).toInt();
            type = type.left(x);
        }
        WireField field {parts[0], WireType::U8, parts[2].toInt(), count, 1};
        if (type == QLatin1String("u8")) {
            field.type = WireType::U8;
        } else if (type == QLatin1String("c")) {
            field.type = WireType::Char;
        } else if (type == QLatin1String("u16") || type == QLatin1String("i16")) {
            field.type = type == QLatin1String("u16") ? WireType::U16 : WireType::I16;
            field.width = 2;
        } else if (type == QLatin1String("i32") || type == QLatin1String("f32")) {
            field.type = type == QLatin1String("i32") ? WireType::I32 : WireType::F32;
            field.width = 4;
        } else if (type == QLatin1String("f64")) {
            field.type = WireType::F64;
            field.width = 8;
        } else if (type.startsWith(QLatin1Char('s'))) {
            field.type = WireType::Text;
            field.width = type.mid(1).toInt();
        } else {
            throw std::logic_error("bad wire type: " + line.toStdString());
        }
        if (field.offset + field.count * field.width > size)
            throw std::logic_error("field past its record: " + line.toStdString());
        area.fields.push_back(field);
    }
    return area;
}

} // namespace

const WireField* WireArea::find(QStringView field) const {
    for (const WireField& f : fields)
        if (f.name == field)
            return &f;
    return nullptr;
}

const WireArea& wireArea(Area area) {
    static const std::array<WireArea, 14> kAreas = {
        parse("chromatogram", 8283, kChromHeader), parse("method", 11992, kMethodHeader),
        parse("peaks", 127, kPeak),                parse("ident", 29, kIdent),
        parse("groupResults", 29, kGroupRes),      parse("compStat", 72, kCompStat),
        parse("journal", 66, kJournal),            parse("graphs", 386, kGraph),
        parse("graphPoints", 16, kGraphPoint),     parse("components", 728, kComp),
        parse("groups", 702, kGroup),              parse("calib", 1548, kCalib),
        parse("points", 302, kCalibPoint),         parse("printSettings", 1265, kPrintSettings),
    };
    return kAreas[static_cast<std::size_t>(area)];
}

} // namespace host
