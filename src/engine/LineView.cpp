#include "LineView.h"

namespace tarvex::engine {

LineView::LineView(const QString& typeName) : View(typeName, ObjectKind::Line) {}

void LineView::readAttributes(AttributeBag& bag)
{
    View::readAttributes(bag);
    diagonal = bag.takeBool(QStringLiteral("Diagonal"), false);
}

void LineView::writeAttributes(AttributeBag& out) const
{
    View::writeAttributes(out);
    if (diagonal)
        out.putBool(QStringLiteral("Diagonal"), true);
}

} // namespace tarvex::engine
