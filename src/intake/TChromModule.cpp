#include "TChromModule.h"

#include "Bilingual.h"
#include "Prompt.h"
#include "TByteReader.h"
#include "TMemoryWorker.h"

#include <algorithm>
#include <cstring>

namespace {

const char16_t kChromError[] = u"Ошибка приема хроматограммы\r\nError of reception chromatogram";
const char16_t kMethodError[] = u"Ошибка загрузки метода\r\nError of loading method";

// The record's own count fields. The decoders cut them to what the record holds, so that every
// later reader that walks a table by its count stays inside it.
constexpr int kChannelCountAt = 79;    // chromatogram header, byte
constexpr int kPointCountAt = 2059;    // chromatogram header, int32
constexpr int kIdentLastAt = 1891;     // chromatogram header, int32
constexpr int kGroupResLastAt = 1895;  // chromatogram header, int32
constexpr int kJournalCountAt = 2596;  // chromatogram header, int32
constexpr int kMaxCompAt = 87;         // method header, int32
constexpr int kMaxGroupAt = 91;        // method header, int32
constexpr int kPrnPictureAt = 10429;   // method header, byte
constexpr int kPrnWholeAt = 10460;     // method header, byte
constexpr int kCalibCountAt = 0;       // part B, int32
constexpr int kGraphPointsAt = 382;    // graph record, int32

void note(const QString& text) { tarvex::prompt().log(text); }

QString describe(const std::exception& e) { return QString::fromStdString(e.what()); }

/**
 * Reads `stated` records of the host's `hostSize` into `table`, as many as it holds, and moves
 * past the others. Returns the number held.
 */
int readRecords(TByteReader& reader, TRecordTable& table, std::int64_t stated, std::int32_t hostSize,
                const char* what) {
    const int held = static_cast<int>(std::clamp<std::int64_t>(stated, 0, table.capacity()));
    for (int i = 0; i < held; ++i)
        reader.readPart(table.record(i), static_cast<std::size_t>(table.recordSize()), hostSize);
    if (stated > held) {
        note(QStringLiteral("chromatogram block: %1 %2 records stated, %3 read (the capacity)")
                 .arg(stated)
                 .arg(QLatin1String(what))
                 .arg(held));
        reader.skip(stated - held, hostSize);
    }
    return held;
}

/**
 * Reads the `stated` calibration points of one component or group into `points`: at most the
 * capacity, and only points that have bytes in the block, so a huge count costs nothing.
 */
int readCalibPoints(TByteReader& reader, std::vector<std::uint8_t>& points, std::int32_t stated,
                    std::int32_t hostSize) {
    points.clear();
    if (stated <= 0)
        return 0;
    if (hostSize < 0)
        throw TDecodeError(reader.position(), "negative calibration point size " + std::to_string(hostSize));
    const std::int64_t present =
        hostSize > 0 ? (static_cast<std::int64_t>(reader.remaining()) + hostSize - 1) / hostSize : 0;
    const int held = static_cast<int>(
        std::min<std::int64_t>({stated, TChromModule::kMaxCalibPoints, present}));
    points.assign(static_cast<std::size_t>(held) * TCalibPoint::kSize, 0);
    for (int k = 0; k < held; ++k)
        reader.readPart(points.data() + static_cast<std::size_t>(k) * TCalibPoint::kSize, TCalibPoint::kSize,
                        hostSize);
    if (stated > held) {
        if (stated > TChromModule::kMaxCalibPoints)
            note(QStringLiteral("method block: %1 calibration points stated, %2 read").arg(stated).arg(held));
        reader.skip(stated - held, hostSize);
    }
    return held;
}

} // namespace

TChromModule::TChromModule()
    : graphPoints_(kMaxGraphs), compPoints_(kMaxComps), groupPoints_(kMaxGroups) {}

TAddCalcPoint TChromModule::AddCalcGraphPoint(int g, int p) const {
    if (g < 0 || g >= graphCount_ || p < 0)
        return TAddCalcPoint();
    const auto& points = graphPoints_[static_cast<std::size_t>(g)];
    const std::size_t at = static_cast<std::size_t>(p) * TAddCalcPoint::kSize;
    return TAddCalcPoint(at < points.size() ? points.data() + at : nullptr);
}

std::span<const std::int32_t> TChromModule::SignalChannel(int c) const {
    if (c < 0 || c >= kMaxChannels)
        return {};
    return signal_[static_cast<std::size_t>(c)];
}

