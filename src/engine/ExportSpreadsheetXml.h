#pragma once
// XML Spreadsheet 2003 export of prepared pages.

#include "Export.h"

namespace tarvex::engine {

/**
 * XML Spreadsheet 2003: one worksheet, all pages one below the other without page breaks, the
 * page layout kept as column widths, row heights and merged cells. Rows that nothing touches are
 * left out. Cell texts are strings as printed.
 */
bool exportSpreadsheetXml(const PreparedReport& report, const QString& path, const ExportOptions& options = {},
                          QString* error = nullptr);

} // namespace tarvex::engine
