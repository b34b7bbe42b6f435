#include "ExportXlsx.h"

#include "ExportGrid.h"
#include "ExportSupport.h"
#include "UiStrings.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>

namespace tarvex::engine {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr qsizetype kMaxCellText = 32767;

lxw_color_t rgb(const QColor& c) { return lxw_color_t(c.rgb() & 0xFFFFFF); }

uint8_t borderStyle(const GridBox& b)
{
    switch (b.frameStyle) {
    case Qt::DashLine: return LXW_BORDER_DASHED;
    case Qt::DotLine: return LXW_BORDER_DOTTED;
    case Qt::DashDotLine: return LXW_BORDER_DASH_DOT;
    case Qt::DashDotDotLine: return LXW_BORDER_DASH_DOT_DOT;
    default: return b.frameWidth >= 2.5 ? LXW_BORDER_THICK : b.frameWidth >= 1.5 ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN;
    }
}

/// The number a cell's text stands for, with the number format that prints the same digits. Only
/// plain numbers count: a leading zero ("007"), a blank or a unit keeps the text a text.
struct NumberText {
    bool isNumber = false;
    double value = 0;
    QByteArray format;
};

NumberText numberOf(const QString& text)
{
    static const QRegularExpression plain(QStringLiteral("^-?(0|[1-9][0-9]*)(?:\\.([0-9]+))?(?:[eE]([-+]?[0-9]+))?$"));
    NumberText n;
    const QRegularExpressionMatch m = plain.match(text);
    if (!m.hasMatch() || text.size() > 24)
        return n;
    bool ok = false;
    n.value = text.toDouble(&ok);
    if (!ok || !std::isfinite(n.value))
        return n;
    n.isNumber = true;
    const qsizetype decimals = m.captured(2).size();
    n.format = decimals ? "0." + QByteArray(decimals, '0') : QByteArray("0");
    if (m.capturedLength(3) > 0)
        n.format += "E+00";
    return n;
}

class Formats {
public:
    explicit Formats(lxw_workbook* wb) : wb_(wb) {}

    lxw_format* get(const GridBox& b, const QByteArray& numberFormat)
    {
        const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
                                .arg(int(b.hAlign))
                                .arg(int(b.vAlign))
                                .arg(b.font.family)
                                .arg(b.font.pixelSize)
                                .arg(b.font.style)
                                .arg(b.color.isValid() ? b.color.rgb() : 0)
                                .arg(b.fill.isValid() ? b.fill.rgba() : 0)
                                .arg(b.frameColor.isValid() ? b.frameSides : 0)
                                .arg(QStringLiteral("%1/%2/%3/%4/%5")
                                         .arg(b.frameWidth)
                                         .arg(b.frameColor.isValid() ? b.frameColor.rgb() : 0)
                                         .arg(int(b.frameStyle))
                                         .arg(b.rotation)
                                         .arg(QString::fromLatin1(numberFormat)));
        auto it = formats_.find(key);
        if (it != formats_.end())
            return *it;
        lxw_format* f = workbook_add_format(wb_);
        names_.push_back(b.font.family.toUtf8());
        format_set_font_name(f, names_.back().constData());
        format_set_font_size(f, b.font.pixelSize * 0.75);
        if (b.color.isValid() && rgb(b.color) != 0)
            format_set_font_color(f, rgb(b.color));
        if (b.font.style & Font::Bold)
            format_set_bold(f);
        if (b.font.style & Font::Italic)
            format_set_italic(f);
        if (b.font.style & Font::Underline)
            format_set_underline(f, LXW_UNDERLINE_SINGLE);
        if (b.font.style & Font::StrikeOut)
            format_set_font_strikeout(f);
        format_set_align(f, b.hAlign == HAlign::Center  ? LXW_ALIGN_CENTER
                            : b.hAlign == HAlign::Right ? LXW_ALIGN_RIGHT
                            : b.hAlign == HAlign::Block ? LXW_ALIGN_JUSTIFY
                                                        : LXW_ALIGN_LEFT);
        format_set_align(f, b.vAlign == VAlign::Center   ? LXW_ALIGN_VERTICAL_CENTER
                            : b.vAlign == VAlign::Bottom ? LXW_ALIGN_VERTICAL_BOTTOM
                                                         : LXW_ALIGN_VERTICAL_TOP);
        format_set_text_wrap(f);
        if (b.rotation == 90 || b.rotation == 270)
            format_set_rotation(f, b.rotation == 90 ? 90 : -90);
        if (b.fill.isValid()) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, rgb(b.fill));
        }
        if (b.frameSides && b.frameColor.isValid()) {
            const uint8_t style = borderStyle(b);
            const lxw_color_t color = rgb(b.frameColor);
            if (b.frameSides & Frame::Left) {
                format_set_left(f, style);
                format_set_left_color(f, color);
            }
            if (b.frameSides & Frame::Right) {
                format_set_right(f, style);
                format_set_right_color(f, color);
            }
            if (b.frameSides & Frame::Top) {
                format_set_top(f, style);
                format_set_top_color(f, color);
            }
            if (b.frameSides & Frame::Bottom) {
                format_set_bottom(f, style);
                format_set_bottom_color(f, color);
            }
        }
        if (!numberFormat.isEmpty()) {
            names_.push_back(numberFormat);
            format_set_num_format(f, names_.back().constData());
        }
        formats_.insert(key, f);
        return f;
    }

private:
    lxw_workbook* wb_;
    QHash<QString, lxw_format*> formats_;
    std::deque<QByteArray> names_; // the library keeps pointers to these until the workbook is closed
};

QString libraryError(lxw_error e) { return QString::fromLocal8Bit(lxw_strerror(e)); }

