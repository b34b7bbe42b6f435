#include "ExportSpreadsheetXml.h"

#include "ExportGrid.h"
#include "ExportSupport.h"
#include "UiStrings.h"

#include <QBuffer>
#include <QDateTime>
#include <QHash>
#include <QXmlStreamWriter>

namespace tarvex::engine {

namespace {

const QString kSs = QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet");

/// Report units (1/96 inch) to points.
QString points(double units) { return QString::number(units * 0.75, 'f', 2); }

/// XML 1.0 cannot carry most control characters; they are not part of any printed text.
QString xmlSafe(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u >= 0x20 || u == '\n' || u == '\t')
            out += (u == 0xFFFE || u == 0xFFFF) ? QChar(u'?') : ch;
    }
    return out;
}

QString hexColor(const QColor& c) { return c.name(QColor::HexRgb).toUpper(); }

QString lineStyle(Qt::PenStyle s)
{
    switch (s) {
    case Qt::DashLine: return QStringLiteral("Dash");
    case Qt::DotLine: return QStringLiteral("Dot");
    case Qt::DashDotLine: return QStringLiteral("DashDot");
    case Qt::DashDotDotLine: return QStringLiteral("DashDotDot");
    default: return QStringLiteral("Continuous");
    }
}

/// The look of a cell as one key, so that equal looks share one style.
QString styleKey(const GridBox& b)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
        .arg(int(b.hAlign))
        .arg(int(b.vAlign))
        .arg(b.font.family)
        .arg(b.font.pixelSize)
        .arg(b.font.style)
        .arg(b.color.isValid() ? hexColor(b.color) : QString())
        .arg(b.fill.isValid() ? hexColor(b.fill) : QString())
        .arg(b.frameSides && b.frameColor.isValid() ? b.frameSides : 0)
        .arg(b.frameSides ? QStringLiteral("%1/%2/%3").arg(b.frameWidth).arg(hexColor(b.frameColor)).arg(int(b.frameStyle))
                          : QString()) +
           QStringLiteral("|%1").arg(b.rotation);
}

void writeStyle(QXmlStreamWriter& w, const QString& id, const GridBox& b)
{
    w.writeStartElement(QStringLiteral("Style"));
    w.writeAttribute(QStringLiteral("ss:ID"), id);
    w.writeEmptyElement(QStringLiteral("Alignment"));
    static const char* const horizontal[] = {"Left", "Center", "Right", "Justify"};
    static const char* const vertical[] = {"Top", "Center", "Bottom"};
    w.writeAttribute(QStringLiteral("ss:Horizontal"), QString::fromLatin1(horizontal[int(b.hAlign)]));
    w.writeAttribute(QStringLiteral("ss:Vertical"), QString::fromLatin1(vertical[int(b.vAlign)]));
    w.writeAttribute(QStringLiteral("ss:WrapText"), QStringLiteral("1"));
    if (b.rotation == 90 || b.rotation == 270)
        w.writeAttribute(QStringLiteral("ss:Rotate"), QString::number(b.rotation == 90 ? 90 : -90));
    if (b.frameSides && b.frameColor.isValid()) {
        w.writeStartElement(QStringLiteral("Borders"));
        const std::pair<int, const char*> sides[] = {
            {Frame::Left, "Left"}, {Frame::Top, "Top"}, {Frame::Right, "Right"}, {Frame::Bottom, "Bottom"}};
        for (const auto& [bit, name] : sides) {
            if (!(b.frameSides & bit))
                continue;
            w.writeEmptyElement(QStringLiteral("Border"));
            w.writeAttribute(QStringLiteral("ss:Position"), QString::fromLatin1(name));
            w.writeAttribute(QStringLiteral("ss:LineStyle"), lineStyle(b.frameStyle));
            w.writeAttribute(QStringLiteral("ss:Weight"), QString::number(b.frameWidth >= 2.5 ? 3 : b.frameWidth >= 1.5 ? 2 : 1));
            w.writeAttribute(QStringLiteral("ss:Color"), hexColor(b.frameColor));
        }
        w.writeEndElement();
    }
    w.writeEmptyElement(QStringLiteral("Font"));
    w.writeAttribute(QStringLiteral("ss:FontName"), b.font.family);
    w.writeAttribute(QStringLiteral("ss:Size"), QString::number(b.font.pixelSize * 0.75, 'g', 4));
    if (b.color.isValid())
        w.writeAttribute(QStringLiteral("ss:Color"), hexColor(b.color));
    if (b.font.style & Font::Bold)
        w.writeAttribute(QStringLiteral("ss:Bold"), QStringLiteral("1"));
    if (b.font.style & Font::Italic)
        w.writeAttribute(QStringLiteral("ss:Italic"), QStringLiteral("1"));
    if (b.font.style & Font::Underline)
        w.writeAttribute(QStringLiteral("ss:Underline"), QStringLiteral("Single"));
    if (b.font.style & Font::StrikeOut)
        w.writeAttribute(QStringLiteral("ss:StrikeThrough"), QStringLiteral("1"));
    if (b.fill.isValid()) {
        w.writeEmptyElement(QStringLiteral("Interior"));
        w.writeAttribute(QStringLiteral("ss:Color"), hexColor(b.fill));
        w.writeAttribute(QStringLiteral("ss:Pattern"), QStringLiteral("Solid"));
    }
    w.writeEndElement();
}

/// A worksheet name Excel accepts: at most 31 characters, none of []:*?/\ .
QString sheetName()
{
    QString name = uiText("export.sheetName", "Report");
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    for (QChar& ch : name)
        if (forbidden.contains(ch))
            ch = QLatin1Char('_');
    name = name.left(31);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

} // namespace

