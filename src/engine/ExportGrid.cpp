#include "ExportGrid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tarvex::engine {

namespace {

bool sameRect(const QRectF& a, const QRectF& b)
{
    constexpr double eps = 0.5;
    return std::abs(a.left() - b.left()) < eps && std::abs(a.top() - b.top()) < eps &&
           std::abs(a.width() - b.width()) < eps && std::abs(a.height() - b.height()) < eps;
}


bool holds(const QRectF& outer, const QRectF& inner)
{
    constexpr double eps = 0.5;
    return inner.left() >= outer.left() - eps && inner.top() >= outer.top() - eps &&
           inner.right() <= outer.right() + eps && inner.bottom() <= outer.bottom() + eps;
}

bool near(double a, double b, double within) { return std::abs(a - b) <= within; }

/**
 * Rectangles without text become part of what they hold. A rectangle round one text is that
 * text's cell: the text takes its size, fill and frame (a memo's text box may be shorter than its
 * frame). A rectangle round several boxes is a background or a row frame: its frame goes to the
 * boxes along its edges, its fill to the boxes without one, and boxes that nearly reach its edges
 * are stretched to them, so that no sliver rows or columns appear. Rectangles of no size are rules.
 */
std::vector<GridBox> settleRectangles(std::vector<GridBox> boxes)
{
    constexpr double snap = 3.0;
    std::vector<bool> gone(boxes.size(), false);
    std::vector<size_t> rects;
    for (size_t i = 0; i < boxes.size(); ++i)
        if (!boxes[i].hasText() && boxes[i].image.isNull())
            rects.push_back(i);
    // Smallest first, so that a cell's own frame is settled before the frame of its row.
    std::stable_sort(rects.begin(), rects.end(), [&](size_t a, size_t b) {
        return boxes[a].rect.width() * boxes[a].rect.height() < boxes[b].rect.width() * boxes[b].rect.height();
    });
    for (size_t ri : rects) {
        const GridBox r = boxes[ri];
        if (r.rect.width() < 0.5 || r.rect.height() < 0.5) {
            gone[ri] = true;
            continue;
        }
        std::vector<size_t> inside;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (i != ri && !gone[i] && holds(r.rect, boxes[i].rect))
                inside.push_back(i);
        if (inside.empty())
            continue;
        gone[ri] = true;
        const bool framed = r.frameSides && r.frameColor.isValid();
        auto takeFrame = [&](GridBox& b, int sides) {
            if (!sides)
                return;
            if (!(b.frameSides && b.frameColor.isValid())) {
                b.frameWidth = r.frameWidth;
                b.frameColor = r.frameColor;
                b.frameStyle = r.frameStyle;
                b.frameSides = 0;
            }
            b.frameSides |= sides;
        };
        const QRectF& only = boxes[inside.front()].rect;
        if (inside.size() == 1 && boxes[inside.front()].hasText() && near(only.left(), r.rect.left(), snap) &&
            near(only.right(), r.rect.right(), snap) &&
            (near(only.top(), r.rect.top(), snap) || near(only.bottom(), r.rect.bottom(), snap))) {
            GridBox& b = boxes[inside.front()];
            b.rect = r.rect;
            if (!b.fill.isValid())
                b.fill = r.fill;
            if (framed)
                takeFrame(b, r.frameSides);
            continue;
        }
        for (size_t i : inside) {
            GridBox& b = boxes[i];
            QRectF q = b.rect;
            if (near(q.left(), r.rect.left(), snap))
                q.setLeft(r.rect.left());
            if (near(q.top(), r.rect.top(), snap))
                q.setTop(r.rect.top());
            if (near(q.right(), r.rect.right(), snap))
                q.setRight(r.rect.right());
            if (near(q.bottom(), r.rect.bottom(), snap))
                q.setBottom(r.rect.bottom());
            if (b.image.isNull())
                b.rect = q;
            if (framed) {
                int sides = 0;
                if (q.left() == r.rect.left())
                    sides |= r.frameSides & Frame::Left;
                if (q.top() == r.rect.top())
                    sides |= r.frameSides & Frame::Top;
                if (q.right() == r.rect.right())
                    sides |= r.frameSides & Frame::Right;
                if (q.bottom() == r.rect.bottom())
                    sides |= r.frameSides & Frame::Bottom;
                takeFrame(b, sides);
            }
            if (r.fill.isValid() && !b.fill.isValid() && b.image.isNull())
                b.fill = r.fill;
        }
    }
    std::vector<GridBox> kept;
    kept.reserve(boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i)
        if (!gone[i])
            kept.push_back(std::move(boxes[i]));
    return kept;
}

/// Edges of boxes along one axis, merged when nearer than the tolerance. Each merged edge is the
/// smallest of the values it stands for.
std::vector<double> mergedEdges(std::vector<double> values, double tolerance)
{
    std::sort(values.begin(), values.end());
    std::vector<double> edges;
    for (double v : values)
        if (edges.empty() || v - edges.back() > tolerance)
            edges.push_back(v);
    if (edges.size() == 1)
        edges.push_back(edges.front() + 2 * tolerance + 1);
    return edges;
}

/// Index of the edge that `v` belongs to.
int edgeIndex(const std::vector<double>& edges, double v, double tolerance)
{
    const auto it = std::upper_bound(edges.begin(), edges.end(), v + tolerance);
    return std::max(0, int(it - edges.begin()) - 1);
}

struct Span {
    int r0, c0, r1, c1; // half-open
};

int placingRank(const GridBox& b)
{
    if (b.hasText())
        return 0;
    return b.image.isNull() ? 2 : 1;
}

} // namespace