QString sheetName()
{
    QString name = uiText("export.sheetName", "Report");
    static const QString forbidden = QStringLiteral("[]:*?/\\'");
    for (QChar& ch : name)
        if (forbidden.contains(ch))
            ch = QLatin1Char('_');
    name = name.left(31);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

} // namespace

bool exportXlsx(const PreparedReport& report, const QString& path, const ExportOptions& options, QString* error)
{
    if (report.pages.empty())
        return exportFailed(error, noPagesMessage());
    const int total = report.pageCount();
    std::vector<std::vector<GridBox>> pages;
    pages.reserve(report.pages.size());
    for (int i = 0; i < total; ++i) {
        pages.push_back(pageBoxes(report.pages[size_t(i)], options.render.monochrome));
        if (!reportProgress(options, i + 1, 2 * total, error))
            return false;
    }
    const Grid g = buildGrid(pages);
    if (g.rowCount() > kMaxRows || g.columnCount() > kMaxColumns)
        return exportFailed(error, cannotWriteMessage(path, uiText("export.tooLargeForSheet",
                                                                   "the report does not fit on a worksheet")));

    // The workbook is written beside the target and moved over it only when complete.
    const QFileInfo target(path);
    if (!target.dir().exists())
        return exportFailed(error, cannotWriteMessage(path, uiText("export.noFolder", "the folder does not exist")));
    const QString temp = target.dir().filePath(QStringLiteral(".%1.part").arg(target.fileName()));
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook* wb = workbook_new(tempName.constData());
    if (!wb)
        return exportFailed(error, cannotWriteMessage(path, QString()));
    const QByteArray author = options.creator.toUtf8();
    lxw_doc_properties props {};
    props.author = const_cast<char*>(author.constData());
    workbook_set_properties(wb, &props);
    const QByteArray name = sheetName().toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(wb, name.constData());
    if (report.pages.front().landscape)
        worksheet_set_landscape(ws);
    // Printed from the spreadsheet, the report's width goes on one sheet of paper as it did.
    worksheet_fit_to_pages(ws, 1, 0);
    Formats formats(wb);
    std::deque<QByteArray> keep; // texts and pictures live until the workbook is closed

    for (int c = 0; c < g.columnCount(); ++c)
        worksheet_set_column_pixels(ws, lxw_col_t(c), lxw_col_t(c), uint32_t(std::max(1, qRound(g.columnWidths[size_t(c)]))), nullptr);
    for (int r = 0; r < g.rowCount(); ++r)
        worksheet_set_row_pixels(ws, lxw_row_t(r), uint32_t(std::max(1, qRound(g.rowHeights[size_t(r)]))), nullptr);

    lxw_error failure = LXW_NO_ERROR;
    auto check = [&](lxw_error e) {
        if (e != LXW_NO_ERROR && failure == LXW_NO_ERROR)
            failure = e;
    };
    auto insertPicture = [&](lxw_row_t row, lxw_col_t col, QImage image, double width, double height) {
        // 96 dots per inch: the picture's pixels are report units, so the scale is exact.
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return;
        keep.push_back(png);
        lxw_image_options o {};
        o.x_scale = width / std::max(1, image.width());
        o.y_scale = height / std::max(1, image.height());
        o.object_position = LXW_OBJECT_MOVE_AND_SIZE;
        check(worksheet_insert_image_buffer_opt(ws, row, col, reinterpret_cast<const unsigned char*>(keep.back().constData()),
                                                size_t(keep.back().size()), &o));
    };
    size_t page = 0;
    for (const GridCell& cell : g.cells) {
        const GridBox& b = cell.box;
        const lxw_row_t r = lxw_row_t(cell.row);
        const lxw_col_t c = lxw_col_t(cell.col);
        const NumberText number = b.hasText() && b.lines.size() == 1 ? numberOf(b.lines.front()) : NumberText {};
        lxw_format* f = formats.get(b, number.format);
        if (cell.rowSpan > 1 || cell.colSpan > 1)
            check(worksheet_merge_range(ws, r, c, lxw_row_t(cell.row + cell.rowSpan - 1),
                                        lxw_col_t(cell.col + cell.colSpan - 1), "", f));
        if (number.isNumber) {
            check(worksheet_write_number(ws, r, c, number.value, f));
        } else if (b.hasText()) {
            keep.push_back(b.text().left(kMaxCellText).toUtf8());
            check(worksheet_write_string(ws, r, c, keep.back().constData(), f));
        } else if (cell.rowSpan == 1 && cell.colSpan == 1) {
            check(worksheet_write_blank(ws, r, c, f));
        }
        if (!b.image.isNull())
            insertPicture(r, c, b.image, b.rect.width(), b.rect.height());
        for (const QImage& more : cell.moreImages)
            insertPicture(r, c, more, more.width(), more.height());
        while (page + 1 < g.pageFirstRow.size() && g.pageFirstRow[page + 1] <= cell.row) {
            ++page;
            if (!reportProgress(options, total + int(page), 2 * total, error)) {
                workbook_close(wb);
                QFile::remove(temp);
                return false;
            }
        }
    }
    const lxw_error closed = workbook_close(wb);
    if (failure == LXW_NO_ERROR)
        failure = closed;
    if (failure != LXW_NO_ERROR) {
        QFile::remove(temp);
        return exportFailed(error, cannotWriteMessage(path, libraryError(failure)));
    }
    if (!reportProgress(options, 2 * total, 2 * total, error)) {
        QFile::remove(temp);
        return false;
    }
    if (std::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temp);
        return exportFailed(error, cannotWriteMessage(path, reason));
    }
    return true;
}

} // namespace tarvex::engine