bool exportSpreadsheetXml(const PreparedReport& report, const QString& path, const ExportOptions& options,
                          QString* error)
{
    if (report.pages.empty())
        return exportFailed(error, noPagesMessage());
    const int total = report.pageCount();
    std::vector<std::vector<GridBox>> pages;
    pages.reserve(report.pages.size());
    for (int i = 0; i < total; ++i) {
        pages.push_back(pageBoxes(report.pages[size_t(i)], options.render.monochrome));
        // Collecting the pages is the first half of the work, writing them the second.
        if (!reportProgress(options, i + 1, 2 * total, error))
            return false;
    }
    GridOptions gridOptions;
    gridOptions.dropEmptyRows = true;
    const Grid g = buildGrid(pages, gridOptions);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter w(&buffer);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeProcessingInstruction(QStringLiteral("mso-application"), QStringLiteral("progid=\"Excel.Sheet\""));
    // Prefixes are written as they are: spreadsheet programs expect exactly these.
    const QString office = QStringLiteral("urn:schemas-microsoft-com:office:office");
    const QString excel = QStringLiteral("urn:schemas-microsoft-com:office:excel");
    w.writeStartElement(QStringLiteral("Workbook"));
    w.writeAttribute(QStringLiteral("xmlns"), kSs);
    w.writeAttribute(QStringLiteral("xmlns:o"), office);
    w.writeAttribute(QStringLiteral("xmlns:x"), excel);
    w.writeAttribute(QStringLiteral("xmlns:ss"), kSs);
    w.writeStartElement(QStringLiteral("DocumentProperties"));
    w.writeAttribute(QStringLiteral("xmlns"), office);
    w.writeTextElement(QStringLiteral("Author"), xmlSafe(options.creator));
    w.writeTextElement(QStringLiteral("Created"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    w.writeEndElement();

    // Styles first: the workbook names them before the worksheet uses them.
    QHash<QString, QString> styleIds;
    std::vector<QString> cellStyle(g.cells.size());
    w.writeStartElement(QStringLiteral("Styles"));
    for (size_t i = 0; i < g.cells.size(); ++i) {
        const GridBox& b = g.cells[i].box;
        const QString key = styleKey(b);
        auto it = styleIds.find(key);
        if (it == styleIds.end()) {
            it = styleIds.insert(key, QStringLiteral("s%1").arg(styleIds.size() + 1));
            writeStyle(w, *it, b);
        }
        cellStyle[i] = *it;
    }
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("Worksheet"));
    w.writeAttribute(QStringLiteral("ss:Name"), sheetName());
    w.writeStartElement(QStringLiteral("Table"));
    w.writeAttribute(QStringLiteral("ss:ExpandedColumnCount"), QString::number(std::max(1, g.columnCount())));
    w.writeAttribute(QStringLiteral("ss:ExpandedRowCount"), QString::number(std::max(1, g.rowCount())));
    for (double width : g.columnWidths) {
        w.writeEmptyElement(QStringLiteral("Column"));
        w.writeAttribute(QStringLiteral("ss:AutoFitWidth"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("ss:Width"), points(width));
    }
    size_t next = 0;
    size_t pageOfRow = 0;
    for (int r = 0; r < g.rowCount(); ++r) {
        w.writeStartElement(QStringLiteral("Row"));
        w.writeAttribute(QStringLiteral("ss:Index"), QString::number(r + 1));
        w.writeAttribute(QStringLiteral("ss:AutoFitHeight"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("ss:Height"), points(g.rowHeights[size_t(r)]));
        for (; next < g.cells.size() && g.cells[next].row == r; ++next) {
            const GridCell& cell = g.cells[next];
            w.writeStartElement(QStringLiteral("Cell"));
            w.writeAttribute(QStringLiteral("ss:Index"), QString::number(cell.col + 1));
            if (cell.colSpan > 1)
                w.writeAttribute(QStringLiteral("ss:MergeAcross"), QString::number(cell.colSpan - 1));
            if (cell.rowSpan > 1)
                w.writeAttribute(QStringLiteral("ss:MergeDown"), QString::number(cell.rowSpan - 1));
            w.writeAttribute(QStringLiteral("ss:StyleID"), cellStyle[next]);
            if (cell.box.hasText()) {
                w.writeStartElement(QStringLiteral("Data"));
                w.writeAttribute(QStringLiteral("ss:Type"), QStringLiteral("String"));
                w.writeCharacters(xmlSafe(cell.box.text()));
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
        while (pageOfRow + 1 < g.pageFirstRow.size() && g.pageFirstRow[pageOfRow + 1] <= r + 1) {
            ++pageOfRow;
            if (!reportProgress(options, total + int(pageOfRow), 2 * total, error))
                return false;
        }
    }
    w.writeEndElement(); // Table
    w.writeStartElement(QStringLiteral("WorksheetOptions"));
    w.writeAttribute(QStringLiteral("xmlns"), excel);
    w.writeStartElement(QStringLiteral("PageSetup"));
    w.writeEmptyElement(QStringLiteral("Layout"));
    w.writeAttribute(QStringLiteral("x:Orientation"),
                     report.pages.front().landscape ? QStringLiteral("Landscape") : QStringLiteral("Portrait"));
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement(); // Worksheet
    w.writeEndElement(); // Workbook
    w.writeEndDocument();
    if (!reportProgress(options, 2 * total, 2 * total, error))
        return false;
    return writeWholeFile(path, bytes, error);
}

} // namespace tarvex::engine
