#include "PreparedReport.h"

namespace tarvex::engine {

QStringList PreparedReport::pageTexts(int page) const
{
    QStringList out;
    if (page < 0 || page >= pageCount())
        return out;
    for (const auto& e : pages[size_t(page)].elements)
        if (const auto* t = std::get_if<TextItem>(&e.item))
            out << t->lines.join(QLatin1Char('\n'));
    return out;
}

QStringList PreparedReport::allTexts() const
{
    QStringList out;
    for (int i = 0; i < pageCount(); ++i)
        out << pageTexts(i);
    return out;
}

} // namespace tarvex::engine
