#pragma once
// Spreadsheet workbook export of prepared pages.

#include "Export.h"

namespace tarvex::engine {

/**
 * A spreadsheet workbook (Office Open XML, .xlsx) written with libxlsxwriter: one worksheet, all
 * pages one below the other without page breaks, empty rows kept, pictures placed where they
 * print. A cell whose text is a plain number is stored as a number shown with the printed digits.
 */
bool exportXlsx(const PreparedReport& report, const QString& path, const ExportOptions& options = {},
                QString* error = nullptr);

} // namespace tarvex::engine
