#pragma once
// The method header of a print job (block 2, or the method embedded in block 1).

#include "TWire.h"

#include <array>

// Framing, detector set and acquisition conditions: name, type and offset of each field.
#define TARVEX_METHOD_FRAME_FIELDS(F, FA, T, TA)                                                            \
    F(iMeth_HeaderSize, std::int32_t, 15)                                                                   \
    F(iMeth_CompRecSize, std::int32_t, 19)                                                                  \
    F(iMeth_GroupRecSize, std::int32_t, 23)                                                                 \
    F(iMeth_CompCalibSize, std::int32_t, 27)                                                                \
    F(iMeth_GroupCalibSize, std::int32_t, 31)                                                               \
    F(iMeth_CompItemSize, std::int32_t, 35)                                                                 \
    F(iMeth_GroupItemSize, std::int32_t, 39)                                                                \
    F(bType_Device, std::uint8_t, 43)                                                                       \
    F(bType_MultiDet, std::uint8_t, 44)                                                                     \
    F(bMeth_SlotCount, std::uint8_t, 45)                                                                    \
    FA(bMeth_DetOn, std::uint8_t, 46, 10)                                                                   \
    FA(bMeth_DetPeakList, std::uint8_t, 56, 10)                                                             \
    F(iMax_Comp, std::int32_t, 87)                                                                          \
    F(iMax_Group, std::int32_t, 91)                                                                         \
    T(szNameMethod, 95, 71)                                                                                 \
    T(szMeth_Comment, 166, 497)                                                                             \
    F(bNum_Col, std::uint8_t, 663)                                                                          \
    F(bSize_Volume, std::uint8_t, 664)                                                                      \
    F(bSize_Conc, std::uint8_t, 665)                                                                        \
    F(bIS_QuantityKind, std::uint8_t, 666)                                                                  \
    F(dContr_Times, double, 667)                                                                            \
    F(dContr_TempD, double, 675)                                                                            \
    F(dContr_TempI, double, 683)                                                                            \
    F(bMeth_ColTempProg, std::uint8_t, 691)                                                                 \
    FA(PrgrColumnTemp, double, 692, 5)                                                                      \
    FA(PrgrColumnTime, double, 732, 4)                                                                      \
    FA(PrgrColumnSpeed, double, 764, 4)                                                                     \
    F(ChrgGas1, double, 796)                                                                                \
    F(ChrgGas2, double, 804)                                                                                \
    F(ChrgGas3, double, 812)                                                                                \
    F(ChrgGas4, double, 820)                                                                                \
    F(ChrgAir, double, 828)                                                                                 \
    F(ChrgH2, double, 836)                                                                                  \
    F(bSpr_IDTP1, std::uint8_t, 848)                                                                        \
    F(bSpr_IDTP2, std::uint8_t, 849)                                                                        \
    F(bMeth_Col1PressProg, std::uint8_t, 850)                                                               \
    FA(PrgrPress1, double, 851, 4)                                                                          \
    F(bMeth_BlowOn, std::uint8_t, 883)                                                                      \
    F(ProduvkaTime, double, 884)                                                                            \
    F(ProduvkaColumnTemp, double, 892)                                                                      \
    F(ProduvkaChrgGas1, double, 900)                                                                        \
    F(ProduvkaChrgGas2, double, 908)                                                                        \
    F(ProduvkaChrgGas3, double, 916)                                                                        \
    F(ProduvkaChrgGas4, double, 924)                                                                        \
    F(ProduvkadBlow_Press, double, 932)                                                                     \
    F(bMeth_EconomyOn, std::uint8_t, 940)                                                                   \
    F(EconomiaTimeVcl, std::int32_t, 941)                                                                   \
    F(EconomiaChrgGas1, double, 945)                                                                        \
    F(EconomiaChrgGas2, double, 953)                                                                        \
    F(EconomiaChrgGas3, double, 961)                                                                        \
    F(EconomiaChrgGas4, double, 969)                                                                        \
    F(bMeth_SplitOn, std::uint8_t, 977)                                                                     \
    F(SplitChrgGas1, double, 978)                                                                           \
    F(SplitChrgGas2, double, 986)                                                                           \
    F(SplitChrgGas3, double, 994)                                                                           \
    F(SplitChrgGas4, double, 1002)                                                                          \
    F(SplitDelay, double, 1010)                                                                             \
    F(bMeth_CalcMethod, std::uint8_t, 1018)                                                                 \
    F(bMeth_AddCalc, std::uint8_t, 1019)                                                                    \
    F(bMeth_IdentMode, std::uint8_t, 1020)                                                                  \
    F(bIdent_Peak, std::uint8_t, 1021)                                                                      \
    F(bIdent_ReperPeak, std::uint8_t, 1022)                                                                 \
    F(bType_Index, std::uint8_t, 1023)                                                                      \
    F(bType_ProcIndex, std::uint8_t, 1024)                                                                  \
    F(bMeth_IndexKind, std::uint8_t, 1025)                                                                  \
    F(dProc_TimeNoSorb, double, 1026)                                                                       \
    F(bProc_All, std::uint8_t, 1034)                                                                        \
    F(iExtDevices, std::int32_t, 1755)                                                                      \
    F(dSampl_VolumeG, double, 1759)                                                                         \
    F(bSampl_NumInjG, std::uint8_t, 1767)                                                                   \
    F(bSampl_TimeInG, std::uint8_t, 1768)                                                                   \
    F(dSampl_VolumeW, double, 1769)                                                                         \
    F(bSampl_NFirst, std::uint8_t, 1777)                                                                    \
    F(bSampl_NLast, std::uint8_t, 1778)                                                                     \
    F(bSampl_NInject, std::uint8_t, 1779)                                                                   \
    F(bSampl_NumPump, std::uint8_t, 1780)                                                                   \
    F(bSampl_SpeedIn, std::uint8_t, 1781)                                                                   \
    F(bSampl_SpeedOut, std::uint8_t, 1782)                                                                  \
    F(bSampl_TimWash, std::uint8_t, 1783)                                                                   \
    F(bSampl_TimInj, std::uint8_t, 1784)                                                                    \
    FA(PrgrIsp, double, 1785, 4)

