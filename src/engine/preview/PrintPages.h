#pragma once
// Printing prepared pages on a QPrinter.

#include "Export.h"
#include "PreparedReport.h"

#include <QString>

class QPrinter;

namespace tarvex::engine {

/**
 * Prints the pages of `report` in the printer's page range (fromPage()/toPage(), all when 0) on
 * the printer as it is set up: its paper, orientation, copies and colour mode. A page larger than
 * the paper is scaled down to fit; smaller pages print at their size. `progress` is told after
 * each page and may stop the job. False with *error set when nothing or not everything printed.
 */
bool printPages(const PreparedReport& report, QPrinter& printer, const RenderOptions& options = {},
                const ProgressFn& progress = {}, QString* error = nullptr);

/// Sets the printer's paper and orientation to those of the report's first page.
void matchPaperToReport(const PreparedReport& report, QPrinter& printer);

} // namespace tarvex::engine
