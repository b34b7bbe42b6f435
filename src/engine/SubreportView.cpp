#include "SubreportView.h"

namespace tarvex::engine {

SubreportView::SubreportView(const QString& typeName) : Object(typeName, ObjectKind::Subreport) {}

void SubreportView::readAttributes(AttributeBag& bag)
{
    Object::readAttributes(bag);
    pageName = bag.takeString(QStringLiteral("Page"));
}

void SubreportView::writeAttributes(AttributeBag& out) const
{
    Object::writeAttributes(out);
    out.putString(QStringLiteral("Page"), pageName);
}

} // namespace tarvex::engine
