#include "Render.h"

#include "TextLayout_p.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPdfWriter>

namespace tarvex::engine {

namespace {

QColor shade(const QColor& c, bool mono)
{
    if (!mono || !c.isValid())
        return c;
    const int g = qGray(c.rgb());
    return QColor(g, g, g, c.alpha());
}

QPen framePen(const QColor& color, double width, Qt::PenStyle style, bool mono)
{
    QPen pen(shade(color, mono));
    pen.setWidthF(std::max(0.1, width));
    pen.setStyle(style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void drawText(QPainter& p, const TextItem& t, bool mono, QHash<QString, QFont>& fonts)
{
    const QString key = t.font.family + QString::number(t.font.pixelSize) + QLatin1Char('/') + QString::number(t.font.style);
    auto it = fonts.find(key);
    if (it == fonts.end())
        it = fonts.insert(key, toQFont(t.font));
    p.setFont(*it);
    p.setPen(shade(t.color.isValid() ? t.color : QColor(Qt::black), mono));
    const QFontMetricsF fm(*it, p.device());
    p.save();
    QRectF box = t.rect;
    if (t.rotation != 0) {
        p.translate(box.center());
        p.rotate(-t.rotation);
        if (t.rotation == 90 || t.rotation == 270)
            box = QRectF(-box.height() / 2, -box.width() / 2, box.height(), box.width());
        else
            box = QRectF(-box.width() / 2, -box.height() / 2, box.width(), box.height());
    }
    if (t.clip)
        p.setClipRect(box, Qt::IntersectClip);
    const QRectF inner = box.adjusted(t.gapX, t.gapY, -t.gapX, -t.gapY);
    const double textHeight = t.lines.size() * t.lineHeight;
    double y = inner.top();
    if (t.vAlign == VAlign::Center)
        y = inner.top() + (inner.height() - textHeight) / 2;
    else if (t.vAlign == VAlign::Bottom)
        y = inner.bottom() - textHeight;
    const QFontMetricsF measure(*it);
    const double ascent = measure.ascent();
    const double space = measure.horizontalAdvance(QLatin1Char(' '));
    for (qsizetype i = 0; i < t.lines.size(); ++i) {
        const QString& line = t.lines[i];
        double x = inner.left();
        if (t.hAlign == HAlign::Center || t.hAlign == HAlign::Right) {
            const double w = measure.horizontalAdvance(line);
            x = t.hAlign == HAlign::Center ? inner.left() + (inner.width() - w) / 2 : inner.right() - w;
        } else if (t.hAlign == HAlign::Block && i + 1 < t.lines.size()) {
            // Lines were broken greedily: a line the next word would still have fitted on ends its
            // paragraph and stays left-aligned; the others are spread to the full width.
            const QString next = t.lines[i + 1].section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
            const double w = measure.horizontalAdvance(line);
            const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const bool wrapped = !next.isEmpty() && w + space + measure.horizontalAdvance(next) > inner.width();
            if (wrapped && words.size() > 1 && w < inner.width()) {
                double wordsWidth = 0;
                for (const QString& word : words)
                    wordsWidth += measure.horizontalAdvance(word);
                const double gap = (inner.width() - wordsWidth) / double(words.size() - 1);
                for (const QString& word : words) {
                    p.drawText(QPointF(x, y + ascent), word);
                    x += measure.horizontalAdvance(word) + gap;
                }
                y += t.lineHeight;
                continue;
            }
        }
        p.drawText(QPointF(x, y + ascent), line);
        y += t.lineHeight;
    }
    (void)fm;
    p.restore();
}

void drawRect(QPainter& p, const RectItem& r, bool mono)
{
    if (r.fill.isValid())
        p.fillRect(r.rect, shade(r.fill, mono));
    if (r.frameSides == 0 || !r.frameColor.isValid())
        return;
    p.setPen(framePen(r.frameColor, r.frameWidth, r.frameStyle, mono));
    const QRectF& q = r.rect;
    if (r.frameSides & Frame::Left)
        p.drawLine(q.topLeft(), q.bottomLeft());
    if (r.frameSides & Frame::Right)
        p.drawLine(q.topRight(), q.bottomRight());
    if (r.frameSides & Frame::Top)
        p.drawLine(q.topLeft(), q.topRight());
    if (r.frameSides & Frame::Bottom)
        p.drawLine(q.bottomLeft(), q.bottomRight());
}

void drawShape(QPainter& p, const ShapeItem& s, bool mono)
{
    p.setPen(s.pen.isValid() ? framePen(s.pen, s.penWidth, Qt::SolidLine, mono) : QPen(Qt::NoPen));
    p.setBrush(s.fill.isValid() ? QBrush(shade(s.fill, mono)) : QBrush(Qt::NoBrush));
    switch (s.kind) {
    case ShapeItem::Kind::Ellipse: p.drawEllipse(s.rect); break;
    case ShapeItem::Kind::RoundRect: p.drawRoundedRect(s.rect, 8, 8); break;
    case ShapeItem::Kind::Polygon: p.drawPolygon(s.points); break;
    case ShapeItem::Kind::Polyline: p.drawPolyline(s.points); break;
    }
    p.setBrush(Qt::NoBrush);
}

QString pagePath(const QString& pattern, int page)
{
    if (pattern.contains(QLatin1String("%1")))
        return pattern.arg(page);
    const QFileInfo fi(pattern);
    const QString suffix = fi.suffix();
    const QString base = suffix.isEmpty() ? pattern : pattern.left(pattern.size() - suffix.size() - 1);
    return base + QLatin1Char('-') + QString::number(page) + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

} // namespace

void render(const PreparedPage& page, QPainter& painter, const RenderOptions& options)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    QHash<QString, QFont> fonts;
    const bool mono = options.monochrome;
    for (const PreparedElement& e : page.elements) {
        if (!e.printable && !options.includeNonPrintable)
            continue;
        std::visit([&](const auto& item) {
            using T = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<T, TextItem>) {
                drawText(painter, item, mono, fonts);
            } else if constexpr (std::is_same_v<T, RectItem>) {
                drawRect(painter, item, mono);
            } else if constexpr (std::is_same_v<T, LineItem>) {
                if (item.color.isValid()) {
                    painter.setPen(framePen(item.color, item.width, item.style, mono));
                    painter.drawLine(item.from, item.to);
                }
            } else if constexpr (std::is_same_v<T, ImageItem>) {
                const QImage img = mono ? item.image.convertToFormat(QImage::Format_Grayscale8) : item.image;
                if (item.source.isNull())
                    painter.drawImage(item.rect, img);
                else
                    painter.drawImage(item.rect, img, item.source);
            } else {
                drawShape(painter, item, mono);
            }
        }, e.item);
    }
    painter.restore();
}

bool exportPdf(const PreparedReport& report, const QString& path, QString* error, const RenderOptions& options)
{
    if (report.pages.empty()) {
        if (error)
            *error = QStringLiteral("the report has no pages");
        return false;
    }
    QPdfWriter writer(path);
    constexpr int kDpi = 600;
    writer.setResolution(kDpi);
    writer.setCreator(QStringLiteral("TarvexPrint"));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    auto pageSize = [](const PreparedPage& p) {
        return QPageSize(QSizeF(p.size.width() / kUnitsPerMm, p.size.height() / kUnitsPerMm), QPageSize::Millimeter);
    };
    writer.setPageSize(pageSize(report.pages.front()));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(pageSize(report.pages[i]));
            writer.newPage();
        }
        painter.save();
        painter.scale(kDpi / 96.0, kDpi / 96.0);
        render(report.pages[i], painter, options);
        painter.restore();
    }
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("cannot finish %1").arg(path);
        return false;
    }
    if (error)
        error->clear();
    return true;
}

