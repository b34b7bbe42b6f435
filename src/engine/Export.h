#pragma once
// What every document exporter of prepared pages shares: its options and progress.

#include "PreparedReport.h"
#include "Render.h"

#include <QString>

#include <functional>

namespace tarvex::engine {

/// Called after each page with the pages done and the page count; returning false stops the work,
/// which then fails with a "cancelled" error and leaves no file behind.
using ProgressFn = std::function<bool(int done, int total)>;

struct ExportOptions {
    RenderOptions render;                          ///< monochrome applies to the exported colours too
    ProgressFn progress;                           ///< may be empty
    QString creator = QStringLiteral("TarvexWin"); ///< author named in the documents that have one
    QString title;                                 ///< document title where the format has one
};

} // namespace tarvex::engine
