// The XML workbook: byte for byte against checked files, well-formed whatever the names hold,
// and opened by a real spreadsheet program.

#include <gtest/gtest.h>

#include "Bilingual.h"
#include "OutputTestSupport.h"
#include "ResultTables.h"
#include "WorkbookWriter.h"

#include "QtPrinters.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

class Workbook : public ::testing::Test {
protected:
    void TearDown() override { tarvex::setLanguageIndex(1); }

    QByteArray workbookOf(const QJsonObject& job, int language) {
        tarvex::setLanguageIndex(language);
        TestJob decoded;
        decodeJob(job, decoded);
        const TResultTables tables(*decoded.rec, decoded.settings);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        EXPECT_TRUE(WriteWorkbook(out, *decoded.rec, decoded.settings, tables, decoded.widths, goldenContext()));
        return out.data();
    }

    PromptRecorder prompts;
};

// Sheet name -> rows of cell texts, read with an XML reader (which also proves well-formedness).
struct ParsedWorkbook {
    QString error;
    QStringList sheets;
    QList<QList<QStringList>> rows;     // per sheet, per row, the cell texts
    QList<QList<QStringList>> types;    // the ss:Type of each cell
    QList<QStringList> columnAttributes; // per sheet, "hidden" or the width of each column
};

ParsedWorkbook parse(const QByteArray& bytes) {
    ParsedWorkbook book;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("Worksheet")) {
            book.sheets << a.value(QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet"), QStringLiteral("Name")).toString();
            book.rows.append(QList<QStringList>());
            book.types.append(QList<QStringList>());
            book.columnAttributes.append(QStringList());
        } else if (xml.name() == QLatin1String("Column")) {
            const QString ss = QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet");
            book.columnAttributes.last() << (a.value(ss, QStringLiteral("Hidden")) == QLatin1String("1")
                                                 ? QStringLiteral("hidden")
                                                 : a.value(ss, QStringLiteral("Width")).toString());
        } else if (xml.name() == QLatin1String("Row")) {
            book.rows.last().append(QStringList());
            book.types.last().append(QStringList());
        } else if (xml.name() == QLatin1String("Data")) {
            book.types.last().last() << a.value(QStringLiteral("urn:schemas-microsoft-com:office:spreadsheet"), QStringLiteral("Type")).toString();
            book.rows.last().last() << xml.readElementText();
        }
    }
    if (xml.hasError())
        book.error = QStringLiteral("%1 at line %2").arg(xml.errorString()).arg(xml.lineNumber());
    return book;
}

TEST_F(Workbook, SampleJobMatchesCheckedFile) {
    const QByteArray bytes = workbookOf(readJobFile(QStringLiteral("examples/natural-gas.json")), 1);
    EXPECT_TRUE(matchesGolden(bytes, QStringLiteral("natural-gas.xml")));
    const ParsedWorkbook book = parse(bytes);
    EXPECT_EQ(book.error, QString());
    EXPECT_EQ(book.sheets, (QStringList {QStringLiteral("Паспорт"), QStringLiteral("1-Пики ПИД"),
                                         QStringLiteral("2-Пики ДТП+"), QStringLiteral("Идентификация"),
                                         QStringLiteral("Группы"), QStringLiteral("Дополнительный Расчет")}));
    EXPECT_TRUE(prompts.errors().isEmpty()) << prompts.errors().join(QLatin1Char('|')).toStdString();
}

TEST_F(Workbook, EdgeJobMatchesCheckedFile) {
    const QByteArray bytes = workbookOf(readJobFile(QStringLiteral("tests/outputs/edge-job.json")), 2);
    EXPECT_TRUE(matchesGolden(bytes, QStringLiteral("edge-job.xml")));
    const ParsedWorkbook book = parse(bytes);
    ASSERT_EQ(book.error, QString());
    // No printed peaks: no peak sheet although a detector has peaks; no identification sheet.
    EXPECT_EQ(book.sheets, (QStringList {QStringLiteral("Pasport"), QStringLiteral("Groups"),
                                         QStringLiteral("Additional Calc")}));
    EXPECT_EQ(book.rows[0][5][1], QStringLiteral("Конденсат <Юг-2> скв.17 & сепаратор, отбор 3, баллон №12 ОК!"));
    EXPECT_EQ(book.rows[1][1][1], QStringLiteral("C6 & выше <тяж.>"));
    EXPECT_EQ(book.columnAttributes[1][3], QStringLiteral("hidden")); // group column 4 is off
    // Empty fields of the free text drop out and the rest close up to the left.
    EXPECT_EQ(book.rows[2], (QList<QStringList> {{QStringLiteral("a"), QStringLiteral("b")},
                                                 {QStringLiteral("x"), QStringLiteral("y")},
                                                 {QStringLiteral("last"), QString()}}));
}

