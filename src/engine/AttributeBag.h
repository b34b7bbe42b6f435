#pragma once
// The attributes of one template element, in file order. Objects take the attributes they understand
// while reading; what is left is kept and written back unchanged.

#include "Appearance.h"

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace tarvex::engine {

/// Ordered name/value pairs of an XML element.
class AttributeBag {
public:
    using Item = QPair<QString, QString>;

    void add(const QString& name, const QString& value) { items_.append({name, value}); }
    /// Replaces the value of `name`, or appends it.
    void set(const QString& name, const QString& value);
    bool contains(const QString& name) const;
    std::optional<QString> value(const QString& name) const;
    void remove(const QString& name);
    const QList<Item>& items() const { return items_; }
    bool isEmpty() const { return items_.isEmpty(); }

    /// Removes `name` and returns its value.
    std::optional<QString> take(const QString& name);
    QString takeString(const QString& name, const QString& fallback = QString());
    /// Numbers with '.' or ',' as decimal separator; a malformed number gives the fallback.
    double takeReal(const QString& name, double fallback);
    int takeInt(const QString& name, int fallback);
    bool takeBool(const QString& name, bool fallback);
    FrColor takeColor(const QString& name, FrColor fallback);

    // Writing helpers: numbers with '.' and no needless digits, booleans as True/False.
    void putString(const QString& name, const QString& v) { add(name, v); }
    void putReal(const QString& name, double v) { add(name, formatReal(v)); }
    void putInt(const QString& name, int v) { add(name, QString::number(v)); }
    void putBool(const QString& name, bool v) { add(name, v ? QStringLiteral("True") : QStringLiteral("False")); }

    static QString formatReal(double v);
    static std::optional<double> parseReal(const QString& s);
    static std::optional<bool> parseBool(const QString& s);

private:
    QList<Item> items_;
};

} // namespace tarvex::engine
