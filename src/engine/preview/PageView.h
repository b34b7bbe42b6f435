#pragma once
// The scrolling column of pages inside the preview window. Private to the preview.

#include "PreparedReport.h"
#include "Render.h"

#include <QAbstractScrollArea>
#include <QCache>
#include <QPixmap>

namespace tarvex::engine {

class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class ZoomMode { FitWidth, WholePage, Percent };

    explicit PageView(QWidget* parent = nullptr);

    /// Shows `report` (not owned; it must stay alive and unchanged until the next call).
    void setReport(const PreparedReport* report, const RenderOptions& options);

    void setZoom(ZoomMode mode, double factor = 1.0);
    ZoomMode zoomMode() const { return mode_; }
    /// Screen pixels per report unit.
    double scale() const { return scale_; }

    /// The page being read, from 0: the one last shown, or the one scrolled to the top of the view.
    int currentPage() const;
    /// Scrolls so that `page` starts at the top; `y` (report units) is a place on it to show.
    void showPage(int page, double y = -1);
    /// Marks a rectangle of a page (a found text) and scrolls it into view; an empty rectangle clears it.
    void markRect(int page, const QRectF& rect);

signals:
    void currentPageChanged(int page);
    /// Ctrl + wheel asks for another zoom: +1 larger, -1 smaller.
    void zoomStep(int direction);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void relayout();
    QPixmap pagePixmap(int page);
    QRectF pageRect(int page) const; ///< in content pixels
    int pageAtView() const;

    const PreparedReport* report_ = nullptr;
    RenderOptions options_;
    ZoomMode mode_ = ZoomMode::FitWidth;
    double factor_ = 1.0;
    double scale_ = 1.0;
    std::vector<double> tops_; ///< content y of each page
    double contentWidth_ = 0;
    double contentHeight_ = 0;
    QCache<int, QPixmap> cache_;
    int markedPage_ = -1;
    QRectF marked_;
    int lastPage_ = -1;
};

} // namespace tarvex::engine
