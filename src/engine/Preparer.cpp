#include "Preparer_p.h"

#include "MemoView.h"
#include "SubreportView.h"
#include "UserDataSet.h"

namespace tarvex::engine {

namespace {

// Child bands naming each other in a ring stop here.
constexpr int kMaxChildChain = 32;

void collectMemos(const Object& o, std::vector<const MemoView*>& out)
{
    if (o.kind() == ObjectKind::Memo)
        out.push_back(static_cast<const MemoView*>(&o));
    for (const auto& c : o.children())
        collectMemos(*c, out);
}

} // namespace

Preparer::Preparer(Report& report)
    : report_(report), ctx_(report), layout_(report, ctx_, [this](Object& o) { hook(o); })
{
}

void Preparer::hook(Object& o)
{
    if (report_.onBeforePrint)
        report_.onBeforePrint(o);
}

void Preparer::countPrint()
{
    if (++prints_ > report_.options.maxBandPrints)
        throw Abort{QStringLiteral("more than %1 bands printed; a data set does not end").arg(report_.options.maxBandPrints)};
}

PageStructure& Preparer::structureOf(Page& page)
{
    auto it = structures_.find(&page);
    if (it == structures_.end())
        it = structures_.emplace(&page, PageStructure::build(page)).first;
    return *it->second;
}

Band* Preparer::findBand(const QString& name)
{
    Object* o = report_.findObject(name);
    return o && o->kind() == ObjectKind::Band ? static_cast<Band*>(o) : nullptr;
}

void Preparer::registerAggregates()
{
    for (Page* page : report_.pages()) {
        PageStructure& ps = structureOf(*page);
        for (Band* band : page->bands()) {
            std::vector<const MemoView*> memos;
            collectMemos(*band, memos);
            for (const MemoView* m : memos) {
                QStringList exprs;
                // Aggregates can stand in memo expressions and in highlight conditions.
                qsizetype from = 0;
                while (true) {
                    const qsizetype open = m->text.indexOf(QLatin1Char('['), from);
                    if (open < 0)
                        break;
                    const qsizetype close = m->text.indexOf(QLatin1Char(']'), open);
                    if (close < 0)
                        break;
                    QString e = m->text.mid(open + 1, close - open - 1);
                    const qsizetype hash = e.indexOf(QLatin1String(" #"));
                    if (hash > 0)
                        e = e.left(hash);
                    exprs << e;
                    from = close + 1;
                }
                for (const QString& e : exprs) {
                    if (!e.contains(QLatin1String("SUM"), Qt::CaseInsensitive) && !e.contains(QLatin1String("COUNT"), Qt::CaseInsensitive)
                        && !e.contains(QLatin1String("AVG"), Qt::CaseInsensitive) && !e.contains(QLatin1String("MIN"), Qt::CaseInsensitive)
                        && !e.contains(QLatin1String("MAX"), Qt::CaseInsensitive))
                        continue;
                    const Expression& parsed = ctx_.parsed(e.trimmed(), nullptr);
                    for (const AggregateCall& call : parsed.aggregates()) {
                        const Band* data = nullptr;
                        if (!call.bandName.isEmpty())
                            data = findBand(call.bandName);
                        if (!data)
                            data = ps.dataBandOfFooter.value(band, nullptr);
                        if (!data && band->isDataBand())
                            data = band;
                        if (!data && !ps.roots.empty())
                            data = ps.roots.front()->band;
                        if (data)
                            ctx_.registerAggregate(call, band, data);
                    }
                }
            }
        }
    }
}

bool Preparer::run(PreparedReport& out, QString* error)
{
    out_ = &out;
    out.pages.clear();
    // TotalPages needs a first pass to count the pages.
    bool twoPasses = report_.options.doublePass;
    std::vector<const MemoView*> memos;
    collectMemos(report_.root(), memos);
    for (const MemoView* m : memos)
        if (m->text.contains(QLatin1String("TOTALPAGES"), Qt::CaseInsensitive))
            twoPasses = true;

    std::set<QString> subreportPages;
    std::vector<const Object*> stack{&report_.root()};
    while (!stack.empty()) {
        const Object* o = stack.back();
        stack.pop_back();
        if (o->kind() == ObjectKind::Subreport)
            subreportPages.insert(static_cast<const SubreportView*>(o)->pageName);
        for (const auto& c : o->children())
            stack.push_back(c.get());
    }
    std::vector<Page*> printed;
    for (Page* p : report_.pages())
        if (p->visible && !subreportPages.count(p->name))
            printed.push_back(p);
    if (printed.empty()) {
        if (error)
            *error = QStringLiteral("the report has no page to print");
        return false;
    }

    try {
        registerAggregates();
        int total = 0;
        for (int passNo = 0; passNo < (twoPasses ? 2 : 1); ++passNo) {
            out.pages.clear();
            ctx_.totalPages = total;
            prints_ = 0;
            anyRecord_ = false;
            keeps_.clear();
            pendingKeeps_.clear();
            anchors_.clear();
            headerMarks_.clear();
            for (Page* p : printed)
                printReportPage(*p);
            total = out.pageCount();
        }
    } catch (const Abort& a) {
        if (error)
            *error = a.message;
        return false;
    } catch (const std::exception& e) {
        if (error)
            *error = QStringLiteral("preparing stopped: %1").arg(QString::fromLocal8Bit(e.what()));
        return false;
    }
    if (!anyRecord_ && !report_.options.printIfEmpty)
        out.pages.clear();
    if (error)
        error->clear();
    return true;
}

void Preparer::startPage(PageStructure& ps, bool withPageHeader)
{
    if (out_->pageCount() >= report_.options.maxPages)
        throw Abort{QStringLiteral("more than %1 pages; preparing stopped").arg(report_.options.maxPages)};
    Page& page = *ps.page;
    PreparedPage pg;
    pg.size = page.paperSizeUnits();
    pg.landscape = page.landscape;
    out_->pages.push_back(std::move(pg));
    pageOpen_ = true;
    ctx_.page = out_->pageCount();
    left_ = page.leftMargin * kUnitsPerMm;
    y_ = page.topMargin * kUnitsPerMm;
    bottomLimit_ = (page.paperHeight - page.bottomMargin) * kUnitsPerMm;
    if (ps.pageFooter && ps.pageFooter->visible)
        bottomLimit_ -= ps.pageFooter->height;
    if (ps.columnFooter && ps.columnFooter->visible)
        bottomLimit_ -= ps.columnFooter->height;
    bodyStarted_ = false;
    if (ps.overlay) {
        countPrint();
        hook(*ps.overlay);
        if (ps.overlay->visible)
            emitImage(layout_.layout(*ps.overlay, ps), left_, y_);
    }
    if (withPageHeader) {
        if (ps.pageHeader && (ctx_.page > 1 || ps.pageHeader->printOnFirstPage))
            printBand(*ps.pageHeader, ps);
        if (ps.columnHeader)
            printBand(*ps.columnHeader, ps);
    }
    bodyTop_ = y_;
}

void Preparer::finishPage(PageStructure& ps, bool lastPage)
{
    if (!pageOpen_)
        return;
    pageOpen_ = false;
    const double saveX = xOffset_;
    xOffset_ = 0;
    if (ps.columnFooter) {
        countPrint();
        hook(*ps.columnFooter);
        if (ps.columnFooter->visible) {
            BandImage img = layout_.layout(*ps.columnFooter, ps);
            emitImage(img, left_, y_);
        }
    }
    Band* footer = ps.pageFooter;
    if (footer && (ctx_.page > 1 || footer->printOnFirstPage) && (footer->printOnLastPage || !lastPage)) {
        countPrint();
        hook(*footer);
        if (footer->visible) {
            BandImage img = layout_.layout(*footer, ps);
            const double bottom = (ps.page->paperHeight - ps.page->bottomMargin) * kUnitsPerMm;
            emitImage(img, left_, bottom - img.height);
        }
        ctx_.resetAggregates(footer, ctx_.excludeLastRow);
    }
    xOffset_ = saveX;
}

Preparer::Mark Preparer::mark() const
{
    return Mark{out_->pageCount(), out_->pages.empty() ? 0 : out_->pages.back().elements.size(), y_};
}

int Preparer::beginKeep(const Mark& at)
{
    const int id = nextKeepId_++;
    keeps_.push_back({id, at});
    return id;
}

void Preparer::endKeep(int id)
{
    keeps_.erase(std::remove_if(keeps_.begin(), keeps_.end(), [id](const Keep& k) { return k.id == id; }), keeps_.end());
}

void Preparer::closePendingKeeps()
{
    for (int id : pendingKeeps_)
        endKeep(id);
    pendingKeeps_.clear();
}

void Preparer::carryKept(const Mark& from, const std::vector<PreparedElement>& elements)
{
    const double dy = y_ - from.y;
    const int page = out_->pageCount();
    auto& target = out_->pages.back().elements;
    const size_t base = target.size();
    for (const PreparedElement& e : elements) {
        PreparedElement moved = e;
        std::visit([&](auto& item) {
            using T = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<T, LineItem>) {
                item.from.ry() += dy;
                item.to.ry() += dy;
            } else if constexpr (std::is_same_v<T, ShapeItem>) {
                item.rect.translate(0, dy);
                item.points.translate(0, dy);
            } else {
                item.rect.translate(0, dy);
            }
        }, moved.item);
        target.push_back(std::move(moved));
    }
    // Keeps and sub-report anchors inside the moved part move with it.
    auto follow = [&](Mark& m) {
        if (m.page == page - 1 && m.element >= from.element) {
            m.page = page;
            m.element = base + (m.element - from.element);
            m.y += dy;
        }
    };
    for (Keep& k : keeps_)
        follow(k.at);
    for (Mark& a : anchors_)
        follow(a);
}

