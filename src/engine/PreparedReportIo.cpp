#include "PreparedReportIo.h"

#include "ExportSupport.h"
#include "UiStrings.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <functional>

namespace tarvex::engine {

namespace {

const QString kRoot = QStringLiteral("TarvexPreparedReport");
constexpr int kVersion = 1;

// Bounds that no real report comes near; they keep a damaged file from asking for absurd memory.
constexpr int kMaxPages = 100000;
constexpr qsizetype kMaxElementsPerPage = 2000000;
constexpr qsizetype kMaxPoints = 1000000;
constexpr int kMaxOutlineDepth = 64;
constexpr double kMaxCoordinate = 1e7;
constexpr int kMaxPictureSide = 30000;

QString number(double v) { return QString::number(v, 'g', 17); }

/// Lines are stored as text unless they hold characters XML cannot carry; those go as base64 of UTF-8.
bool xmlCarries(const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r')
            return false;
        if (u == '\r' || u == 0xFFFE || u == 0xFFFF)
            return false;
        if (QChar::isHighSurrogate(u)) {
            if (i + 1 >= s.size() || !QChar::isLowSurrogate(s[i + 1].unicode()))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(u)) {
            return false;
        }
    }
    return true;
}

class Writer {
public:
    explicit Writer(QIODevice* device) : w_(device) {}

    bool write(const PreparedReport& report, const ProgressFn& progress)
    {
        w_.writeStartDocument();
        w_.writeStartElement(kRoot);
        w_.writeAttribute(QStringLiteral("version"), QString::number(kVersion));
        w_.writeAttribute(QStringLiteral("pages"), QString::number(report.pageCount()));
        writePictures(report);
        if (!report.outline.empty()) {
            w_.writeStartElement(QStringLiteral("outline"));
            for (const OutlineEntry& e : report.outline)
                writeOutline(e);
            w_.writeEndElement();
        }
        const int total = report.pageCount();
        for (int i = 0; i < total; ++i) {
            writePage(report.pages[size_t(i)]);
            if (progress && !progress(i + 1, total))
                return false;
        }
        w_.writeEndElement();
        w_.writeEndDocument();
        return !w_.hasError();
    }

private:
    void writePictures(const PreparedReport& report)
    {
        bool any = false;
        for (const PreparedPage& p : report.pages)
            for (const PreparedElement& e : p.elements)
                if (const auto* img = std::get_if<ImageItem>(&e.item)) {
                    if (pictures_.contains(img->image.cacheKey()))
                        continue;
                    const int id = int(pictures_.size());
                    pictures_.insert(img->image.cacheKey(), id);
                    if (!any) {
                        w_.writeStartElement(QStringLiteral("pictures"));
                        any = true;
                    }
                    QByteArray png;
                    QBuffer buffer(&png);
                    buffer.open(QIODevice::WriteOnly);
                    if (!img->image.isNull())
                        img->image.save(&buffer, "PNG");
                    w_.writeStartElement(QStringLiteral("picture"));
                    w_.writeAttribute(QStringLiteral("id"), QString::number(id));
                    w_.writeCharacters(QString::fromLatin1(png.toBase64()));
                    w_.writeEndElement();
                }
        if (any)
            w_.writeEndElement();
    }

    void writeOutline(const OutlineEntry& e)
    {
        w_.writeStartElement(QStringLiteral("item"));
        w_.writeAttribute(QStringLiteral("page"), QString::number(e.page));
        w_.writeAttribute(QStringLiteral("y"), number(e.y));
        writeText(QStringLiteral("text"), e.text);
        for (const OutlineEntry& c : e.children)
            writeOutline(c);
        w_.writeEndElement();
    }

    void writeText(const QString& element, const QString& text)
    {
        w_.writeStartElement(element);
        if (xmlCarries(text)) {
            w_.writeCharacters(text);
        } else {
            w_.writeAttribute(QStringLiteral("b64"), QStringLiteral("1"));
            w_.writeCharacters(QString::fromLatin1(text.toUtf8().toBase64()));
        }
        w_.writeEndElement();
    }

    void rect(const QRectF& r)
    {
        w_.writeAttribute(QStringLiteral("x"), number(r.x()));
        w_.writeAttribute(QStringLiteral("y"), number(r.y()));
        w_.writeAttribute(QStringLiteral("w"), number(r.width()));
        w_.writeAttribute(QStringLiteral("h"), number(r.height()));
    }

