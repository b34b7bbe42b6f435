#include "BandLayout_p.h"

#include "ChartLayout_p.h"
#include "LineView.h"
#include "MemoView.h"
#include "PictureView.h"
#include "RichText_p.h"
#include "RichView.h"
#include "ShapeView.h"
#include "SubreportView.h"
#include "TableView.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace tarvex::engine {

namespace {

Qt::PenStyle penStyle(const QString& s)
{
    if (s == QLatin1String("fsDash")) return Qt::DashLine;
    if (s == QLatin1String("fsDot")) return Qt::DotLine;
    if (s == QLatin1String("fsDashDot")) return Qt::DashDotLine;
    if (s == QLatin1String("fsDashDotDot")) return Qt::DashDotDotLine;
    return Qt::SolidLine;
}

RectItem boxOf(const View& v, const QRectF& r, FrColor fill)
{
    RectItem b;
    b.rect = r;
    b.fill = toQColor(fill);
    b.frameSides = v.frame.sides;
    b.frameWidth = v.frame.width;
    b.frameColor = toQColor(v.frame.color);
    b.frameStyle = penStyle(v.frame.style);
    return b;
}

} // namespace

struct BandLayout::Placed {
    Object* obj = nullptr;
    QRectF rect;          // relative to the band, after stretching (before shifting)
    double tplTop = 0;
    double tplBottom = 0;
    double growth = 0;
    double shift = 0;
    StretchMode stretch = StretchMode::DontStretch;
    double needed = 0;    // content height for stretching
    std::vector<PreparedElement> elements; // positioned relative to the band at the template top
    bool isSubreport = false;
};

BandLayout::BandLayout(Report& report, ReportContext& context, Hook hook)
    : report_(report), ctx_(context), hook_(std::move(hook))
{
}

TextFont BandLayout::textFont(const Font& f) const
{
    TextFont t;
    t.family = f.name.isEmpty() ? QStringLiteral("Arial") : f.name;
    t.pixelSize = f.pixelHeight();
    t.style = f.style;
    return t;
}