namespace {
TCalibPoint pointOf(const std::vector<std::vector<std::uint8_t>>& lists, int i, int p) {
    if (i < 0 || static_cast<std::size_t>(i) >= lists.size() || p < 0)
        return TCalibPoint();
    const auto& points = lists[static_cast<std::size_t>(i)];
    const std::size_t at = static_cast<std::size_t>(p) * TCalibPoint::kSize;
    return TCalibPoint(at < points.size() ? points.data() + at : nullptr);
}
} // namespace

TCalibPoint TChromModule::CompPoint(int c, int p) const { return pointOf(compPoints_, c, p); }
TCalibPoint TChromModule::GroupPoint(int g, int p) const { return pointOf(groupPoints_, g, p); }

const TDetectorEntry& TChromModule::DetectorEntry(int k) const {
    static const TDetectorEntry kNone;
    return k >= 0 && k < detCount_ ? detectors_[static_cast<std::size_t>(k)] : kNone;
}

int TChromModule::PeakCount() const {
    int sum = 0;
    for (int k = 0; k < detCount_; ++k)
        sum += detectors_[static_cast<std::size_t>(k)].iDet_PeakCount;
    return sum;
}

int TChromModule::PrintedPeakCount() const {
    int sum = 0;
    for (int k = 0; k < detCount_; ++k)
        if (detectors_[static_cast<std::size_t>(k)].bDet_Print)
            sum += detectors_[static_cast<std::size_t>(k)].iDet_PeakCount;
    return sum;
}

void TChromModule::SetPrn_Picture(std::uint8_t on) { methodHeaderData()[kPrnPictureAt] = on; }
void TChromModule::SetPrn_PictureWhole(std::uint8_t on) { methodHeaderData()[kPrnWholeAt] = on; }

bool TChromModule::ChromPresent() {
    TMemoryWorker worker;
    if (!worker.readBlock(TMemoryWorker::kHeaderKind) || !worker.readBlock(1))
        return false;
    const bool ok = DecodeChromatogram(worker.buffer(), true, true);
    worker.writeHeaderBack();
    return ok;
}

bool TChromModule::MethodPresent() {
    TMemoryWorker worker;
    if (!worker.readBlock(TMemoryWorker::kHeaderKind) || !worker.readBlock(2))
        return false;
    DecodeMethod(worker.buffer());
    worker.writeHeaderBack();
    return true;
}

namespace {
/// Cuts the int32 count field at `offset` to `capacity` and returns the count the host stated.
std::int64_t capCount(std::uint8_t* area, int offset, std::int64_t capacity, std::int64_t plus = 0) {
    const std::int32_t stated = tarvex::wire::load<std::int32_t>(area, offset);
    if (stated + plus > capacity)
        tarvex::wire::store<std::int32_t>(area, offset, static_cast<std::int32_t>(capacity - plus));
    return stated + plus;
}
} // namespace

bool TChromModule::DecodeChromatogram(TMemoryBuffer& buffer, bool readSignalToo, bool readMethodToo) {
    TByteReader reader(buffer.data(), buffer.size(), 0);
    bool result = true;
    if (readSignalToo) // a decode that fails early must not leave another job's signal behind
        for (auto& channel : signal_)
            channel.clear();
    try {
        reader.readPart(chromHeaderData(), kChromHeaderSize, kChromHeaderSize);
        // What the host stated, kept for walking the block; the record's own count fields are cut
        // to the capacities at once, so that they never promise more than the record holds.
        const std::int64_t channels = bChr_ChannelCount();
        const std::int64_t points = iChr_PointCount();
        TResultCounts stated;
        stated.ident = capCount(chromHeaderData(), kIdentLastAt, kMaxIdent, 1);
        stated.groupRes = capCount(chromHeaderData(), kGroupResLastAt, kMaxGroupRes, 1);
        stated.journal = capCount(chromHeaderData(), kJournalCountAt, kMaxJournal, 1);
        if (channels > kMaxChannels) {
            note(QStringLiteral("chromatogram block: %1 channels stated, %2 read (the capacity)")
                     .arg(channels)
                     .arg(kMaxChannels));
            chromHeaderData()[kChannelCountAt] = kMaxChannels;
        }
        if (iChr_HeaderSize() < 0)
            throw TDecodeError(15, "negative header size " + std::to_string(iChr_HeaderSize()));
        if (channels > 0 && points < 0)
            throw TDecodeError(kPointCountAt, "negative point count " + std::to_string(points));
        // The signal's end is where the host put the method, whatever part of the signal we keep.
        const std::int64_t signalEnd = iChr_HeaderSize() + channels * std::max<std::int64_t>(points, 0) * 4;
        if (readSignalToo)
            readSignal(reader, points, channels);
        reader.seek(signalEnd);
        if (readMethodToo)
            decodeMethodAt(reader);
        if (iMeth_CompRecSize() < TCompRec::kSize || iMeth_GroupRecSize() < TGroupRec::kSize) {
            result = false;
        } else {
            reader.seek(signalEnd + iChr_MethodPartSize());
            comment_.clear();
            const std::int32_t length = iChr_CommentLen();
            if (length > 0) {
                const std::size_t kept = std::min<std::size_t>(
                    {static_cast<std::size_t>(length), reader.remaining(), kMaxCommentChars});
                comment_ = tarvex::decodeText(reinterpret_cast<const char*>(reader.data() + reader.position()),
                                              kept);
                reader.skip(length);
            }
            readResults(reader, stated);
            readGraphs(reader);
        }
    } catch (const std::exception& e) {
        note(QStringLiteral("chromatogram block: %1").arg(describe(e)));
        tarvex::prompt().error(tarvex::Pick(QString::fromUtf16(kChromError)));
    }
    buffer.setPosition(reader.position());
    return result;
}

