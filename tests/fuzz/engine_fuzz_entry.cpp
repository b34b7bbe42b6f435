#include "engine_fuzz_entry.h"

#include "Expression.h"
#include "PreparedReport.h"
#include "Report.h"
#include "RichView.h"
#include "UserDataSet.h"

#include <QByteArray>

namespace enginefuzz {

namespace {

// Answers every name with a small value so that evaluation goes past name lookup.
class FuzzContext : public tarvex::engine::ExpressionContext {
public:
    std::optional<tarvex::engine::Value> variable(const QString& name) override
    {
        if (name.size() % 3 == 0)
            return std::nullopt;
        return name.size() % 2 ? tarvex::engine::Value(qint64(name.size())) : tarvex::engine::Value(name);
    }
    std::optional<tarvex::engine::Value> field(const QString& ds, const QString& f) override
    {
        if (ds.isEmpty())
            return std::nullopt;
        return tarvex::engine::Value(f);
    }
};

} // namespace

int runOne(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (data[0] == 2) {
        tarvex::engine::Report report;
        const QByteArray xml =
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport><TfrxReportPage Name=\"Page1\" PaperWidth=\"210\" "
            "PaperHeight=\"297\"><TfrxMasterData Name=\"B\" Height=\"20\" Width=\"700\" RowCount=\"1\" Stretched=\"True\">"
            "<TfrxRichView Name=\"R\" Width=\"300\" Height=\"20\" StretchMode=\"smActualHeight\"/></TfrxMasterData>"
            "</TfrxReportPage></TfrxReport>";
        if (!report.loadFromData(xml))
            return 0;
        if (auto* rich = report.findObject<tarvex::engine::RichView>(QStringLiteral("R")))
            rich->richText = QString::fromUtf8(bytes);
        report.options.maxPages = 8;
        tarvex::engine::PreparedReport prepared;
        QString err;
        report.prepare(prepared, &err);
        return 0;
    }
    if ((data[0] & 1) == 0) {
        tarvex::engine::Report report;
        tarvex::engine::LoadError error;
        if (!report.loadFromData(bytes, &error))
            return 0;
        const QByteArray written = report.saveToData();
        tarvex::engine::Report again;
        again.loadFromData(written, &error);
        // A short prepare with every bound data set giving two records.
        report.options.maxPages = 8;
        report.options.maxBandPrints = 2000;
        std::vector<std::unique_ptr<tarvex::engine::UserDataSet>> sets;
        for (const QString& name : report.referencedDataSets()) {
            sets.push_back(std::make_unique<tarvex::engine::UserDataSet>(name));
            sets.back()->setRangeEndCount(2);
            report.addDataSet(sets.back().get());
        }
        tarvex::engine::PreparedReport prepared;
        QString err;
        report.prepare(prepared, &err);
        return 0;
    }
    const QString text = QString::fromUtf8(bytes);
    QString err;
    const tarvex::engine::Expression e = tarvex::engine::Expression::parse(text, &err);
    FuzzContext ctx;
    e.evaluate(ctx, &err);
    return 0;
}

} // namespace enginefuzz
