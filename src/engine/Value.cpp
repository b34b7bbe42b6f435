#include "Value.h"

#include <cmath>

namespace tarvex::engine {

bool Value::toBool() const
{
    switch (type()) {
    case Type::Null: return false;
    case Type::Bool: return std::get<bool>(v_);
    case Type::Int: return std::get<qint64>(v_) != 0;
    case Type::Real: return std::get<double>(v_) != 0.0;
    case Type::String: {
        const QString& s = std::get<QString>(v_);
        return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1");
    }
    case Type::DateTime: return std::get<QDateTime>(v_).isValid();
    }
    return false;
}

qint64 Value::toInt(bool* ok) const
{
    if (ok)
        *ok = true;
    switch (type()) {
    case Type::Null: return 0;
    case Type::Bool: return std::get<bool>(v_) ? 1 : 0;
    case Type::Int: return std::get<qint64>(v_);
    case Type::Real: {
        const double d = std::get<double>(v_);
        if (!std::isfinite(d) || std::fabs(d) > 9.0e18) {
            if (ok)
                *ok = false;
            return 0;
        }
        return static_cast<qint64>(std::llround(d));
    }
    case Type::String: {
        bool good = false;
        const QString s = std::get<QString>(v_).trimmed();
        qint64 r = s.toLongLong(&good);
        if (!good) {
            const double d = Value(s).toReal(&good);
            r = good && std::isfinite(d) && std::fabs(d) < 9.0e18 ? static_cast<qint64>(std::llround(d)) : 0;
            good = good && std::isfinite(d) && std::fabs(d) < 9.0e18;
        }
        if (ok)
            *ok = good;
        return good ? r : 0;
    }
    case Type::DateTime: return std::get<QDateTime>(v_).toSecsSinceEpoch();
    }
    return 0;
}

double Value::toReal(bool* ok) const
{
    if (ok)
        *ok = true;
    switch (type()) {
    case Type::Null: return 0.0;
    case Type::Bool: return std::get<bool>(v_) ? 1.0 : 0.0;
    case Type::Int: return static_cast<double>(std::get<qint64>(v_));
    case Type::Real: return std::get<double>(v_);
    case Type::String: {
        QString s = std::get<QString>(v_).trimmed();
        bool good = false;
        double d = s.toDouble(&good);
        if (!good) {
            // Numbers written on a machine with a decimal comma.
            s.replace(QLatin1Char(','), QLatin1Char('.'));
            d = s.toDouble(&good);
        }
        if (ok)
            *ok = good;
        return good ? d : 0.0;
    }
    case Type::DateTime: {
        // Days since 30 Dec 1899 with the time as fraction, as the template language counts dates.
        const QDateTime& dt = std::get<QDateTime>(v_);
        const QDate base(1899, 12, 30);
        return static_cast<double>(base.daysTo(dt.date())) + dt.time().msecsSinceStartOfDay() / 86400000.0;
    }
    }
    return 0.0;
}

QString Value::toString() const
{
    switch (type()) {
    case Type::Null: return QString();
    case Type::Bool: return std::get<bool>(v_) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Int: return QString::number(std::get<qint64>(v_));
    case Type::Real: {
        const double d = std::get<double>(v_);
        if (d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'g', 15);
    }
    case Type::String: return std::get<QString>(v_);
    case Type::DateTime: {
        const QDateTime& dt = std::get<QDateTime>(v_);
        if (dt.time() == QTime(0, 0))
            return dt.date().toString(QStringLiteral("dd.MM.yyyy"));
        return dt.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    }
    }
    return QString();
}

QDateTime Value::toDateTime() const
{
    switch (type()) {
    case Type::DateTime: return std::get<QDateTime>(v_);
    case Type::String: {
        const QString s = std::get<QString>(v_).trimmed();
        for (const char* f : {"dd.MM.yyyy hh:mm:ss", "dd.MM.yyyy", "yyyy-MM-dd hh:mm:ss", "yyyy-MM-dd", "dd/MM/yyyy"}) {
            QDateTime dt = QDateTime::fromString(s, QLatin1String(f));
            if (dt.isValid())
                return dt;
        }
        return QDateTime();
    }
    case Type::Int:
    case Type::Real: {
        const double d = toReal();
        if (!std::isfinite(d) || std::fabs(d) > 3.0e6)
            return QDateTime();
        const QDate base(1899, 12, 30);
        const qint64 days = static_cast<qint64>(std::floor(d));
        const int ms = static_cast<int>(std::llround((d - std::floor(d)) * 86400000.0)) % 86400000;
        return QDateTime(base.addDays(days), QTime::fromMSecsSinceStartOfDay(ms));
    }
    default: return QDateTime();
    }
}

} // namespace tarvex::engine
