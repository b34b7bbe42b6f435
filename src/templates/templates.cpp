#include "templates.h"

#include <QFile>

namespace tarvex::templates {

QByteArray bytes(const QString& name) {
    QFile file(QStringLiteral(":/templates/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString text(const QString& name) {
    return QString::fromUtf8(bytes(name));
}

} // namespace tarvex::templates
