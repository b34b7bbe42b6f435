#include "Variables.h"

namespace tarvex::engine {

void Variables::set(const QString& name, const QString& expression)
{
    const QString key = name.toLower();
    auto it = index_.constFind(key);
    if (it != index_.constEnd()) {
        items_[size_t(*it)].expression = expression;
        return;
    }
    index_.insert(key, int(items_.size()));
    items_.push_back({name, expression});
}

const QString* Variables::expression(const QString& name) const
{
    auto it = index_.constFind(name.toLower());
    if (it == index_.constEnd())
        return nullptr;
    const Variable& v = items_[size_t(*it)];
    return v.isCategory() ? nullptr : &v.expression;
}

void Variables::remove(const QString& name)
{
    const QString key = name.toLower();
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (!it->isCategory() && it->name.toLower() == key) {
            items_.erase(it);
            rebuildIndex();
            return;
        }
    }
}

void Variables::clear()
{
    items_.clear();
    index_.clear();
}

void Variables::addCategory(const QString& category)
{
    QString n = category;
    if (!n.startsWith(QLatin1Char(' ')))
        n.prepend(QLatin1Char(' '));
    items_.push_back({n, QString()});
}

QStringList Variables::namesInCategory(const QString& category) const
{
    QStringList out;
    bool inside = false;
    const QString want = category.trimmed();
    for (const auto& v : items_) {
        if (v.isCategory())
            inside = v.name.trimmed() == want;
        else if (inside)
            out << v.name;
    }
    return out;
}

void Variables::rebuildIndex()
{
    index_.clear();
    for (size_t i = 0; i < items_.size(); ++i)
        if (!items_[i].isCategory())
            index_.insert(items_[i].name.toLower(), int(i));
}

} // namespace tarvex::engine
