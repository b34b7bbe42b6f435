#include "JobEncoder.h"

#include "BmpPainter.h"
#include "CodePage.h"
#include "WireLayout.h"

#include <QJsonArray>
#include <QStringList>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace host {

namespace {

/// A job that cannot be written; the message says which field and why.
struct JobError : std::runtime_error {
    explicit JobError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

[[noreturn]] void refuse(const QString& text) { throw JobError(text); }

template <class T> void put(QByteArray& bytes, int offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

void putElement(QByteArray& rec, const WireField& f, int i, const QJsonValue& v, const QString& where) {
    const int at = f.offset + i * f.width;
    if (f.type == WireType::Text) {
        if (!v.isString())
            refuse(QStringLiteral("%1: %2 is a text").arg(where, f.name));
        const QByteArray text = tarvex::toCp1251(v.toString());
        if (text.size() > f.width)
            refuse(QStringLiteral("%1: %2 is %3 bytes long, the field holds %4")
                       .arg(where, f.name)
                       .arg(text.size())
                       .arg(f.width));
        std::memcpy(rec.data() + at, text.constData(), static_cast<std::size_t>(text.size()));
        return;
    }
    if (f.type == WireType::Char && v.isString()) {
        const QByteArray text = tarvex::toCp1251(v.toString());
        rec[at] = text.isEmpty() ? '\0' : text[0];
        return;
    }
    if (!v.isDouble() && !v.isBool())
        refuse(QStringLiteral("%1: %2 is a number").arg(where, f.name));
    const double d = v.isBool() ? (v.toBool() ? 1 : 0) : v.toDouble();
    switch (f.type) {
    case WireType::U8:
    case WireType::Char:
        put<std::uint8_t>(rec, at, static_cast<std::uint8_t>(static_cast<std::int64_t>(d)));
        break;
    case WireType::U16:
        put<std::uint16_t>(rec, at, static_cast<std::uint16_t>(static_cast<std::int64_t>(d)));
        break;
    case WireType::I16:
        put<std::int16_t>(rec, at, static_cast<std::int16_t>(d));
        break;
    case WireType::I32:
        put<std::int32_t>(rec, at, static_cast<std::int32_t>(static_cast<std::int64_t>(d)));
        break;
    case WireType::F32:
        put<float>(rec, at, static_cast<float>(d));
        break;
    case WireType::F64:
        put<double>(rec, at, d);
        break;
    case WireType::Text:
        break;
    }
}

/// Writes one field (a scalar, or an array for an array field) into a record of its area.
void putField(QByteArray& rec, const WireField& f, const QJsonValue& v, const QString& where) {
    if (f.count == 1) {
        putElement(rec, f, 0, v, where);
        return;
    }
    if (!v.isArray())
        refuse(QStringLiteral("%1: %2 is an array of %3").arg(where, f.name).arg(f.count));
    const QJsonArray a = v.toArray();
    if (a.size() > f.count)
        refuse(QStringLiteral("%1: %2 has %3 elements, the field holds %4").arg(where, f.name).arg(a.size()).arg(f.count));
    for (int i = 0; i < a.size(); ++i)
        putElement(rec, f, i, a[i], where);
}

/// A zeroed record of `area` with the fields of `object` that belong to it. Keys found in none
/// of `areas` and not in `extra` are refused, so that a misspelt field never goes unnoticed.
std::vector<QByteArray> fillRecords(const std::vector<const WireArea*>& areas, const QJsonObject& object,
                                    const QString& where, const QStringList& extra = {}) {
    std::vector<QByteArray> recs;
    for (const WireArea* a : areas)
        recs.emplace_back(a->size, '\0');
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool placed = false;
        for (std::size_t k = 0; k < areas.size() && !placed; ++k)
            if (const WireField* f = areas[k]->find(it.key())) {
                putField(recs[k], *f, it.value(), where);
                placed = true;
            }
        if (!placed && !extra.contains(it.key()))
            refuse(QStringLiteral("%1: no field %2").arg(where, it.key()));
    }
    return recs;
}

/// Rows of a table area: an array of row objects, or one object of per-row arrays.
std::vector<QJsonObject> rowsOf(const QJsonValue& value, const QString& where) {
    std::vector<QJsonObject> rows;
    if (value.isUndefined() || value.isNull())
        return rows;
    if (value.isArray()) {
        for (const QJsonValue& row : value.toArray()) {
            if (!row.isObject())
                refuse(QStringLiteral("%1: every row is an object").arg(where));
            rows.push_back(row.toObject());
        }
        return rows;
    }
    if (!value.isObject())
        refuse(QStringLiteral("%1: rows are an array of objects or an object of arrays").arg(where));
    const QJsonObject columns = value.toObject();
    qsizetype n = 0;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        if (!it.value().isArray())
            refuse(QStringLiteral("%1: column %2 is an array, one value per row").arg(where, it.key()));
        n = std::max(n, it.value().toArray().size());
    }
    rows.resize(static_cast<std::size_t>(n));
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        const QJsonArray column = it.value().toArray();
        for (qsizetype i = 0; i < column.size(); ++i)
            rows[static_cast<std::size_t>(i)].insert(it.key(), column[i]);
    }
    return rows;
}

