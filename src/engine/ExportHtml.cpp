#include "ExportHtml.h"

#include "ExportGrid.h"
#include "ExportSupport.h"
#include "UiStrings.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QUrl>
#include <QXmlStreamWriter>

#include "TextLayout_p.h"

namespace tarvex::engine {

namespace {

QString num(double v) { return QString::number(v, 'f', 2); }
QString px(double v) { return num(v) + QStringLiteral("px"); }

QString xmlSafe(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u >= 0x20 || u == '\t')
            out += (u == 0xFFFE || u == 0xFFFF || ch.isSurrogate()) ? QChar(u'?') : ch;
    }
    return out;
}

QString cssColor(const QColor& c) { return c.name(QColor::HexRgb); }

QString dashes(Qt::PenStyle s, double width)
{
    const double w = std::max(1.0, width);
    switch (s) {
    case Qt::DashLine: return QStringLiteral("%1,%2").arg(num(4 * w), num(2 * w));
    case Qt::DotLine: return QStringLiteral("%1,%1").arg(num(w));
    case Qt::DashDotLine: return QStringLiteral("%1,%2,%3,%2").arg(num(4 * w), num(2 * w), num(w));
    case Qt::DashDotDotLine: return QStringLiteral("%1,%2,%3,%2,%3,%2").arg(num(4 * w), num(2 * w), num(w));
    default: return QString();
    }
}

class HtmlPage {
public:
    HtmlPage(QXmlStreamWriter& w, bool mono) : w_(w), mono_(mono) {}

    void line(QPointF a, QPointF b, const QColor& color, double width, Qt::PenStyle style)
    {
        w_.writeEmptyElement(QStringLiteral("line"));
        w_.writeAttribute(QStringLiteral("x1"), num(a.x()));
        w_.writeAttribute(QStringLiteral("y1"), num(a.y()));
        w_.writeAttribute(QStringLiteral("x2"), num(b.x()));
        w_.writeAttribute(QStringLiteral("y2"), num(b.y()));
        stroke(color, width, style);
    }

    void rect(const RectItem& r)
    {
        if (r.fill.isValid()) {
            w_.writeEmptyElement(QStringLiteral("rect"));
            geometry(r.rect);
            w_.writeAttribute(QStringLiteral("fill"), cssColor(exportColor(r.fill, mono_)));
        }
        if (!r.frameSides || !r.frameColor.isValid())
            return;
        const QRectF& q = r.rect;
        if (r.frameSides == Frame::All) {
            w_.writeEmptyElement(QStringLiteral("rect"));
            geometry(q);
            w_.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
            stroke(r.frameColor, r.frameWidth, r.frameStyle);
            return;
        }
        if (r.frameSides & Frame::Left)
            line(q.topLeft(), q.bottomLeft(), r.frameColor, r.frameWidth, r.frameStyle);
        if (r.frameSides & Frame::Right)
            line(q.topRight(), q.bottomRight(), r.frameColor, r.frameWidth, r.frameStyle);
        if (r.frameSides & Frame::Top)
            line(q.topLeft(), q.topRight(), r.frameColor, r.frameWidth, r.frameStyle);
        if (r.frameSides & Frame::Bottom)
            line(q.bottomLeft(), q.bottomRight(), r.frameColor, r.frameWidth, r.frameStyle);
    }

    void shape(const ShapeItem& s)
    {
        auto points = [&] {
            QStringList p;
            for (const QPointF& pt : s.points)
                p << num(pt.x()) + QLatin1Char(',') + num(pt.y());
            return p.join(QLatin1Char(' '));
        };
        switch (s.kind) {
        case ShapeItem::Kind::Ellipse:
            w_.writeEmptyElement(QStringLiteral("ellipse"));
            w_.writeAttribute(QStringLiteral("cx"), num(s.rect.center().x()));
            w_.writeAttribute(QStringLiteral("cy"), num(s.rect.center().y()));
            w_.writeAttribute(QStringLiteral("rx"), num(s.rect.width() / 2));
            w_.writeAttribute(QStringLiteral("ry"), num(s.rect.height() / 2));
            break;
        case ShapeItem::Kind::RoundRect:
            w_.writeEmptyElement(QStringLiteral("rect"));
            geometry(s.rect);
            w_.writeAttribute(QStringLiteral("rx"), QStringLiteral("8"));
            break;
        case ShapeItem::Kind::Polygon:
            w_.writeEmptyElement(QStringLiteral("polygon"));
            w_.writeAttribute(QStringLiteral("points"), points());
            break;
        case ShapeItem::Kind::Polyline:
            w_.writeEmptyElement(QStringLiteral("polyline"));
            w_.writeAttribute(QStringLiteral("points"), points());
            break;
        }
        w_.writeAttribute(QStringLiteral("fill"), s.fill.isValid() && s.kind != ShapeItem::Kind::Polyline
                                                      ? cssColor(exportColor(s.fill, mono_))
                                                      : QStringLiteral("none"));
        if (s.pen.isValid())
            stroke(s.pen, s.penWidth, Qt::SolidLine);
    }

private:
    void geometry(const QRectF& r)
    {
        w_.writeAttribute(QStringLiteral("x"), num(r.left()));
        w_.writeAttribute(QStringLiteral("y"), num(r.top()));
        w_.writeAttribute(QStringLiteral("width"), num(r.width()));
        w_.writeAttribute(QStringLiteral("height"), num(r.height()));
    }
    void stroke(const QColor& color, double width, Qt::PenStyle style)
    {
        w_.writeAttribute(QStringLiteral("stroke"), cssColor(exportColor(color, mono_)));
        w_.writeAttribute(QStringLiteral("stroke-width"), num(std::max(0.1, width)));
        const QString d = dashes(style, width);
        if (!d.isEmpty())
            w_.writeAttribute(QStringLiteral("stroke-dasharray"), d);
    }

