#include "ReportContext_p.h"

#include "Band.h"
#include "Formatting.h"

#include <QRegularExpression>

#include <cmath>

namespace tarvex::engine {

namespace {

// Variables whose values refer to variables are followed this deep, then refused (a cycle).
constexpr int kMaxVariableDepth = 32;
// Parsed expressions kept per run; the cache starts over beyond this.
constexpr int kMaxCachedExpressions = 200000;

} // namespace

void Accumulator::add(double v)
{
    beforeRow = now;
    if (now.count == 0) {
        now.min = v;
        now.max = v;
    } else {
        now.min = std::min(now.min, v);
        now.max = std::max(now.max, v);
    }
    now.sum += v;
    ++now.count;
}

Value Accumulator::value(bool excludeLastRow) const
{
    const Sums& s = excludeLastRow ? beforeRow : now;
    if (function == QLatin1String("COUNT"))
        return Value(s.count);
    if (function == QLatin1String("SUM"))
        return Value(s.sum);
    if (function == QLatin1String("AVG"))
        return Value(s.count ? s.sum / double(s.count) : 0.0);
    if (function == QLatin1String("MIN"))
        return Value(s.min);
    return Value(s.max);
}

ReportContext::ReportContext(Report& report) : startTime(QDateTime::currentDateTime()), report_(report) {}

std::optional<Value> ReportContext::variable(const QString& name)
{
    const QString u = name.toUpper();
    if (u == QLatin1String("DATE"))
        return Value(QDateTime(startTime.date(), QTime(0, 0)));
    if (u == QLatin1String("TIME"))
        return Value(QDateTime(QDate(1899, 12, 30), startTime.time()));
    if (u == QLatin1String("NOW"))
        return Value(startTime);
    if (u == QLatin1String("PAGE") || u == QLatin1String("PAGE#"))
        return Value(page);
    if (u == QLatin1String("TOTALPAGES") || u == QLatin1String("TOTALPAGES#"))
        return Value(totalPages);
    if (u == QLatin1String("LINE") || u == QLatin1String("LINE#"))
        return Value(line);
    const QString* expr = report_.variables().expression(name);
    if (!expr)
        return std::nullopt;
    const QString t = expr->trimmed();
    if (t.isEmpty())
        return Value(QString());
    // Numbers written with a decimal comma are values, not argument lists.
    static const QRegularExpression commaNumber(QStringLiteral("^-?\\d+,\\d+([eE][-+]?\\d+)?$"));
    if (commaNumber.match(t).hasMatch())
        return Value(AttributeBag::parseReal(t).value_or(0.0));
    if (variableDepth_ >= kMaxVariableDepth)
        return std::nullopt;
    ++variableDepth_;
    QString err;
    const Expression& e = parsed(t, &err);
    std::optional<Value> v;
    if (e.isValid()) {
        Value r = e.evaluate(*this, &err);
        if (err.isEmpty())
            v = r;
    }
    --variableDepth_;
    if (!v) {
        // A value that is not an expression prints as written.
        report_.addWarning(QStringLiteral("variable %1: cannot evaluate %2 (%3)").arg(name, t, err));
        return Value(t);
    }
    return v;
}

std::optional<Value> ReportContext::field(const QString& dataSet, const QString& fieldName)
{
    DataSet* ds = report_.findDataSet(dataSet);
    if (!ds)
        return std::nullopt;
    return ds->fieldValue(fieldName);
}

std::optional<Value> ReportContext::aggregate(const AggregateCall& call)
{
    auto it = accumulators_.constFind(qMakePair(call.site, currentBand));
    if (it == accumulators_.constEnd())
        return std::nullopt;
    return (*it)->value(excludeLastRow && (*it)->dataBand == lastRowBand);
}

void ReportContext::registerAggregate(const AggregateCall& call, const Band* container, const Band* dataBand)
{
    const auto key = qMakePair(call.site, container);
    if (accumulators_.contains(key))
        return;
    auto acc = std::make_shared<Accumulator>();
    acc->function = call.function;
    acc->argument = call.argument;
    acc->dataBand = dataBand;
    accumulators_.insert(key, acc);
    byDataBand_[dataBand].push_back(acc);
    byContainer_[container].push_back(acc);
}

void ReportContext::accumulate(const Band* dataBand)
{
    lastRowBand = dataBand;
    auto it = byDataBand_.find(dataBand);
    if (it == byDataBand_.end())
        return;
    for (auto& acc : *it) {
        if (acc->function == QLatin1String("COUNT") || !acc->argument) {
            acc->add(0);
            continue;
        }
        QString err;
        const Value v = acc->argument->evaluate(*this, &err);
        if (!err.isEmpty()) {
            report_.addWarning(QStringLiteral("%1: %2").arg(acc->function, err));
            acc->beforeRow = acc->now;
            continue;
        }
        bool ok = false;
        const double d = v.toReal(&ok);
        if (ok)
            acc->add(d);
        else
            acc->beforeRow = acc->now;
    }
}

void ReportContext::resetAggregates(const Band* container, bool keepLastRow)
{
    auto it = byContainer_.find(container);
    if (it == byContainer_.end())
        return;
    for (auto& acc : *it) {
        if (keepLastRow && acc->dataBand == lastRowBand && acc->now.count > acc->beforeRow.count) {
            // The record that did not fit belongs to the next page's totals.
            Accumulator::Sums row;
            row.count = acc->now.count - acc->beforeRow.count;
            row.sum = acc->now.sum - acc->beforeRow.sum;
            row.min = row.max = row.sum;
            acc->now = row;
        } else {
            acc->now = Accumulator::Sums();
        }
        acc->beforeRow = Accumulator::Sums();
    }
}

const Expression& ReportContext::parsed(const QString& text, QString* error)
{
    auto it = exprCache_.constFind(text);
    if (it == exprCache_.constEnd()) {
        if (exprCache_.size() > kMaxCachedExpressions) {
            exprCache_.clear();
            exprErrors_.clear();
        }
        QString err;
        Expression e = Expression::parse(text, &err);
        if (!e.isValid())
            exprErrors_.insert(text, err);
        it = exprCache_.insert(text, e);
    }
    if (error)
        *error = it->isValid() ? QString() : exprErrors_.value(text);
    return *it;
}

std::optional<Value> ReportContext::evaluate(const QString& text, const QString& where)
{
    QString err;
    const Expression& e = parsed(text, &err);
    if (e.isValid()) {
        Value v = e.evaluate(*this, &err);
        if (err.isEmpty())
            return v;
    }
    report_.addWarning(QStringLiteral("%1: cannot evaluate [%2]: %3").arg(where, text, err));
    return std::nullopt;
}

const ReportContext::Segments& ReportContext::segments(const QString& text)
{
    auto it = segmentCache_.constFind(text);
    if (it != segmentCache_.constEnd())
        return **it;
    auto segs = std::make_shared<Segments>();
    QString literal;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (text[i] != QLatin1Char('[')) {
            literal += text[i++];
            continue;
        }
        // Find the matching ']' with nesting, skipping quoted strings.
        int depth = 0;
        QChar quote;
        qsizetype j = i;
        for (; j < n; ++j) {
            const QChar c = text[j];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                continue;
            }
            if (c == QLatin1Char('\''))
                quote = c;
            else if (c == QLatin1Char('['))
                ++depth;
            else if (c == QLatin1Char(']') && --depth == 0)
                break;
        }
        if (j >= n) {
            literal += text.mid(i);
            break;
        }
        if (!literal.isEmpty()) {
            segs->push_back({false, literal, QChar(), QString()});
            literal.clear();
        }
        Segment s;
        s.isExpression = true;
        s.text = text.mid(i + 1, j - i - 1);
        // A display-format suffix: " #n%2,2n", " #ddd.mm.yyyy" after a blank, outside quotes.
        QChar q;
        for (qsizetype k = 0; k + 2 < s.text.size(); ++k) {
            const QChar c = s.text[k];
            if (!q.isNull()) {
                if (c == q)
                    q = QChar();
                continue;
            }
            if (c == QLatin1Char('\'')) {
                q = c;
                continue;
            }
            if (c == QLatin1Char(' ') && s.text[k + 1] == QLatin1Char('#') && s.text[k + 2].isLetter()) {
                s.formatKind = s.text[k + 2].toLower();
                s.format = s.text.mid(k + 3);
                s.text = s.text.left(k).trimmed();
                break;
            }
        }
        s.text = s.text.trimmed();
        segs->push_back(s);
        i = j + 1;
    }
    if (!literal.isEmpty())
        segs->push_back({false, literal, QChar(), QString()});
    if (segmentCache_.size() > kMaxCachedExpressions)
        segmentCache_.clear();
    auto inserted = segmentCache_.insert(text, segs);
    return **inserted;
}