void Preparer::breakPage(PageStructure& ps)
{
    (void)ps;
    // The earliest open keep that does not already start the body of this page moves along.
    bool kept = false;
    Mark from;
    for (const Keep& k : keeps_)
        if (k.at.page == out_->pageCount() && k.at.y > bodyTop_ + 0.01 && (!kept || k.at.element < from.element)) {
            kept = true;
            from = k.at;
        }
    std::vector<PreparedElement> carried;
    double carriedHeight = 0;
    if (kept) {
        auto& elements = out_->pages.back().elements;
        const auto first = elements.begin() + std::ptrdiff_t(std::min(from.element, elements.size()));
        carried.assign(std::make_move_iterator(first), std::make_move_iterator(elements.end()));
        elements.erase(first, elements.end());
        carriedHeight = y_ - from.y;
    }
    const int oldPage = out_->pageCount();
    PageStructure& top = *pageStructure_;
    finishPage(top, false);
    startPage(top, true);
    // Headers asked to be reprinted come first on the new page, unless they move there with the kept part.
    const std::vector<Band*> headers = reprint_;
    for (Band* h : headers) {
        if (kept) {
            const auto at = headerMarks_.find(h);
            if (at != headerMarks_.end() && at->second.page == oldPage && at->second.element >= from.element)
                continue;
        }
        countPrint();
        hook(*h);
        if (!h->visible)
            continue;
        BandImage img = layout_.layout(*h, ps);
        emitImage(img, left_ + xOffset_, y_);
        y_ += img.height;
    }
    bodyTop_ = y_;
    if (kept) {
        carryKept(from, carried);
        y_ += carriedHeight;
    }
}

