// Document exports of prepared pages: the cell grid they share, each format read back by a real
// reader, progress and failures.

#include "EngineTestSupport.h"
#include "ExportGrid.h"
#include "ExportHtml.h"
#include "ExportRtf.h"
#include "ExportSpreadsheetXml.h"
#include "ExportXlsx.h"
#include "OfficeConvert.h"
#include "PreparedReportIo.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <functional>

using namespace tarvex::engine;

namespace {

TextItem text(const QRectF& r, const QString& s, HAlign h = HAlign::Left, int style = 0)
{
    TextItem t;
    t.rect = r;
    t.lines = s.split(QLatin1Char('\n'));
    t.hAlign = h;
    t.font.family = QStringLiteral("Liberation Sans");
    t.font.pixelSize = 12;
    t.font.style = style;
    t.lineHeight = 15;
    return t;
}

RectItem frame(const QRectF& r, QColor fill = QColor())
{
    RectItem f;
    f.rect = r;
    f.fill = fill;
    f.frameSides = Frame::All;
    f.frameColor = Qt::black;
    return f;
}

void add(PreparedPage& p, PreparedItem item, bool printable = true) { p.elements.push_back({std::move(item), printable}); }

/// A small report shaped like ours: a title, a framed table with a header, a memo whose text box is
/// shorter than its frame, a picture, and a landscape second page with characters formats escape.
PreparedReport sampleReport()
{
    PreparedReport r;
    PreparedPage p1;
    p1.size = QSizeF(794, 1123);
    add(p1, text(QRectF(40, 40, 700, 30), QStringLiteral("Отчёт об анализе"), HAlign::Center, Font::Bold));
    const double xs[] = {40, 80, 300, 420};
    const QStringList header = {QStringLiteral("№"), QStringLiteral("Компонент"), QStringLiteral("Время, мин")};
    const QStringList rows[] = {{QStringLiteral("1"), QStringLiteral("Метан"), QStringLiteral("0.720")},
                                {QStringLiteral("2"), QStringLiteral("Этан"), QStringLiteral("1.050")},
                                {QStringLiteral("3"), QStringLiteral("Пропан"), QStringLiteral("1.860")}};
    for (int c = 0; c < 3; ++c) {
        const QRectF cell(xs[c], 100, xs[c + 1] - xs[c], 20);
        add(p1, frame(cell, QColor(0xdd, 0xdd, 0xdd)));
        add(p1, text(cell, header[c], HAlign::Center, Font::Bold));
    }
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 3; ++c) {
            const QRectF cell(xs[c], 120 + row * 20, xs[c + 1] - xs[c], 20);
            add(p1, text(cell, rows[row][c], c == 2 ? HAlign::Right : HAlign::Left));
            add(p1, frame(cell));
        }
    // A passport line: a row frame round a label cell (fill and frame) and a value whose text
    // box is shorter than the row.
    add(p1, frame(QRectF(40, 200, 380, 19)));
    add(p1, frame(QRectF(40, 200, 140, 19), QColor(0xf3, 0xf3, 0xf3)));
    add(p1, text(QRectF(40, 200, 140, 17.4), QStringLiteral("Оператор")));
    add(p1, text(QRectF(180, 200, 240, 17.4), QStringLiteral("Иванова Е.П.")));
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 20; y < 80; ++y)
        for (int x = 50; x < 150; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 255));
    add(p1, ImageItem {QRectF(40, 260, 200, 100), picture, QRectF()});
    add(p1, text(QRectF(40, 1080, 700, 20), QStringLiteral("Только в просмотре")), false);
    r.pages.push_back(std::move(p1));

    PreparedPage p2;
    p2.size = QSizeF(1123, 794);
    p2.landscape = true;
    add(p2, text(QRectF(40, 40, 200, 20), QStringLiteral("Итого")));
    add(p2, text(QRectF(240, 40, 120, 20), QStringLiteral("100.000"), HAlign::Right));
    add(p2, text(QRectF(40, 80, 600, 20), QStringLiteral("{Скобки} \\ косая <тег> & \"кавычки\"")));
    LineItem rule;
    rule.from = QPointF(40, 120);
    rule.to = QPointF(640, 120);
    add(p2, rule);
    ShapeItem curve;
    curve.kind = ShapeItem::Kind::Polyline;
    curve.points << QPointF(40, 300) << QPointF(200, 150) << QPointF(400, 280);
    add(p2, curve);
    r.pages.push_back(std::move(p2));
    r.outline = {{QStringLiteral("Пики"), 0, 100, {{QStringLiteral("Метан"), 0, 120, {}}}},
                 {QStringLiteral("Итого"), 1, 40, {}}};
    return r;
}

