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
    void place(BandImage image, PageStructure& ps);
    void emitImage(const BandImage& image, double x, double y);
    void printSubreports(const BandImage& image, double bandTop, int bandPage, PageStructure& ps);

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
    bool pageOpen_ = false;
    std::vector<Band*> reprint_;
    std::set<Page*> activeSubreports_;
    bool anyRecord_ = false;
    qint64 prints_ = 0;
};

} // namespace tarvex::engine