void BandLayout::placeObject(Object& o, Band& band, double x, std::vector<Placed>& out)
{
    if (hook_)
        hook_(o);
    if (!o.visible)
        return;
    Placed p;
    p.obj = &o;
    p.rect = QRectF(x, o.top, std::max(0.0, o.width), std::max(0.0, o.height));
    p.tplTop = o.top;
    p.tplBottom = o.top + p.rect.height();
    const bool printable = o.printable;
    auto add = [&](PreparedItem item) { p.elements.push_back({std::move(item), printable}); };

    switch (o.kind()) {
    case ObjectKind::Memo: {
        auto& m = static_cast<MemoView&>(o);
        Font font = (m.parentFont && band.hasFont) ? band.font : m.font;
        FrColor fill = m.fillColor;
        Frame frame = m.frame;
        if (!m.styleName.isEmpty()) {
            if (const Style* st = report_.findStyle(m.styleName)) {
                if (st->hasFont)
                    font = st->font;
                if (st->hasFill)
                    fill = st->fillColor;
                if (st->hasFrame)
                    frame = st->frame;
            }
        }
        if (!m.highlight.condition.trimmed().isEmpty()) {
            if (auto v = ctx_.evaluate(m.highlight.condition, m.name); v && v->toBool()) {
                font = m.highlight.font;
                if (m.highlight.fillColor != kColorNone)
                    fill = m.highlight.fillColor;
            }
        }
        QString text = ctx_.expandMemo(m);
        if (m.allowHtmlTags) {
            // Tags are dropped (their text stays); the usual entities are decoded.
            static const QRegularExpression tag(QStringLiteral("<[^<>]*>"));
            text.remove(tag);
            text.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"))
                .replace(QLatin1String("&nbsp;"), QLatin1String(" ")).replace(QLatin1String("&amp;"), QLatin1String("&"));
        }
        TextItem t;
        t.font = textFont(font);
        t.color = toQColor(font.color);
        t.hAlign = m.hAlign;
        t.vAlign = m.vAlign;
        t.gapX = m.gapX;
        t.gapY = m.gapY;
        t.rotation = ((m.rotation % 360) + 360) % 360;
        t.clip = m.clipped;
        t.lineHeight = measurer_.lineHeight(t.font, m.lineSpacing);
        const bool sideways = t.rotation == 90 || t.rotation == 270;
        const double wrapWidth = (sideways ? p.rect.height() : p.rect.width()) - 2 * m.gapX;
        t.lines = measurer_.breakLines(text, t.font, wrapWidth, m.wordWrap && !m.autoWidth);
        if (m.autoWidth) {
            double w = 0;
            for (const QString& l : t.lines)
                w = std::max(w, measurer_.textWidth(l, t.font));
            p.rect.setWidth(w + 2 * m.gapX + 1);
        }
        if (text.isEmpty())
            t.lines.clear();
        p.needed = t.lines.size() * t.lineHeight + 2 * m.gapY;
        p.stretch = m.stretchMode;
        RectItem box = boxOf(m, p.rect, fill);
        box.frameSides = frame.sides;
        box.frameWidth = frame.width;
        box.frameColor = toQColor(frame.color);
        box.frameStyle = penStyle(frame.style);
        if (box.fill.isValid())
            add(RectItem{p.rect, box.fill, 0, 0, QColor(), Qt::SolidLine});
        t.rect = p.rect;
        if (!t.lines.isEmpty())
            add(t);
        if (box.frameSides != 0 && box.frameColor.isValid())
            add(RectItem{p.rect, QColor(), box.frameSides, box.frameWidth, box.frameColor, box.frameStyle});
        break;
    }
    case ObjectKind::Rich: {
        auto& r = static_cast<RichView&>(o);
        std::vector<TextItem> lines;
        const double textHeight = layoutRichText(parseRichText(r.richText), textFont(r.font), toQColor(r.font.color),
                                                 p.rect.width() - 2 * r.gapX, measurer_, lines);
        p.needed = textHeight + 2 * r.gapY;
        p.stretch = r.stretchMode;
        const RectItem box = boxOf(r, p.rect, r.fillColor);
        if (box.fill.isValid())
            add(RectItem{p.rect, box.fill, 0, 0, QColor(), Qt::SolidLine});
        // Text below an object that cannot grow is cut off, as in memos.
        const bool grows = band.stretched && p.stretch != StretchMode::DontStretch;
        const double limit = p.rect.height() - r.gapY + 0.5;
        for (TextItem& t : lines) {
            if (!grows && t.rect.bottom() > limit) {
                t.lines = t.lines.mid(0, std::max(0, int((limit - t.rect.top()) / t.lineHeight)));
                t.rect.setHeight(t.lines.size() * t.lineHeight);
                if (t.lines.isEmpty())
                    continue;
            }
            t.rect.translate(p.rect.left() + r.gapX, p.rect.top() + r.gapY);
            add(std::move(t));
        }
        if (box.frameSides)
            add(RectItem{p.rect, QColor(), box.frameSides, box.frameWidth, box.frameColor, box.frameStyle});
        break;
    }
    case ObjectKind::Picture: {
        auto& pic = static_cast<PictureView&>(o);
        const RectItem box = boxOf(pic, p.rect, pic.fillColor);
        if (box.fill.isValid())
            add(RectItem{p.rect, box.fill, 0, 0, QColor(), Qt::SolidLine});
        if (!pic.picture.isNull() && p.rect.width() > 0 && p.rect.height() > 0) {
            QSizeF size(pic.picture.width(), pic.picture.height());
            if (pic.stretched) {
                if (pic.keepAspectRatio)
                    size.scale(p.rect.size(), Qt::KeepAspectRatio);
                else
                    size = p.rect.size();
            }
            QRectF target(p.rect.topLeft(), size);
            if (pic.center)
                target.moveCenter(p.rect.center());
            ImageItem img;
            img.image = pic.picture;
            // The part outside the object is cut off.
            const QRectF visible = target.intersected(p.rect);
            if (!visible.isEmpty()) {
                const double sx = pic.picture.width() / target.width();
                const double sy = pic.picture.height() / target.height();
                img.source = QRectF((visible.left() - target.left()) * sx, (visible.top() - target.top()) * sy,
                                    visible.width() * sx, visible.height() * sy);
                img.rect = visible;
                add(img);
            }
        }
        if (box.frameSides)
            add(RectItem{p.rect, QColor(), box.frameSides, box.frameWidth, box.frameColor, box.frameStyle});
        break;
    }
    case ObjectKind::Line: {
        auto& l = static_cast<LineView&>(o);
        LineItem li;
        li.from = p.rect.topLeft();
        li.to = QPointF(p.rect.left() + o.width, p.rect.top() + o.height);
        li.width = l.frame.width;
        li.color = toQColor(l.frame.color);
        li.style = penStyle(l.frame.style);
        if (li.color.isValid())
            add(li);
        break;
    }
    case ObjectKind::Shape: {
        auto& s = static_cast<ShapeView&>(o);
        ShapeItem si;
        si.rect = p.rect;
        si.fill = toQColor(s.fillColor);
        si.pen = toQColor(s.frame.color);
        si.penWidth = s.frame.width;
        const QRectF& r = p.rect;
        switch (s.shape) {
        case ShapeView::Shape::Rectangle: si.points = QPolygonF(r); si.points.removeLast(); break;
        case ShapeView::Shape::RoundRectangle: si.kind = ShapeItem::Kind::RoundRect; break;
        case ShapeView::Shape::Ellipse: si.kind = ShapeItem::Kind::Ellipse; break;
        case ShapeView::Shape::Triangle:
            si.points << QPointF(r.center().x(), r.top()) << r.bottomRight() << r.bottomLeft();
            break;
        case ShapeView::Shape::Diamond:
            si.points << QPointF(r.center().x(), r.top()) << QPointF(r.right(), r.center().y())
                      << QPointF(r.center().x(), r.bottom()) << QPointF(r.left(), r.center().y());
            break;
        case ShapeView::Shape::Diagonal1:
            si.kind = ShapeItem::Kind::Polyline;
            si.points << r.bottomLeft() << r.topRight();
            break;
        case ShapeView::Shape::Diagonal2:
            si.kind = ShapeItem::Kind::Polyline;
            si.points << r.topLeft() << r.bottomRight();
            break;
        }
        add(si);
        break;
    }
    case ObjectKind::Chart:
        for (auto& e : layoutChart(static_cast<ChartView&>(o), p.rect, measurer_))
            p.elements.push_back({std::move(e.item), printable});
        break;
    case ObjectKind::Subreport:
        p.isSubreport = true;
        break;
    case ObjectKind::Table: {
        auto& t = static_cast<TableView&>(o);
        const auto widths = t.columnWidths();
        const auto heights = t.rowHeights();
        double y = p.rect.top();
        for (size_t r = 0; r < heights.size(); ++r) {
            double cx = p.rect.left();
            const auto cells = t.rowCells(r);
            for (size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
                MemoView* cell = cells[c];
                cell->left = cx - p.rect.left();
                cell->top = y - p.rect.top();
                cell->width = widths[c];
                cell->height = heights[r];
                std::vector<Placed> tmp;
                placeObject(*cell, band, cx, tmp);
                for (auto& cp : tmp)
                    for (auto& e : cp.elements) {
                        std::visit([&](auto& item) {
                            using T = std::decay_t<decltype(item)>;
                            if constexpr (std::is_same_v<T, TextItem> || std::is_same_v<T, RectItem>)
                                item.rect.translate(0, o.top);
                        }, e.item);
                        p.elements.push_back(std::move(e));
                    }
                cx += widths[c];
            }
            y += heights[r];
        }
        break;
    }
    default:
        if (o.hasGeometry && o.width > 0 && o.height > 0) {
            // An object this engine cannot draw keeps its place as an empty frame.
            add(RectItem{p.rect, QColor(), Frame::All, 0.5, QColor(0x80, 0x80, 0x80), Qt::DotLine});
            report_.addWarning(QStringLiteral("%1 (%2) is drawn as an empty frame").arg(o.name, o.typeName()));
        } else {
            return;
        }
        break;
    }
    out.push_back(std::move(p));
}

