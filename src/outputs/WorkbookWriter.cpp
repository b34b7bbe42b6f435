#include "WorkbookWriter.h"

#include "Bilingual.h"
#include "ResultTables.h"
#include "TChromModule.h"
#include "TPrintSettings.h"

#include <QIODevice>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

QString pick(const char16_t* text) { return tarvex::Pick(QString::fromUtf16(text)); }

QString attr(const char* name, const QString& value) {
    return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + XmlEscaped(value) + QLatin1Char('"');
}
QString attr(const char* name, qint64 value) { return attr(name, QString::number(value)); }

// The cell style of a number column shows the digits the printed report shows for the column's
// format code: "s21" to "s25" fixed with 2 to 6 decimals (codes 1 to 5), "s26" to "s30"
// exponent form with 3 to 7 significant digits (codes 6 to 10), "s31" one decimal (code 0).
// Other codes print nothing in the report; their cells stay unstyled.
QString numberStyle(int code) {
    if (code == 0)
        return QStringLiteral("s31");
    return code >= 1 && code <= 10 ? QStringLiteral("s%1").arg(20 + code) : QString();
}

// How a table column's data cells are written.
enum class CellKind {
    Text,   // the printed text
    Plain,  // a number, never styled
    Number, // a number in the general form, styled by the column's format code
};

// The lines of the workbook, collected as UTF-8 with CR LF after each line.
class WorkbookLines {
public:
    void line(const QString& text) {
        bytes_ += text.toUtf8();
        bytes_ += "\r\n";
    }
    const QByteArray& bytes() const { return bytes_; }

    void textCell(const QString& text, bool header = false) {
        line(QStringLiteral("<Cell") + (header ? attr("ss:StyleID", QStringLiteral("s20")) : QString()) +
             QStringLiteral("><Data ss:Type=\"String\">") + XmlEscaped(text) + QStringLiteral("</Data></Cell>"));
    }

    void numberCell(QString text, const QString& style) {
        const QString styleAttr = style.isEmpty() ? QString() : attr("ss:StyleID", style);
        if (text.isEmpty())
            text = QStringLiteral("0.00");
        // A cell typed as a number must hold one, or spreadsheet programs refuse the file; the
        // dashes of components without a result are kept as text.
        bool isNumber = false;
        QLocale::c().toDouble(text, &isNumber);
        const QString type = isNumber ? QStringLiteral("Number") : QStringLiteral("String");
        line(QStringLiteral("<Cell") + styleAttr + QStringLiteral("><Data ss:Type=\"") + type + QStringLiteral("\">") +
             XmlEscaped(text) + QStringLiteral("</Data></Cell>"));
    }

    void beginSheet(const QString& name, qint64 columns, qint64 rows) {
        line(QStringLiteral("<Worksheet ss:Name=\"") + WorksheetName(name) + QStringLiteral("\">"));
        line(QStringLiteral("<Table") + attr("ss:ExpandedColumnCount", columns) + attr("ss:ExpandedRowCount", rows) +
             QStringLiteral(" x:FullColumns=\"1\" x:FullRows=\"1\">"));
    }

    void endSheet() {
        line(QStringLiteral("</Table>"));
        line(QStringLiteral("<WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\">"));
        line(QStringLiteral("<PageSetup>"));
        line(QStringLiteral("<Layout x:Orientation=\"Landscape\"/>"));
        line(QStringLiteral("</PageSetup>"));
        line(QStringLiteral("</WorksheetOptions>"));
        line(QStringLiteral("</Worksheet>"));
    }

    void beginRow() { line(QStringLiteral("<Row ss:Height=\"15\">")); }
    void endRow() { line(QStringLiteral("</Row>")); }

private:
    QByteArray bytes_;
};

