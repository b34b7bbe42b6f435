#pragma once
// The print-job record: one analysis's chromatogram and method as the host sent them, with the
// detector table built from them, and the decoders that fill it from blocks 1 and 2.

#include "TChromHeaderArea.h"
#include "TMethodHeaderArea.h"
#include "TMethodRecords.h"
#include "TRecordTable.h"
#include "TResultRecords.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class TByteReader;
class TMemoryBuffer;

/// One detector of the job, built from the method's channels (not sent by the host).
struct TDetectorEntry {
    QString szDet_Name;
    std::int32_t iDet_Channel = 0;
    std::int32_t iDet_PeakList = 0;
    std::int32_t iDet_FirstPeak = 0;
    std::int32_t iDet_PeakCount = 0;
    std::uint8_t bDet_Print = 0;
    std::uint8_t bDet_On = 0;
};

/**
 * The print-job record module: one instance per run, created at start-up, filled by the
 * decoders, read by every report. Header fields are read by name on the record itself
 * (`rec.szNameChrom()`, `rec.iMax_Comp()`); records through views (`rec.PeakRec(p).fPeak_Time()`).
 * An index outside what the record holds gives a null view, whose fields read as zero.
 *
 * Counts from the host are not trusted: a count above a capacity is cut to the capacity (and
 * the record's own count field says how many it holds), and nothing is ever read outside the
 * block or allocated beyond what the block can fill.
 */
class TChromModule : public TChromHeaderArea, public TMethodHeaderArea {
public:
    static constexpr int kMaxChannels = 10;
    static constexpr int kMaxDetectors = 10;
    static constexpr int kMaxPeaks = 1000;
    static constexpr int kMaxIdent = 1000;
    static constexpr int kMaxGroupRes = 600;
    static constexpr int kMaxCompStat = 1000;
    static constexpr int kMaxJournal = 1001;
    static constexpr int kMaxComps = 1000;
    static constexpr int kMaxGroups = 600;
    static constexpr int kMaxCalibPoints = 100;
    static constexpr int kMaxGraphs = 100;
    static constexpr int kMaxGraphPoints = 1001;
    static constexpr int kMaxCommentChars = 15000;

    TChromModule();

    // Results of the chromatogram.
    TPeakRec PeakRec(int p) const { return TPeakRec(peaks_.record(p)); }
    TIdentRec IdentRec(int i) const { return TIdentRec(ident_.record(i)); }
    TGroupResRec GroupResRec(int i) const { return TGroupResRec(groupRes_.record(i)); }
    TCompStatRec CompStatRec(int i) const { return TCompStatRec(compStat_.record(i)); }
    TJournalRec JournalRec(int i) const { return TJournalRec(journal_.record(i)); }
    TAddCalcGraph AddCalcGraph(int g) const { return TAddCalcGraph(graphs_.record(g)); }
    TAddCalcPoint AddCalcGraphPoint(int g, int p) const;
    int iAddCalcGraph_Count() const { return graphCount_; }
    /// The free text (the additional-calculation table), at most 15000 characters.
    const QString& szChr_Comment() const { return comment_; }
    /// Samples of channel `c` (empty outside the channels read).
    std::span<const std::int32_t> SignalChannel(int c) const;

    // The method.
    TCompRec CompRec(int c) const { return TCompRec(comps_.record(c)); }
    TCalibRec CompCalib(int c) const { return TCalibRec(compCalib_.record(c)); }
    TCalibPoint CompPoint(int c, int p) const;
    TGroupRec GroupRec(int g) const { return TGroupRec(groups_.record(g)); }
    TCalibRec GroupCalib(int g) const { return TCalibRec(groupCalib_.record(g)); }
    TCalibPoint GroupPoint(int g, int p) const;

    // Detector table and counts.
    int iDet_Count() const { return detCount_; }
    /// Entry k of the detector table; an empty entry outside 0..iDet_Count()-1.
    const TDetectorEntry& DetectorEntry(int k) const;
    /// Channel slots the method describes (at most 10).
    int DetectorCount() const;
    int PeakCount() const;
    int PrintedPeakCount() const;
    int PeakCountOf(int k) const { return DetectorEntry(k).iDet_PeakCount; }