// Valves, print switches, detector names and the autosampler: name, type and offset.
#define TARVEX_METHOD_TAIL_FIELDS(F, FA, T, TA)                                                             \
    F(dKran_TimeOP, double, 10357)                                                                          \
    F(dKran_Time1, double, 10365)                                                                           \
    F(dKran_Time2, double, 10373)                                                                           \
    F(iEZD_Diapazon, std::int32_t, 10381)                                                                   \
    F(bSize_VolumeInt, std::uint8_t, 10405)                                                                 \
    F(iReper_Index, std::int32_t, 10414)                                                                    \
    F(bPrn_ChromTitle, std::uint8_t, 10418)                                                                 \
    F(bPrn_Device, std::uint8_t, 10419)                                                                     \
    F(bPrn_Operator, std::uint8_t, 10420)                                                                   \
    F(bPrn_Comment, std::uint8_t, 10421)                                                                    \
    F(bPrn_Control, std::uint8_t, 10422)                                                                    \
    F(bPrn_Temps, std::uint8_t, 10423)                                                                      \
    F(bPrn_Gases, std::uint8_t, 10424)                                                                      \
    F(bPrn_Split, std::uint8_t, 10425)                                                                      \
    F(bPrn_Sample, std::uint8_t, 10426)                                                                     \
    F(bPrn_Column, std::uint8_t, 10427)                                                                     \
    F(bPrn_Processing, std::uint8_t, 10428)                                                                 \
    F(bPrn_Picture, std::uint8_t, 10429)                                                                    \
    F(bPrn_Peaks, std::uint8_t, 10446)                                                                      \
    FA(bDet_PrintFlag, std::uint8_t, 10447, 10)                                                             \
    F(bPrn_Groups, std::uint8_t, 10457)                                                                     \
    F(bPrn_Ident, std::uint8_t, 10458)                                                                      \
    F(bPrn_AddCalc, std::uint8_t, 10459)                                                                    \
    F(bPrn_PictureWhole, std::uint8_t, 10460)                                                               \
    F(dContr_TempC0, double, 10461)                                                                         \
    F(dContr_PressC01, double, 10469)                                                                       \
    TA(szMeth_DetName6A, 10615, 6, 10)                                                                      \
    F(dContr_PressC02, double, 10675)                                                                       \
    F(bMeth_Col2PressProg, std::uint8_t, 10683)                                                             \
    FA(PrgrPress2, double, 10684, 4)                                                                        \
    F(bPrn_CompStat, std::uint8_t, 10978)                                                                   \
    F(dDRP_TempProba, double, 11263)                                                                        \
    F(dDRP_TempKran, double, 11271)                                                                         \
    F(iDRP_TimeGazOut, std::int32_t, 11283)                                                                 \
    F(iDRP_NumAnal, std::int32_t, 11287)                                                                    \
    F(dDRP_Volume, double, 11291)                                                                           \
    F(dDRP_TimeGazIn, double, 11303)                                                                        \
    F(bHT_PreWash, std::uint8_t, 11312)                                                                     \
    F(bHT300_TypePreWash, std::uint8_t, 11313)                                                              \
    F(bHT300_SolventPreWash, std::uint8_t, 11314)                                                           \
    F(dHT300_VolumePreWash, double, 11315)                                                                  \
    F(bHT300_NumPreWash, std::uint8_t, 11323)                                                               \
    F(bHT_PostWash, std::uint8_t, 11324)                                                                    \
    F(bHT300_TypePostWash, std::uint8_t, 11325)                                                             \
    F(bHT300_SolventPostWash, std::uint8_t, 11326)                                                          \
    F(dHT300_VolumePostWash, double, 11327)                                                                 \
    F(bHT300_NumPostWash, std::uint8_t, 11335)                                                              \
    F(bHT_SampleWash, std::uint8_t, 11336)                                                                  \
    F(dHT300_VolumeSampleWash, double, 11337)                                                               \
    F(bHT300_NumSampleWash, std::uint8_t, 11345)                                                            \
    F(dHT300_Volume, double, 11346)                                                                         \
    F(dHT300_VolumeAir, double, 11354)                                                                      \
    F(bHT300_TimeViscosity, std::uint8_t, 11362)                                                            \
    F(bHT300_NumSroke, std::uint8_t, 11363)                                                                 \
    F(iHT300_SpeedOut, std::int32_t, 11364)                                                                 \
    F(iHT300_SpeedIn, std::int32_t, 11368)                                                                  \
    F(bHT300_TimeWaitPre, std::uint8_t, 11372)                                                              \
    F(bHT300_TimeWaitPost, std::uint8_t, 11373)                                                             \
    F(bHT_IntStd, std::uint8_t, 11374)                                                                      \
    F(dHT300_VolumeIntStandart, double, 11375)                                                              \
    F(bHT300_NumIntStandart, std::uint8_t, 11383)                                                           \
    F(bHT300_TypeIntAirGap, std::uint8_t, 11384)                                                            \
    F(dHT300_VolumeAirGap, double, 11385)                                                                   \
    F(bHT300_TypeInjector, std::uint8_t, 11393)                                                             \
    F(bHT300_TypeInjection, std::uint8_t, 11394)                                                            \
    F(bHT300_FirstVial, std::uint8_t, 11395)                                                                \
    F(bHT300_LastVial, std::uint8_t, 11396)                                                                 \
    F(bHT300_NumOneVialSeries, std::uint8_t, 11397)                                                         \
    F(bHT300_Vial, std::uint8_t, 11398)                                                                     \
    F(dContrQsl_TempD1, double, 11448)                                                                      \
    F(dContrQsl_TempD2, double, 11456)                                                                      \
    F(dContrQsl_TempD3, double, 11464)                                                                      \
    F(dContrQsl_TempI1, double, 11472)                                                                      \
    F(dContrQsl_TempI2, double, 11480)                                                                      \
    TA(szMeth_SlotName11, 11488, 6, 3)                                                                      \
    FA(bQsl_TempDetOn, std::uint8_t, 11509, 3)                                                              \
    F(bMeth_OwnDetNames, std::uint8_t, 11898)                                                               \
    F(bMeth_OwnDetCount, std::uint8_t, 11899)                                                               \
    TA(szMeth_DetName6B, 11903, 6, 10)                                                                      \
    F(dContrDx8_TempI1, double, 11934)                                                                      \
    F(dContrDx8_TempI2, double, 11942)                                                                      \
    F(dContrDx8_TempPK, double, 11950)                                                                      \
    TA(szMeth_SlotName8, 11958, 6, 3)                                                                       \
    T(cSample_Prefix, 11980, 3)

#define TARVEX_METHOD_HEADER_FIELDS(F, FA, T, TA)                                                           \
    TARVEX_METHOD_FRAME_FIELDS(F, FA, T, TA) TARVEX_METHOD_TAIL_FIELDS(F, FA, T, TA)

/**
 * The method header area of the print-job record: 11992 bytes in the host's layout, read by
 * field name. Zeroed when the record is created; filled by the method decoder.
 */
class TMethodHeaderArea {
public:
    static constexpr int kMethodHeaderSize = 11992;

    TARVEX_METHOD_HEADER_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)

    /// bHT_InjType is the injection type byte of the HT300 autosampler.
    std::uint8_t bHT_InjType() const { return bHT300_TypeInjection(); }

    static tarvex::wire::FieldList fields();
    const std::uint8_t* methodHeaderBytes() const { return methodHeader_.data(); }

protected:
    std::uint8_t* methodHeaderData() { return methodHeader_.data(); }

private:
    const std::uint8_t* fieldBase() const { return methodHeader_.data(); }
    std::array<std::uint8_t, kMethodHeaderSize> methodHeader_ {};
};