void writeFrameStart(WorkbookLines& out, const TResultContext& context) {
    out.line(QStringLiteral("<?xml version=\"1.0\"?>"));
    out.line(QStringLiteral("<?mso-application progid=\"Excel.Sheet\"?>"));
    out.line(QStringLiteral("<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\""));
    out.line(QStringLiteral(" xmlns:o=\"urn:schemas-microsoft-com:office:office\""));
    out.line(QStringLiteral(" xmlns:x=\"urn:schemas-microsoft-com:office:excel\""));
    out.line(QStringLiteral(" xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\""));
    out.line(QStringLiteral(" xmlns:html=\"http://www.w3.org/TR/REC-html40\">"));

    const QDateTime now = context.now.isValid() ? context.now : QDateTime::currentDateTime();
    out.line(QStringLiteral("<DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\">"));
    out.line(QStringLiteral("<Title>TarvexWin Excel Export</Title>"));
    out.line(QStringLiteral("<Author>TarvexWin</Author>"));
    out.line(QStringLiteral("<Created>") +
             XmlEscaped(ShortDateText(now.date(), context.locale) + QLatin1Char('T') +
                        LongTimeText(now.time(), context.locale) + QLatin1Char('Z')) +
             QStringLiteral("</Created>"));
    out.line(QStringLiteral("</DocumentProperties>"));
    out.line(QStringLiteral("<ExcelWorkbook xmlns=\"urn:schemas-microsoft-com:office:excel\">"));
    out.line(QStringLiteral("<ProtectStructure>False</ProtectStructure>"));
    out.line(QStringLiteral("<ProtectWindows>False</ProtectWindows>"));
    out.line(QStringLiteral("</ExcelWorkbook>"));

    QString styles = QStringLiteral(
        "<Styles><Style ss:ID=\"Default\" ss:Name=\"Normal\">"
        "<Alignment ss:Horizontal=\"Left\" ss:Vertical=\"Bottom\"/><Borders>");
    for (const char* position : {"Bottom", "Left", "Right", "Top"})
        styles += QStringLiteral("<Border ss:Position=\"") + QLatin1String(position) +
                  QStringLiteral("\" ss:LineStyle=\"Continuous\" ss:Weight=\"1\"/>");
    styles += QStringLiteral(
        "</Borders><Font ss:FontName=\"Arial Cyr\" x:CharSet=\"204\"/></Style>"
        "<Style ss:ID=\"s20\"><Font ss:FontName=\"Arial Cyr\" x:CharSet=\"204\" ss:Bold=\"1\" ss:Italic=\"1\"/>"
        "<Interior ss:Color=\"#808080\" ss:Pattern=\"Solid\"/></Style>");
    const char* const formats[] = {"0.00",     "0.000",     "0.0000",     "0.00000",     "0.000000",
                                   "0.00E+00", "0.000E+00", "0.0000E+00", "0.00000E+00", "0.000000E+00"};
    for (int i = 0; i < 10; ++i)
        styles += QStringLiteral("<Style ss:ID=\"s%1\"><NumberFormat ss:Format=\"").arg(21 + i) +
                  QLatin1String(formats[i]) + QStringLiteral("\"/></Style>");
    styles += QStringLiteral("<Style ss:ID=\"s31\"><NumberFormat ss:Format=\"0.0\"/></Style></Styles>");
    out.line(styles);
}

void writePassport(WorkbookLines& out, const TChromModule& rec, const TResultContext& context) {
    const QList<TPassportItem> items = ResultPassport(rec, context);
    out.beginSheet(pick(u"Паспорт\r\nPasport"), 2, items.size() + 1);
    for (int i = 0; i < 2; ++i)
        out.line(QStringLiteral("<Column ss:AutoFitWidth=\"1\" ss:Width=\"250\"/>"));
    for (const TPassportItem& item : items) {
        out.beginRow();
        out.textCell(item.label);
        if (item.kind == TPassportItem::Kind::Number)
            out.numberCell(item.value, QString());
        else
            out.textCell(item.value);
        out.endRow();
    }
    out.beginRow();
    out.endRow();
    out.endSheet();
}

// One column line of a result table: its width in whole units, at least `least`; a column
// switched off is hidden but keeps its cells.
void writeTableColumn(WorkbookLines& out, bool on, double width, double least) {
    if (!on) {
        out.line(QStringLiteral("<Column ss:Hidden=\"1\" ss:AutoFitWidth=\"0\"/>"));
        return;
    }
    constexpr double kWidest = 1e9; // beyond any page, and still a whole number that fits
    const double w = std::isfinite(width) ? std::clamp(width, least, kWidest) : least;
    out.line(QStringLiteral("<Column ss:AutoFitWidth=\"0\"") + attr("ss:Width", std::llround(w)) +
             QStringLiteral("/>"));
}

