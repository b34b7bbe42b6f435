#pragma once
// The plain-text result listing: a short header (sample, times, method and operator, file,
// reference channel, calculation method) and the table of identified peaks with a totals
// line, in the DOS code page (CP866) with CR LF line ends.

#include <QString>
#include <QStringList>

class TChromModule;
class TPrintSettings;

/**
 * Builds the listing and saves it as `fileName` (created or replaced). The labels are Russian
 * only, as the DOS programs that read the listing expect. Numbers use "." and dates
 * "dd/mm/yyyy hh:nn:ss" whatever the regional settings. Failures are told to the user (prompt
 * layer); returns success.
 */
bool WriteTextExport(const QString& fileName, const TChromModule& rec, const TPrintSettings& settings);

/// The lines of the listing, the final empty line included, before conversion to CP866.
QStringList TextExportLines(const TChromModule& rec, const TPrintSettings& settings);

/// The building blocks of the listing's header.
namespace TextExport {

/// The text's lines (split at CR, LF or CR LF) concatenated, each followed by one blank.
QString Join(const QString& text);

struct FitResult {
    QString line;
    QString rest;
};
/// Longer than `width`: the first `width` characters and the rest. Shorter: the text padded
/// with blanks to width + 1 characters. Exactly `width`: the text itself.
FitResult Fit(const QString& text, int width);

/// The first `n` characters (the text itself when shorter).
QString Short(const QString& text, int n);

/// The file name of a path (either separator) without its extension.
QString BaseName(const QString& path);

} // namespace TextExport