    QXmlStreamWriter& w_;
    bool mono_;
};

/// Texts are placed as the page drawing places them: same padding, line distance and alignment.
void writeText(QXmlStreamWriter& w, const TextItem& t, bool mono)
{
    QRectF box = t.rect;
    const bool sideways = t.rotation == 90 || t.rotation == 270;
    QString transform;
    if (t.rotation != 0) {
        const QPointF c = box.center();
        if (sideways)
            box = QRectF(c.x() - box.height() / 2, c.y() - box.width() / 2, box.height(), box.width());
        transform = QStringLiteral("transform:rotate(%1deg);").arg(-t.rotation);
    }
    const double inner = box.height() - 2 * t.gapY;
    const double textHeight = t.lines.size() * t.lineHeight;
    double offset = t.gapY;
    if (t.vAlign == VAlign::Center)
        offset = t.gapY + (inner - textHeight) / 2;
    else if (t.vAlign == VAlign::Bottom)
        offset = box.height() - t.gapY - textHeight;
    const QFontMetricsF fm(toQFont(t.font));
    // The drawing puts the first baseline one ascent below the top; CSS centres the glyphs in
    // the line box, so the line box is moved by the difference.
    offset += fm.ascent() - (t.lineHeight + fm.ascent() - fm.descent()) / 2;
    if (offset < 0) {
        // Padding cannot be negative: the box moves up instead.
        box.setTop(box.top() + offset);
        offset = 0;
    }
    QString style = QStringLiteral("left:%1;top:%2;width:%3;height:%4;").arg(px(box.left()), px(box.top()), px(box.width()),
                                                                            px(box.height()));
    style += QStringLiteral("font-family:'%1';font-size:%2;line-height:%3;color:%4;")
                 .arg(QString(t.font.family).remove(QLatin1Char('\'')), px(t.font.pixelSize), px(t.lineHeight),
                      cssColor(exportColor(t.color.isValid() ? t.color : QColor(Qt::black), mono)));
    if (t.font.style & Font::Bold)
        style += QStringLiteral("font-weight:bold;");
    if (t.font.style & Font::Italic)
        style += QStringLiteral("font-style:italic;");
    if (t.font.style & (Font::Underline | Font::StrikeOut))
        style += QStringLiteral("text-decoration:%1%2;")
                     .arg((t.font.style & Font::Underline) ? QStringLiteral("underline ") : QString(),
                          (t.font.style & Font::StrikeOut) ? QStringLiteral("line-through") : QString());
    if (t.hAlign != HAlign::Left)
        style += QStringLiteral("text-align:%1;").arg(t.hAlign == HAlign::Center  ? QStringLiteral("center")
                                                      : t.hAlign == HAlign::Right ? QStringLiteral("right")
                                                                                  : QStringLiteral("justify"));
    style += QStringLiteral("padding:%1 %2 0 %2;").arg(px(offset), px(t.gapX));
    if (!t.clip)
        style += QStringLiteral("overflow:visible;");
    style += transform;
    w.writeStartElement(QStringLiteral("div"));
    w.writeAttribute(QStringLiteral("class"), QStringLiteral("t"));
    w.writeAttribute(QStringLiteral("style"), style);
    for (qsizetype i = 0; i < t.lines.size(); ++i) {
        if (i > 0)
            w.writeEmptyElement(QStringLiteral("br"));
        w.writeCharacters(xmlSafe(t.lines[i]));
    }
    w.writeEndElement();
}

} // namespace