void capacity(qsizetype count, qsizetype most, const QString& what, const EncodeOptions& options) {
    if (options.refuseOverCapacity && count > most)
        refuse(QStringLiteral("job refused: %1 %2, the print job holds at most %3").arg(count).arg(what).arg(most));
}

/// `rec` cut or zero-padded to the host's record size.
QByteArray sized(QByteArray rec, int size) {
    if (size < 0)
        size = 0;
    rec.resize(size, '\0');
    return rec;
}

template <class T> void setDefault(QJsonObject& object, const char* key, T value) {
    if (!object.contains(QLatin1String(key)))
        object.insert(QLatin1String(key), value);
}

QByteArray encodeMethod(const QJsonObject& job, const EncodeOptions& options) {
    const WireArea& header = wireArea(Area::MethodHeader);
    QJsonObject fields = job.value(QStringLiteral("method")).toObject();
    const auto comps = rowsOf(job.value(QStringLiteral("components")), QStringLiteral("components"));
    const auto groups = rowsOf(job.value(QStringLiteral("groups")), QStringLiteral("groups"));
    capacity(static_cast<qsizetype>(comps.size()), 1000, QStringLiteral("components"), options);
    capacity(static_cast<qsizetype>(groups.size()), 600, QStringLiteral("groups"), options);
    setDefault(fields, "iMeth_HeaderSize", header.size);
    setDefault(fields, "iMeth_CompRecSize", wireArea(Area::Comp).size);
    setDefault(fields, "iMeth_GroupRecSize", wireArea(Area::Group).size);
    setDefault(fields, "iMeth_CompCalibSize", wireArea(Area::Calib).size);
    setDefault(fields, "iMeth_GroupCalibSize", wireArea(Area::Calib).size);
    setDefault(fields, "iMeth_CompItemSize", wireArea(Area::CalibPoint).size);
    setDefault(fields, "iMeth_GroupItemSize", wireArea(Area::CalibPoint).size);
    setDefault(fields, "iMax_Comp", static_cast<int>(comps.size()));
    setDefault(fields, "iMax_Group", static_cast<int>(groups.size()));

    QByteArray out = sized(fillRecords({&header}, fields, QStringLiteral("method"))[0],
                           fields.value(QStringLiteral("iMeth_HeaderSize")).toInt());
    const auto writeItems = [&](const std::vector<QJsonObject>& rows, Area partA, const char* sizeA,
                                const char* sizeB, const char* sizeItem, const QString& what) {
        const int hostA = fields.value(QLatin1String(sizeA)).toInt();
        const int hostB = fields.value(QLatin1String(sizeB)).toInt();
        const int hostItem = fields.value(QLatin1String(sizeItem)).toInt();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const QString where = QStringLiteral("%1[%2]").arg(what).arg(i);
            QJsonObject row = rows[i];
            const auto points = rowsOf(row.value(QStringLiteral("points")), where + QStringLiteral(".points"));
            capacity(static_cast<qsizetype>(points.size()), 100, QStringLiteral("calibration points"), options);
            setDefault(row, "iCalib_PointCount", static_cast<int>(points.size()));
            const auto recs = fillRecords({&wireArea(partA), &wireArea(Area::Calib)}, row, where,
                                          {QStringLiteral("points")});
            out += sized(recs[0], hostA);
            out += sized(recs[1], hostB);
            for (const QJsonObject& point : points)
                out += sized(fillRecords({&wireArea(Area::CalibPoint)}, point, where + QStringLiteral(".points"))[0],
                             hostItem);
        }
    };
    writeItems(comps, Area::Comp, "iMeth_CompRecSize", "iMeth_CompCalibSize", "iMeth_CompItemSize",
               QStringLiteral("components"));
    writeItems(groups, Area::Group, "iMeth_GroupRecSize", "iMeth_GroupCalibSize", "iMeth_GroupItemSize",
               QStringLiteral("groups"));
    return out;
}