    void color(const QString& name, const QColor& c)
    {
        if (c.isValid())
            w_.writeAttribute(name, c.name(QColor::HexArgb));
    }

    void writePage(const PreparedPage& page)
    {
        w_.writeStartElement(QStringLiteral("page"));
        w_.writeAttribute(QStringLiteral("width"), number(page.size.width()));
        w_.writeAttribute(QStringLiteral("height"), number(page.size.height()));
        if (page.landscape)
            w_.writeAttribute(QStringLiteral("landscape"), QStringLiteral("1"));
        for (const PreparedElement& e : page.elements) {
            std::visit([&](const auto& item) {
                using T = std::decay_t<decltype(item)>;
                if constexpr (std::is_same_v<T, TextItem>) {
                    w_.writeStartElement(QStringLiteral("text"));
                    rect(item.rect);
                    w_.writeAttribute(QStringLiteral("font"), item.font.family);
                    w_.writeAttribute(QStringLiteral("size"), number(item.font.pixelSize));
                    w_.writeAttribute(QStringLiteral("style"), QString::number(item.font.style));
                    color(QStringLiteral("color"), item.color);
                    w_.writeAttribute(QStringLiteral("halign"), QString::number(int(item.hAlign)));
                    w_.writeAttribute(QStringLiteral("valign"), QString::number(int(item.vAlign)));
                    w_.writeAttribute(QStringLiteral("gapx"), number(item.gapX));
                    w_.writeAttribute(QStringLiteral("gapy"), number(item.gapY));
                    w_.writeAttribute(QStringLiteral("lineheight"), number(item.lineHeight));
                    w_.writeAttribute(QStringLiteral("rotation"), QString::number(item.rotation));
                    w_.writeAttribute(QStringLiteral("clip"), item.clip ? QStringLiteral("1") : QStringLiteral("0"));
                    printable(e);
                    for (const QString& l : item.lines)
                        writeText(QStringLiteral("l"), l);
                    w_.writeEndElement();
                } else if constexpr (std::is_same_v<T, RectItem>) {
                    w_.writeEmptyElement(QStringLiteral("rect"));
                    rect(item.rect);
                    color(QStringLiteral("fill"), item.fill);
                    w_.writeAttribute(QStringLiteral("sides"), QString::number(item.frameSides));
                    w_.writeAttribute(QStringLiteral("fw"), number(item.frameWidth));
                    color(QStringLiteral("fc"), item.frameColor);
                    w_.writeAttribute(QStringLiteral("fs"), QString::number(int(item.frameStyle)));
                    printable(e);
                } else if constexpr (std::is_same_v<T, LineItem>) {
                    w_.writeEmptyElement(QStringLiteral("line"));
                    w_.writeAttribute(QStringLiteral("x1"), number(item.from.x()));
                    w_.writeAttribute(QStringLiteral("y1"), number(item.from.y()));
                    w_.writeAttribute(QStringLiteral("x2"), number(item.to.x()));
                    w_.writeAttribute(QStringLiteral("y2"), number(item.to.y()));
                    w_.writeAttribute(QStringLiteral("width"), number(item.width));
                    color(QStringLiteral("color"), item.color);
                    w_.writeAttribute(QStringLiteral("style"), QString::number(int(item.style)));
                    printable(e);
                } else if constexpr (std::is_same_v<T, ImageItem>) {
                    w_.writeEmptyElement(QStringLiteral("image"));
                    rect(item.rect);
                    w_.writeAttribute(QStringLiteral("picture"), QString::number(pictures_.value(item.image.cacheKey())));
                    if (!item.source.isNull()) {
                        w_.writeAttribute(QStringLiteral("sx"), number(item.source.x()));
                        w_.writeAttribute(QStringLiteral("sy"), number(item.source.y()));
                        w_.writeAttribute(QStringLiteral("sw"), number(item.source.width()));
                        w_.writeAttribute(QStringLiteral("sh"), number(item.source.height()));
                    }
                    printable(e);
                } else {
                    w_.writeEmptyElement(QStringLiteral("shape"));
                    w_.writeAttribute(QStringLiteral("kind"), QString::number(int(item.kind)));
                    rect(item.rect);
                    color(QStringLiteral("fill"), item.fill);
                    color(QStringLiteral("pen"), item.pen);
                    w_.writeAttribute(QStringLiteral("pw"), number(item.penWidth));
                    QStringList pts;
                    pts.reserve(item.points.size());
                    for (const QPointF& p : item.points)
                        pts << number(p.x()) + QLatin1Char(',') + number(p.y());
                    w_.writeAttribute(QStringLiteral("points"), pts.join(QLatin1Char(' ')));
                    printable(e);
                }
            }, e.item);
        }
        w_.writeEndElement();
    }