    // The few fields written outside the decoders.
    std::uint8_t bChr_HasAddCalcGraphs() const { return hasAddCalcGraphs_; }
    /// Copied from the print settings before block 1 is decoded: block 1 then holds graphs.
    void SetHasAddCalcGraphs(std::uint8_t on) { hasAddCalcGraphs_ = on; }
    /// The export driver's overrides of the method's picture switches.
    void SetPrn_Picture(std::uint8_t on);
    void SetPrn_PictureWhole(std::uint8_t on);

    // Decoders.
    /**
     * Reads block 8 and block 1 and decodes the chromatogram with signal and method, then
     * writes the header back. False when a block is missing or the format is outdated.
     */
    bool ChromPresent();
    /// Reads block 8 and block 2 and decodes the method; false only when a block is missing.
    bool MethodPresent();
    /**
     * Decodes a chromatogram block from the buffer's start. False only for an outdated format
     * (method records shorter than 728/702 bytes); other faults are told to the user and what
     * was read before them stays. The buffer's position is left after what was read.
     */
    bool DecodeChromatogram(TMemoryBuffer& buffer, bool readSignal, bool readMethod);
    /// Decodes a method from the buffer's position, then builds the detector table.
    void DecodeMethod(TMemoryBuffer& buffer);

    // Texts derived from the record.
    /// The channel names, one per channel.
    QStringList ChannelNames() const;
    /// The names of the switched-on detectors joined by " / ".
    QString JoinedDetectorNames() const;
    /// The calculation method, with " - " and `internalStandard` for the internal standard,
    /// followed by AddCalcName() in the full form.
    QString CalcMethodName(const QString& internalStandard) const;
    QString CalcMethodNameShort(const QString& internalStandard) const;
    /// Empty, or ", " and the name of the additional calculation.
    QString AddCalcName() const;
    QString DeviceTypeName(bool useMethod) const;
    QString DetectorSetName() const;

private:
    void decodeMethodAt(TByteReader& reader);
    void readMethodItems(TByteReader& reader, bool groups, std::int64_t stated);
    void readSignal(TByteReader& reader, std::int64_t pointsStated, std::int64_t channelsStated);
    /// Record counts as the host stated them (the record's fields are cut to the capacities).
    struct TResultCounts {
        std::int64_t ident = 0;    // identification (and statistics) records
        std::int64_t groupRes = 0; // group results
        std::int64_t journal = 0;  // journal records written, one more than iJournal_Count
    };
    void readResults(TByteReader& reader, const TResultCounts& stated);
    void readGraphs(TByteReader& reader);
    void BuildDetectorTable();

    TRecordTable peaks_ {TPeakRec::kSize, kMaxPeaks};
    TRecordTable ident_ {TIdentRec::kSize, kMaxIdent};
    TRecordTable groupRes_ {TGroupResRec::kSize, kMaxGroupRes};
    TRecordTable compStat_ {TCompStatRec::kSize, kMaxCompStat};
    TRecordTable journal_ {TJournalRec::kSize, kMaxJournal};
    TRecordTable graphs_ {TAddCalcGraph::kSize, kMaxGraphs};
    std::vector<std::vector<std::uint8_t>> graphPoints_;
    TRecordTable comps_ {TCompRec::kSize, kMaxComps};
    TRecordTable compCalib_ {TCalibRec::kSize, kMaxComps};
    std::vector<std::vector<std::uint8_t>> compPoints_;
    TRecordTable groups_ {TGroupRec::kSize, kMaxGroups};
    TRecordTable groupCalib_ {TCalibRec::kSize, kMaxGroups};
    std::vector<std::vector<std::uint8_t>> groupPoints_;
    std::array<std::vector<std::int32_t>, kMaxChannels> signal_;
    QString comment_;
    std::array<TDetectorEntry, kMaxDetectors> detectors_ {};
    int detCount_ = 0;
    std::int64_t statedPeaks_ = 0; // peaks the host sent for the entries built, before capping
    int graphCount_ = 0;
    std::uint8_t hasAddCalcGraphs_ = 0;
};
