#pragma once
// The chromatogram's results as a workbook in the XML Spreadsheet 2003 format: a passport
// sheet, a peak sheet per detector, the identification and group sheets and the additional
// calculation's table.

#include "ResultPassport.h"

#include <QString>
#include <span>

class QIODevice;
class TChromModule;
class TPrintSettings;
class TTableTexts;

/**
 * Writes the whole workbook to `out` (open for writing) as UTF-8 lines ended by CR LF.
 * `columnWidths` is the report's column width table in report units, entry n (1 to 50) at
 * index n - 1 (missing entries count as 0). Numbers are written with "." whatever the
 * regional settings; dates and the creation stamp follow `context.locale`. Returns false when
 * the device refuses bytes; the caller, who owns the file, tells the user.
 */
bool WriteWorkbook(QIODevice& out, const TChromModule& rec, const TPrintSettings& settings, const TTableTexts& tables,
                   std::span<const double> columnWidths, const TResultContext& context = {});

/// `text` fit for XML character data or an attribute value: &, <, >, the quotes, CR and LF
/// escaped (so a cell keeps to its line), characters XML cannot carry left out.
QString XmlEscaped(const QString& text);

/**
 * A worksheet name spreadsheet programs accept: XML-escaped, with the characters that no
 * sheet name may hold (: \ / ? * [ ], control characters) and an apostrophe at either end
 * replaced by "_". An empty name becomes "_". The length is kept.
 */
QString WorksheetName(const QString& name);