// The layout shared by the peak, identification and group sheets.
struct TableSheet {
    QString name;
    std::vector<CellKind> kinds;                            // per column
    std::function<bool(int)> columnOn;                      // column from 0
    int firstWidth = 0;                                     // index of column 1's width entry
    std::function<int(int)> formatCode;                     // column from 0
    std::function<QString(int)> header;                     // column from 1
    std::function<QString(int row, int c, bool general)> cell;
    int rows = 0;                                           // data rows
};

void writeTableSheet(WorkbookLines& out, const TableSheet& sheet, std::span<const double> widths) {
    const int columns = static_cast<int>(sheet.kinds.size());
    out.beginSheet(sheet.name, columns, static_cast<qint64>(sheet.rows) + 1);
    for (int i = 0; i < columns; ++i) {
        const std::size_t entry = static_cast<std::size_t>(sheet.firstWidth + i);
        writeTableColumn(out, sheet.columnOn(i), entry < widths.size() ? widths[entry] : 0.0, i == 0 ? 25 : 100);
    }
    out.beginRow();
    for (int c = 1; c <= columns; ++c)
        out.textCell(sheet.header(c), true);
    out.endRow();
    for (int r = 0; r < sheet.rows; ++r) {
        out.beginRow();
        for (int c = 1; c <= columns; ++c) {
            switch (sheet.kinds[static_cast<std::size_t>(c - 1)]) {
            case CellKind::Text:
                out.textCell(sheet.cell(r, c, false));
                break;
            case CellKind::Plain:
                out.numberCell(sheet.cell(r, c, false), QString());
                break;
            case CellKind::Number:
                out.numberCell(sheet.cell(r, c, true), numberStyle(sheet.formatCode(c - 1)));
                break;
            }
        }
        out.endRow();
    }
    out.endSheet();
}

// Lines of a text: split at CR LF, CR or LF; a final line break ends the last line.
QStringList textLines(const QString& text) {
    QStringList lines;
    QString current;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            lines << current;
            current.clear();
            open = false;
        } else {
            current += ch;
            open = true;
        }
    }
    if (open)
        lines << current;
    return lines;
}

void writeAddCalcSheet(WorkbookLines& out, const QString& text) {
    // Tab-separated fields; empty fields drop out and the rest close up to the left.
    std::vector<QStringList> rows;
    qsizetype columns = 0;
    for (const QString& line : textLines(text)) {
        QStringList fields = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        for (QString& field : fields)
            field = field.trimmed();
        columns = std::max(columns, fields.size());
        rows.push_back(fields);
    }
    out.beginSheet(pick(u"Дополнительный Расчет\r\nAdditional Calc"), columns, static_cast<qint64>(rows.size()));
    for (qsizetype i = 0; i < columns; ++i)
        out.line(QStringLiteral("<Column ss:AutoFitWidth=\"0\" ss:Width=\"150\"/>"));
    for (const QStringList& fields : rows) {
        out.beginRow();
        for (qsizetype j = 0; j < columns; ++j)
            out.textCell(fields.value(j));
        out.endRow();
    }
    out.endSheet();
}

} // namespace

QString XmlEscaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const char16_t u = ch.unicode();
        switch (u) {
        case u'&':
            out += QStringLiteral("&amp;");
            continue;
        case u'<':
            out += QStringLiteral("&lt;");
            continue;
        case u'>':
            out += QStringLiteral("&gt;");
            continue;
        case u'"':
            out += QStringLiteral("&quot;");
            continue;
        case u'\'':
            out += QStringLiteral("&apos;");
            continue;
        case u'\r':
            out += QStringLiteral("&#13;");
            continue;
        case u'\n':
            out += QStringLiteral("&#10;");
            continue;
        default:
            break;
        }
        // XML carries no other control character, no U+FFFE/U+FFFF and no half of a pair.
        if ((u < 0x20 && u != u'\t') || u == 0xFFFE || u == 0xFFFF)
            continue;
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += ch;
            out += text[++i];
            continue;
        }
        if (ch.isSurrogate())
            continue;
        out += ch;
    }
    return out;
}

