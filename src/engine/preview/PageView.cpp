#include "PageView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace tarvex::engine {

namespace {
constexpr double kGap = 12; // pixels around and between pages
}

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent)
{
    // A page picture at a large zoom is several megabytes; keep about a dozen of them.
    cache_.setMaxCost(200 * 1024 * 1024);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PageView::setReport(const PreparedReport* report, const RenderOptions& options)
{
    report_ = report;
    options_ = options;
    options_.includeNonPrintable = true;
    markedPage_ = -1;
    lastPage_ = 0;
    relayout();
    verticalScrollBar()->setValue(0);
    emit currentPageChanged(0);
}

void PageView::setZoom(ZoomMode mode, double factor)
{
    const int page = currentPage();
    mode_ = mode;
    factor_ = std::clamp(factor, 0.1, 8.0);
    relayout();
    showPage(page);
}

void PageView::relayout()
{
    cache_.clear();
    tops_.clear();
    if (!report_ || report_->pages.empty()) {
        contentWidth_ = contentHeight_ = 0;
        verticalScrollBar()->setRange(0, 0);
        horizontalScrollBar()->setRange(0, 0);
        viewport()->update();
        return;
    }
    double widest = 0, tallest = 0;
    for (const PreparedPage& p : report_->pages) {
        widest = std::max(widest, p.size.width());
        tallest = std::max(tallest, p.size.height());
    }
    const QSize vp = viewport()->size();
    switch (mode_) {
    case ZoomMode::FitWidth: scale_ = (vp.width() - 2 * kGap) / std::max(1.0, widest); break;
    case ZoomMode::WholePage:
        scale_ = std::min((vp.width() - 2 * kGap) / std::max(1.0, widest), (vp.height() - 2 * kGap) / std::max(1.0, tallest));
        break;
    case ZoomMode::Percent: scale_ = factor_; break;
    }
    scale_ = std::clamp(scale_, 0.05, 8.0);
    double y = kGap;
    for (const PreparedPage& p : report_->pages) {
        tops_.push_back(y);
        y += p.size.height() * scale_ + kGap;
    }
    contentHeight_ = y;
    contentWidth_ = widest * scale_ + 2 * kGap;
    verticalScrollBar()->setPageStep(vp.height());
    verticalScrollBar()->setSingleStep(40);
    verticalScrollBar()->setRange(0, std::max(0, int(contentHeight_) - vp.height()));
    horizontalScrollBar()->setPageStep(vp.width());
    horizontalScrollBar()->setSingleStep(40);
    horizontalScrollBar()->setRange(0, std::max(0, int(contentWidth_) - vp.width()));
    viewport()->update();
}

QRectF PageView::pageRect(int page) const
{
    const PreparedPage& p = report_->pages[size_t(page)];
    const double w = p.size.width() * scale_;
    const double x = std::max(kGap, (std::max(contentWidth_, double(viewport()->width())) - w) / 2);
    return QRectF(x, tops_[size_t(page)], w, p.size.height() * scale_);
}

int PageView::currentPage() const { return std::max(0, lastPage_); }

int PageView::pageAtView() const
{
    if (tops_.empty())
        return 0;
    // The page that fills the upper part of the view.
    const double y = verticalScrollBar()->value() + viewport()->height() / 3.0;
    const auto it = std::upper_bound(tops_.begin(), tops_.end(), y);
    return std::max(0, int(it - tops_.begin()) - 1);
}

void PageView::showPage(int page, double y)
{
    if (tops_.empty())
        return;
    page = std::clamp(page, 0, int(tops_.size()) - 1);
    double target = tops_[size_t(page)] - kGap;
    if (y >= 0)
        target = tops_[size_t(page)] + y * scale_ - viewport()->height() / 3.0;
    const QSignalBlocker quiet(verticalScrollBar());
    verticalScrollBar()->setValue(int(std::max(0.0, target)));
    viewport()->update();
    // At the end of the report the last page may not reach the top of the view; it is still the one asked for.
    if (page != lastPage_) {
        lastPage_ = page;
        emit currentPageChanged(page);
    }
}

void PageView::markRect(int page, const QRectF& rect)
{
    markedPage_ = rect.isEmpty() ? -1 : page;
    marked_ = rect;
    if (markedPage_ >= 0) {
        const QRectF r = pageRect(page);
        const double top = r.top() + rect.top() * scale_;
        const double bottom = r.top() + rect.bottom() * scale_;
        const int v = verticalScrollBar()->value();
        if (top < v || bottom > v + viewport()->height())
            verticalScrollBar()->setValue(int(top - viewport()->height() / 3.0));
        const double left = r.left() + rect.left() * scale_;
        const int h = horizontalScrollBar()->value();
        if (left < h || left > h + viewport()->width())
            horizontalScrollBar()->setValue(int(left - kGap));
        if (page != lastPage_) {
            lastPage_ = page;
            emit currentPageChanged(page);
        }
    }
    viewport()->update();
}

QPixmap PageView::pagePixmap(int page)
{
    if (QPixmap* cached = cache_.object(page))
        return *cached;
    const PreparedPage& p = report_->pages[size_t(page)];
    const double dpr = devicePixelRatioF();
    const QSize size(std::max(1, qRound(p.size.width() * scale_ * dpr)), std::max(1, qRound(p.size.height() * scale_ * dpr)));
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    {
        QPainter painter(&pixmap);
        painter.scale(scale_ * dpr, scale_ * dpr);
        tarvex::engine::render(p, painter, options_);
    }
    pixmap.setDevicePixelRatio(dpr);
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    cache_.insert(page, new QPixmap(pixmap), qsizetype(std::min<qint64>(bytes, cache_.maxCost())));
    return pixmap;
}

void PageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    if (!report_ || tops_.empty())
        return;
    const QPointF offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const QRectF visible = QRectF(event->rect()).translated(-offset);
    for (int i = 0; i < int(tops_.size()); ++i) {
        const QRectF r = pageRect(i);
        if (r.bottom() < visible.top())
            continue;
        if (r.top() > visible.bottom())
            break;
        const QRectF onScreen = r.translated(offset);
        painter.fillRect(onScreen.translated(3, 3), QColor(0, 0, 0, 60));
        painter.drawPixmap(onScreen.topLeft(), pagePixmap(i));
        painter.setPen(QColor(0x60, 0x60, 0x60));
        painter.drawRect(onScreen.adjusted(0, 0, -1, -1));
        if (i == markedPage_) {
            const QRectF m(onScreen.left() + marked_.left() * scale_, onScreen.top() + marked_.top() * scale_,
                           marked_.width() * scale_, marked_.height() * scale_);
            painter.fillRect(m, QColor(255, 200, 0, 90));
            painter.setPen(QPen(QColor(220, 120, 0), 2));
            painter.drawRect(m);
        }
    }
}

void PageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    // The page the reader was on stays in view; the new size may change the scale.
    const int page = std::max(0, lastPage_);
    relayout();
    showPage(page);
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
    const int page = pageAtView();
    if (page != lastPage_) {
        lastPage_ = page;
        emit currentPageChanged(page);
    }
}

void PageView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        emit zoomStep(event->angleDelta().y() > 0 ? 1 : -1);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

} // namespace tarvex::engine
