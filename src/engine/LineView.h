#pragma once
// A line object: a horizontal, vertical or diagonal line across its rectangle.

#include "View.h"

namespace tarvex::engine {

class LineView : public View {
public:
    explicit LineView(const QString& typeName = QStringLiteral("TfrxLineView"));

    bool diagonal = false;

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;
};

} // namespace tarvex::engine
