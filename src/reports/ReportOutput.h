#pragma once
// Putting a prepared report in front of the user: the preview, or a printer.

#include "Export.h"
#include "PreparedReport.h"
#include "PrinterSetup.h"

#include <QString>

struct TPrintRequest {
    QString printerName;  ///< empty: the system's default printer
    bool applyPageSetup = false; ///< pass paper, orientation, duplex and copies to the printer
    TPageSetup pageSetup;
    bool showDialog = false;
    bool monochrome = false;
    bool noPrinter = false; ///< the host says no printer is installed: nothing goes to a printer
    QString title;
};

struct TPreviewRequest {
    QString title;
    unsigned buttons = 0; ///< TPreviewButton bits of the report component
    bool monochrome = false;
    TPrintRequest print;  ///< the printer the preview's print button and page setup start from
};

/**
 * Prints the pages. When there is no printer (none installed, or the host says so) or the printer
 * fails, the report is kept as a PDF file in the user's documents folder and the message names
 * it. False, with the reason told to the user, when nothing was printed.
 */
bool PrintPrepared(const tarvex::engine::PreparedReport& prepared, const TPrintRequest& request);

/**
 * Shows the pages until the user closes the preview. Without a display the pages are written as
 * PNG files to $TARVEX_PREVIEW_DIR (or a new folder under the temporary directory), their
 * folder is named on standard error, and the call returns at once.
 */
void PreviewPrepared(const tarvex::engine::PreparedReport& prepared, const TPreviewRequest& request);

/**
 * Progress of writing or printing `pageCount` pages, for the engine's exporters and printing.
 * Reports of a few pages show none. Otherwise a run without a display logs every tenth on
 * standard error, and one with a display shows a progress dialog whose Cancel stops the work.
 */
tarvex::engine::ProgressFn ReportProgress(const QString& what, int pageCount);
