#pragma once
// The report variables: named expressions, grouped under categories.

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace tarvex::engine {

/// One entry of the variable list. A category is an entry whose name starts with a blank and has no value.
struct Variable {
    QString name;
    QString expression; ///< the value as an expression ("'text'", "12", "3.5")
    bool isCategory() const { return name.startsWith(QLatin1Char(' ')); }
};

/// Ordered variable list; names are matched without regard to case.
class Variables {
public:
    /// Replaces the expression of `name`, or appends a variable when there is none of that name.
    void set(const QString& name, const QString& expression);
    /// The expression of `name`, or nullptr when absent (categories have none).
    const QString* expression(const QString& name) const;
    bool contains(const QString& name) const { return expression(name) != nullptr; }
    void remove(const QString& name);
    void clear();
    /// Appends a category entry (" Name").
    void addCategory(const QString& category);

    const std::vector<Variable>& items() const { return items_; }
    /// Names of the variables listed under `category` (until the next category).
    QStringList namesInCategory(const QString& category) const;

private:
    void rebuildIndex();
    std::vector<Variable> items_;
    QHash<QString, int> index_; // lower-case name -> position
};

} // namespace tarvex::engine