QStringList exportImages(const PreparedReport& report, const QString& pathPattern, const QString& format, int dpi,
                         QString* error, const RenderOptions& options)
{
    QStringList written;
    QString fmt = format.toUpper();
    if (fmt == QLatin1String("JPG"))
        fmt = QStringLiteral("JPEG");
    if (fmt != QLatin1String("PNG") && fmt != QLatin1String("JPEG") && fmt != QLatin1String("BMP")) {
        if (error)
            *error = QStringLiteral("unknown picture format %1").arg(format);
        return {};
    }
    dpi = std::clamp(dpi, 10, 1200);
    const double scale = dpi / 96.0;
    for (size_t i = 0; i < report.pages.size(); ++i) {
        const PreparedPage& page = report.pages[i];
        const QSize px(std::max(1, qRound(page.size.width() * scale)), std::max(1, qRound(page.size.height() * scale)));
        QImage img(px, QImage::Format_RGB32);
        if (img.isNull()) {
            if (error)
                *error = QStringLiteral("page %1 is too large for a picture at %2 dpi").arg(i + 1).arg(dpi);
            return {};
        }
        img.fill(Qt::white);
        img.setDotsPerMeterX(qRound(dpi / 0.0254));
        img.setDotsPerMeterY(qRound(dpi / 0.0254));
        {
            QPainter p(&img);
            p.scale(scale, scale);
            render(page, p, options);
        }
        const QString path = pagePath(pathPattern, int(i) + 1);
        QImageWriter w(path, fmt.toLatin1());
        if (!w.write(img)) {
            if (error)
                *error = QStringLiteral("cannot write %1: %2").arg(path, w.errorString());
            return {};
        }
        written << path;
    }
    if (error)
        error->clear();
    return written;
}

} // namespace tarvex::engine
