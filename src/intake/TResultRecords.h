#pragma once
// Views of the chromatogram's result records: peaks, identification, group results, component
// statistics, journal, additional-calculation graphs and their points.

#include "TRecordTable.h"
#include "TWire.h"

#define TARVEX_PEAK_FIELDS(F, FA, T, TA)                                                                    \
    F(iPeak_StartPoint, std::int32_t, 0)                                                                    \
    F(wPeak_Flags, std::uint16_t, 20)                                                                       \
    F(fPeak_Time, float, 42)                                                                                \
    F(fPeak_Area, float, 46)                                                                                \
    F(fPeak_Height, float, 50)                                                                              \
    F(fPeak_RelVolume, float, 58)                                                                           \
    F(fPeak_HeightPct, float, 62)                                                                           \
    F(fPeak_AreaPct, float, 66)                                                                             \
    F(iPeak_Comp, std::int32_t, 70)                                                                         \
    F(fPeak_Index, float, 74)                                                                               \
    FA(wPeak_Group, std::uint16_t, 117, 5)

/// One peak (PeakRec, 127 bytes).
class TPeakRec : public TRecordView<127> {
public:
    using TRecordView::TRecordView;
    TARVEX_PEAK_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_IDENT_FIELDS(F, FA, T, TA)                                                                   \
    FA(fIdent_Conc, float, 0, 3)                                                                            \
    F(bIdent_PeakList, std::uint8_t, 20)                                                                    \
    F(iIdent_Peak, std::int32_t, 21)                                                                        \
    F(iIdent_Comp, std::int32_t, 25)                                                                        \
    F(bIdent_Flag, std::uint8_t, 28)

/// One identification record (IdentRec, 29 bytes): concentrations 1 to 3 are fIdent_Conc(0..2);
/// iIdent_Peak counts within the peak list bIdent_PeakList.
class TIdentRec : public TRecordView<29> {
public:
    using TRecordView::TRecordView;
    TARVEX_IDENT_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_GROUP_RES_FIELDS(F, FA, T, TA)                                                               \
    FA(fGroupRes_Conc, float, 0, 3)                                                                         \
    F(fGroupRes_Area, float, 12)                                                                            \
    F(fGroupRes_Height, float, 16)                                                                          \
    F(bGroupRes_PeakList, std::uint8_t, 20)                                                                 \
    F(iGroupRes_Group, std::int32_t, 25)                                                                    \
    F(bGroupRes_Flag, std::uint8_t, 28)

/// One group result (GroupResRec, 29 bytes).
class TGroupResRec : public TRecordView<29> {
public:
    using TRecordView::TRecordView;
    TARVEX_GROUP_RES_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_COMP_STAT_FIELDS(F, FA, T, TA)                                                               \
    FA(fStat_Average, float, 0, 3)                                                                          \
    FA(fStat_SKO, float, 12, 3)                                                                             \
    FA(fStat_AbsErr, float, 24, 3)                                                                          \
    FA(fStat_RelErr, float, 36, 3)

/// Statistics of one identified component over a series (CompStatRec, 72 bytes); element k of
/// each array belongs to concentration k + 1.
class TCompStatRec : public TRecordView<72> {
public:
    using TRecordView::TRecordView;
    TARVEX_COMP_STAT_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_JOURNAL_FIELDS(F, FA, T, TA)                                                                 \
    F(iJourn_Time, std::int32_t, 0)                                                                         \
    T(szJourn_Event, 4, 61)                                                                                 \
    F(bJourn_Kind, std::uint8_t, 65)

/// One event of the run's journal (JournalRec, 66 bytes): time in seconds, text, and the kind
/// of switching (1 on, 2 off).
class TJournalRec : public TRecordView<66> {
public:
    using TRecordView::TRecordView;
    TARVEX_JOURNAL_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_GRAPH_FIELDS(F, FA, T, TA)                                                                   \
    F(bGraph_End, std::uint8_t, 0)                                                                          \
    T(szGraph_Title, 1, 161)                                                                                \
    T(szGraph_BottomTitle, 162, 81)                                                                         \
    T(szGraph_LeftTitle, 243, 81)                                                                           \
    F(bGraph_TitleOn, std::uint8_t, 324)                                                                    \
    F(bGraph_BottomTitleOn, std::uint8_t, 325)                                                              \
    F(bGraph_LeftTitleOn, std::uint8_t, 326)                                                                \
    F(dGraph_BottomMin, double, 327)                                                                        \
    F(dGraph_BottomMax, double, 335)                                                                        \
    F(dGraph_BottomStep, double, 343)                                                                       \
    F(dGraph_LeftMin, double, 351)                                                                          \
    F(dGraph_LeftMax, double, 359)                                                                          \
    F(dGraph_LeftStep, double, 367)                                                                         \
    F(bGraph_ValueFormat, std::uint8_t, 375)                                                                \
    F(bGraph_FromOrigin, std::uint8_t, 377)                                                                 \
    F(bGraph_Labels, std::uint8_t, 378)                                                                     \
    F(bGraph_Grid, std::uint8_t, 379)                                                                       \
    F(bGraph_Markers, std::uint8_t, 380)                                                                    \
    F(bGraph_AllPoints, std::uint8_t, 381)                                                                  \
    F(iGraph_PointCount, std::int32_t, 382)

/// One additional-calculation graph (AddCalcGraph, 386 bytes); bGraph_End is set on the last.
class TAddCalcGraph : public TRecordView<386> {
public:
    using TRecordView::TRecordView;
    TARVEX_GRAPH_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};

#define TARVEX_GRAPH_POINT_FIELDS(F, FA, T, TA)                                                             \
    F(dGraph_X, double, 0)                                                                                  \
    F(dGraph_Y, double, 8)

/// One point of a graph (AddCalcGraphPoint, 16 bytes).
class TAddCalcPoint : public TRecordView<16> {
public:
    using TRecordView::TRecordView;
    TARVEX_GRAPH_POINT_FIELDS(TARVEX_GET_F, TARVEX_GET_FA, TARVEX_GET_T, TARVEX_GET_TA)
    static tarvex::wire::FieldList fields();
};
