#include "AttributeBag.h"

#include <cmath>

namespace tarvex::engine {

void AttributeBag::set(const QString& name, const QString& value)
{
    for (auto& it : items_) {
        if (it.first == name) {
            it.second = value;
            return;
        }
    }
    add(name, value);
}

bool AttributeBag::contains(const QString& name) const
{
    return value(name).has_value();
}

std::optional<QString> AttributeBag::value(const QString& name) const
{
    for (const auto& it : items_)
        if (it.first == name)
            return it.second;
    return std::nullopt;
}

void AttributeBag::remove(const QString& name)
{
    for (qsizetype i = 0; i < items_.size(); ++i) {
        if (items_[i].first == name) {
            items_.removeAt(i);
            return;
        }
    }
}

std::optional<QString> AttributeBag::take(const QString& name)
{
    for (qsizetype i = 0; i < items_.size(); ++i) {
        if (items_[i].first == name) {
            QString v = items_[i].second;
            items_.removeAt(i);
            return v;
        }
    }
    return std::nullopt;
}

QString AttributeBag::takeString(const QString& name, const QString& fallback)
{
    auto v = take(name);
    return v ? *v : fallback;
}

std::optional<double> AttributeBag::parseReal(const QString& s)
{
    QString t = s.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::optional<bool> AttributeBag::parseBool(const QString& s)
{
    const QString t = s.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1"))
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

double AttributeBag::takeReal(const QString& name, double fallback)
{
    auto v = value(name);
    if (!v)
        return fallback;
    auto d = parseReal(*v);
    if (!d)
        return fallback; // keep the malformed text so that writing does not lose it
    take(name);
    return *d;
}

int AttributeBag::takeInt(const QString& name, int fallback)
{
    auto v = value(name);
    if (!v)
        return fallback;
    bool ok = false;
    const int i = v->trimmed().toInt(&ok);
    if (!ok)
        return fallback;
    take(name);
    return i;
}

bool AttributeBag::takeBool(const QString& name, bool fallback)
{
    auto v = value(name);
    if (!v)
        return fallback;
    auto b = parseBool(*v);
    if (!b)
        return fallback;
    take(name);
    return *b;
}

FrColor AttributeBag::takeColor(const QString& name, FrColor fallback)
{
    auto v = value(name);
    if (!v)
        return fallback;
    const QString t = v->trimmed();
    bool ok = false;
    qint64 c = t.toLongLong(&ok);
    if (!ok && t.startsWith(QLatin1Char('$')))
        c = t.mid(1).toLongLong(&ok, 16);
    if (!ok) {
        static const struct {
            const char* name;
            FrColor color;
        } names[] = {{"clBlack", 0}, {"clWhite", 0xFFFFFF}, {"clRed", 0x0000FF}, {"clGreen", 0x008000},
                     {"clBlue", 0xFF0000}, {"clGray", 0x808080}, {"clSilver", 0xC0C0C0}, {"clNone", kColorNone},
                     {"clYellow", 0x00FFFF}, {"clNavy", 0x800000}, {"clMaroon", 0x000080}};
        for (const auto& n : names) {
            if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
                take(name);
                return n.color;
            }
        }
        return fallback;
    }
    take(name);
    return static_cast<FrColor>(static_cast<qint32>(static_cast<quint32>(c & 0xFFFFFFFF)));
}

QString AttributeBag::formatReal(double v)
{
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<qint64>(v));
    QString s = QString::number(v, 'f', 5);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

} // namespace tarvex::engine