void TChromModule::readSignal(TByteReader& reader, std::int64_t pointsStated, std::int64_t channelsStated) {
    const std::int64_t start = iChr_HeaderSize();
    const std::int64_t size = static_cast<std::int64_t>(reader.size());
    const std::int64_t held = std::min<std::int64_t>(channelsStated, kMaxChannels);
    // Only points that are wholly in the block are kept: a count the block cannot hold never
    // turns into an allocation.
    const std::int64_t fit = channelsStated > 0 && start < size ? (size - start) / (4 * channelsStated) : 0;
    const std::int64_t points = std::clamp<std::int64_t>(pointsStated, 0, fit);
    if (channelsStated > 0 && points < pointsStated) {
        note(QStringLiteral("chromatogram block: the signal holds %1 of %2 points").arg(points).arg(pointsStated));
        tarvex::wire::store<std::int32_t>(chromHeaderData(), kPointCountAt, static_cast<std::int32_t>(points));
    }
    for (std::int64_t c = 0; c < held; ++c)
        signal_[static_cast<std::size_t>(c)].resize(static_cast<std::size_t>(points));
    const std::uint8_t* sample = reader.data() + start;
    const std::size_t stride = static_cast<std::size_t>(channelsStated) * 4;
    for (std::int64_t p = 0; p < points; ++p, sample += stride)
        for (std::int64_t c = 0; c < held; ++c)
            std::memcpy(&signal_[static_cast<std::size_t>(c)][static_cast<std::size_t>(p)], sample + c * 4, 4);
}

void TChromModule::readResults(TByteReader& reader, const TResultCounts& stated) {
    const int peaks = PeakCount();
    readRecords(reader, peaks_, peaks, iChr_PeakRecSize(), "peak");
    if (statedPeaks_ > peaks) {
        note(QStringLiteral("chromatogram block: %1 peak records stated, %2 read (the capacity)")
                 .arg(statedPeaks_)
                 .arg(peaks));
        reader.skip(statedPeaks_ - peaks, iChr_PeakRecSize());
    }
    if (stated.ident > 0)
        readRecords(reader, ident_, stated.ident, iChr_IdentRecSize(), "identification");
    if (stated.groupRes > 0)
        readRecords(reader, groupRes_, stated.groupRes, iChr_GroupResRecSize(), "group result");
    if (stated.ident > 0 && bChr_HasCompStat())
        readRecords(reader, compStat_, stated.ident, iChr_CompStatRecSize(), "component statistics");
    // The host writes one journal record more than the reports print (the count is above 0).
    if (stated.journal > 1)
        readRecords(reader, journal_, stated.journal, iChr_JournalRecSize(), "journal");
}

