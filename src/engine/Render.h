#pragma once
// Drawing prepared pages and exporting them: QPainter, PDF, page pictures.

#include "PreparedReport.h"

#include <QPainter>
#include <QString>
#include <QStringList>

namespace tarvex::engine {

struct RenderOptions {
    bool monochrome = false;      ///< every colour becomes a grey of the same lightness
    bool includeNonPrintable = false; ///< draw objects marked non-printable (previews)
};

/// Draws `page` with `painter`. The painter's coordinates must be report units (1/96 inch) with the
/// page's top-left corner at the origin: scale the painter by device resolution / 96 first.
void render(const PreparedPage& page, QPainter& painter, const RenderOptions& options = {});

/// Writes all pages to a PDF file (fonts embedded, text selectable). Returns false with *error on failure.
bool exportPdf(const PreparedReport& report, const QString& path, QString* error = nullptr,
               const RenderOptions& options = {});

/// One picture file per page, in `format` ("PNG", "JPEG"/"JPG", "BMP") at `dpi`. The page number
/// (from 1) replaces "%1" in `pathPattern`, or is put before the extension ("out.png" -> "out-1.png").
/// Returns the files written, or an empty list with *error set.
QStringList exportImages(const PreparedReport& report, const QString& pathPattern, const QString& format,
                         int dpi = 96, QString* error = nullptr, const RenderOptions& options = {});

} // namespace tarvex::engine
