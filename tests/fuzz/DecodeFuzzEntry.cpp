#include "DecodeFuzzEntry.h"

#include "Prompt.h"
#include "TChromModule.h"
#include "TMemoryWorker.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

/// Messages are expected for bad blocks; a fuzz run only counts them.
class SilentPrompt final : public tarvex::Prompt {
public:
    void error(const QString&) override {}
    void warning(const QString&) override {}
    void information(const QString&) override {}
    bool confirm(const QString&) override { return false; }
    void log(const QString&) override {}
};

int broken = 0;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "decode invariant broken: %s\n", what);
        ++broken;
    }
}

// Sums fields of every row a report could visit, so nothing the decoders left is unread.
double walk(const TChromModule& rec) {
    double sum = 0;
    for (int k = 0; k < rec.iDet_Count(); ++k) {
        const TDetectorEntry& e = rec.DetectorEntry(k);
        for (int p = e.iDet_FirstPeak; p < e.iDet_FirstPeak + e.iDet_PeakCount; ++p)
            sum += rec.PeakRec(p).fPeak_Time() + rec.PeakRec(p).wPeak_Group(4);
        sum += e.szDet_Name.size();
    }
    for (int i = 0; i <= rec.iIdent_Last(); ++i)
        sum += rec.IdentRec(i).fIdent_Conc(2) + rec.CompStatRec(i).fStat_RelErr(2);
    for (int i = 0; i <= rec.iGroupRes_Last(); ++i)
        sum += rec.GroupResRec(i).iGroupRes_Group();
    for (int i = 0; i <= rec.iJournal_Count(); ++i)
        sum += rec.JournalRec(i).szJourn_Event().size();
    for (int g = 0; g < rec.iAddCalcGraph_Count(); ++g)
        for (int p = 0; p < rec.AddCalcGraph(g).iGraph_PointCount(); ++p)
            sum += rec.AddCalcGraphPoint(g, p).dGraph_Y();
    for (int c = 0; c < rec.iMax_Comp(); ++c)
        for (int p = 0; p < rec.CompCalib(c).iCalib_PointCount(); ++p)
            sum += rec.CompPoint(c, p).dPoint_Conc() + rec.CompRec(c).szComp_Name().size();
    for (int g = 0; g < rec.iMax_Group(); ++g)
        for (int p = 0; p < rec.GroupCalib(g).iCalib_PointCount(); ++p)
            sum += rec.GroupPoint(g, p).dPoint_Conc() + rec.GroupRec(g).szGroup_Name().size();
    sum += rec.szChr_Comment().size() + rec.JoinedDetectorNames().size() + rec.CalcMethodName(QString()).size();
    return sum;
}

} // namespace

int TarvexDecodeOne(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    static const bool prompted = [] {
        tarvex::setPrompt(std::make_unique<SilentPrompt>());
        return true;
    }();
    (void)prompted;
    // One record for the whole run, as in the program: decodes must not depend on a fresh one.
    static TChromModule rec;

    broken = 0;
    const std::uint8_t mode = data[0];
    TMemoryBuffer buffer;
    buffer.resize(size - 1);
    if (size > 1)
        std::memcpy(buffer.data(), data + 1, size - 1);
    rec.SetHasAddCalcGraphs(mode & 2);
    const bool method = mode & 1;
    const bool withSignal = !(mode & 4);
    if (method)
        rec.DecodeMethod(buffer);
    else
        rec.DecodeChromatogram(buffer, withSignal, true);

    require(buffer.position() <= buffer.size(), "position inside the block");
    require(rec.iDet_Count() >= 0 && rec.iDet_Count() <= TChromModule::kMaxDetectors, "detector count");
    require(rec.PeakCount() <= TChromModule::kMaxPeaks, "peaks within the capacity");
    int first = 0;
    for (int k = 0; k < rec.iDet_Count(); ++k) {
        require(rec.DetectorEntry(k).iDet_FirstPeak == first, "first peaks follow each other");
        require(rec.DetectorEntry(k).iDet_PeakCount >= 0, "peak count not negative");
        first += rec.DetectorEntry(k).iDet_PeakCount;
    }
    require(rec.iIdent_Last() < TChromModule::kMaxIdent, "identification within the capacity");
    require(rec.iGroupRes_Last() < TChromModule::kMaxGroupRes, "group results within the capacity");
    require(rec.iJournal_Count() < TChromModule::kMaxJournal, "journal within the capacity");
    require(rec.iMax_Comp() <= TChromModule::kMaxComps, "components within the capacity");
    require(rec.iMax_Group() <= TChromModule::kMaxGroups, "groups within the capacity");
    require(rec.iAddCalcGraph_Count() <= TChromModule::kMaxGraphs, "graphs within the capacity");
    require(rec.bChr_ChannelCount() <= TChromModule::kMaxChannels, "channels within the capacity");
    require(rec.szChr_Comment().size() <= TChromModule::kMaxCommentChars, "comment within its length");
    for (int c = 0; c < rec.iMax_Comp(); ++c)
        require(rec.CompCalib(c).iCalib_PointCount() <= TChromModule::kMaxCalibPoints, "component points capped");
    for (int g = 0; g < rec.iMax_Group(); ++g)
        require(rec.GroupCalib(g).iCalib_PointCount() <= TChromModule::kMaxCalibPoints, "group points capped");
    for (int g = 0; g < rec.iAddCalcGraph_Count(); ++g)
        require(rec.AddCalcGraph(g).iGraph_PointCount() <= TChromModule::kMaxGraphPoints, "graph points capped");
    if (!method && withSignal && rec.iChr_PointCount() >= 0)
        for (int c = 0; c < rec.bChr_ChannelCount(); ++c)
            require(rec.SignalChannel(c).size() <= static_cast<std::size_t>(rec.iChr_PointCount()) &&
                        rec.SignalChannel(c).size() * 4 <= buffer.size(),
                    "signal within the block");
    volatile double sink = walk(rec);
    (void)sink;
    return broken;
}
