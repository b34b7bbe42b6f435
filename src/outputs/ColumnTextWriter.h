#pragma once
// The chromatogram's results as a text file in fixed-width columns: the passport as label and
// value lines, then the peak, identification and group tables as printed.

#include "ResultPassport.h"

#include <QString>
#include <QStringList>

class TChromModule;
class TPrintSettings;
class TTableTexts;

/**
 * A field of a column: the text trimmed, padded to the column width + 1 when the untrimmed text
 * is shorter than `width`, cut to `width` characters (untrimmed) when it is longer, and always
 * followed by two blanks.
 */
QString PadField(const QString& text, int width);

/**
 * Builds the listing and saves it as `fileName` (created or replaced): Windows-1251, or the
 * DOS code page (CP866) when `oem` is set; lines end with CR LF. Column widths come from the
 * print settings (characters, truncated); the first column of every table is 5 wide. Printed
 * numbers follow `context.locale`. Failures are told to the user (prompt layer); returns success.
 */
bool WriteColumnText(const QString& fileName, bool oem, const TChromModule& rec, const TPrintSettings& settings,
                     const TTableTexts& tables, const TResultContext& context = {});

/// The lines of the listing before conversion.
QStringList ColumnTextLines(const TChromModule& rec, const TPrintSettings& settings, const TTableTexts& tables,
                            const TResultContext& context);
