#pragma once
// HTML export of prepared pages.

#include "Export.h"

namespace tarvex::engine {

/**
 * HTML (well-formed XHTML): every page a box of the paper's size in a fixed-width column, texts
 * placed where they print, frames, lines and chart shapes as inline SVG, pictures as PNG files in
 * the folder "<name>.files" beside the document.
 */
bool exportHtml(const PreparedReport& report, const QString& path, const ExportOptions& options = {},
                QString* error = nullptr);

} // namespace tarvex::engine
