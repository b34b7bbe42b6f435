#include "TableDataSet.h"

#include "TextDecoding.h"

#include <QFile>

#include <algorithm>

namespace tarvex::engine {

namespace {

std::vector<QString> splitCsvLine(const QString& line, QChar sep)
{
    std::vector<QString> out;
    QString cur;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    cur += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cur += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

Value typedValue(const QString& s)
{
    bool ok = false;
    const qint64 i = s.toLongLong(&ok);
    if (ok)
        return Value(i);
    const double d = s.toDouble(&ok);
    if (ok)
        return Value(d);
    return Value(s);
}

} // namespace

void TableDataSet::parseCsv(const QString& text)
{
    columns_.clear();
    rows_.clear();
    rec_ = 0;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return;
    const QChar sep = lines.first().count(QLatin1Char(';')) > lines.first().count(QLatin1Char(','))
                          ? QLatin1Char(';') : QLatin1Char(',');
    for (const QString& h : splitCsvLine(lines.first(), sep))
        columns_ << h.trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        std::vector<Value> row;
        for (const QString& f : splitCsvLine(lines[i], sep))
            row.push_back(typedValue(f));
        rows_.push_back(std::move(row));
    }
}

bool TableDataSet::loadCsv(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot open %1: %2").arg(path, f.errorString());
        return false;
    }
    parseCsv(decodeLenientUtf8(f.readAll()));
    return true;
}

std::optional<Value> TableDataSet::fieldValue(const QString& field) const
{
    const qsizetype col = columns_.indexOf(field, 0);
    qsizetype c = col;
    if (c < 0) {
        for (qsizetype i = 0; i < columns_.size(); ++i)
            if (columns_[i].compare(field, Qt::CaseInsensitive) == 0)
                c = i;
    }
    if (c < 0)
        return std::nullopt;
    if (rows_.empty())
        return Value();
    // Past the end the last record stays readable (footers after the loop show it).
    const auto& row = rows_[size_t(std::clamp(rec_, 0, int(rows_.size()) - 1))];
    return size_t(c) < row.size() ? row[size_t(c)] : Value();
}

} // namespace tarvex::engine