    void printable(const PreparedElement& e)
    {
        if (!e.printable)
            w_.writeAttribute(QStringLiteral("np"), QStringLiteral("1"));
    }

    QXmlStreamWriter w_;
    QHash<qint64, int> pictures_;
};

/// Reads the file; the first problem stops it and is kept with its place.
class Reader {
public:
    explicit Reader(QIODevice* device) : r_(device) {}

    bool read(PreparedReport& out, QString* error)
    {
        if (!r_.readNextStartElement() || r_.name() != kRoot)
            fail(uiText("prepared.notPrepared", "This is not a prepared-report file"));
        else if (const int v = r_.attributes().value(QStringLiteral("version")).toInt(); v < 1 || v > kVersion)
            fail(uiText("prepared.version", "The prepared-report file was written by another version of the program"));
        while (ok() && r_.readNextStartElement()) {
            const auto name = r_.name();
            if (name == QLatin1String("pictures"))
                readPictures();
            else if (name == QLatin1String("outline"))
                readOutline(out.outline, 0);
            else if (name == QLatin1String("page"))
                readPage(out);
            else
                r_.skipCurrentElement();
        }
        if (ok() && r_.hasError())
            fail(r_.errorString());
        if (ok() && out.pages.empty())
            fail(uiText("prepared.noPages", "The prepared-report file holds no pages"));
        if (ok()) {
            // The outline may only point at pages the file has.
            const int pages = out.pageCount();
            std::function<bool(const std::vector<OutlineEntry>&)> valid = [&](const std::vector<OutlineEntry>& items) {
                for (const OutlineEntry& e : items)
                    if (e.page < 0 || e.page >= pages || !valid(e.children))
                        return false;
                return true;
            };
            if (!valid(out.outline))
                fail(uiText("prepared.damaged", "Damaged value: %1").arg(QStringLiteral("outline")));
        }
        if (ok())
            return true;
        out = PreparedReport();
        if (error)
            *error = uiText("prepared.where", "Line %1, column %2: %3").arg(line_).arg(column_).arg(message_);
        return false;
    }

private:
    bool ok() const { return message_.isEmpty(); }

    void fail(const QString& message)
    {
        if (!ok())
            return;
        message_ = message;
        line_ = r_.lineNumber();
        column_ = r_.columnNumber();
    }

    void damaged(QStringView what) { fail(uiText("prepared.damaged", "Damaged value: %1").arg(what.toString())); }

    double real(QStringView name, double fallback = 0, double min = -kMaxCoordinate, double max = kMaxCoordinate)
    {
        const auto v = r_.attributes().value(name.toString());
        if (v.isNull())
            return fallback;
        bool good = false;
        const double d = v.toDouble(&good);
        if (!good || !std::isfinite(d) || d < min || d > max) {
            damaged(name);
            return fallback;
        }
        return d;
    }

    int integer(QStringView name, int fallback, int min, int max)
    {
        const auto v = r_.attributes().value(name.toString());
        if (v.isNull())
            return fallback;
        bool good = false;
        const int i = v.toInt(&good);
        if (!good || i < min || i > max) {
            damaged(name);
            return fallback;
        }
        return i;
    }

    QColor color(QStringView name)
    {
        const auto v = r_.attributes().value(name.toString());
        if (v.isNull())
            return QColor();
        const QColor c = QColor::fromString(v);
        if (!c.isValid())
            damaged(name);
        return c;
    }

    QRectF rect()
    {
        const double x = real(u"x"), y = real(u"y");
        const double w = real(u"w", 0, 0), h = real(u"h", 0, 0);
        return QRectF(x, y, w, h);
    }

    bool printable() { return r_.attributes().value(QStringLiteral("np")) != QLatin1String("1"); }

