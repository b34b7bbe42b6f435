#pragma once
// The chromatogram header of a print job (block 1, from offset 0), kept as the host's bytes.

#include "TWire.h"

#include <array>

// Name, type and offset of every chromatogram header field the program reads.
#define TARVEX_CHROM_HEADER_FIELDS(F, FA, T, TA)                                                            \
    F(iChr_HeaderSize, std::int32_t, 15)                                                                    \
    F(iChr_PeakRecSize, std::int32_t, 19)                                                                   \
    F(iChr_IdentRecSize, std::int32_t, 23)                                                                  \
    F(iChr_GroupResRecSize, std::int32_t, 27)                                                               \
    F(iChr_CommentLen, std::int32_t, 31)                                                                    \
    F(bChr_TypeDevice, std::uint8_t, 35)                                                                    \
    F(bChrom_Num, std::uint8_t, 36)                                                                         \
    F(cChr_NamesMode, char, 37)                                                                             \
    F(bChr_ChannelCount, std::uint8_t, 79)                                                                  \
    F(dChr_AdcScale, double, 80)                                                                            \
    F(fChr_Rate, float, 88)                                                                                 \
    T(szFileMethod, 92, 260)                                                                                \
    T(szNameChrom, 370, 81)                                                                                 \
    T(szCol_Name1, 451, 66)                                                                                 \
    F(dCol_Leng1, double, 517)                                                                              \
    F(dCol_Diam1, double, 525)                                                                              \
    F(iNumProba, std::int32_t, 533)                                                                         \
    T(szChr_SampleName, 537, 244)                                                                           \
    T(szChromComment, 781, 366)                                                                             \
    T(szNameMan, 1147, 61)                                                                                  \
    T(szChr_AddCalcName, 1208, 260)                                                                         \
    F(dVolume, double, 1728)                                                                                \
    F(dExtract_Volume, double, 1736)                                                                        \
    F(dSample_Weight, double, 1744)                                                                         \
    F(dUndetectablePct, double, 1752)                                                                       \
    F(dAdd_RatioN2O2, double, 1780)                                                                         \
    F(dAdd_O2_N2, double, 1788)                                                                             \
    F(dAdd_H2S_CO2, double, 1796)                                                                           \
    F(dAdd_UnknownPct, double, 1804)                                                                        \
    F(dAdd_EthanolPct, double, 1812)                                                                        \
    F(dIS_Amount2, double, 1820)                                                                            \
    F(dIS_Amount, double, 1828)                                                                             \
    F(dPure_Amount, double, 1836)                                                                           \
    F(bChr_HasAddCalc, std::uint8_t, 1844)                                                                  \
    F(bExtract_On, std::uint8_t, 1845)                                                                      \
    F(iChr_MethodPartSize, std::int32_t, 1847)                                                              \
    FA(iChr_PeakLast, std::int32_t, 1851, 10)                                                               \
    F(iIdent_Last, std::int32_t, 1891)                                                                      \
    F(iGroupRes_Last, std::int32_t, 1895)                                                                   \
    FA(dPeakSum, double, 1899, 20) /* per peak list l: [2l] area sum, [2l+1] height sum */                 \
    F(iChr_PointCount, std::int32_t, 2059)                                                                  \
    F(dAdd_GasolineDensity, double, 2415)                                                                   \
    TA(szChr_DetName6, 2423, 6, 10)                                                                         \
    F(dChr_DateTime, double, 2484)                                                                          \
    F(bChr_HasStatChrom, std::uint8_t, 2492)                                                                \
    F(iChr_CompStatRecSize, std::int32_t, 2506)                                                             \
    F(bChr_HasCompStat, std::uint8_t, 2510)                                                                 \
    FA(dIdentSum, double, 2528, 5)                                                                          \
    F(iChr_JournalRecSize, std::int32_t, 2592)                                                              \
    F(iJournal_Count, std::int32_t, 2596)                                                                   \
    F(dAdd_OilDensity, double, 2600)                                                                        \
    FA(dAddCalc_Coef, double, 2709, 10)                                                                     \
    T(szConc_Name1, 2789, 61)                                                                               \
    T(szConc_Name2, 2850, 61)                                                                               \
    T(szConc_Name3, 2911, 61)                                                                               \
    F(iStatChrom_Count, std::uint8_t, 2972)                                                                 \
    TA(szStatChrom_Name, 2973, 55, 10)                                                                      \
    F(dBioCoef, double, 3523)                                                                               \
    F(bAddCalc_CoefPrint, std::uint8_t, 3537)                                                               \
    FA(bAddCalc_CoefOn, std::uint8_t, 3538, 10)                                                             \
    TA(szAddCalc_CoefName, 3548, 31, 10)                                                                    \
    F(bChr_NoEvapTemp, std::uint8_t, 3878)                                                                  \
    F(bChr_NoDetTemp, std::uint8_t, 3879)                                                                   \
    F(bType_Column1, std::uint8_t, 4083)                                                                    \
    T(szCol_Factory1, 4084, 21)                                                                             \
    T(szCol_AddName1, 4105, 66)                                                                             \
    F(bChr_ColumnMode, std::uint8_t, 8112)                                                                  \
    T(szCol_Name2, 8113, 66)                                                                                \
    F(dCol_Leng2, double, 8179)                                                                             \
    F(dCol_Diam2, double, 8187)                                                                             \
    T(szCol_Factory2, 8196, 21)                                                                             \
    T(szCol_AddName2, 8217, 66)

/**
 * The chromatogram header area of the print-job record: 8283 bytes in the host's layout,
 * read by field name. The decoders fill it; fields the program never names are carried along.
 */
class TChromHeaderArea {
public:
    static constexpr int kChromHeaderSize = 8283;

    TARVEX_CHROM_HEADER_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)

    /// dChr_ConcSum, dChr_HeightSum and dChr_AreaSum are elements 0, 3 and 4 of dIdentSum.
    double dChr_ConcSum() const { return dIdentSum(0); }
    double dChr_HeightSum() const { return dIdentSum(3); }
    double dChr_AreaSum() const { return dIdentSum(4); }

    static tarvex::wire::FieldList fields();
    const std::uint8_t* chromHeaderBytes() const { return chromHeader_.data(); }

protected:
    std::uint8_t* chromHeaderData() { return chromHeader_.data(); }

private:
    const std::uint8_t* fieldBase() const { return chromHeader_.data(); }
    std::array<std::uint8_t, kChromHeaderSize> chromHeader_ {};
};