// Detector and component names with characters that XML or a sheet name cannot hold as they are.
QJsonObject awkwardNamesJob() {
    QJsonObject job = readJobFile(QStringLiteral("tests/outputs/edge-job.json"));
    QJsonObject method = job[QStringLiteral("method")].toObject();
    method[QStringLiteral("bDet_PrintFlag")] = QJsonArray {1};
    method[QStringLiteral("szMeth_DetName6A")] =
        QJsonArray {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("\"A&B</")};
    job[QStringLiteral("method")] = method;
    return job;
}

TEST_F(Workbook, NamesStayWellFormedAndAcceptable) {
    const QByteArray bytes = workbookOf(awkwardNamesJob(), 2);
    const ParsedWorkbook book = parse(bytes);
    ASSERT_EQ(book.error, QString());
    EXPECT_EQ(book.sheets.value(1), QStringLiteral("1-Peaks \"A&B<_"));
    EXPECT_TRUE(bytes.contains("<Worksheet ss:Name=\"1-Peaks &quot;A&amp;B&lt;_\">\r\n"));
    EXPECT_TRUE(bytes.contains("<Cell><Data ss:Type=\"String\">Бензол &amp; толуол</Data></Cell>\r\n"));
    EXPECT_EQ(book.rows[1][0].size(), 12);
    EXPECT_EQ(book.rows[1].size(), 3); // the header row and the two peaks
}