const GridCell* cellWith(const Grid& g, const QString& s)
{
    for (const GridCell& c : g.cells)
        if (c.box.lines.contains(s))
            return &c;
    return nullptr;
}

TEST(ExportGrid, TableCellsLineUpInRowsAndColumns)
{
    const PreparedReport r = sampleReport();
    const Grid g = buildGrid({pageBoxes(r.pages[0], false)});
    const GridCell* name = cellWith(g, QStringLiteral("Компонент"));
    const GridCell* methane = cellWith(g, QStringLiteral("Метан"));
    const GridCell* ethane = cellWith(g, QStringLiteral("Этан"));
    const GridCell* time = cellWith(g, QStringLiteral("0.720"));
    const GridCell* title = cellWith(g, QStringLiteral("Отчёт об анализе"));
    ASSERT_TRUE(name && methane && ethane && time && title);
    EXPECT_EQ(methane->col, name->col);
    EXPECT_EQ(methane->row, name->row + 1);
    EXPECT_EQ(ethane->row, methane->row + 1);
    EXPECT_EQ(time->row, methane->row);
    EXPECT_GT(time->col, methane->col);
    EXPECT_GE(title->colSpan, 3) << "the title spans the table's columns";
    // Header cells keep their fill and frame; data cells their frame.
    EXPECT_TRUE(name->box.fill.isValid());
    EXPECT_EQ(name->box.frameSides, int(Frame::All));
    EXPECT_EQ(methane->box.frameSides, int(Frame::All));
    EXPECT_EQ(time->box.hAlign, HAlign::Right);
    // The non-printable text is not exported.
    EXPECT_EQ(cellWith(g, QStringLiteral("Только в просмотре")), nullptr);
}

TEST(ExportGrid, ShortTextTakesItsFrameAndARowFrameGoesToItsCells)
{
    const PreparedReport r = sampleReport();
    const Grid g = buildGrid({pageBoxes(r.pages[0], false)});
    const GridCell* label = cellWith(g, QStringLiteral("Оператор"));
    const GridCell* value = cellWith(g, QStringLiteral("Иванова Е.П."));
    ASSERT_TRUE(label && value);
    EXPECT_EQ(label->row, value->row);
    EXPECT_EQ(label->rowSpan, 1) << "no sliver row under the shorter text";
    EXPECT_EQ(value->rowSpan, 1);
    EXPECT_TRUE(label->box.fill.isValid()) << "the label keeps its cell's fill";
    EXPECT_EQ(label->box.frameSides, int(Frame::All));
    EXPECT_EQ(value->box.frameSides, Frame::Top | Frame::Right | Frame::Bottom)
        << "the row frame's sides reach the value cell";
    EXPECT_DOUBLE_EQ(value->box.rect.height(), 19);
}

TEST(ExportGrid, OverlappingTextsShareACellAndNothingIsLost)
{
    PreparedPage p;
    p.size = QSizeF(400, 400);
    add(p, text(QRectF(10, 10, 100, 20), QStringLiteral("первый")));
    add(p, text(QRectF(10, 10, 100, 20), QStringLiteral("второй")));
    add(p, text(QRectF(60, 15, 100, 20), QStringLiteral("сдвинутый")));
    const Grid g = buildGrid({pageBoxes(p, false)});
    QStringList all;
    for (const GridCell& c : g.cells)
        all += c.box.lines;
    all.sort();
    EXPECT_EQ(all, (QStringList {QStringLiteral("второй"), QStringLiteral("первый"), QStringLiteral("сдвинутый")}));
    // Every grid position has at most one owner, and every owner covers its whole span.
    for (size_t i = 0; i < g.cells.size(); ++i) {
        const GridCell& c = g.cells[i];
        for (int r = c.row; r < c.row + c.rowSpan; ++r)
            for (int col = c.col; col < c.col + c.colSpan; ++col)
                EXPECT_EQ(g.ownerAt(r, col), int(i));
    }
}

TEST(ExportGrid, PagesStackAndEmptyRowsCanBeDropped)
{
    PreparedPage p;
    p.size = QSizeF(400, 800);
    add(p, text(QRectF(10, 10, 100, 20), QStringLiteral("верх")));
    add(p, text(QRectF(10, 400, 100, 20), QStringLiteral("низ")));
    const Grid kept = buildGrid({pageBoxes(p, false), pageBoxes(p, false)});
    GridOptions drop;
    drop.dropEmptyRows = true;
    const Grid dropped = buildGrid({pageBoxes(p, false), pageBoxes(p, false)}, drop);
    EXPECT_EQ(kept.rowCount(), 6) << "each page: text, gap, text";
    EXPECT_EQ(dropped.rowCount(), 4);
    ASSERT_EQ(dropped.pageFirstRow.size(), 2u);
    EXPECT_EQ(dropped.pageFirstRow[1], 2);
    EXPECT_EQ(dropped.cells[2].row, 2);
    EXPECT_EQ(dropped.cells[2].box.text(), QStringLiteral("верх"));
}

