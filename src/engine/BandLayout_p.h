#pragma once
// Lays out one printing of a band: calls the hook for each object, evaluates texts, repeats cross-table
// cells over the columns, stretches and shifts objects (private to the engine).

#include "PageStructure_p.h"
#include "PreparedReport.h"
#include "ReportContext_p.h"
#include "TextLayout_p.h"

#include <functional>

namespace tarvex::engine {

class SubreportView;
class MemoView;

/// A band laid out at origin (0, 0), ready to be placed on a page.
struct BandImage {
    double height = 0;
    std::vector<PreparedElement> elements;
    struct Sub {
        SubreportView* view;
        double left;
        double top;
    };
    std::vector<Sub> subreports;

    /// Cuts at `y`: what lies above stays here, the rest is returned shifted up. Texts split between
    /// lines, frames lose the side at the cut.
    BandImage splitAt(double y);
    bool isEmpty() const { return elements.empty() && subreports.empty(); }
};

class BandLayout {
public:
    using Hook = std::function<void(Object&)>;
    BandLayout(Report& report, ReportContext& context, Hook hook);

    BandImage layout(Band& band, const PageStructure& structure);

    /// Cross-table columns printed for one band stop after this many (a column data set that never ends).
    static constexpr int kMaxColumns = 10000;

private:
    struct Placed;
    void placeObject(Object& o, Band& band, double x, std::vector<Placed>& out);
    void emitImage(const Placed& p, std::vector<PreparedElement>& out);
    TextFont textFont(const Font& f) const;

    Report& report_;
    ReportContext& ctx_;
    Hook hook_;
    TextMeasurer measurer_;
};

} // namespace tarvex::engine
