#include "ExportRtf.h"

#include "ExportGrid.h"
#include "ExportSupport.h"

#include <QBuffer>

#include <algorithm>

namespace tarvex::engine {

namespace {

/// Report units are 1/96 inch, twips 1/1440 inch.
int twips(double units) { return qRound(units * 15.0); }

class RtfDocument {
public:
    int font(const QString& family)
    {
        qsizetype i = fonts_.indexOf(family);
        if (i < 0) {
            fonts_ << family;
            i = fonts_.size() - 1;
        }
        return int(i);
    }
    /// Colour table index; 0 is the automatic colour.
    int color(const QColor& c)
    {
        const QRgb rgb = c.rgb() & 0xFFFFFF;
        qsizetype i = colors_.indexOf(rgb);
        if (i < 0) {
            colors_ << rgb;
            i = colors_.size() - 1;
        }
        return int(i) + 1;
    }

    QByteArray header(const QString& author) const
    {
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1\n{\\fonttbl";
        for (qsizetype i = 0; i < fonts_.size(); ++i)
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset204 " + escaped(fonts_[i]) + ";}";
        out += "}\n{\\colortbl;";
        for (QRgb c : colors_)
            out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) + "\\blue" +
                   QByteArray::number(qBlue(c)) + ";";
        out += "}\n{\\info{\\author " + escaped(author) + "}}\n";
        return out;
    }

    static QByteArray escaped(const QString& text)
    {
        QByteArray out;
        out.reserve(text.size());
        for (const QChar ch : text) {
            const char16_t u = ch.unicode();
            if (u == '\\' || u == '{' || u == '}') {
                out += '\\';
                out += char(u);
            } else if (u == '\n') {
                out += "\\line ";
            } else if (u == '\t') {
                out += "\\tab ";
            } else if (u < 0x20) {
                continue;
            } else if (u < 0x80) {
                out += char(u);
            } else {
                // \uN takes a signed 16-bit number; "?" is what readers without Unicode show.
                out += "\\u" + QByteArray::number(int(qint16(u))) + '?';
            }
        }
        return out;
    }

private:
    QStringList fonts_;
    QList<QRgb> colors_;
};

QByteArray picture(const QImage& image, double widthUnits, double heightUnits)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray out = "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
                     QByteArray::number(image.height()) + "\\picwgoal" + QByteArray::number(twips(widthUnits)) +
                     "\\pichgoal" + QByteArray::number(twips(heightUnits)) + "\n";
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        out += hex.mid(i, 128) + '\n';
    out += '}';
    return out;
}

QByteArray borderWord(const char* side, const GridBox& b, RtfDocument& doc)
{
    QByteArray kind = "\\brdrs";
    if (b.frameStyle == Qt::DashLine)
        kind = "\\brdrdash";
    else if (b.frameStyle == Qt::DotLine)
        kind = "\\brdrdot";
    else if (b.frameStyle == Qt::DashDotLine)
        kind = "\\brdrdashd";
    else if (b.frameStyle == Qt::DashDotDotLine)
        kind = "\\brdrdashdd";
    const int width = std::clamp(twips(b.frameWidth), 1, 75);
    return QByteArray("\\clbrdr") + side + kind + "\\brdrw" + QByteArray::number(width) + "\\brdrcf" +
           QByteArray::number(doc.color(b.frameColor));
}

/// One cell of a table row: the grid cell that covers it, or a run of free columns.
struct RowPart {
    int owner = -1;
    int c0 = 0;
    int c1 = 0;
};

