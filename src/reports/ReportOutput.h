#pragma once
// Putting a prepared report in front of the user: the preview, or a printer.

#include "PreparedReport.h"
#include "PrinterSetup.h"

#include <QString>

struct TPrintRequest {
    QString printerName;  ///< empty: the system's default printer
    bool applyPageSetup = false; ///< pass paper, orientation, duplex and copies to the printer
    TPageSetup pageSetup;
    bool showDialog = false;
    bool monochrome = false;
    QString title;
};

/// Prints the pages. False, with the reason told to the user, when nothing could be printed.
bool PrintPrepared(const tarvex::engine::PreparedReport& prepared, const TPrintRequest& request);

/**
 * Shows the pages until the user closes the preview. Without a display the pages are written as
 * PNG files to $TARVEX_PREVIEW_DIR (or a new folder under the temporary directory), their
 * folder is named on standard error, and the call returns at once.
 */
void PreviewPrepared(const tarvex::engine::PreparedReport& prepared, const QString& title, bool allowPrint,
                     bool monochrome);