TEST(WorkbookNames, MendsOnlyWhatWouldBreakTheFile) {
    const struct {
        const char16_t* name;
        const char16_t* written;
    } cases[] = {
        {u"1-Peaks FID", u"1-Peaks FID"},
        {u"a&b", u"a&amp;b"},
        {u"<\"x\">", u"&lt;&quot;x&quot;&gt;"},
        {u"a:b\\c/d?e*f[g]", u"a_b_c_d_e_f_g_"},
        {u"'quoted'", u"_quoted_"},
        {u"", u"_"},
        {u"tab\there", u"tab_here"},
        {u"Очень длинное имя листа, которое длиннее тридцати одного знака", u"Очень длинное имя листа, которое длиннее тридцати одного знака"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WorksheetName(QString::fromUtf16(c.name)), QString::fromUtf16(c.written));
}

TEST(WorkbookCells, TextIsEscapedAndKeepsToItsLine) {
    EXPECT_EQ(XmlEscaped(QStringLiteral("a & b < c > 'd' \"e\"")),
              QStringLiteral("a &amp; b &lt; c &gt; &apos;d&apos; &quot;e&quot;"));
    EXPECT_EQ(XmlEscaped(QStringLiteral("line 1\r\nline 2\ttab")), QStringLiteral("line 1&#13;&#10;line 2\ttab"));
    // Control characters and unpaired surrogates cannot be carried by XML at all.
    EXPECT_EQ(XmlEscaped(QString::fromUtf16(u"a\x01" u"b\xFFFF") + QChar(0xD800) + QStringLiteral("c")),
              QStringLiteral("abc"));
}

TEST_F(Workbook, ComponentsWithoutResultKeepDashesAsText) {
    // Component order with a component that has no identification record: its concentration
    // cells hold dashes, which a cell typed as a number could not hold.
    QJsonObject job = readJobFile(QStringLiteral("examples/natural-gas.json"));
    QJsonObject settings = job[QStringLiteral("printSettings")].toObject();
    settings[QStringLiteral("bIdent_ByComp")] = 1;
    job[QStringLiteral("printSettings")] = settings;
    QJsonArray ident = job[QStringLiteral("ident")].toArray();
    const int missing = ident.first().toObject()[QStringLiteral("iIdent_Comp")].toInt();
    ident.removeFirst();
    job[QStringLiteral("ident")] = ident;
    job.remove(QStringLiteral("compStat"));
    const ParsedWorkbook book = parse(workbookOf(job, 1));
    ASSERT_EQ(book.error, QString());
    const int sheet = static_cast<int>(book.sheets.indexOf(QStringLiteral("Идентификация")));
    ASSERT_GE(sheet, 0);
    ASSERT_LT(missing + 1, book.rows[sheet].size());
    const QStringList cells = book.rows[sheet][missing + 1];
    const QStringList types = book.types[sheet][missing + 1];
    for (int c = 5; c < 10; ++c) {
        EXPECT_EQ(cells[c], QStringLiteral("-"));
        EXPECT_EQ(types[c], QStringLiteral("String"));
    }
    EXPECT_EQ(types[3], QStringLiteral("Number"));
}

// LibreOffice converts every sheet of the workbook to a CSV file; empty when it is not there.
QString findOffice() {
    for (const char* name : {"libreoffice", "soffice"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// CSV rows of one converted sheet: fields separated by commas, quoted fields with doubled quotes.
QList<QStringList> csvRows(const QString& path) {
    QList<QStringList> rows;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    const QString text = QString::fromUtf8(f.readAll());
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else if (ch == QLatin1Char('"'))
                quoted = false;
            else
                field += ch;
        } else if (ch == QLatin1Char('"')) {
            quoted = true;
        } else if (ch == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (ch == QLatin1Char('\n')) {
            row << field;
            rows << row;
            row.clear();
            field.clear();
        } else if (ch != QLatin1Char('\r')) {
            field += ch;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

TEST_F(Workbook, OpensInLibreOffice) {
    const QString office = findOffice();
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed (package libreoffice-calc-nogui); the workbook was only "
                        "checked for well-formedness";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        QJsonObject job;
        int language;
        const char* file;
    } books[] = {
        {readJobFile(QStringLiteral("examples/natural-gas.json")), 1, "sample"},
        {awkwardNamesJob(), 2, "edge"},
    };
    for (const auto& b : books) {
        QFile f(dir.filePath(QLatin1String(b.file) + QStringLiteral(".xml")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(workbookOf(b.job, b.language));
        f.close();
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(office, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                         QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                         QStringLiteral("--convert-to"),
                         QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,true,true,false,false,-1"),
                         QStringLiteral("--outdir"), dir.path(), f.fileName()});
        ASSERT_TRUE(p.waitForFinished(180000)) << "LibreOffice did not finish";
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    const auto sheet = [&](const char* file, const QString& name) {
        return csvRows(dir.filePath(QLatin1String(file) + QLatin1Char('-') + name + QStringLiteral(".csv")));
    };

    // The sample: passport values, a styled number (format code 2 gives three decimals), a
    // hidden column's cells, the identification and free-text sheets.
    const QList<QStringList> passport = sheet("sample", QStringLiteral("Паспорт"));
    ASSERT_EQ(passport.size(), 15) << "converted sheets: " << QDir(dir.path()).entryList().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(passport[0], (QStringList {QStringLiteral("Номер хроматографа"), QStringLiteral("3")}));
    EXPECT_EQ(passport[8], (QStringList {QStringLiteral("Число пиков"), QStringLiteral("30")}));
    const QList<QStringList> peaks = sheet("sample", QStringLiteral("1-Пики ПИД"));
    ASSERT_EQ(peaks.size(), 23);
    EXPECT_EQ(peaks[0][1], QStringLiteral("Время, мин"));
    EXPECT_EQ(peaks[1][0], QStringLiteral("1"));
    EXPECT_EQ(peaks[1][1], QStringLiteral("0.720"));
    EXPECT_EQ(peaks[1][4], QStringLiteral("Метан"));
    const QList<QStringList> ident = sheet("sample", QStringLiteral("Идентификация"));
    EXPECT_EQ(ident.size(), 18);
    const QList<QStringList> addCalc = sheet("sample", QStringLiteral("Дополнительный Расчет"));
    ASSERT_EQ(addCalc.size(), 7);
    EXPECT_EQ(addCalc[1], (QStringList {QStringLiteral("Плотность при 20 °C"), QStringLiteral("0.7123"),
                                        QStringLiteral("кг/м3")}));

    // The edge job: the mended sheet name, escaped texts read back as they were.
    const QList<QStringList> edgePeaks = sheet("edge", QStringLiteral("1-Peaks \"A&B<_"));
    ASSERT_EQ(edgePeaks.size(), 3) << "converted sheets: " << QDir(dir.path()).entryList().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(edgePeaks[1][4], QStringLiteral("Бензол & толуол"));
    EXPECT_EQ(edgePeaks[1][3], QStringLiteral("\"A&B</"));
    const QList<QStringList> edgePassport = sheet("edge", QStringLiteral("Pasport"));
    ASSERT_GE(edgePassport.size(), 7);
    EXPECT_EQ(edgePassport[6], (QStringList {QStringLiteral("Name of operator"), QStringLiteral("Петров & Co")}));
}

} // namespace
