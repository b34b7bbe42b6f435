#pragma once
// The engine's own prepared-report file: prepared pages saved as they are, to be shown, printed
// or exported again without the template or the data.

#include "Export.h"
#include "PreparedReport.h"

#include <QByteArray>
#include <QString>

namespace tarvex::engine {

/// The usual suffix of prepared-report files, without the dot.
inline constexpr char kPreparedReportSuffix[] = "fp3";

/**
 * Writes `report` (pages, outline, pictures as PNG) to `path`, replacing it only when the whole
 * file is written. `progress` is told after each page. False with *error set on failure.
 */
bool savePreparedReport(const PreparedReport& report, const QString& path, QString* error = nullptr,
                        const ProgressFn& progress = {});
/// The bytes of the file savePreparedReport() writes.
QByteArray preparedReportToData(const PreparedReport& report);

/**
 * Reads a prepared-report file into `out`. A damaged or foreign file gives false, an empty `out`
 * and *error with the line and column where reading stopped; it never crashes, and page, element
 * and picture counts and sizes are bounded, so a damaged file cannot exhaust memory.
 */
bool loadPreparedReport(const QString& path, PreparedReport& out, QString* error = nullptr);
bool preparedReportFromData(const QByteArray& bytes, PreparedReport& out, QString* error = nullptr);

} // namespace tarvex::engine