/// Deterministic noise in [-1, 1] (a linear congruential generator: the same job, the same bytes).
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    std::uint32_t state_;
};

std::vector<std::vector<std::int32_t>> signalOf(const QJsonObject& job) {
    std::vector<std::vector<std::int32_t>> channels;
    const QJsonValue signal = job.value(QStringLiteral("signal"));
    if (signal.isUndefined() || signal.isNull())
        return channels;
    if (signal.isArray()) {
        for (const QJsonValue& channel : signal.toArray()) {
            std::vector<std::int32_t> samples;
            for (const QJsonValue& v : channel.toArray())
                samples.push_back(static_cast<std::int32_t>(v.toDouble()));
            channels.push_back(std::move(samples));
        }
        return channels;
    }
    // The recipe: Gaussian peaks of the peak table on a drifting, noisy baseline, in millivolts,
    // sampled at fChr_Rate points per second and stored in converter units of dChr_AdcScale mV.
    const QJsonObject recipe = signal.toObject();
    const QJsonObject chrom = job.value(QStringLiteral("chromatogram")).toObject();
    const double rate = chrom.value(QStringLiteral("fChr_Rate")).toDouble(10);
    const double scale = chrom.value(QStringLiteral("dChr_AdcScale")).toDouble(1);
    const int points = recipe.value(QStringLiteral("points")).toInt();
    if (points < 0 || rate <= 0 || scale <= 0)
        refuse(QStringLiteral("signal: the recipe needs points >= 0, fChr_Rate > 0 and dChr_AdcScale > 0"));
    const auto peaks = rowsOf(job.value(QStringLiteral("peaks")), QStringLiteral("peaks"));
    Noise noise(static_cast<std::uint32_t>(recipe.value(QStringLiteral("seed")).toInt(1)));
    for (const QJsonValue& c : recipe.value(QStringLiteral("channels")).toArray()) {
        const QJsonObject ch = c.toObject();
        const double base = ch.value(QStringLiteral("baseline")).toDouble();
        const double drift = ch.value(QStringLiteral("drift")).toDouble();
        const double amplitude = ch.value(QStringLiteral("noise")).toDouble();
        const QJsonArray span = ch.value(QStringLiteral("peaks")).toArray();
        const int first = span.size() > 0 ? span[0].toInt() : 0;
        const int count = span.size() > 1 ? span[1].toInt() : 0;
        std::vector<double> mv(static_cast<std::size_t>(points));
        for (int p = 0; p < points; ++p)
            mv[static_cast<std::size_t>(p)] = base + drift * (p / rate / 60.0) + amplitude * noise.next();
        for (int k = first; k < first + count && k < static_cast<int>(peaks.size()); ++k) {
            const QJsonObject peak = peaks[static_cast<std::size_t>(k)];
            const double apex = peak.value(QStringLiteral("fPeak_Time")).toDouble();
            const double height = peak.value(QStringLiteral("fPeak_Height")).toDouble();
            const double area = peak.value(QStringLiteral("fPeak_Area")).toDouble();
            if (height <= 0 || area <= 0)
                continue;
            const double sigma = area / (height * std::sqrt(2 * M_PI)); // minutes
            const int from = std::max(0, static_cast<int>((apex - 6 * sigma) * 60 * rate));
            const int to = std::min(points, static_cast<int>((apex + 6 * sigma) * 60 * rate) + 1);
            for (int p = from; p < to; ++p) {
                const double t = p / rate / 60.0;
                mv[static_cast<std::size_t>(p)] += height * std::exp(-(t - apex) * (t - apex) / (2 * sigma * sigma));
            }
        }
        std::vector<std::int32_t> samples(static_cast<std::size_t>(points));
        for (int p = 0; p < points; ++p)
            samples[static_cast<std::size_t>(p)] = static_cast<std::int32_t>(std::lround(mv[static_cast<std::size_t>(p)] / scale));
        channels.push_back(std::move(samples));
    }
    return channels;
}

