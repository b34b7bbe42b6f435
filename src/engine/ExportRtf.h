#pragma once
// Rich-text export of prepared pages.

#include "Export.h"

namespace tarvex::engine {

/**
 * Rich text: each page becomes a section of the same paper size holding its texts as tables
 * (cells where the page has boxes, merged where a box spans several) and its pictures as PNG
 * pictures. Charts drawn from lines and shapes are not exported. The file is replaced only when
 * the whole document was written. Returns false with *error set otherwise.
 */
bool exportRtf(const PreparedReport& report, const QString& path, const ExportOptions& options = {},
               QString* error = nullptr);

} // namespace tarvex::engine
