#pragma once
// Views of the method's records: component and group part A, the calibration part B that both
// share, and the calibration points.

#include "TRecordTable.h"
#include "TWire.h"

#define TARVEX_COMP_FIELDS(F, FA, T, TA)                                                                    \
    T(szComp_Name, 1, 51)                                                                                   \
    F(dComp_Time, double, 52)                                                                               \
    F(dComp_RelatV, double, 60)                                                                             \
    F(dComp_Index, double, 68)                                                                              \
    F(dComp_Tkip, double, 76)                                                                               \
    F(dRTime_DTM, double, 84)                                                                               \
    F(dVRelat_DTM, double, 92)                                                                              \
    F(dIndex_DTM, double, 100)                                                                              \
    F(bComp_Base, std::uint8_t, 116)                                                                        \
    F(bComp_Main, std::uint8_t, 117)                                                                        \
    F(bComp_Reper, std::uint8_t, 118)                                                                       \
    F(bComp_IntStd, std::uint8_t, 119)                                                                      \
    FA(bComp_DetOn, std::uint8_t, 120, 10)                                                                  \
    F(bComp_MainD, std::uint8_t, 130)                                                                       \
    F(dComp_Molekula, double, 131)                                                                          \
    F(dComp_Density, double, 139)                                                                           \
    F(bSize_Density, std::uint8_t, 147)                                                                     \
    F(dComp_MassCoef, double, 148)                                                                          \
    F(dComp_PressPar, double, 156)                                                                          \
    F(dMin_Concen, double, 164)                                                                             \
    F(dMax_Concen, double, 172)                                                                             \
    FA(dDensity_Gaz, double, 180, 21)                                                                       \
    F(dComp_RelDensity20, double, 348)                                                                      \
    F(dComp_RelDensity0, double, 356)                                                                       \
    F(dDjoul_T20max, double, 364)                                                                           \
    F(dDjoul_T20maxcalor, double, 372)                                                                      \
    F(dDjoul_T20min, double, 380)                                                                           \
    F(dDjoul_T20mincalor, double, 388)                                                                      \
    F(dDjoul_T0max, double, 396)                                                                            \
    F(dDjoul_T0maxcalor, double, 404)                                                                       \
    F(dDjoul_T0min, double, 412)                                                                            \
    F(dDjoul_T0mincalor, double, 420)                                                                       \
    F(dSqrtB20, double, 428)                                                                                \
    F(dSqrtB0, double, 436)                                                                                 \
    FA(iGroup_Num, std::int32_t, 444, 5)                                                                    \
    FA(dComp_Fug45, double, 465, 8)                                                                         \
    FA(dComp_FugM20, double, 529, 8)                                                                        \
    FA(dComp_FugM35, double, 593, 8)                                                                        \
    FA(dComp_FugM40, double, 657, 8)

