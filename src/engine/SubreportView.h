#pragma once
// A sub-report placeholder: the bands of another page are laid out in its place.

#include "Object.h"

namespace tarvex::engine {

class SubreportView : public Object {
public:
    explicit SubreportView(const QString& typeName = QStringLiteral("TfrxSubreport"));

    QString pageName; ///< the page whose bands print here

    void readAttributes(AttributeBag& bag) override;
    void writeAttributes(AttributeBag& out) const override;
};

} // namespace tarvex::engine