void Preparer::emitImage(const BandImage& image, double x, double y)
{
    auto& elements = out_->pages.back().elements;
    for (const PreparedElement& e : image.elements) {
        PreparedElement moved = e;
        std::visit([&](auto& item) {
            using T = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<T, LineItem>) {
                item.from += QPointF(x, y);
                item.to += QPointF(x, y);
            } else if constexpr (std::is_same_v<T, ShapeItem>) {
                item.rect.translate(x, y);
                item.points.translate(x, y);
            } else {
                item.rect.translate(x, y);
            }
        }, moved.item);
        elements.push_back(std::move(moved));
    }
}

void Preparer::place(BandImage image, PageStructure& ps, bool heading)
{
    const double x = left_ + xOffset_;
    if (image.height > freeSpace() + 0.01 && bodyStarted_)
        breakPage(ps);
    // A band taller than the room left is cut across pages.
    while (image.height > freeSpace() + 0.01) {
        const double room = std::max(0.0, freeSpace());
        BandImage whole = image;
        BandImage rest = image.splitAt(room);
        if (image.elements.empty() && !bodyStarted_ && rest.height >= whole.height - 0.01) {
            // Nothing fits even on an empty page (one line taller than the page): print it as it is.
            image = std::move(whole);
            break;
        }
        anchors_.push_back(mark());
        emitImage(image, x, y_);
        y_ += image.height;
        bodyStarted_ = true;
        if (!image.subreports.empty())
            printSubreports(image, anchors_.size() - 1, ps);
        anchors_.pop_back();
        breakPage(ps);
        image = std::move(rest);
    }
    const Mark top = mark();
    emitImage(image, x, y_);
    y_ += image.height;
    const bool hasSubreports = !image.subreports.empty();
    if (heading || hasSubreports) {
        // Headings and bands whose sub-reports follow them stay with the next band placed.
        pendingKeeps_.push_back(beginKeep(top));
    } else {
        closePendingKeeps();
    }
    if (hasSubreports) {
        anchors_.push_back(top);
        printSubreports(image, anchors_.size() - 1, ps);
        anchors_.pop_back();
    }
}

