#include "RecordDump.h"

#include "TChromModule.h"
#include "TMemoryWorker.h"
#include "TPrintSettings.h"

#include <QJsonArray>
#include <charconv>
#include <cstring>

namespace host {

namespace {

using tarvex::wire::FieldInfo;
using tarvex::wire::FieldList;
using tarvex::wire::Kind;

/// A float as its shortest decimal form, so that 0.52f prints as 0.52 and not 0.519999980926.
double shortest(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    double out = 0;
    std::from_chars(text, result.ptr, out);
    return out;
}

QJsonValue element(const std::uint8_t* base, const FieldInfo& f, int i) {
    const std::uint8_t* at = base + f.offset + i * f.width;
    switch (f.kind) {
    case Kind::U8:
        return static_cast<int>(tarvex::wire::load<std::uint8_t>(at, 0));
    case Kind::Char: {
        const char c = tarvex::wire::load<char>(at, 0);
        return c == 0 ? QString() : tarvex::decodeText(&c, 1);
    }
    case Kind::U16:
        return static_cast<int>(tarvex::wire::load<std::uint16_t>(at, 0));
    case Kind::I16:
        return static_cast<int>(tarvex::wire::load<std::int16_t>(at, 0));
    case Kind::I32:
        return tarvex::wire::load<std::int32_t>(at, 0);
    case Kind::F32:
        return shortest(tarvex::wire::load<float>(at, 0));
    case Kind::F64:
        return tarvex::wire::load<double>(at, 0);
    case Kind::Text:
        return tarvex::wire::text(at, 0, f.width);
    }
    return {};
}

void addFields(QJsonObject& out, const std::uint8_t* base, FieldList fields) {
    for (const FieldInfo& f : fields) {
        if (f.count == 1) {
            out.insert(QLatin1String(f.name), element(base, f, 0));
            continue;
        }
        QJsonArray values;
        for (int i = 0; i < f.count; ++i)
            values.append(element(base, f, i));
        out.insert(QLatin1String(f.name), values);
    }
}

template <class View> QJsonObject rowOf(const View& view) {
    QJsonObject row;
    if (!view.isNull())
        addFields(row, view.bytes(), View::fields());
    return row;
}

template <class View> QJsonArray pointsOf(const TChromModule& rec, int count, View (TChromModule::*point)(int, int) const, int i) {
    QJsonArray points;
    for (int p = 0; p < count; ++p)
        points.append(rowOf((rec.*point)(i, p)));
    return points;
}

} // namespace

QJsonObject dumpRecord(const TChromModule& rec, const TPrintSettings* settings) {
    QJsonObject out;
    QJsonObject chrom;
    addFields(chrom, rec.chromHeaderBytes(), TChromHeaderArea::fields());
    out.insert(QStringLiteral("chromatogram"), chrom);
    QJsonObject method;
    addFields(method, rec.methodHeaderBytes(), TMethodHeaderArea::fields());
    out.insert(QStringLiteral("method"), method);

    QJsonArray comps;
    for (int c = 0; c < rec.iMax_Comp(); ++c) {
        QJsonObject row = rowOf(rec.CompRec(c));
        const QJsonObject calib = rowOf(rec.CompCalib(c));
        for (auto it = calib.begin(); it != calib.end(); ++it)
            row.insert(it.key(), it.value());
        row.insert(QStringLiteral("points"),
                   pointsOf(rec, rec.CompCalib(c).iCalib_PointCount(), &TChromModule::CompPoint, c));
        comps.append(row);
    }
    out.insert(QStringLiteral("components"), comps);
    QJsonArray groups;
    for (int g = 0; g < rec.iMax_Group(); ++g) {
        QJsonObject row = rowOf(rec.GroupRec(g));
        const QJsonObject calib = rowOf(rec.GroupCalib(g));
        for (auto it = calib.begin(); it != calib.end(); ++it)
            row.insert(it.key(), it.value());
        row.insert(QStringLiteral("points"),
                   pointsOf(rec, rec.GroupCalib(g).iCalib_PointCount(), &TChromModule::GroupPoint, g));
        groups.append(row);
    }
    out.insert(QStringLiteral("groups"), groups);

    QJsonArray peaks;
    for (int p = 0; p < rec.PeakCount(); ++p)
        peaks.append(rowOf(rec.PeakRec(p)));
    out.insert(QStringLiteral("peaks"), peaks);
    QJsonArray ident, compStat;
    for (int i = 0; i <= rec.iIdent_Last(); ++i) {
        ident.append(rowOf(rec.IdentRec(i)));
        if (rec.bChr_HasCompStat())
            compStat.append(rowOf(rec.CompStatRec(i)));
    }
    out.insert(QStringLiteral("ident"), ident);
    out.insert(QStringLiteral("compStat"), compStat);
    QJsonArray groupRes;
    for (int i = 0; i <= rec.iGroupRes_Last(); ++i)
        groupRes.append(rowOf(rec.GroupResRec(i)));
    out.insert(QStringLiteral("groupResults"), groupRes);
    QJsonArray journal; // the rows the reports print
    for (int i = 0; i < rec.iJournal_Count(); ++i)
        journal.append(rowOf(rec.JournalRec(i)));
    out.insert(QStringLiteral("journal"), journal);
    QJsonArray graphs;
    for (int g = 0; g < rec.iAddCalcGraph_Count(); ++g) {
        QJsonObject row = rowOf(rec.AddCalcGraph(g));
        QJsonArray points;
        for (int p = 0; p < rec.AddCalcGraph(g).iGraph_PointCount(); ++p)
            points.append(QJsonArray {rec.AddCalcGraphPoint(g, p).dGraph_X(), rec.AddCalcGraphPoint(g, p).dGraph_Y()});
        row.insert(QStringLiteral("points"), points);
        graphs.append(row);
    }
    out.insert(QStringLiteral("graphs"), graphs);
    out.insert(QStringLiteral("comment"), rec.szChr_Comment());

    QJsonArray signal;
    for (int c = 0; c < rec.bChr_ChannelCount(); ++c) {
        QJsonArray samples;
        for (const std::int32_t v : rec.SignalChannel(c))
            samples.append(v);
        signal.append(samples);
    }
    out.insert(QStringLiteral("signal"), signal);

    QJsonArray detectors;
    for (int k = 0; k < rec.iDet_Count(); ++k) {
        const TDetectorEntry& e = rec.DetectorEntry(k);
        detectors.append(QJsonObject {
            {QStringLiteral("szDet_Name"), e.szDet_Name},         {QStringLiteral("iDet_Channel"), e.iDet_Channel},
            {QStringLiteral("iDet_PeakList"), e.iDet_PeakList},   {QStringLiteral("iDet_FirstPeak"), e.iDet_FirstPeak},
            {QStringLiteral("iDet_PeakCount"), e.iDet_PeakCount}, {QStringLiteral("bDet_Print"), e.bDet_Print},
            {QStringLiteral("bDet_On"), e.bDet_On},
        });
    }
    out.insert(QStringLiteral("detectors"), detectors);
    out.insert(QStringLiteral("derived"),
               QJsonObject {
                   {QStringLiteral("channelNames"), QJsonArray::fromStringList(rec.ChannelNames())},
                   {QStringLiteral("joinedDetectorNames"), rec.JoinedDetectorNames()},
                   {QStringLiteral("calcMethodName"), rec.CalcMethodName(QString())},
                   {QStringLiteral("deviceTypeName"), rec.DeviceTypeName(true)},
                   {QStringLiteral("detectorSetName"), rec.DetectorSetName()},
                   {QStringLiteral("peakCount"), rec.PeakCount()},
                   {QStringLiteral("printedPeakCount"), rec.PrintedPeakCount()},
               });
    if (settings) {
        QJsonObject ps;
        addFields(ps, settings->bytes(), TPrintSettings::fields());
        out.insert(QStringLiteral("printSettings"), ps);
    }
    return out;
}

bool inspectPublished(TChromModule& rec, QJsonObject* out, QString* error) {
    TPrintSettings settings;
    bool haveSettings = false;
    {
        TMemoryWorker worker;
        if (worker.readBlock(TMemoryWorker::kHeaderKind) && worker.readBlock(10)) {
            settings.assign(worker.buffer().data(), worker.buffer().size());
            rec.SetHasAddCalcGraphs(settings.bPrint_AddCalcGraphs());
            haveSettings = true;
        }
    }
    bool decoded = false;
    bool current = true;
    {
        TMemoryWorker worker;
        if (worker.readBlock(TMemoryWorker::kHeaderKind) && worker.readBlock(1)) {
            current = rec.DecodeChromatogram(worker.buffer(), true, true);
            decoded = true;
        }
    }
    if (!decoded) {
        TMemoryWorker worker;
        if (worker.readBlock(TMemoryWorker::kHeaderKind) && worker.readBlock(2)) {
            rec.DecodeMethod(worker.buffer());
            decoded = true;
        }
    }
    if (!decoded) {
        *error = QStringLiteral("neither a chromatogram nor a method is published");
        return false;
    }
    *out = dumpRecord(rec, haveSettings ? &settings : nullptr);
    out->insert(QStringLiteral("outdatedFormat"), !current);
    TMemoryWorker worker;
    if (worker.readBlock(TMemoryWorker::kHeaderKind) && worker.readBlock(9)) {
        const TMemoryBuffer& bmp = worker.buffer();
        QJsonObject picture {{QStringLiteral("bytes"), static_cast<qint64>(bmp.size())}};
        if (bmp.size() >= 26 && bmp.data()[0] == 'B' && bmp.data()[1] == 'M') {
            std::int32_t w = 0, h = 0;
            std::memcpy(&w, bmp.data() + 18, 4);
            std::memcpy(&h, bmp.data() + 22, 4);
            picture.insert(QStringLiteral("width"), w);
            picture.insert(QStringLiteral("height"), h);
        }
        out->insert(QStringLiteral("picture"), picture);
    }
    return true;
}

} // namespace host
