#pragma once
// Small things every exporter needs: messages, progress and writing a file whole. Private.

#include "Export.h"

#include <QByteArray>
#include <QString>

namespace tarvex::engine {

/// Sets *error (when given) and returns false.
bool exportFailed(QString* error, const QString& message);
/// "Cannot write the file PATH: REASON" in the language of the run.
QString cannotWriteMessage(const QString& path, const QString& reason);
/// The message for a report without pages.
QString noPagesMessage();
/// Tells the progress callback that `done` of `total` pages are ready; false (with *error set to
/// the "cancelled" message) when it asks to stop.
bool reportProgress(const ExportOptions& options, int done, int total, QString* error);
/// Replaces `path` with `bytes` in one step: a failed write leaves an existing file as it was.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error);

} // namespace tarvex::engine