QColor exportColor(const QColor& c, bool monochrome)
{
    if (!monochrome || !c.isValid())
        return c;
    const int g = qGray(c.rgb());
    return QColor(g, g, g, c.alpha());
}

int Grid::ownerAt(int row, int col) const
{
    if (row < 0 || col < 0 || row >= rowCount() || col >= columnCount())
        return -1;
    return owners[size_t(row) * columnWidths.size() + size_t(col)];
}

std::vector<GridBox> pageBoxes(const PreparedPage& page, bool monochrome)
{
    std::vector<GridBox> boxes;
    // A memo prints as its fill, its text and its frame, all on the same rectangle: they become one box.
    auto boxFor = [&](const QRectF& r, bool forText) -> GridBox* {
        for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
            if (it->image.isNull() && sameRect(it->rect, r) && (!forText || !it->hasText()))
                return &*it;
        return nullptr;
    };
    for (const PreparedElement& e : page.elements) {
        if (!e.printable)
            continue;
        if (const auto* t = std::get_if<TextItem>(&e.item)) {
            GridBox* b = boxFor(t->rect, true);
            if (!b) {
                boxes.emplace_back();
                b = &boxes.back();
                b->rect = t->rect;
            }
            b->lines = t->lines;
            b->font = t->font;
            b->color = exportColor(t->color.isValid() ? t->color : QColor(Qt::black), monochrome);
            b->hAlign = t->hAlign;
            b->vAlign = t->vAlign;
            b->rotation = t->rotation;
        } else if (const auto* r = std::get_if<RectItem>(&e.item)) {
            const bool framed = r->frameSides != 0 && r->frameColor.isValid();
            if (!r->fill.isValid() && !framed)
                continue;
            GridBox* b = boxFor(r->rect, false);
            if (!b) {
                boxes.emplace_back();
                b = &boxes.back();
                b->rect = r->rect;
            }
            if (r->fill.isValid())
                b->fill = exportColor(r->fill, monochrome);
            if (framed) {
                b->frameSides |= r->frameSides;
                b->frameWidth = r->frameWidth;
                b->frameColor = exportColor(r->frameColor, monochrome);
                b->frameStyle = r->frameStyle;
            }
        } else if (const auto* img = std::get_if<ImageItem>(&e.item)) {
            if (img->image.isNull() || img->rect.isEmpty())
                continue;
            GridBox b;
            b.rect = img->rect;
            b.image = img->source.isNull() ? img->image : img->image.copy(img->source.toAlignedRect());
            if (monochrome)
                b.image = b.image.convertToFormat(QImage::Format_Grayscale8);
            if (!b.image.isNull())
                boxes.push_back(std::move(b));
        }
    }
    return settleRectangles(std::move(boxes));
}