QString ReportContext::formatValue(const Value& v, const MemoView& memo, const Segment& seg)
{
    QChar kind = seg.formatKind;
    QString format = seg.format;
    NumberSeparators sep;
    sep.decimal = report_.options.decimalSeparator;
    sep.thousands = sep.decimal == QLatin1Char(',') ? QLatin1Char(' ') : QLatin1Char(',');
    if (kind.isNull()) {
        switch (memo.displayFormat.kind) {
        case DisplayFormat::Kind::Numeric: kind = QLatin1Char('n'); break;
        case DisplayFormat::Kind::DateTime: kind = QLatin1Char('d'); break;
        case DisplayFormat::Kind::Boolean: kind = QLatin1Char('b'); break;
        default: break;
        }
        format = memo.displayFormat.formatStr;
        if (!memo.displayFormat.decimalSeparator.isEmpty())
            sep.decimal = memo.displayFormat.decimalSeparator.at(0);
    } else if (kind == QLatin1Char('n')) {
        // In "%2,2n" the character between width and precision names the decimal separator.
        static const QRegularExpression sepRe(QStringLiteral("%\\d*([.,])\\d"));
        const auto m = sepRe.match(format);
        if (m.hasMatch())
            sep.decimal = m.captured(1).at(0);
        sep.thousands = sep.decimal == QLatin1Char(',') ? QLatin1Char(' ') : QLatin1Char(',');
    }
    if (memo.hideZeros && v.isNumber() && v.toReal() == 0.0)
        return QString();
    if (kind == QLatin1Char('n') || kind == QLatin1Char('f')) {
        bool ok = false;
        const double d = v.toReal(&ok);
        if (!ok || v.isNull() || (v.type() == Value::Type::String && v.toString().trimmed().isEmpty()))
            return v.toString();
        if (format.contains(QLatin1Char('%')))
            return formatPercent(format, Value(d), sep);
        return formatFloat(format, d, sep);
    }
    if (kind == QLatin1Char('d')) {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return v.toString();
        return formatDateTime(format.isEmpty() ? QStringLiteral("dd.mm.yyyy") : format, dt);
    }
    if (kind == QLatin1Char('b')) {
        const QStringList parts = format.split(QLatin1Char(','));
        if (parts.size() == 2)
            return v.toBool() ? parts[1] : parts[0];
        return v.toString();
    }
    if (v.type() == Value::Type::DateTime && v.toDateTime().date() == QDate(1899, 12, 30))
        return v.toDateTime().time().toString(QStringLiteral("hh:mm:ss"));
    return v.toString();
}

QString ReportContext::expandMemo(const MemoView& memo)
{
    QString text = memo.text;
    if (text.isEmpty() && !memo.dataField.isEmpty()) {
        const QString ds = memo.dataSetName.isEmpty() ? memo.dataSetComponent : memo.dataSetName;
        text = QStringLiteral("[%1.\"%2\"]").arg(ds, memo.dataField);
    }
    if (!memo.allowExpressions || !text.contains(QLatin1Char('[')))
        return text;
    QString out;
    for (const Segment& s : segments(text)) {
        if (!s.isExpression) {
            out += s.text;
            continue;
        }
        if (s.text.isEmpty()) {
            out += QStringLiteral("[]");
            continue;
        }
        if (auto v = evaluate(s.text, memo.name))
            out += formatValue(*v, memo, s);
        else
            out += QLatin1Char('[') + s.text + QLatin1Char(']');
    }
    return out;
}

} // namespace tarvex::engine