    QString text()
    {
        const bool b64 = r_.attributes().value(QStringLiteral("b64")) == QLatin1String("1");
        const QString t = r_.readElementText();
        if (!b64)
            return t;
        const auto decoded = QByteArray::fromBase64Encoding(t.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            damaged(u"b64");
        return QString::fromUtf8(decoded.decoded);
    }

    void readPictures()
    {
        while (ok() && r_.readNextStartElement()) {
            if (r_.name() != QLatin1String("picture")) {
                r_.skipCurrentElement();
                continue;
            }
            const int id = integer(u"id", -1, 0, 1 << 24);
            const QString data = r_.readElementText();
            if (!ok())
                return;
            if (id < 0 || pictures_.contains(id))
                return damaged(u"picture id");
            const auto png = QByteArray::fromBase64Encoding(data.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!png)
                return damaged(u"picture");
            QImage image;
            if (!png.decoded.isEmpty()) {
                QBuffer buffer;
                buffer.setData(png.decoded);
                buffer.open(QIODevice::ReadOnly);
                QImageReader reader(&buffer, "PNG");
                const QSize size = reader.size();
                if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
                    return damaged(u"picture");
                image = reader.read();
                if (image.isNull())
                    return damaged(u"picture");
            }
            pictures_.insert(id, image);
        }
    }

    void readOutline(std::vector<OutlineEntry>& into, int depth)
    {
        while (ok() && r_.readNextStartElement()) {
            if (r_.name() == QLatin1String("item"))
                readOutlineItem(into, depth);
            else
                r_.skipCurrentElement();
        }
    }

    /// Reads the item the reader stands on, with the items under it.
    void readOutlineItem(std::vector<OutlineEntry>& into, int depth)
    {
        if (depth > kMaxOutlineDepth)
            return damaged(u"outline");
        OutlineEntry e;
        e.page = integer(u"page", 0, 0, kMaxPages);
        e.y = real(u"y");
        while (ok() && r_.readNextStartElement()) {
            if (r_.name() == QLatin1String("text"))
                e.text = text();
            else if (r_.name() == QLatin1String("item"))
                readOutlineItem(e.children, depth + 1);
            else
                r_.skipCurrentElement();
        }
        into.push_back(std::move(e));
    }

    void readPage(PreparedReport& out)
    {
        if (out.pageCount() >= kMaxPages)
            return fail(uiText("prepared.tooLarge", "The prepared report is too large"));
        PreparedPage page;
        page.size = QSizeF(real(u"width", 0, 1), real(u"height", 0, 1));
        page.landscape = r_.attributes().value(QStringLiteral("landscape")) == QLatin1String("1");
        if (ok() && (page.size.width() <= 0 || page.size.height() <= 0))
            damaged(u"page");
        while (ok() && r_.readNextStartElement()) {
            if (qsizetype(page.elements.size()) >= kMaxElementsPerPage)
                return fail(uiText("prepared.tooLarge", "The prepared report is too large"));
            const auto name = r_.name();
            PreparedElement e;
            e.printable = printable();
            if (name == QLatin1String("text")) {
                TextItem t;
                t.rect = rect();
                t.font.family = r_.attributes().value(QStringLiteral("font")).toString();
                t.font.pixelSize = real(u"size", 13, 0.1, 10000);
                t.font.style = integer(u"style", 0, 0, 15);
                t.color = color(u"color");
                t.hAlign = HAlign(integer(u"halign", 0, 0, 3));
                t.vAlign = VAlign(integer(u"valign", 0, 0, 2));
                t.gapX = real(u"gapx", 2);
                t.gapY = real(u"gapy", 1);
                t.lineHeight = real(u"lineheight", 15, 0, 100000);
                t.rotation = integer(u"rotation", 0, 0, 359);
                t.clip = r_.attributes().value(QStringLiteral("clip")) != QLatin1String("0");
                while (ok() && r_.readNextStartElement()) {
                    if (r_.name() == QLatin1String("l"))
                        t.lines << text();
                    else
                        r_.skipCurrentElement();
                }
                e.item = std::move(t);
            } else if (name == QLatin1String("rect")) {
                RectItem rc;
                rc.rect = rect();
                rc.fill = color(u"fill");
                rc.frameSides = integer(u"sides", 0, 0, Frame::All);
                rc.frameWidth = real(u"fw", 1, 0, 10000);
                rc.frameColor = color(u"fc");
                rc.frameStyle = Qt::PenStyle(integer(u"fs", Qt::SolidLine, Qt::NoPen, Qt::DashDotDotLine));
                r_.skipCurrentElement();
                e.item = rc;
            } else if (name == QLatin1String("line")) {
                LineItem l;
                l.from = QPointF(real(u"x1"), real(u"y1"));
                l.to = QPointF(real(u"x2"), real(u"y2"));
                l.width = real(u"width", 1, 0, 10000);
                l.color = color(u"color");
                l.style = Qt::PenStyle(integer(u"style", Qt::SolidLine, Qt::NoPen, Qt::DashDotDotLine));
                r_.skipCurrentElement();
                e.item = l;
            } else if (name == QLatin1String("image")) {
                ImageItem img;
                img.rect = rect();
                const int id = integer(u"picture", -1, 0, 1 << 24);
                if (ok() && !pictures_.contains(id))
                    damaged(u"picture");
                img.image = pictures_.value(id);
                if (r_.attributes().hasAttribute(QStringLiteral("sx")))
                    img.source = QRectF(real(u"sx"), real(u"sy"), real(u"sw", 0, 0), real(u"sh", 0, 0));
                r_.skipCurrentElement();
                e.item = std::move(img);
            } else if (name == QLatin1String("shape")) {
                ShapeItem s;
                s.kind = ShapeItem::Kind(integer(u"kind", 0, 0, 3));
                s.rect = rect();
                s.fill = color(u"fill");
                s.pen = color(u"pen");
                s.penWidth = real(u"pw", 1, 0, 10000);
                const auto pts = r_.attributes().value(QStringLiteral("points"));
                const auto pairs = pts.split(u' ', Qt::SkipEmptyParts);
                if (pairs.size() > kMaxPoints)
                    damaged(u"points");
                for (qsizetype i = 0; ok() && i < pairs.size(); ++i) {
                    const auto xy = pairs[i].split(u',');
                    bool gx = false, gy = false;
                    const double x = xy.size() == 2 ? xy[0].toDouble(&gx) : 0;
                    const double y = xy.size() == 2 ? xy[1].toDouble(&gy) : 0;
                    if (!gx || !gy || !std::isfinite(x) || !std::isfinite(y) || std::abs(x) > kMaxCoordinate ||
                        std::abs(y) > kMaxCoordinate)
                        damaged(u"points");
                    s.points << QPointF(x, y);
                }
                r_.skipCurrentElement();
                e.item = std::move(s);
            } else {
                r_.skipCurrentElement();
                continue;
            }
            page.elements.push_back(std::move(e));
        }
        if (ok())
            out.pages.push_back(std::move(page));
    }

    QXmlStreamReader r_;
    QHash<int, QImage> pictures_;
    QString message_;
    qint64 line_ = 0;
    qint64 column_ = 0;
};

} // namespace

QByteArray preparedReportToData(const PreparedReport& report)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Writer(&buffer).write(report, {});
    return bytes;
}

bool savePreparedReport(const PreparedReport& report, const QString& path, QString* error, const ProgressFn& progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return exportFailed(error, cannotWriteMessage(path, file.errorString()));
    bool cancelled = false;
    const ProgressFn told = [&](int done, int total) {
        if (progress && !progress(done, total))
            cancelled = true;
        return !cancelled;
    };
    if (!Writer(&file).write(report, told)) {
        file.cancelWriting();
        if (cancelled)
            return exportFailed(error, uiText("export.cancelled", "Cancelled by the user"));
        return exportFailed(error, cannotWriteMessage(path, file.errorString()));
    }
    if (!file.commit())
        return exportFailed(error, cannotWriteMessage(path, file.errorString()));
    return true;
}

bool preparedReportFromData(const QByteArray& bytes, PreparedReport& out, QString* error)
{
    out = PreparedReport();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return Reader(&buffer).read(out, error);
}

bool loadPreparedReport(const QString& path, PreparedReport& out, QString* error)
{
    out = PreparedReport();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = uiText("prepared.cannotOpen", "Cannot open the file %1").arg(path) + QStringLiteral(": ") +
                     file.errorString();
        return false;
    }
    return Reader(&file).read(out, error);
}

} // namespace tarvex::engine
