#pragma once
// Pagination: walks pages, bands and data sets and places band images on prepared pages
// (private to the engine).

#include "BandLayout_p.h"
#include "PageStructure_p.h"
#include "PreparedReport.h"
#include "Report.h"
#include "ReportContext_p.h"

#include <map>
#include <set>

namespace tarvex::engine {

class Preparer {
public:
    explicit Preparer(Report& report);
    bool run(PreparedReport& out, QString* error);

private:
    struct Abort {
        QString message;
    };

    void pass(PreparedReport& out);
    void registerAggregates();
    PageStructure& structureOf(Page& page);
    Band* findBand(const QString& name);

    void printReportPage(Page& page);
    void printBody(PageStructure& ps);
    void printData(const DataNode& node, PageStructure& ps);
    bool printBand(Band& band, PageStructure& ps, bool isDataRow = false);
    void place(BandImage image, PageStructure& ps, bool heading = false);
    void emitImage(const BandImage& image, double x, double y);
    void printSubreports(const BandImage& image, size_t anchor, PageStructure& ps);
    bool hasDetailRecords(const DataNode& node);

    // Keeping bands together. A keep marks a place on the current page; when a page break comes while
    // it is open, everything printed since the earliest open mark moves to the new page (once: on the
    // new page it starts at the top of the body and is cut as usual if it is still too long).
    struct Mark {
        int page = 0;        ///< 1-based prepared page
        size_t element = 0;  ///< index of the first element printed after the mark
        double y = 0;
    };
    Mark mark() const;
    int beginKeep(const Mark& at);
    void endKeep(int id);
    void closePendingKeeps();
    /// Puts the elements taken from the previous page from `from` on at the current place of the new one.
    void carryKept(const Mark& from, const std::vector<PreparedElement>& elements);

    void startPage(PageStructure& ps, bool withPageHeader);
    void finishPage(PageStructure& ps, bool lastPage);
    void breakPage(PageStructure& ps);
    double freeSpace() const { return bottomLimit_ - y_; }
    void countPrint();
    void hook(Object& o);

    Report& report_;
    ReportContext ctx_;
    BandLayout layout_;
    PreparedReport* out_ = nullptr;
    std::map<Page*, std::unique_ptr<PageStructure>> structures_;

    // Current page.
    PageStructure* pageStructure_ = nullptr; // the report page being printed (not a sub-report page)
    double y_ = 0;
    double bottomLimit_ = 0;
    double left_ = 0;
    double xOffset_ = 0;
    bool bodyStarted_ = false;
    double bodyTop_ = 0; ///< where the body starts on the current page (below page and reprinted headers)
    bool pageOpen_ = false;
    std::vector<Band*> reprint_;
    std::set<Page*> activeSubreports_;
    bool anyRecord_ = false;
    struct Keep {
        int id;
        Mark at;
    };
    std::vector<Keep> keeps_;
    int nextKeepId_ = 0;
    /// Keeps of headings and of bands with sub-reports, closed when the next band that is not one of
    /// them has been placed: a heading is never the last thing on a page.
    std::vector<int> pendingKeeps_;
    /// Tops of the bands whose sub-reports are printing (they follow a kept band to a new page).
    std::vector<Mark> anchors_;
    /// Where each header and group header was last printed.
    std::map<const Band*, Mark> headerMarks_;
    qint64 prints_ = 0;
};

} // namespace tarvex::engine
