#include "PrintPages.h"

#include "Render.h"
#include "UiStrings.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace tarvex::engine {

void matchPaperToReport(const PreparedReport& report, QPrinter& printer)
{
    if (report.pages.empty())
        return;
    const PreparedPage& first = report.pages.front();
    // Prepared pages are stored as they lie on the desk; the paper is described upright.
    QSizeF mm(first.size.width() / kUnitsPerMm, first.size.height() / kUnitsPerMm);
    const bool landscape = mm.width() > mm.height();
    if (landscape)
        mm.transpose();
    printer.setPageSize(QPageSize(mm, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool printPages(const PreparedReport& report, QPrinter& printer, const RenderOptions& options,
                const ProgressFn& progress, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    const int count = report.pageCount();
    if (count == 0)
        return fail(uiText("export.noPages", "The report has no pages"));
    int from = printer.fromPage() > 0 ? printer.fromPage() : 1;
    int to = printer.toPage() > 0 ? printer.toPage() : count;
    from = std::clamp(from, 1, count);
    to = std::clamp(to, from, count);

    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return fail(uiText("print.cannotStart", "The printer %1 cannot start the job").arg(printer.printerName()));
    const double dpi = printer.resolution();
    const QRectF paper = printer.pageLayout().fullRectPixels(printer.resolution());
    const int total = to - from + 1;
    for (int i = from; i <= to; ++i) {
        if (i > from && !printer.newPage()) {
            painter.end();
            return fail(uiText("print.failed", "The printer %1 stopped at page %2").arg(printer.printerName()).arg(i));
        }
        const PreparedPage& page = report.pages[size_t(i - 1)];
        const double toDevice = dpi / 96.0;
        // Shrink pages that do not fit the paper; never enlarge.
        const double fit = std::min({1.0, paper.width() / std::max(1.0, page.size.width() * toDevice),
                                     paper.height() / std::max(1.0, page.size.height() * toDevice)});
        painter.save();
        painter.scale(toDevice * fit, toDevice * fit);
        render(page, painter, options);
        painter.restore();
        if (progress && !progress(i - from + 1, total)) {
            printer.abort();
            painter.end();
            return fail(uiText("export.cancelled", "Cancelled by the user"));
        }
    }
    if (!painter.end())
        return fail(uiText("print.failed", "The printer %1 stopped at page %2").arg(printer.printerName()).arg(to));
    return true;
}

} // namespace tarvex::engine