bool exportHtml(const PreparedReport& report, const QString& path, const ExportOptions& options, QString* error)
{
    if (report.pages.empty())
        return exportFailed(error, noPagesMessage());
    const bool mono = options.render.monochrome;
    const QFileInfo target(path);
    const QString picturesName = target.completeBaseName() + QStringLiteral(".files");
    const QDir pictures(target.dir().filePath(picturesName));
    const QString picturesLink = QString::fromLatin1(QUrl::toPercentEncoding(picturesName));
    QHash<QString, QString> written; // picture key -> file name
    const QString title = options.title.isEmpty() ? uiText("export.sheetName", "Report") : options.title;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter w(&buffer);
    w.writeStartDocument();
    w.writeDTD(QStringLiteral("<!DOCTYPE html>"));
    w.writeStartElement(QStringLiteral("html"));
    w.writeAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.w3.org/1999/xhtml"));
    w.writeStartElement(QStringLiteral("head"));
    w.writeEmptyElement(QStringLiteral("meta"));
    w.writeAttribute(QStringLiteral("charset"), QStringLiteral("UTF-8"));
    w.writeEmptyElement(QStringLiteral("meta"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("generator"));
    w.writeAttribute(QStringLiteral("content"), xmlSafe(options.creator));
    w.writeTextElement(QStringLiteral("title"), xmlSafe(title));
    w.writeTextElement(QStringLiteral("style"),
                       QStringLiteral("body{margin:0;background:#9a9a9a}"
                                      ".page{position:relative;overflow:hidden;background:#fff;margin:12px}"
                                      ".page>svg,.page>img,.t{position:absolute}"
                                      ".t{overflow:hidden;white-space:pre;box-sizing:border-box}"));
    w.writeEndElement(); // head
    w.writeStartElement(QStringLiteral("body"));

    const int total = report.pageCount();
    for (int i = 0; i < total; ++i) {
        const PreparedPage& page = report.pages[size_t(i)];
        w.writeStartElement(QStringLiteral("div"));
        w.writeAttribute(QStringLiteral("class"), QStringLiteral("page"));
        w.writeAttribute(QStringLiteral("id"), QStringLiteral("page%1").arg(i + 1));
        w.writeAttribute(QStringLiteral("style"),
                         QStringLiteral("width:%1;height:%2").arg(px(page.size.width()), px(page.size.height())));
        // Rectangles, lines and shapes first, as one drawing under the texts and pictures.
        w.writeStartElement(QStringLiteral("svg"));
        w.writeAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.w3.org/2000/svg"));
        w.writeAttribute(QStringLiteral("width"), num(page.size.width()));
        w.writeAttribute(QStringLiteral("height"), num(page.size.height()));
        w.writeAttribute(QStringLiteral("style"), QStringLiteral("left:0;top:0"));
        HtmlPage drawing(w, mono);
        for (const PreparedElement& e : page.elements) {
            if (!e.printable)
                continue;
            if (const auto* r = std::get_if<RectItem>(&e.item))
                drawing.rect(*r);
            else if (const auto* l = std::get_if<LineItem>(&e.item)) {
                if (l->color.isValid())
                    drawing.line(l->from, l->to, l->color, l->width, l->style);
            } else if (const auto* s = std::get_if<ShapeItem>(&e.item))
                drawing.shape(*s);
        }
        w.writeEndElement(); // svg
        for (const PreparedElement& e : page.elements) {
            if (!e.printable)
                continue;
            if (const auto* img = std::get_if<ImageItem>(&e.item)) {
                if (img->image.isNull() || img->rect.isEmpty())
                    continue;
                const QString key = QStringLiteral("%1/%2,%3,%4,%5/%6")
                                        .arg(img->image.cacheKey())
                                        .arg(img->source.x())
                                        .arg(img->source.y())
                                        .arg(img->source.width())
                                        .arg(img->source.height())
                                        .arg(mono);
                QString file = written.value(key);
                if (file.isEmpty()) {
                    QImage part = img->source.isNull() ? img->image : img->image.copy(img->source.toAlignedRect());
                    if (mono)
                        part = part.convertToFormat(QImage::Format_Grayscale8);
                    file = QStringLiteral("img%1.png").arg(written.size() + 1);
                    // Only the pictures' own folder is made: a missing folder of the document is an error.
                    if (!pictures.exists() && !target.dir().mkdir(picturesName))
                        return exportFailed(error, cannotWriteMessage(pictures.path(), QString()));
                    if (!part.save(pictures.filePath(file), "PNG"))
                        return exportFailed(error, cannotWriteMessage(pictures.filePath(file), QString()));
                    written.insert(key, file);
                }
                w.writeEmptyElement(QStringLiteral("img"));
                w.writeAttribute(QStringLiteral("src"), picturesLink + QLatin1Char('/') + file);
                w.writeAttribute(QStringLiteral("alt"), QString());
                w.writeAttribute(QStringLiteral("style"),
                                 QStringLiteral("left:%1;top:%2;width:%3;height:%4")
                                     .arg(px(img->rect.left()), px(img->rect.top()), px(img->rect.width()),
                                          px(img->rect.height())));
            } else if (const auto* t = std::get_if<TextItem>(&e.item)) {
                if (!t->lines.isEmpty())
                    writeText(w, *t, mono);
            }
        }
        w.writeEndElement(); // page
        if (!reportProgress(options, i + 1, total, error))
            return false;
    }
    w.writeEndElement(); // body
    w.writeEndElement(); // html
    w.writeEndDocument();
    return writeWholeFile(path, bytes, error);
}

} // namespace tarvex::engine