BandImage BandLayout::layout(Band& band, const PageStructure& structure)
{
    ctx_.currentBand = &band;
    std::vector<Placed> placed;
    std::vector<std::vector<Object*>> cellsOf(structure.verticals.size());
    bool hasCells = false;
    for (const auto& child : band.children()) {
        Object& o = *child;
        auto col = structure.cellColumn.constFind(&o);
        if (col != structure.cellColumn.constEnd()) {
            cellsOf[size_t(*col)].push_back(&o);
            hasCells = true;
            continue;
        }
        placeObject(o, band, o.left, placed);
    }
    if (hasCells) {
        // Cross table: the cells under each vertical band repeat for every record of its data set.
        double cursor = structure.verticals.front().left;
        for (size_t i = 0; i < structure.verticals.size(); ++i) {
            const VerticalBand& vb = structure.verticals[i];
            Band& vband = *vb.band;
            auto placeCells = [&]() {
                if (hook_)
                    hook_(vband);
                if (!vband.visible || vband.width <= 0)
                    return;
                for (Object* cell : cellsOf[i])
                    placeObject(*cell, band, cursor + (cell->left - vb.left), placed);
                cursor += vband.width;
            };
            if (vb.role != VerticalBand::Role::Data) {
                placeCells();
                continue;
            }
            DataSet* ds = report_.findDataSet(vband.boundDataSetName());
            if (!ds) {
                if (vband.rowCount > 0) {
                    for (int r = 0; r < vband.rowCount && r < kMaxColumns; ++r)
                        placeCells();
                } else if (!vband.boundDataSetName().isEmpty()) {
                    report_.addWarning(QStringLiteral("%1: data set '%2' is not bound").arg(vband.name, vband.boundDataSetName()));
                }
                continue;
            }
            ds->first();
            for (int n = 0; !ds->eof() && n < kMaxColumns; ++n) {
                placeCells();
                ds->next();
            }
        }
        ctx_.currentBand = &band;
    }

    // Stretching, then shifting what lies below a grown object.
    if (band.stretched) {
        for (Placed& p : placed) {
            if (p.stretch == StretchMode::ActualHeight) {
                p.growth = p.needed - p.rect.height();
                p.rect.setHeight(p.needed);
            }
        }
        std::vector<const Placed*> grown;
        for (const Placed& p : placed)
            if (p.growth != 0)
                grown.push_back(&p);
        if (!grown.empty()) {
            std::vector<Placed*> order;
            for (Placed& p : placed)
                order.push_back(&p);
            std::stable_sort(order.begin(), order.end(), [](const Placed* a, const Placed* b) { return a->tplTop < b->tplTop; });
            for (Placed* p : order) {
                const auto* view = dynamic_cast<const View*>(p->obj);
                if (view && view->shiftMode == ShiftMode::Never)
                    continue;
                for (Placed* q : order) {
                    if (q == p || q->tplBottom > p->tplTop + 0.01)
                        continue;
                    if (q->growth == 0 && q->shift == 0)
                        continue;
                    const bool overlap = q->rect.left() < p->rect.right() - 0.01 && p->rect.left() < q->rect.right() - 0.01;
                    if (!overlap)
                        continue;
                    if (view && view->shiftMode == ShiftMode::WhenOverlapped
                        && q->tplTop + q->shift + q->rect.height() <= p->tplTop)
                        continue;
                    p->shift = std::max(p->shift, q->shift + q->growth);
                }
            }
        }
    }
    BandImage img;
    img.height = std::max(0.0, band.height);
    if (band.stretched && !band.children().empty()) {
        double bottom = 0;
        for (const Placed& p : placed)
            if (!p.isSubreport)
                bottom = std::max(bottom, p.rect.top() + p.shift + p.rect.height());
        img.height = bottom;
        for (Placed& p : placed) {
            if (p.stretch == StretchMode::MaxHeight) {
                const double h = img.height - (p.rect.top() + p.shift);
                p.growth = h - p.rect.height();
                p.rect.setHeight(h);
            }
        }
    }
    for (Placed& p : placed) {
        if (p.isSubreport) {
            img.subreports.push_back({static_cast<SubreportView*>(p.obj), p.rect.left(), p.rect.top() + p.shift});
            continue;
        }
        for (PreparedElement& e : p.elements) {
            std::visit([&](auto& item) {
                using T = std::decay_t<decltype(item)>;
                if constexpr (std::is_same_v<T, LineItem>) {
                    item.from.ry() += p.shift;
                    item.to.ry() += p.shift;
                } else if constexpr (std::is_same_v<T, ShapeItem>) {
                    item.rect.translate(0, p.shift);
                    item.points.translate(0, p.shift);
                } else {
                    if (p.growth != 0 && item.rect.top() == p.tplTop && item.rect.height() == p.rect.height() - p.growth)
                        item.rect.setHeight(p.rect.height());
                    item.rect.translate(0, p.shift);
                }
            }, e.item);
            img.elements.push_back(std::move(e));
        }
    }
    return img;
}