using Exporter = std::function<bool(const PreparedReport&, const QString&, const ExportOptions&, QString*)>;

struct Format {
    const char* name;
    const char* suffix;
    Exporter write;
};

const Format kFormats[] = {
    {"rtf", "rtf", exportRtf},
    {"xml", "xml", exportSpreadsheetXml},
    {"xlsx", "xlsx", exportXlsx},
    {"html", "html", exportHtml},
    {"prepared", "fp3",
     [](const PreparedReport& r, const QString& path, const ExportOptions& o, QString* error) {
         return savePreparedReport(r, path, error, o.progress);
     }},
};

TEST(Export, ProgressIsToldPageByPageAndCancelKeepsTheOldFile)
{
    const PreparedReport r = sampleReport();
    QTemporaryDir dir;
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        const QString path = dir.filePath(QStringLiteral("out.") + QLatin1String(f.suffix));
        std::vector<std::pair<int, int>> calls;
        ExportOptions options;
        options.progress = [&](int done, int total) {
            calls.emplace_back(done, total);
            return true;
        };
        QString error;
        ASSERT_TRUE(f.write(r, path, options, &error)) << error.toStdString();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back().first, calls.back().second) << "the last call says all is done";
        for (size_t i = 1; i < calls.size(); ++i)
            EXPECT_GE(calls[i].first, calls[i - 1].first);

        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier file");
        old.close();
        options.progress = [](int, int) { return false; };
        EXPECT_FALSE(f.write(r, path, options, &error));
        EXPECT_EQ(error, QStringLiteral("Cancelled by the user"));
        QFile kept(path);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray("earlier file")) << "a cancelled export leaves the old file";
    }
}

TEST(Export, FailuresNameTheFileAndEmptyReportsAreRefused)
{
    QTemporaryDir dir;
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        const QString path = dir.filePath(QStringLiteral("missing/folder/out.") + QLatin1String(f.suffix));
        QString error;
        EXPECT_FALSE(f.write(sampleReport(), path, {}, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("missing/folder"))) << error.toStdString();
        EXPECT_FALSE(QFile::exists(path));
        if (QLatin1String(f.name) != QLatin1String("prepared")) {
            EXPECT_FALSE(f.write(PreparedReport(), dir.filePath(QStringLiteral("empty.x")), {}, &error));
            EXPECT_EQ(error, QStringLiteral("The report has no pages"));
        }
    }
}

TEST(Export, HtmlIsWellFormedWithPagesTextsAndPictureFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("отчёт.html"));
    QString error;
    ASSERT_TRUE(exportHtml(sampleReport(), path, {}, &error)) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    int pages = 0;
    QStringList texts, pictures;
    QString firstPageStyle;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto cls = xml.attributes().value(QStringLiteral("class"));
        if (xml.name() == QLatin1String("div") && cls == QLatin1String("page")) {
            if (++pages == 1)
                firstPageStyle = xml.attributes().value(QStringLiteral("style")).toString();
        } else if (xml.name() == QLatin1String("div") && cls == QLatin1String("t")) {
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.name() == QLatin1String("img")) {
            pictures << xml.attributes().value(QStringLiteral("src")).toString();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(firstPageStyle, QStringLiteral("width:794.00px;height:1123.00px")) << "pages keep their paper width";
    EXPECT_TRUE(texts.contains(QStringLiteral("Метан")));
    EXPECT_TRUE(texts.contains(QStringLiteral("{Скобки} \\ косая <тег> & \"кавычки\"")));
    EXPECT_FALSE(texts.contains(QStringLiteral("Только в просмотре")));
    ASSERT_EQ(pictures.size(), 1);
    const QImage picture(dir.filePath(QUrl::fromPercentEncoding(pictures.front().toLatin1())));
    ASSERT_FALSE(picture.isNull()) << "the picture file beside the page: " << pictures.front().toStdString();
    EXPECT_EQ(picture.size(), QSize(200, 100));
    EXPECT_EQ(picture.pixel(100, 50), qRgb(0, 0, 255));
}

