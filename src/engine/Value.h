#pragma once
// A value produced by a report expression: nothing, a boolean, an integer, a real, a text or a date-time.

#include <QDateTime>
#include <QString>
#include <variant>

namespace tarvex::engine {

/// A dynamically typed value of the expression language. Conversions never fail loudly: a text that is not
/// a number converts to 0 with *ok set to false.
class Value {
public:
    enum class Type { Null, Bool, Int, Real, String, DateTime };

    Value() = default;
    Value(bool b) : v_(b) {}
    Value(int i) : v_(qint64(i)) {}
    Value(qint64 i) : v_(i) {}
    Value(double d) : v_(d) {}
    Value(const QString& s) : v_(s) {}
    Value(const char*) = delete;
    Value(const QDateTime& d) : v_(d) {}

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isNull() const { return type() == Type::Null; }
    /// True for Int and Real, and for Bool (which counts as 0 or 1).
    bool isNumber() const { return type() == Type::Int || type() == Type::Real || type() == Type::Bool; }

    bool toBool() const;
    qint64 toInt(bool* ok = nullptr) const;
    double toReal(bool* ok = nullptr) const;
    /// Text form: reals with up to 15 significant digits and '.' as decimal separator, dates as dd.MM.yyyy
    /// (with hh:mm:ss when the time is not midnight).
    QString toString() const;
    QDateTime toDateTime() const;

private:
    std::variant<std::monostate, bool, qint64, double, QString, QDateTime> v_;
};

} // namespace tarvex::engine