void TChromModule::readGraphs(TByteReader& reader) {
    graphCount_ = 0;
    if (!hasAddCalcGraphs_)
        return;
    const std::uint8_t* graph = nullptr;
    do {
        if (graphCount_ == kMaxGraphs) {
            note(QStringLiteral("chromatogram block: graphs after the %1th are not read").arg(kMaxGraphs));
            break;
        }
        std::uint8_t* record = graphs_.record(graphCount_);
        reader.readPart(record, TAddCalcGraph::kSize, TAddCalcGraph::kSize);
        graph = record;
        const std::int32_t stated = tarvex::wire::load<std::int32_t>(record, kGraphPointsAt);
        if (stated < 0)
            throw TDecodeError(reader.position(), "negative graph point count " + std::to_string(stated));
        const int held = std::min(stated, kMaxGraphPoints);
        auto& points = graphPoints_[static_cast<std::size_t>(graphCount_)];
        points.assign(static_cast<std::size_t>(held) * TAddCalcPoint::kSize, 0);
        reader.readPart(points.data(), points.size(), static_cast<std::int64_t>(points.size()));
        if (stated > held) {
            note(QStringLiteral("chromatogram block: graph %1 has %2 points, %3 read (the capacity)")
                     .arg(graphCount_ + 1)
                     .arg(stated)
                     .arg(held));
            reader.skip(stated - held, TAddCalcPoint::kSize);
            tarvex::wire::store<std::int32_t>(record, kGraphPointsAt, held);
        }
        ++graphCount_;
    } while (reader.position() + TAddCalcGraph::kSize - 1 < reader.size() && graph[0] == 0);
}

void TChromModule::DecodeMethod(TMemoryBuffer& buffer) {
    TByteReader reader(buffer.data(), buffer.size(), buffer.position());
    decodeMethodAt(reader);
    buffer.setPosition(reader.position());
}

void TChromModule::decodeMethodAt(TByteReader& reader) {
    const std::int64_t start = static_cast<std::int64_t>(reader.position());
    try {
        reader.readPart(methodHeaderData(), kMethodHeaderSize, kMethodHeaderSize);
        const std::int64_t comps = capCount(methodHeaderData(), kMaxCompAt, kMaxComps);
        const std::int64_t groups = capCount(methodHeaderData(), kMaxGroupAt, kMaxGroups);
        if (iMeth_HeaderSize() < 0)
            throw TDecodeError(static_cast<std::size_t>(start) + 15,
                               "negative method header size " + std::to_string(iMeth_HeaderSize()));
        reader.seek(start + iMeth_HeaderSize());
        readMethodItems(reader, false, comps);
        readMethodItems(reader, true, groups);
    } catch (const std::exception& e) {
        note(QStringLiteral("method: %1").arg(describe(e)));
        tarvex::prompt().error(tarvex::Pick(QString::fromUtf16(kMethodError)));
    }
    BuildDetectorTable();
}

void TChromModule::readMethodItems(TByteReader& reader, bool groups, std::int64_t stated) {
    TRecordTable& partA = groups ? groups_ : comps_;
    TRecordTable& partB = groups ? groupCalib_ : compCalib_;
    auto& pointLists = groups ? groupPoints_ : compPoints_;
    const std::int32_t sizeA = groups ? iMeth_GroupRecSize() : iMeth_CompRecSize();
    const std::int32_t sizeB = groups ? iMeth_GroupCalibSize() : iMeth_CompCalibSize();
    const std::int32_t sizeItem = groups ? iMeth_GroupItemSize() : iMeth_CompItemSize();

    const int held = static_cast<int>(std::clamp<std::int64_t>(stated, 0, partA.capacity()));
    for (int i = 0; i < held; ++i) {
        reader.readPart(partA.record(i), static_cast<std::size_t>(partA.recordSize()), sizeA);
        std::uint8_t* calib = partB.record(i);
        reader.readPart(calib, static_cast<std::size_t>(partB.recordSize()), sizeB);
        const std::int32_t count = tarvex::wire::load<std::int32_t>(calib, kCalibCountAt);
        if (count > 0) // until its points are read the record holds none, also if reading them fails
            tarvex::wire::store<std::int32_t>(calib, kCalibCountAt, 0);
        const int points = readCalibPoints(reader, pointLists[static_cast<std::size_t>(i)], count, sizeItem);
        if (count > 0)
            tarvex::wire::store<std::int32_t>(calib, kCalibCountAt, points);
    }
    for (std::size_t i = static_cast<std::size_t>(held); i < pointLists.size(); ++i)
        pointLists[i].clear();
    if (stated <= held)
        return;

    // Records beyond the capacity are walked over, not kept, so that the groups after the
    // components are still found. A walk that stops advancing has reached the block's end.
    note(QStringLiteral("method: %1 %2 stated, %3 read (the capacity)")
             .arg(stated)
             .arg(groups ? QStringLiteral("groups") : QStringLiteral("components"))
             .arg(held));
    for (std::int64_t i = held; i < stated && reader.remaining() > 0; ++i) {
        const std::size_t before = reader.position();
        reader.skip(1, sizeA);
        std::int32_t count = 0;
        reader.readPart(&count, sizeof count, sizeB);
        if (count > 0)
            reader.skip(count, sizeItem);
        if (reader.position() == before)
            break;
    }
}
