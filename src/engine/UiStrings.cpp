#include "UiStrings.h"

namespace tarvex::engine {

namespace {
QHash<QString, QString>& table()
{
    static QHash<QString, QString> strings;
    return strings;
}
} // namespace

void setUiStrings(QHash<QString, QString> strings) { table() = std::move(strings); }

QString uiText(const char* id, const char* fallback)
{
    const auto& t = table();
    const auto it = t.constFind(QString::fromLatin1(id));
    return it != t.constEnd() ? *it : QString::fromUtf8(fallback);
}

} // namespace tarvex::engine