QByteArray pageBody(const Grid& g, RtfDocument& doc)
{
    QByteArray out;
    std::vector<double> colRight(g.columnWidths.size());
    double x = 0;
    for (size_t c = 0; c < g.columnWidths.size(); ++c)
        colRight[c] = (x += g.columnWidths[c]);
    for (int r = 0; r < g.rowCount(); ++r) {
        std::vector<RowPart> parts;
        for (int c = 0; c < g.columnCount();) {
            RowPart p;
            p.owner = g.ownerAt(r, c);
            p.c0 = c;
            if (p.owner >= 0) {
                const GridCell& cell = g.cells[size_t(p.owner)];
                c = cell.col + cell.colSpan;
            } else {
                while (c < g.columnCount() && g.ownerAt(r, c) < 0)
                    ++c;
            }
            p.c1 = c;
            parts.push_back(p);
        }
        out += "\\trowd\\trgaph0\\trleft0\\trrh" + QByteArray::number(std::max(1, twips(g.rowHeights[size_t(r)])));
        for (const RowPart& p : parts) {
            if (p.owner >= 0) {
                const GridCell& cell = g.cells[size_t(p.owner)];
                const GridBox& b = cell.box;
                if (cell.rowSpan > 1)
                    out += cell.row == r ? "\\clvmgf" : "\\clvmrg";
                out += b.vAlign == VAlign::Center ? "\\clvertalc" : b.vAlign == VAlign::Bottom ? "\\clvertalb" : "\\clvertalt";
                if (b.frameSides && b.frameColor.isValid()) {
                    if ((b.frameSides & Frame::Top) && cell.row == r)
                        out += borderWord("t", b, doc);
                    if (b.frameSides & Frame::Left)
                        out += borderWord("l", b, doc);
                    if ((b.frameSides & Frame::Bottom) && cell.row + cell.rowSpan - 1 == r)
                        out += borderWord("b", b, doc);
                    if (b.frameSides & Frame::Right)
                        out += borderWord("r", b, doc);
                }
                if (b.fill.isValid())
                    out += "\\clcbpat" + QByteArray::number(doc.color(b.fill));
            }
            out += "\\cellx" + QByteArray::number(twips(colRight[size_t(p.c1) - 1]));
        }
        out += '\n';
        for (const RowPart& p : parts) {
            out += "\\pard\\intbl\\plain";
            const bool text = p.owner >= 0 && g.cells[size_t(p.owner)].row == r && g.cells[size_t(p.owner)].box.hasText();
            // An empty cell's paragraph must not make its row taller than the page has it.
            if (!text)
                out += "\\fs2";
            if (p.owner >= 0 && g.cells[size_t(p.owner)].row == r) {
                const GridCell& cell = g.cells[size_t(p.owner)];
                const GridBox& b = cell.box;
                out += b.hAlign == HAlign::Center  ? "\\qc"
                       : b.hAlign == HAlign::Right ? "\\qr"
                       : b.hAlign == HAlign::Block ? "\\qj"
                                                   : "\\ql";
                if (b.hasText()) {
                    out += "{\\f" + QByteArray::number(doc.font(b.font.family)) + "\\fs" +
                           QByteArray::number(std::max(2, qRound(b.font.pixelSize * 1.5)));
                    if (b.color.isValid() && (b.color.rgb() & 0xFFFFFF) != 0)
                        out += "\\cf" + QByteArray::number(doc.color(b.color));
                    if (b.font.style & Font::Bold)
                        out += "\\b";
                    if (b.font.style & Font::Italic)
                        out += "\\i";
                    if (b.font.style & Font::Underline)
                        out += "\\ul";
                    if (b.font.style & Font::StrikeOut)
                        out += "\\strike";
                    out += ' ' + RtfDocument::escaped(b.text()) + '}';
                }
                if (!b.image.isNull())
                    out += picture(b.image, b.rect.width(), b.rect.height());
                for (const QImage& more : cell.moreImages)
                    out += picture(more, more.width(), more.height());
            }
            out += "\\cell\n";
        }
        out += "\\row\n";
    }
    // A table must be followed by a paragraph; keep it tiny so that it adds no page.
    out += "\\pard\\plain\\fs2\\par\n";
    return out;
}

} // namespace

bool exportRtf(const PreparedReport& report, const QString& path, const ExportOptions& options, QString* error)
{
    if (report.pages.empty())
        return exportFailed(error, noPagesMessage());
    RtfDocument doc;
    doc.font(QStringLiteral("Arial"));
    QByteArray body;
    const int total = report.pageCount();
    for (int i = 0; i < total; ++i) {
        const PreparedPage& page = report.pages[size_t(i)];
        const std::vector<GridBox> boxes = pageBoxes(page, options.render.monochrome);
        const Grid g = buildGrid({boxes});
        double top = page.size.height(), bottom = 0, right = 0;
        for (const GridBox& b : boxes) {
            top = std::min(top, b.rect.top());
            bottom = std::max(bottom, b.rect.bottom());
            right = std::max(right, b.rect.right());
        }
        if (boxes.empty())
            top = bottom = right = 0;
        const double left = boxes.empty() ? 0 : g.left;
        if (i > 0)
            body += "\\sect";
        body += "\\sectd\\sbkpage\\pgwsxn" + QByteArray::number(twips(page.size.width())) + "\\pghsxn" +
                QByteArray::number(twips(page.size.height())) + "\\marglsxn" + QByteArray::number(twips(left)) +
                "\\margrsxn" + QByteArray::number(std::max(0, twips(page.size.width() - right))) + "\\margtsxn" +
                QByteArray::number(twips(top)) + "\\margbsxn" +
                QByteArray::number(std::max(0, twips(page.size.height() - bottom) - 15));
        if (page.landscape)
            body += "\\lndscpsxn";
        body += '\n';
        body += boxes.empty() ? QByteArray("\\pard\\par\n") : pageBody(g, doc);
        if (!reportProgress(options, i + 1, total, error))
            return false;
    }
    QByteArray file = doc.header(options.creator);
    file += body;
    file += "}\n";
    return writeWholeFile(path, file, error);
}

} // namespace tarvex::engine