QByteArray encodeChromatogram(const QJsonObject& job, const QByteArray& method,
                              const std::vector<std::vector<std::int32_t>>& signal, const EncodeOptions& options) {
    const WireArea& header = wireArea(Area::ChromHeader);
    QJsonObject fields = job.value(QStringLiteral("chromatogram")).toObject();
    const auto peaks = rowsOf(job.value(QStringLiteral("peaks")), QStringLiteral("peaks"));
    const auto ident = rowsOf(job.value(QStringLiteral("ident")), QStringLiteral("ident"));
    const auto groupRes = rowsOf(job.value(QStringLiteral("groupResults")), QStringLiteral("groupResults"));
    const auto compStat = rowsOf(job.value(QStringLiteral("compStat")), QStringLiteral("compStat"));
    const auto journal = rowsOf(job.value(QStringLiteral("journal")), QStringLiteral("journal"));
    const auto graphs = rowsOf(job.value(QStringLiteral("graphs")), QStringLiteral("graphs"));
    const QByteArray comment = tarvex::toCp1251(job.value(QStringLiteral("comment")).toString());
    capacity(static_cast<qsizetype>(peaks.size()), 1000, QStringLiteral("peaks"), options);
    capacity(static_cast<qsizetype>(ident.size()), 1000, QStringLiteral("identification records"), options);
    capacity(static_cast<qsizetype>(groupRes.size()), 600, QStringLiteral("group results"), options);
    capacity(static_cast<qsizetype>(journal.size()), 1000, QStringLiteral("journal events"), options);
    capacity(static_cast<qsizetype>(graphs.size()), 100, QStringLiteral("graphs"), options);
    capacity(static_cast<qsizetype>(signal.size()), 10, QStringLiteral("channels"), options);
    capacity(comment.size(), 15000, QStringLiteral("bytes of comment"), options);
    if (compStat.size() > ident.size())
        refuse(QStringLiteral("compStat: one record per identification record, not more"));
    std::size_t points = signal.empty() ? 0 : signal[0].size();
    for (const auto& channel : signal)
        if (channel.size() != points)
            refuse(QStringLiteral("signal: every channel has the same number of points"));

    setDefault(fields, "iChr_HeaderSize", header.size);
    setDefault(fields, "iChr_PeakRecSize", wireArea(Area::Peak).size);
    setDefault(fields, "iChr_IdentRecSize", wireArea(Area::Ident).size);
    setDefault(fields, "iChr_GroupResRecSize", wireArea(Area::GroupRes).size);
    setDefault(fields, "iChr_CompStatRecSize", wireArea(Area::CompStat).size);
    setDefault(fields, "iChr_JournalRecSize", wireArea(Area::Journal).size);
    setDefault(fields, "iChr_CommentLen", static_cast<int>(comment.size()));
    setDefault(fields, "bChr_ChannelCount", static_cast<int>(signal.size()));
    setDefault(fields, "iChr_PointCount", static_cast<int>(points));
    setDefault(fields, "iChr_MethodPartSize", static_cast<int>(method.size()));
    setDefault(fields, "iIdent_Last", static_cast<int>(ident.size()) - 1);
    setDefault(fields, "iGroupRes_Last", static_cast<int>(groupRes.size()) - 1);
    setDefault(fields, "iJournal_Count", static_cast<int>(journal.size()));
    setDefault(fields, "bChr_HasCompStat", compStat.empty() ? 0 : 1);

    QByteArray out = sized(fillRecords({&header}, fields, QStringLiteral("chromatogram"))[0],
                           fields.value(QStringLiteral("iChr_HeaderSize")).toInt());
    // The signal: point by point, every channel in turn.
    QByteArray samples(static_cast<qsizetype>(points * signal.size() * 4), '\0');
    char* at = samples.data();
    for (std::size_t p = 0; p < points; ++p)
        for (const auto& channel : signal) {
            std::memcpy(at, &channel[p], 4);
            at += 4;
        }
    out += samples;
    out += method;
    out += comment;

    const auto table = [&](const std::vector<QJsonObject>& rows, Area area, const char* sizeField,
                           std::size_t count, const QString& what) {
        const int host = fields.value(QLatin1String(sizeField)).toInt();
        for (std::size_t i = 0; i < count; ++i) {
            const QJsonObject row = i < rows.size() ? rows[i] : QJsonObject();
            out += sized(fillRecords({&wireArea(area)}, row, QStringLiteral("%1[%2]").arg(what).arg(i))[0], host);
        }
    };
    table(peaks, Area::Peak, "iChr_PeakRecSize", peaks.size(), QStringLiteral("peaks"));
    table(ident, Area::Ident, "iChr_IdentRecSize", ident.size(), QStringLiteral("ident"));
    table(groupRes, Area::GroupRes, "iChr_GroupResRecSize", groupRes.size(), QStringLiteral("groupResults"));
    if (fields.value(QStringLiteral("bChr_HasCompStat")).toInt() != 0)
        table(compStat, Area::CompStat, "iChr_CompStatRecSize", ident.size(), QStringLiteral("compStat"));
    // The reader takes one journal record more than the reports print: a closing empty record.
    if (!journal.empty())
        table(journal, Area::Journal, "iChr_JournalRecSize", journal.size() + 1, QStringLiteral("journal"));

    for (std::size_t g = 0; g < graphs.size(); ++g) {
        const QString where = QStringLiteral("graphs[%1]").arg(g);
        QJsonObject graph = graphs[g];
        const QJsonArray graphPoints = graph.value(QStringLiteral("points")).toArray();
        capacity(graphPoints.size(), 1001, QStringLiteral("points in a graph"), options);
        setDefault(graph, "iGraph_PointCount", static_cast<int>(graphPoints.size()));
        setDefault(graph, "bGraph_End", g + 1 == graphs.size() ? 1 : 0);
        out += fillRecords({&wireArea(Area::Graph)}, graph, where, {QStringLiteral("points")})[0];
        for (const QJsonValue& point : graphPoints) {
            const QJsonArray xy = point.toArray();
            if (xy.size() != 2)
                refuse(QStringLiteral("%1: a point is [x, y]").arg(where));
            const double x = xy[0].toDouble();
            const double y = xy[1].toDouble();
            out.append(reinterpret_cast<const char*>(&x), 8);
            out.append(reinterpret_cast<const char*>(&y), 8);
        }
    }
    return out;
}

