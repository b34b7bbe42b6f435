#include "templates.h"

#include <QFile>

namespace tarvex::templates {

QString text(const QString& name) {
    QFile file(QStringLiteral(":/templates/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace tarvex::templates
