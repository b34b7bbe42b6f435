#pragma once
// The print settings of a job (block 10), copied whole and read by field name.

#include "TWire.h"

#include <vector>

#define TARVEX_PRINT_SETTINGS_FIELDS(F, FA, T, TA)                                                          \
    F(iPrint_Version, std::int32_t, 0)                                                                      \
    F(bPrint_Column1Press, std::uint8_t, 4)                                                                 \
    F(bPrint_Column2Press, std::uint8_t, 5)                                                                 \
    F(bPrint_Gas4, std::uint8_t, 6)                                                                         \
    FA(bChrgGasType, std::uint8_t, 7, 4)                                                                    \
    T(szNameFile, 11, 61)                                                                                   \
    F(bFlag_Flame, std::uint8_t, 72)                                                                        \
    F(iFlameTime, std::int32_t, 73)                                                                         \
    F(dFlameHyd, double, 77)                                                                                \
    F(dFlameAir, double, 85)                                                                                \
    F(bPrint_NoH2Air, std::uint8_t, 93)                                                                     \
    F(bPrint_QslTempISP1, std::uint8_t, 94)                                                                 \
    F(bPrint_QslTempISP2, std::uint8_t, 95)                                                                 \
    FA(bPeakCol_On, std::uint8_t, 96, 12)                                                                   \
    FA(fPeakCol_Width, float, 108, 12)                                                                      \
    FA(bPeakCol_Format, std::uint8_t, 156, 12)                                                              \
    FA(bIdentCol_On, std::uint8_t, 168, 10)                                                                 \
    FA(fIdentCol_Width, float, 178, 10)                                                                     \
    FA(bIdentCol_Format, std::uint8_t, 218, 10)                                                             \
    F(bPrintUpravl, std::uint8_t, 228)                                                                      \
    F(bPrintMethPassport, std::uint8_t, 229)                                                                \
    F(bPrintTemps, std::uint8_t, 230)                                                                       \
    F(bPrintGas, std::uint8_t, 231)                                                                         \
    F(bPrintIdentParams, std::uint8_t, 232)                                                                 \
    F(bPrintIntegrEvents, std::uint8_t, 233)                                                                \
    F(bPrintCalcParams, std::uint8_t, 234)                                                                  \
    F(bPrintDevices, std::uint8_t, 235)                                                                     \
    F(bPrintSplit, std::uint8_t, 236)                                                                       \
    F(bPrintEconomy, std::uint8_t, 237)                                                                     \
    F(bPrintBlow, std::uint8_t, 238)                                                                        \
    F(bPrintGradCoefs, std::uint8_t, 239)                                                                   \
    F(bPrintGradGraph, std::uint8_t, 240)                                                                   \
    F(bPrintGradPoints, std::uint8_t, 242)                                                                  \
    F(bPrintMethComps, std::uint8_t, 243)                                                                   \
    F(bPrintCompPassport, std::uint8_t, 244)                                                                \
    F(bPrintCompProps, std::uint8_t, 245)                                                                   \
    F(bPrintCompGrad, std::uint8_t, 246)                                                                    \
    F(bPrintCompExtra, std::uint8_t, 247)                                                                   \
    F(bCompRangeOn, std::uint8_t, 248)                                                                      \
    F(iCompFrom, std::int32_t, 249)                                                                         \
    F(iCompTo, std::int32_t, 253)                                                                           \
    F(bPrintMethGroups, std::uint8_t, 257)                                                                  \
    F(bPrintGroupPassport, std::uint8_t, 258)                                                               \
    F(bPrintGroupProps, std::uint8_t, 259)                                                                  \
    F(bPrintGroupGrad, std::uint8_t, 260)                                                                   \
    F(bGroupRangeOn, std::uint8_t, 261)                                                                     \
    F(iGroupFrom, std::int32_t, 262)                                                                        \
    F(iGroupTo, std::int32_t, 266)                                                                          \
    F(bExport_Format, std::uint8_t, 270)                                                                    \
    T(szExport_File, 271, 261)                                                                              \
    F(bPrint_HeaderFile, std::uint8_t, 532)                                                                 \
    F(bPrint_FooterFile, std::uint8_t, 533)                                                                 \
    T(szHeaderFile, 534, 261)                                                                               \
    T(szFooterFile, 795, 261)                                                                               \
    FA(bGroupCol_On, std::uint8_t, 1056, 10)                                                                \
    FA(fGroupCol_Width, float, 1066, 10)                                                                    \
    FA(bGroupCol_Format, std::uint8_t, 1106, 10)                                                            \
    F(iPrinter_Index, std::int32_t, 1116)                                                                   \
    F(bOrientation, std::uint8_t, 1120)                                                                     \
    FA(bCompStatCol_On, std::uint8_t, 1122, 14)                                                             \
    FA(fCompStatCol_Width, float, 1136, 14)                                                                 \
    FA(bCompStatCol_Format, std::uint8_t, 1192, 14)                                                         \
    F(bPrint_Mono, std::uint8_t, 1206)                                                                      \
    F(bPrint_Journal, std::uint8_t, 1207)                                                                   \
    FA(fJournalCol_Width, float, 1212, 4)                                                                   \
    F(iPage_Fields, std::int32_t, 1232)                                                                     \
    FA(wPage_Params, std::int16_t, 1238, 12)                                                                \
    F(bExport_Signal, std::uint8_t, 1262)                                                                   \
    F(bIdent_ByComp, std::uint8_t, 1263)                                                                    \
    F(bPrint_AddCalcGraphs, std::uint8_t, 1264)

/**
 * The print-settings block as the host sent it. Column arrays are 0-based here: column c of
 * the peak table (counted from 1) is bPeakCol_On(c - 1). A block shorter than the frame reads
 * the missing fields as zero; a longer one is kept whole.
 */
class TPrintSettings {
public:
    static constexpr int kFrameSize = 1265;

    TPrintSettings();
    /// Copies `size` bytes of the block.
    void assign(const std::uint8_t* data, std::size_t size);
    /// The number of bytes the host sent.
    std::size_t size() const { return size_; }
    const std::uint8_t* bytes() const { return bytes_.data(); }

    TARVEX_PRINT_SETTINGS_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();

private:
    const std::uint8_t* fieldBase() const { return bytes_.data(); }
    std::vector<std::uint8_t> bytes_; // at least the frame, zero-padded
    std::size_t size_ = 0;
};
