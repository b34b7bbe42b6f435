#include "TableView.h"

namespace tarvex::engine {

namespace {

double attributeReal(const Object& o, const char* name)
{
    return AttributeBag::parseReal(o.extra.value(QLatin1String(name)).value_or(QString())).value_or(0);
}

} // namespace

TableView::TableView(const QString& typeName) : Object(typeName, ObjectKind::Table) {}

std::unique_ptr<Object> TableView::createPart(const QString& typeName)
{
    if (typeName == QLatin1String("TfrxTableCell"))
        return std::make_unique<MemoView>(typeName);
    return nullptr;
}

std::vector<double> TableView::columnWidths() const
{
    std::vector<double> out;
    for (const auto& c : children())
        if (c->typeName() == QLatin1String("TfrxTableColumn"))
            out.push_back(std::max(0.0, attributeReal(*c, "Width")));
    return out;
}

std::vector<double> TableView::rowHeights() const
{
    std::vector<double> out;
    for (const auto& c : children())
        if (c->typeName() == QLatin1String("TfrxTableRow"))
            out.push_back(std::max(0.0, attributeReal(*c, "Height")));
    return out;
}

std::vector<MemoView*> TableView::rowCells(size_t row) const
{
    std::vector<MemoView*> out;
    size_t r = 0;
    for (const auto& c : children()) {
        if (c->typeName() != QLatin1String("TfrxTableRow"))
            continue;
        if (r++ != row)
            continue;
        for (const auto& cell : c->children())
            if (cell->kind() == ObjectKind::Memo)
                out.push_back(static_cast<MemoView*>(cell.get()));
    }
    return out;
}

} // namespace tarvex::engine
