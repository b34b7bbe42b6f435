#pragma once
// A shape object: rectangle, rounded rectangle, ellipse, triangle, diamond or a diagonal.

#include "View.h"

namespace tarvex::engine {

class ShapeView : public View {
public:
    enum class Shape { Rectangle, RoundRectangle, Ellipse, Triangle, Diamond, Diagonal1, Diagonal2 };

    explicit ShapeView(const QString& typeName = QStringLiteral("TfrxShapeView"));

    Shape shape = Shape::Rectangle;

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;
};

} // namespace tarvex::engine