QByteArray encodePrintSettings(const QJsonObject& job, bool hasGraphs) {
    const QJsonValue value = job.value(QStringLiteral("printSettings"));
    if (!value.isObject())
        return {};
    QJsonObject fields = value.toObject();
    setDefault(fields, "bPrint_AddCalcGraphs", hasGraphs ? 1 : 0);
    return fillRecords({&wireArea(Area::PrintSettings)}, fields, QStringLiteral("printSettings"))[0];
}

} // namespace

bool jobSignal(const QJsonObject& job, std::vector<std::vector<std::int32_t>>* channels, QString* error) {
    try {
        *channels = signalOf(job);
        return true;
    } catch (const JobError& e) {
        *error = QString::fromStdString(e.what());
        return false;
    }
}

bool encodeJob(const QJsonObject& job, EncodedJob* out, QString* error, const EncodeOptions& options) {
    static const QStringList kKnown = {
        QStringLiteral("chromatogram"), QStringLiteral("method"),     QStringLiteral("printSettings"),
        QStringLiteral("peaks"),        QStringLiteral("ident"),      QStringLiteral("groupResults"),
        QStringLiteral("compStat"),     QStringLiteral("journal"),    QStringLiteral("graphs"),
        QStringLiteral("components"),   QStringLiteral("groups"),     QStringLiteral("comment"),
        QStringLiteral("signal"),       QStringLiteral("picture"),    QStringLiteral("description"),
    };
    try {
        for (auto it = job.begin(); it != job.end(); ++it)
            if (!kKnown.contains(it.key()))
                refuse(QStringLiteral("no area %1 in a job").arg(it.key()));
        const auto signal = signalOf(job);
        out->method = encodeMethod(job, options);
        out->chromatogram = encodeChromatogram(job, out->method, signal, options);
        const bool hasGraphs = !rowsOf(job.value(QStringLiteral("graphs")), QStringLiteral("graphs")).empty();
        out->printSettings = encodePrintSettings(job, hasGraphs);
        out->picture.clear();
        const QJsonValue picture = job.value(QStringLiteral("picture"));
        if (!(picture.isBool() && !picture.toBool()))
            out->picture = drawChromatogram(job, signal, picture.toObject());
        return true;
    } catch (const JobError& e) {
        *error = QString::fromStdString(e.what());
        return false;
    }
}

} // namespace host
