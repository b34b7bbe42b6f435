#include "ExportSupport.h"

#include "UiStrings.h"

#include <QSaveFile>

namespace tarvex::engine {

bool exportFailed(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

QString cannotWriteMessage(const QString& path, const QString& reason)
{
    QString text = uiText("export.cannotWrite", "Cannot write the file %1").arg(path);
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return text;
}

QString noPagesMessage() { return uiText("export.noPages", "The report has no pages"); }

bool reportProgress(const ExportOptions& options, int done, int total, QString* error)
{
    if (!options.progress || options.progress(done, total))
        return true;
    return exportFailed(error, uiText("export.cancelled", "Cancelled by the user"));
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return exportFailed(error, cannotWriteMessage(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return exportFailed(error, cannotWriteMessage(path, file.errorString()));
    return true;
}

} // namespace tarvex::engine