BandImage BandImage::splitAt(double y)
{
    BandImage rest;
    rest.height = std::max(0.0, height - y);
    height = y;
    std::vector<PreparedElement> keep;
    for (PreparedElement& e : elements) {
        std::visit([&](auto& item) {
            using T = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<T, LineItem>) {
                const double top = std::min(item.from.y(), item.to.y());
                const double bottom = std::max(item.from.y(), item.to.y());
                if (bottom <= y + 0.01) {
                    keep.push_back(e);
                } else if (top >= y - 0.01) {
                    LineItem m = item;
                    m.from.ry() -= y;
                    m.to.ry() -= y;
                    rest.elements.push_back({m, e.printable});
                } else {
                    // A line crossing the cut continues on the next page.
                    const double t = (y - item.from.y()) / (item.to.y() - item.from.y());
                    const QPointF mid = item.from + (item.to - item.from) * t;
                    LineItem a = item, b = item;
                    a.to = mid;
                    b.from = mid - QPointF(0, y);
                    b.to = item.to - QPointF(0, y);
                    keep.push_back({a, e.printable});
                    rest.elements.push_back({b, e.printable});
                }
            } else if constexpr (std::is_same_v<T, ShapeItem>) {
                if (item.rect.top() < y - 0.01 || item.points.boundingRect().top() < y - 0.01) {
                    keep.push_back(e);
                } else {
                    ShapeItem m = item;
                    m.rect.translate(0, -y);
                    m.points.translate(0, -y);
                    rest.elements.push_back({m, e.printable});
                }
            } else {
                const QRectF r = item.rect;
                if (r.bottom() <= y + 0.01) {
                    keep.push_back(e);
                    return;
                }
                if (r.top() >= y - 0.01) {
                    T m = item;
                    m.rect.translate(0, -y);
                    rest.elements.push_back({m, e.printable});
                    return;
                }
                T a = item, b = item;
                a.rect.setBottom(y);
                b.rect = QRectF(r.left(), 0, r.width(), r.bottom() - y);
                if constexpr (std::is_same_v<T, RectItem>) {
                    a.frameSides &= ~Frame::Bottom;
                    b.frameSides &= ~Frame::Top;
                } else if constexpr (std::is_same_v<T, TextItem>) {
                    const int fit = std::max(0, int(std::floor((y - r.top() - item.gapY) / item.lineHeight)));
                    a.lines = item.lines.mid(0, fit);
                    b.lines = item.lines.mid(fit);
                    a.vAlign = VAlign::Top;
                    b.vAlign = VAlign::Top;
                    b.gapY = 0;
                } else if constexpr (std::is_same_v<T, ImageItem>) {
                    const double frac = (y - r.top()) / r.height();
                    const QRectF src = item.source.isNull() ? QRectF(0, 0, item.image.width(), item.image.height()) : item.source;
                    a.source = QRectF(src.left(), src.top(), src.width(), src.height() * frac);
                    b.source = QRectF(src.left(), src.top() + src.height() * frac, src.width(), src.height() * (1 - frac));
                }
                keep.push_back({a, e.printable});
                rest.elements.push_back({b, e.printable});
            }
        }, e.item);
    }
    elements = std::move(keep);
    // Sub-reports start on the part where their top lies.
    std::vector<Sub> subs;
    for (const Sub& s : subreports) {
        if (s.top < y)
            subs.push_back(s);
        else
            rest.subreports.push_back({s.view, s.left, s.top - y});
    }
    subreports = std::move(subs);
    return rest;
}

} // namespace tarvex::engine