/// Part A of a method component (CompRec, 728 bytes).
class TCompRec : public TRecordView<728> {
public:
    using TRecordView::TRecordView;
    TARVEX_COMP_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_GROUP_FIELDS(F, FA, T, TA)                                                                   \
    T(szGroup_Name, 1, 51)                                                                                  \
    F(dGroup_TimeBeg, double, 52)                                                                           \
    F(dGroup_TimeEnd, double, 60)                                                                           \
    F(dGroup_Tkip, double, 68)                                                                              \
    F(bGroup_Base, std::uint8_t, 76)                                                                        \
    FA(bGroup_DetOn, std::uint8_t, 77, 10)                                                                  \
    F(dGroup_Molekula, double, 87)                                                                          \
    F(dGroup_Density, double, 95)                                                                           \
    F(bSize_Density, std::uint8_t, 103)                                                                     \
    F(dGroup_MassCoef, double, 104)                                                                         \
    F(dGroup_PressPar, double, 112)                                                                         \
    F(dMin_Concen, double, 120)                                                                             \
    F(dMax_Concen, double, 128)                                                                             \
    FA(dDensity_Gaz, double, 136, 21)                                                                       \
    F(dGroup_RelDensity20, double, 304)                                                                     \
    F(dGroup_RelDensity0, double, 312)                                                                      \
    F(dDjoul_T20max, double, 320)                                                                           \
    F(dDjoul_T20maxcalor, double, 328)                                                                      \
    F(dDjoul_T20min, double, 336)                                                                           \
    F(dDjoul_T20mincalor, double, 344)                                                                      \
    F(dDjoul_T0max, double, 352)                                                                            \
    F(dDjoul_T0maxcalor, double, 360)                                                                       \
    F(dDjoul_T0min, double, 368)                                                                            \
    F(dDjoul_T0mincalor, double, 376)                                                                       \
    F(dSqrtB20, double, 384)                                                                                \
    F(dSqrtB0, double, 392)                                                                                 \
    F(dGroup_Octan, double, 400)                                                                            \
    F(bGroup_MainD, std::uint8_t, 408)                                                                      \
    F(dGroup_OctanMot, double, 409)                                                                         \
    FA(dGroup_Fug45, double, 417, 8)                                                                        \
    FA(dGroup_FugM20, double, 481, 8)                                                                       \
    FA(dGroup_FugM35, double, 545, 8)                                                                       \
    FA(dGroup_FugM40, double, 609, 8)                                                                       \
    F(dGroup_Cetan, double, 673)                                                                            \
    F(dGroup_IndexBeg, double, 682)                                                                         \
    F(dGroup_IndexEnd, double, 690)

/// Part A of a method group (GroupRec, 702 bytes).
class TGroupRec : public TRecordView<702> {
public:
    using TRecordView::TRecordView;
    TARVEX_GROUP_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_CALIB_FIELDS(F, FA, T, TA)                                                                   \
    F(iCalib_PointCount, std::int32_t, 0)                                                                   \
    F(bCalib_Func, std::uint8_t, 4)                                                                         \
    F(bCalib_UnitExt, std::uint8_t, 5)                                                                      \
    FA(sCalib_SKO, float, 7, 20)                                                                            \
    F(dCalib_CoefAdd2, double, 103)                                                                         \
    F(dCalib_CoefAdd1, double, 111)                                                                         \
    F(dCalib_CoefAdd3, double, 119)                                                                         \
    FA(sCalib_K0, float, 137, 20)                                                                           \
    FA(sCalib_K1, float, 217, 20)                                                                           \
    FA(sCalib_K2, float, 297, 20)                                                                           \
    FA(sCalib_K3, float, 377, 20)                                                                           \
    F(bCalib_UnitNorm, std::uint8_t, 465)                                                                   \
    F(bCalib_UnitIntStd, std::uint8_t, 786)                                                                 \
    F(dCalib_Const1, double, 1532)                                                                          \
    F(dCalib_Const3, double, 1540)

/// Part B of a component or group (CompCalib, GroupCalib; 1548 bytes). The per-detector arrays
/// hold detector d, base b (0 area, 1 height) at index 2d + b. After decoding,
/// iCalib_PointCount is the number of points the record holds.
class TCalibRec : public TRecordView<1548> {
public:
    using TRecordView::TRecordView;
    TARVEX_CALIB_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_CALIB_POINT_FIELDS(F, FA, T, TA)                                                             \
    FA(dPoint_Area, double, 0, 10)                                                                          \
    FA(dPoint_Height, double, 80, 10)                                                                       \
    F(dPoint_Conc, double, 160)                                                                             \
    F(dPoint_Volume, double, 168)                                                                           \
    F(bPoint_Out, std::uint8_t, 176)                                                                        \
    T(szPoint_Chrom, 178, 21)                                                                               \
    T(szPoint_Date, 199, 9)                                                                                 \
    T(szPoint_Time, 208, 9)                                                                                 \
    FA(dPoint_Error, double, 222, 10)

/// One calibration point of a component or group (302 bytes).
class TCalibPoint : public TRecordView<302> {
public:
    using TRecordView::TRecordView;
    TARVEX_CALIB_POINT_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};
