#include "ShapeView.h"

namespace tarvex::engine {

namespace {
const char* const kShapeNames[] = {"skRectangle", "skRoundRectangle", "skEllipse", "skTriangle",
                                   "skDiamond",   "skDiagonal1",      "skDiagonal2"};
}

ShapeView::ShapeView(const QString& typeName) : View(typeName, ObjectKind::Shape) {}

void ShapeView::readAttributes(AttributeBag& bag)
{
    View::readAttributes(bag);
    if (auto s = bag.value(QStringLiteral("Shape"))) {
        for (int i = 0; i < 7; ++i) {
            if (*s == QLatin1String(kShapeNames[i])) {
                shape = static_cast<Shape>(i);
                bag.take(QStringLiteral("Shape"));
                break;
            }
        }
    }
}

void ShapeView::writeAttributes(AttributeBag& out) const
{
    View::writeAttributes(out);
    if (shape != Shape::Rectangle)
        out.putString(QStringLiteral("Shape"), QLatin1String(kShapeNames[int(shape)]));
}

} // namespace tarvex::engine