QString WorksheetName(const QString& name) {
    QString mended;
    for (const QChar ch : name) {
        const bool forbidden = QStringLiteral(":\\/?*[]").contains(ch) || ch.unicode() < 0x20;
        mended += forbidden ? QLatin1Char('_') : ch;
    }
    // Spreadsheet programs also refuse a name that is empty or begins or ends with an apostrophe.
    if (mended.isEmpty())
        mended = QStringLiteral("_");
    if (mended.startsWith(QLatin1Char('\'')))
        mended[0] = QLatin1Char('_');
    if (mended.endsWith(QLatin1Char('\'')))
        mended[mended.size() - 1] = QLatin1Char('_');
    return XmlEscaped(mended);
}

bool WriteWorkbook(QIODevice& device, const TChromModule& rec, const TPrintSettings& settings,
                   const TTableTexts& tables, std::span<const double> columnWidths, const TResultContext& context) {
    // Every number of the workbook is written with a point, whatever the user's settings.
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);

    WorkbookLines out;
    writeFrameStart(out, context);
    writePassport(out, rec, context);

    if (rec.PrintedPeakCount() > 0) {
        for (int k = 0; k < rec.iDet_Count(); ++k) {
            const TDetectorEntry& entry = rec.DetectorEntry(k);
            TableSheet sheet;
            sheet.name = QString::number(k + 1) + QLatin1Char('-') + pick(u"Пики\r\nPeaks") + QLatin1Char(' ') +
                         entry.szDet_Name;
            sheet.kinds.assign(TResultTables::kPeakColumns, CellKind::Number);
            sheet.kinds[0] = CellKind::Plain;
            for (int text : {4, 5, 11, 12})
                sheet.kinds[static_cast<std::size_t>(text - 1)] = CellKind::Text;
            sheet.columnOn = [&](int i) { return settings.bPeakCol_On(i) != 0; };
            sheet.firstWidth = 0;
            sheet.formatCode = [&](int i) { return int(settings.bPeakCol_Format(i)); };
            sheet.header = [&](int c) { return tables.PeakColumnHeader(c); };
            sheet.cell = [&](int r, int c, bool general) {
                return tables.PeakValue(r, entry.iDet_FirstPeak, general, entry.szDet_Name, c, numbers);
            };
            sheet.rows = entry.iDet_PeakCount;
            writeTableSheet(out, sheet, columnWidths);
        }
    }

    const auto resultSheet = [&](const QString& name, int last, int maxRows) {
        TableSheet sheet;
        sheet.name = name;
        sheet.kinds.assign(10, CellKind::Number);
        sheet.kinds[0] = CellKind::Plain;
        sheet.kinds[1] = CellKind::Text;
        sheet.kinds[2] = CellKind::Text;
        sheet.rows = std::min(last, maxRows - 1) + 1;
        return sheet;
    };
    if (rec.iIdent_Last() >= 0) {
        TableSheet sheet = resultSheet(pick(u"Идентификация\r\nIdentification"), rec.iIdent_Last(), TChromModule::kMaxIdent);
        sheet.columnOn = [&](int i) { return settings.bIdentCol_On(i) != 0; };
        sheet.firstWidth = 12;
        sheet.formatCode = [&](int i) { return int(settings.bIdentCol_Format(i)); };
        sheet.header = [&](int c) { return tables.IdentColumnHeader(c); };
        sheet.cell = [&](int r, int c, bool general) { return tables.IdentValue(r, c, general, numbers); };
        writeTableSheet(out, sheet, columnWidths);
    }
    if (rec.iGroupRes_Last() >= 0) {
        TableSheet sheet = resultSheet(pick(u"Группы\r\nGroups"), rec.iGroupRes_Last(), TChromModule::kMaxGroupRes);
        sheet.columnOn = [&](int i) { return settings.bGroupCol_On(i) != 0; };
        sheet.firstWidth = 22;
        sheet.formatCode = [&](int i) { return int(settings.bGroupCol_Format(i)); };
        sheet.header = [&](int c) { return tables.GroupColumnHeader(c); };
        sheet.cell = [&](int r, int c, bool general) { return tables.GroupValue(r, c, general, numbers); };
        writeTableSheet(out, sheet, columnWidths);
    }
    if (rec.iChr_CommentLen() > 0)
        writeAddCalcSheet(out, rec.szChr_Comment());

    out.line(QStringLiteral("</Workbook>"));
    const QByteArray& bytes = out.bytes();
    return device.write(bytes) == bytes.size();
}