void Preparer::printSubreports(const BandImage& image, size_t anchor, PageStructure& ps)
{
    (void)ps;
    // The band may move to a new page with the first rows of its sub-reports: its place is read from
    // the anchor each time.
    int endPage = out_->pageCount();
    double endY = y_;
    for (const BandImage::Sub& sub : image.subreports) {
        Object* target = nullptr;
        for (Page* p : report_.pages())
            if (p->name == sub.view->pageName)
                target = p;
        if (!target) {
            report_.addWarning(QStringLiteral("%1: page '%2' not found").arg(sub.view->name, sub.view->pageName));
            continue;
        }
        Page* page = static_cast<Page*>(target);
        if (activeSubreports_.count(page)) {
            report_.addWarning(QStringLiteral("%1: page '%2' contains itself").arg(sub.view->name, page->name));
            continue;
        }
        hook(*sub.view);
        if (!sub.view->visible)
            continue;
        const Mark band = anchors_[anchor];
        if (out_->pageCount() == band.page)
            y_ = band.y + sub.top;
        const double saveX = xOffset_;
        xOffset_ += sub.left;
        activeSubreports_.insert(page);
        PageStructure& sps = structureOf(*page);
        if (sps.title)
            printBand(*sps.title, sps, false);
        printBody(sps);
        if (sps.summary)
            printBand(*sps.summary, sps, false);
        activeSubreports_.erase(page);
        xOffset_ = saveX;
        if (out_->pageCount() > endPage || (out_->pageCount() == endPage && y_ > endY)) {
            endPage = out_->pageCount();
            endY = y_;
        }
    }
    const Mark band = anchors_[anchor];
    if (out_->pageCount() == band.page && band.page >= endPage) {
        endPage = band.page;
        endY = std::max(endY, band.y + image.height);
    }
    if (out_->pageCount() == endPage)
        y_ = std::max(y_, endY);
}

void Preparer::printReportPage(Page& page)
{
    PageStructure& ps = structureOf(page);
    pageStructure_ = &ps;
    xOffset_ = 0;
    reprint_.clear();
    const bool titleFirst = ps.title && page.titleBeforeHeader;
    startPage(ps, !titleFirst);
    if (ps.title)
        printBand(*ps.title, ps, false);
    if (titleFirst) {
        if (ps.pageHeader && ps.pageHeader->printOnFirstPage)
            printBand(*ps.pageHeader, ps);
        if (ps.columnHeader)
            printBand(*ps.columnHeader, ps);
    }
    printBody(ps);
    if (ps.summary)
        printBand(*ps.summary, ps, false);
    finishPage(ps, true);
    keeps_.clear();
    pendingKeeps_.clear();
}

void Preparer::printBody(PageStructure& ps)
{
    for (const auto& root : ps.roots)
        printData(*root, ps);
}