TEST(Export, RtfHoldsTablesAndPicturesNotPicturesOfText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    QString error;
    ASSERT_TRUE(exportRtf(sampleReport(), path, {}, &error)) << error.toStdString();
    const QByteArray rtf = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_EQ(rtf.count("\\pngblip"), 1) << "one picture: the image, never the text";
    EXPECT_EQ(rtf.count("\\sect\\sectd"), 1) << "the second page is a section of its own";
    EXPECT_TRUE(rtf.contains("\\lndscpsxn"));
    const QString office = office::find();
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed (libreoffice-writer-nogui): the RTF was not read back";
    const QString html = office::readText(office::convert(office, path, QStringLiteral("html"), dir.path()));
    ASSERT_FALSE(html.isEmpty()) << "LibreOffice could not read the RTF";
    EXPECT_TRUE(html.contains(QStringLiteral("<table"))) << "LibreOffice sees a table";
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(?:\\s*<[^>]+>)*\\s*Метан"));
    EXPECT_TRUE(cell.match(html).hasMatch()) << "the peak name is a table cell";
    const QString txt = office::readText(office::convert(office, path, QStringLiteral("txt:Text"), dir.path()));
    for (const char* expected : {"Отчёт об анализе", "Метан", "0.720", "Иванова Е.П.", "Итого",
                                 "{Скобки} \\ косая <тег> & \"кавычки\""})
        EXPECT_TRUE(txt.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(txt.contains(QStringLiteral("Только в просмотре")));
}

/// The row of a CSV that holds `first` and what follows it, without empty cells.
QStringList rowStartingWith(const QList<QStringList>& rows, const QString& first, int* index = nullptr)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QStringList cells = office::filled(rows[i]);
        if (!cells.isEmpty() && cells.front() == first) {
            if (index)
                *index = int(i);
            return cells;
        }
    }
    return {};
}

TEST(Export, SpreadsheetsOpenWithTheTableInCells)
{
    const QString office = office::find();
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed (libreoffice-calc-nogui): the spreadsheets were not read back";
    QTemporaryDir dir;
    for (const Format& f : {kFormats[1], kFormats[2]}) {
        SCOPED_TRACE(f.name);
        const QString path = dir.filePath(QStringLiteral("sheet.") + QLatin1String(f.suffix));
        QString error;
        ASSERT_TRUE(f.write(sampleReport(), path, {}, &error)) << error.toStdString();
        const QString outDir = dir.filePath(QLatin1String(f.name));
        QDir().mkpath(outDir);
        const QList<QStringList> rows = office::csvRows(office::convert(office, path, office::kCsv, outDir));
        ASSERT_FALSE(rows.isEmpty()) << "LibreOffice could not read the file";
        int header = -1, methane = -1, total = -1;
        EXPECT_EQ(rowStartingWith(rows, QStringLiteral("№"), &header),
                  (QStringList {QStringLiteral("№"), QStringLiteral("Компонент"), QStringLiteral("Время, мин")}));
        EXPECT_EQ(rowStartingWith(rows, QStringLiteral("1"), &methane),
                  (QStringList {QStringLiteral("1"), QStringLiteral("Метан"), QStringLiteral("0.720")}));
        EXPECT_EQ(rowStartingWith(rows, QStringLiteral("Итого"), &total),
                  (QStringList {QStringLiteral("Итого"), QStringLiteral("100.000")}));
        EXPECT_EQ(methane, header + 1);
        EXPECT_GT(total, methane) << "the second page follows the first";
        // Columns agree: the peak name sits under its header.
        EXPECT_EQ(rows[methane].indexOf(QStringLiteral("Метан")), rows[header].indexOf(QStringLiteral("Компонент")));
        EXPECT_EQ(rowStartingWith(rows, QStringLiteral("Оператор")),
                  (QStringList {QStringLiteral("Оператор"), QStringLiteral("Иванова Е.П.")}));
    }
    // The workbook stores plain numbers as numbers, shown with the printed digits (checked above).
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), dir.filePath(QStringLiteral("sheet.xlsx")),
                                          QStringLiteral("xl/worksheets/sheet1.xml")});
    if (unzip.waitForFinished(30000) && unzip.exitCode() == 0) {
        const QString sheet = QString::fromUtf8(unzip.readAllStandardOutput());
        static const QRegularExpression number(QStringLiteral("<c r=\"[A-Z]+[0-9]+\"(?: s=\"[0-9]+\")?><v>0\\.72</v></c>"));
        EXPECT_TRUE(number.match(sheet).hasMatch()) << "0.720 is a number cell";
    }
}

} // namespace