Grid buildGrid(const std::vector<std::vector<GridBox>>& pages, const GridOptions& options)
{
    Grid g;
    const double tol = options.tolerance;
    std::vector<double> xs;
    for (const auto& page : pages)
        for (const GridBox& b : page) {
            xs.push_back(b.rect.left());
            xs.push_back(b.rect.right());
        }
    if (xs.empty()) {
        g.pageFirstRow.assign(pages.size(), 0);
        return g;
    }
    const std::vector<double> colEdges = mergedEdges(xs, tol);
    const int cols = int(colEdges.size()) - 1;
    g.left = colEdges.front();
    for (int c = 0; c < cols; ++c)
        g.columnWidths.push_back(colEdges[size_t(c) + 1] - colEdges[size_t(c)]);

    // Rows page by page; every box gets its span on the one grid.
    std::vector<Span> spans;
    std::vector<const GridBox*> order;
    for (const auto& page : pages) {
        g.pageFirstRow.push_back(g.rowCount());
        std::vector<double> ys;
        for (const GridBox& b : page) {
            ys.push_back(b.rect.top());
            ys.push_back(b.rect.bottom());
        }
        if (ys.empty())
            continue;
        const std::vector<double> rowEdges = mergedEdges(ys, tol);
        const int first = g.rowCount();
        const int rows = int(rowEdges.size()) - 1;
        for (int r = 0; r < rows; ++r)
            g.rowHeights.push_back(rowEdges[size_t(r) + 1] - rowEdges[size_t(r)]);
        for (const GridBox& b : page) {
            Span s;
            s.c0 = std::min(edgeIndex(colEdges, b.rect.left(), tol), cols - 1);
            s.c1 = std::clamp(edgeIndex(colEdges, b.rect.right(), tol), s.c0 + 1, cols);
            s.r0 = std::min(edgeIndex(rowEdges, b.rect.top(), tol), rows - 1);
            s.r1 = std::clamp(edgeIndex(rowEdges, b.rect.bottom(), tol), s.r0 + 1, rows);
            s.r0 += first;
            s.r1 += first;
            spans.push_back(s);
            order.push_back(&b);
        }
    }

    const int rows = g.rowCount();
    g.owners.assign(size_t(rows) * size_t(cols), -1);
    auto owner = [&](int r, int c) -> int& { return g.owners[size_t(r) * size_t(cols) + size_t(c)]; };
    std::vector<size_t> idx(order.size());
    std::iota(idx.begin(), idx.end(), 0);
    // Texts first, then pictures, then bare rectangles: where boxes overlap, the text keeps its cell.
    std::stable_sort(idx.begin(), idx.end(), [&](size_t a, size_t b) {
        const int ra = placingRank(*order[a]), rb = placingRank(*order[b]);
        if (ra != rb)
            return ra < rb;
        if (spans[a].r0 != spans[b].r0)
            return spans[a].r0 < spans[b].r0;
        return spans[a].c0 < spans[b].c0;
    });
    for (size_t i : idx) {
        Span s = spans[i];
        const GridBox& box = *order[i];
        const int taken = owner(s.r0, s.c0);
        if (taken >= 0) {
            GridCell& host = g.cells[size_t(taken)];
            if (box.hasText()) {
                if (host.box.hasText())
                    host.box.lines += box.lines;
                else {
                    host.box.lines = box.lines;
                    host.box.font = box.font;
                    host.box.color = box.color;
                }
            } else if (!box.image.isNull()) {
                host.moreImages.push_back(box.image);
            }
            continue;
        }
        // Keep the free part: as far right as the first row allows, then as far down as those columns allow.
        for (int c = s.c0 + 1; c < s.c1; ++c)
            if (owner(s.r0, c) >= 0) {
                s.c1 = c;
                break;
            }
        for (int r = s.r0 + 1; r < s.r1; ++r) {
            bool free = true;
            for (int c = s.c0; c < s.c1 && free; ++c)
                free = owner(r, c) < 0;
            if (!free) {
                s.r1 = r;
                break;
            }
        }
        GridCell cell;
        cell.row = s.r0;
        cell.col = s.c0;
        cell.rowSpan = s.r1 - s.r0;
        cell.colSpan = s.c1 - s.c0;
        cell.box = box;
        const int id = int(g.cells.size());
        g.cells.push_back(std::move(cell));
        for (int r = s.r0; r < s.r1; ++r)
            for (int c = s.c0; c < s.c1; ++c)
                owner(r, c) = id;
    }

    if (options.dropEmptyRows && rows > 0) {
        std::vector<int> newRow(size_t(rows), -1);
        std::vector<double> heights;
        std::vector<int> owners;
        for (int r = 0; r < rows; ++r) {
            bool used = false;
            for (int c = 0; c < cols && !used; ++c)
                used = owner(r, c) >= 0;
            if (!used)
                continue;
            newRow[size_t(r)] = int(heights.size());
            heights.push_back(g.rowHeights[size_t(r)]);
            owners.insert(owners.end(), g.owners.begin() + r * cols, g.owners.begin() + (r + 1) * cols);
        }
        for (GridCell& c : g.cells) {
            // Every row a cell spans is used by that cell, so its span keeps its length.
            c.row = newRow[size_t(c.row)];
        }
        for (int& first : g.pageFirstRow) {
            int r = first;
            while (r < rows && newRow[size_t(r)] < 0)
                ++r;
            first = r < rows ? newRow[size_t(r)] : int(heights.size());
        }
        g.rowHeights = std::move(heights);
        g.owners = std::move(owners);
    }

    // Cells in reading order; owners point at the new positions.
    std::vector<size_t> sorted(g.cells.size());
    std::iota(sorted.begin(), sorted.end(), 0);
    std::sort(sorted.begin(), sorted.end(), [&](size_t a, size_t b) {
        return std::pair(g.cells[a].row, g.cells[a].col) < std::pair(g.cells[b].row, g.cells[b].col);
    });
    std::vector<int> moved(g.cells.size());
    std::vector<GridCell> cells;
    cells.reserve(g.cells.size());
    for (size_t n = 0; n < sorted.size(); ++n) {
        moved[sorted[n]] = int(n);
        cells.push_back(std::move(g.cells[sorted[n]]));
    }
    g.cells = std::move(cells);
    for (int& o : g.owners)
        if (o >= 0)
            o = moved[size_t(o)];
    return g;
}

} // namespace tarvex::engine