void Preparer::printData(const DataNode& node, PageStructure& ps)
{
    Band& band = *node.band;
    DataSet* ds = nullptr;
    std::unique_ptr<UserDataSet> counted;
    const QString dsName = band.boundDataSetName();
    if (!dsName.isEmpty()) {
        ds = report_.findDataSet(dsName);
        if (!ds) {
            report_.addWarning(QStringLiteral("%1: data set '%2' is not bound; the band prints nothing").arg(band.name, dsName));
            return;
        }
    } else if (band.rowCount > 0) {
        counted = std::make_unique<UserDataSet>();
        counted->setRangeEndCount(band.rowCount);
        ds = counted.get();
    } else {
        return;
    }
    ds->first();
    if (ds->eof())
        return;
    anyRecord_ = true;
    const int outerLine = ctx_.line;
    ctx_.line = 0;
    const size_t groups = node.groupHeaders.size();
    std::vector<QString> lastCondition(groups);
    size_t openGroups = 0;
    int line = 0;
    Mark lastRecord;
    bool anyPrinted = false;
    auto closeGroups = [&](size_t downTo) {
        while (openGroups > downTo) {
            --openGroups;
            Band* gh = node.groupHeaders[openGroups];
            if (gh->reprintOnNewPage)
                reprint_.erase(std::remove(reprint_.begin(), reprint_.end(), gh), reprint_.end());
            if (Band* gf = node.groupFooters[openGroups])
                printBand(*gf, ps, false);
        }
    };
    while (!ds->eof()) {
        if (!node.details.empty() && !band.printIfDetailEmpty && !hasDetailRecords(node)) {
            ds->next();
            continue;
        }
        if (!anyPrinted && node.header) {
            // The header comes with the first record that prints.
            headerMarks_[node.header] = mark();
            printBand(*node.header, ps, false);
            if (node.header->reprintOnNewPage)
                reprint_.push_back(node.header);
        }
        ++line;
        ctx_.line = line;
        lastRecord = mark();
        if (groups > 0) {
            std::vector<QString> values(groups);
            size_t changed = groups;
            for (size_t g = 0; g < groups; ++g) {
                const QString cond = node.groupHeaders[g]->condition;
                auto v = ctx_.evaluate(cond, node.groupHeaders[g]->name);
                values[g] = v ? v->toString() : cond;
                if (changed == groups && (g >= openGroups || values[g] != lastCondition[g]))
                    changed = g;
            }
            if (changed < openGroups) {
                // The footers of the ending groups show the last record of the group.
                ds->prior();
                ctx_.line = line - 1;
                closeGroups(changed);
                ds->next();
                ctx_.line = line;
            }
            for (size_t g = changed; g < groups; ++g) {
                lastCondition[g] = values[g];
                headerMarks_[node.groupHeaders[g]] = mark();
                printBand(*node.groupHeaders[g], ps, false);
                if (node.groupHeaders[g]->reprintOnNewPage)
                    reprint_.push_back(node.groupHeaders[g]);
                openGroups = g + 1;
            }
        }
        const int keep = band.keepTogether ? beginKeep(mark()) : -1;
        printBand(band, ps, true);
        for (const auto& d : node.details) {
            printData(*d, ps);
            ctx_.line = line;
        }
        if (keep >= 0)
            endKeep(keep);
        anyPrinted = true;
        ds->next();
    }
    closeGroups(0);
    if (node.header && node.header->reprintOnNewPage)
        reprint_.erase(std::remove(reprint_.begin(), reprint_.end(), node.header), reprint_.end());
    if (node.footer && anyPrinted) {
        // The footer takes the last record with it to the next page rather than start it alone.
        const int keep = band.keepFooter ? beginKeep(lastRecord) : -1;
        printBand(*node.footer, ps, false);
        if (keep >= 0)
            endKeep(keep);
    }
    ctx_.line = outerLine;
}

bool Preparer::hasDetailRecords(const DataNode& node)
{
    for (const auto& d : node.details) {
        const Band& detail = *d->band;
        const QString name = detail.boundDataSetName();
        if (name.isEmpty()) {
            if (detail.rowCount > 0)
                return true;
            continue;
        }
        if (DataSet* ds = report_.findDataSet(name)) {
            ds->first();
            if (!ds->eof())
                return true;
        }
    }
    return false;
}

bool Preparer::printBand(Band& band, PageStructure& ps, bool isDataRow)
{
    Band* current = &band;
    bool printedFirst = false;
    const BandKind kind = band.bandKind();
    const bool heading = kind == BandKind::Header || kind == BandKind::GroupHeader || kind == BandKind::ReportTitle;
    const int keep = band.keepChild && !band.childName.isEmpty() ? beginKeep(mark()) : -1;
    for (int chain = 0; current && chain < kMaxChildChain; ++chain) {
        Band& b = *current;
        countPrint();
        hook(b);
        const bool pageBand = b.bandKind() == BandKind::PageHeader || b.bandKind() == BandKind::ColumnHeader;
        if (b.visible) {
            if (b.startNewPage && bodyStarted_ && !pageBand)
                breakPage(ps);
            const bool dataRow = isDataRow && chain == 0;
            if (dataRow)
                ctx_.accumulate(&b);
            BandImage img = layout_.layout(b, ps);
            if (pageBand) {
                emitImage(img, left_, y_);
                y_ += img.height;
            } else {
                ctx_.excludeLastRow = dataRow;
                place(std::move(img), ps, heading);
                ctx_.excludeLastRow = false;
                bodyStarted_ = true;
            }
            ctx_.resetAggregates(&b, false);
            if (chain == 0)
                printedFirst = true;
        } else if (!b.printChildIfInvisible) {
            break;
        }
        current = b.childName.isEmpty() ? nullptr : findBand(b.childName);
    }
    if (keep >= 0)
        endKeep(keep);
    return printedFirst;
}

} // namespace tarvex::engine
