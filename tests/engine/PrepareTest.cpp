// Preparing pages: data bands across pages, headers, stretching, master/detail, sub-reports, totals.

#include "EngineTestSupport.h"

#include "Band.h"
#include "Expression.h"
#include "MemoView.h"
#include "Render.h"
#include "TableDataSet.h"
#include "UserDataSet.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tarvex::engine;
using enginetest::templateXml;

namespace {

QString memo(const QString& name, double left, double width, double height, const QString& text,
             const QString& extra = QString())
{
    return QStringLiteral("<TfrxMemoView Name=\"%1\" Left=\"%2\" Top=\"0\" Width=\"%3\" Height=\"%4\" Text=\"%5\" %6/>")
        .arg(name).arg(left).arg(width).arg(height).arg(text, extra);
}

double topOf(const PreparedPage& page, const QString& text)
{
    for (const auto& e : page.elements)
        if (const auto* t = std::get_if<TextItem>(&e.item))
            if (t->lines.join(QLatin1Char('\n')) == text)
                return t->rect.top();
    return -1;
}

} // namespace

TEST(Prepare, LongDataBandRepeatsHeaderAndNumbersLines)
{
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxHeader Name=\"Header1\" Top=\"20\" Height=\"20\" Width=\"700\" ReprintOnNewPage=\"True\">%1</TfrxHeader>"
                       "<TfrxMasterData Name=\"MasterData1\" Top=\"50\" Height=\"19\" Width=\"700\" DataSetName=\"Rows\">%2</TfrxMasterData>"
                       "<TfrxPageFooter Name=\"PageFooter1\" Top=\"900\" Height=\"20\" Width=\"700\">%3</TfrxPageFooter>")
            .arg(memo(QStringLiteral("H"), 0, 200, 20, QStringLiteral("Row header")),
                 memo(QStringLiteral("L"), 0, 100, 19, QStringLiteral("[Line#]")),
                 memo(QStringLiteral("F"), 0, 300, 20, QStringLiteral("Page [Page#] of [TotalPages]")))));
    UserDataSet rows(QStringLiteral("Rows"));
    rows.setRangeEndCount(1000);
    int firsts = 0, nexts = 0;
    rows.onFirst = [&] { ++firsts; };
    rows.onNext = [&] { ++nexts; };
    r.addDataSet(&rows);
    const PreparedReport p = enginetest::prepare(r);

    // A4 with 10 mm margins holds 1046 units of body: a header, 19-unit rows and a footer.
    ASSERT_GE(p.pageCount(), 18);
    int line = 0;
    for (int i = 0; i < p.pageCount(); ++i) {
        const QStringList t = p.pageTexts(i);
        ASSERT_FALSE(t.isEmpty());
        EXPECT_EQ(t.first(), QStringLiteral("Row header")) << "page " << i + 1;
        EXPECT_EQ(t.last(), QStringLiteral("Page %1 of %2").arg(i + 1).arg(p.pageCount()));
        for (const QString& s : t.mid(1, t.size() - 2))
            EXPECT_EQ(s, QString::number(++line));
        // Nothing is placed over the page footer.
        const double footerTop = topOf(p.pages[size_t(i)], t.last());
        for (const auto& e : p.pages[size_t(i)].elements)
            if (const auto* ti = std::get_if<TextItem>(&e.item); ti && ti->lines.join(QString()) != t.last()) {
                EXPECT_LE(ti->rect.bottom(), footerTop + 0.01);
            }
    }
    EXPECT_EQ(line, 1000);
    // Two passes (TotalPages), each walking the data once.
    EXPECT_EQ(firsts, 2);
    EXPECT_EQ(nexts, 2 * 999);
}

TEST(Prepare, StretchingMemoPushesWhatFollows)
{
    const QString longText = QStringLiteral("word ").repeated(120);
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxReportTitle Name=\"Title\" Top=\"0\" Height=\"40\" Width=\"700\" Stretched=\"True\">%1%2</TfrxReportTitle>"
                       "<TfrxMasterData Name=\"Next\" Top=\"80\" Height=\"20\" Width=\"700\" RowCount=\"1\">%3</TfrxMasterData>")
            .arg(memo(QStringLiteral("Long"), 0, 200, 20, longText, QStringLiteral("StretchMode=\"smActualHeight\"")),
                 QStringLiteral("<TfrxMemoView Name=\"Below\" Left=\"0\" Top=\"20\" Width=\"200\" Height=\"20\" Text=\"below\"/>"),
                 memo(QStringLiteral("N"), 0, 200, 20, QStringLiteral("next band")))));
    const PreparedReport p = enginetest::prepare(r);
    ASSERT_EQ(p.pageCount(), 1);
    const PreparedPage& page = p.pages[0];
    double longBottom = 0;
    for (const auto& e : page.elements)
        if (const auto* t = std::get_if<TextItem>(&e.item); t && t->lines.size() > 5)
            longBottom = t->rect.bottom();
    ASSERT_GT(longBottom, 100);
    EXPECT_NEAR(topOf(page, QStringLiteral("below")), longBottom, 0.5);
    EXPECT_NEAR(topOf(page, QStringLiteral("next band")), longBottom + 20, 0.5);
}

TEST(Prepare, BandTallerThanPageIsSplitNotLost)
{
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << QStringLiteral("line %1").arg(i);
    Report r;
    enginetest::load(r, templateXml(QStringLiteral("<TfrxMasterData Name=\"D\" Top=\"0\" Height=\"20\" Width=\"700\" RowCount=\"1\" Stretched=\"True\">%1</TfrxMasterData>")
                                        .arg(memo(QStringLiteral("M"), 0, 300, 20, lines.join(QStringLiteral("&#13;&#10;")),
                                                  QStringLiteral("StretchMode=\"smActualHeight\" Frame.Typ=\"15\"")))));
    const PreparedReport p = enginetest::prepare(r);
    ASSERT_GE(p.pageCount(), 2);
    QStringList all;
    for (const QString& t : p.allTexts())
        all << t.split(QLatin1Char('\n'));
    EXPECT_EQ(all, lines);
}

TEST(Prepare, MasterWithDetailCountFromMasterEvent)
{
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxMasterData Name=\"Master\" Top=\"0\" Height=\"20\" Width=\"700\" DataSetName=\"Detectors\" PrintIfDetailEmpty=\"True\">%1</TfrxMasterData>"
                       "<TfrxDetailData Name=\"Detail\" Top=\"30\" Height=\"20\" Width=\"700\" DataSetName=\"Peaks\">%2</TfrxDetailData>"
                       "<TfrxFooter Name=\"Footer\" Top=\"60\" Height=\"20\" Width=\"700\">%3</TfrxFooter>")
            .arg(memo(QStringLiteral("MM"), 0, 200, 20, QStringLiteral("Detector [Det]")),
                 memo(QStringLiteral("DM"), 20, 200, 20, QStringLiteral("peak [Peak] ([Line#])")),
                 memo(QStringLiteral("FM"), 0, 200, 20, QStringLiteral("peaks: [COUNT(Detail)]")))));
    const std::vector<int> peaksPerDetector{2, 0, 3};
    UserDataSet detectors(QStringLiteral("Detectors"));
    UserDataSet peaks(QStringLiteral("Peaks"));
    int det = 0, peak = 0;
    auto refillDetector = [&] {
        r.setVariable(QStringLiteral("Det"), QString::number(det + 1));
        peaks.setRangeEndCount(peaksPerDetector[size_t(det)]);
        peaks.first();
    };
    detectors.setRangeEndCount(3);
    detectors.onFirst = [&] { det = 0; refillDetector(); };
    detectors.onNext = [&] { ++det; refillDetector(); };
    peaks.onFirst = [&] { peak = 0; r.setVariable(QStringLiteral("Peak"), quoteText(QStringLiteral("%1.%2").arg(det + 1).arg(1))); };
    peaks.onNext = [&] { ++peak; r.setVariable(QStringLiteral("Peak"), quoteText(QStringLiteral("%1.%2").arg(det + 1).arg(peak + 1))); };
    r.addDataSet(&detectors);
    r.addDataSet(&peaks);
    const PreparedReport p = enginetest::prepare(r);
    // The footer after the detail band closes each detector's peaks; a detector without peaks (printed
    // because the master band asks for it) has none.
    EXPECT_EQ(p.allTexts(), (QStringList{QStringLiteral("Detector 1"), QStringLiteral("peak 1.1 (1)"), QStringLiteral("peak 1.2 (2)"),
                                         QStringLiteral("peaks: 2"), QStringLiteral("Detector 2"), QStringLiteral("Detector 3"),
                                         QStringLiteral("peak 3.1 (1)"), QStringLiteral("peak 3.2 (2)"), QStringLiteral("peak 3.3 (3)"),
                                         QStringLiteral("peaks: 3")}));
}

TEST(Prepare, EmptyDataSetAndVisibilitySwitches)
{
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxMasterData Name=\"Shown\" Top=\"0\" Height=\"20\" Width=\"700\" DataSetName=\"On\">%1</TfrxMasterData>"
                       "<TfrxHeader Name=\"H\" Top=\"25\" Height=\"20\" Width=\"700\">%2</TfrxHeader>"
                       "<TfrxMasterData Name=\"Hidden\" Top=\"50\" Height=\"20\" Width=\"700\" DataSetName=\"Off\">%3</TfrxMasterData>"
                       "<TfrxMasterData Name=\"Unbound\" Top=\"80\" Height=\"20\" Width=\"700\" DataSetName=\"Nobody\">%4</TfrxMasterData>")
            .arg(memo(QStringLiteral("A"), 0, 200, 20, QStringLiteral("section on")),
                 memo(QStringLiteral("B"), 0, 200, 20, QStringLiteral("header of hidden")),
                 memo(QStringLiteral("C"), 0, 200, 20, QStringLiteral("section off")),
                 memo(QStringLiteral("D"), 0, 200, 20, QStringLiteral("unbound")))));
    UserDataSet on(QStringLiteral("On")), off(QStringLiteral("Off"));
    off.setRangeEndCount(0);
    bool offEvent = false;
    off.onFirst = [&] { offEvent = true; };
    r.addDataSet(&on);
    r.addDataSet(&off);
    const PreparedReport p = enginetest::prepare(r);
    EXPECT_EQ(p.allTexts(), QStringList{QStringLiteral("section on")});
    EXPECT_FALSE(offEvent);
    EXPECT_TRUE(r.warnings().join(QLatin1Char('\n')).contains(QStringLiteral("Nobody")));
}

TEST(Prepare, SubreportPrintsOnParentPage)
{
    Report r;
    QByteArray xml = templateXml(
        QStringLiteral("<TfrxReportTitle Name=\"T\" Top=\"0\" Height=\"40\" Width=\"700\">%1"
                       "<TfrxSubreport Name=\"Sub\" Left=\"300\" Top=\"20\" Width=\"300\" Height=\"20\" Page=\"Page2\"/></TfrxReportTitle>"
                       "<TfrxMasterData Name=\"After\" Top=\"60\" Height=\"20\" Width=\"700\" RowCount=\"1\">%2</TfrxMasterData>")
            .arg(memo(QStringLiteral("TT"), 0, 200, 20, QStringLiteral("title")),
                 memo(QStringLiteral("AA"), 0, 200, 20, QStringLiteral("after"))));
    xml.replace("</TfrxReport>", QStringLiteral("<TfrxReportPage Name=\"Page2\"><TfrxMasterData Name=\"SubData\" Top=\"0\" Height=\"20\" "
                                                "Width=\"300\" RowCount=\"3\">%1</TfrxMasterData></TfrxReportPage></TfrxReport>")
                                     .arg(memo(QStringLiteral("S"), 0, 200, 20, QStringLiteral("sub [Line#]")))
                                     .toUtf8());
    enginetest::load(r, xml);
    const PreparedReport p = enginetest::prepare(r);
    ASSERT_EQ(p.pageCount(), 1);
    const PreparedPage& page = p.pages[0];
    const double top = 10 * kUnitsPerMm;
    EXPECT_NEAR(topOf(page, QStringLiteral("sub 1")), top + 20, 0.5);
    EXPECT_NEAR(topOf(page, QStringLiteral("sub 3")), top + 60, 0.5);
    for (const auto& e : page.elements)
        if (const auto* t = std::get_if<TextItem>(&e.item); t && t->lines.value(0).startsWith(QStringLiteral("sub"))) {
            EXPECT_NEAR(t->rect.left(), 10 * kUnitsPerMm + 300, 0.5);
        }
    // The band after the sub-report starts below its rows.
    EXPECT_NEAR(topOf(page, QStringLiteral("after")), top + 80, 0.5);
}

TEST(Prepare, PageTotalsAreRightOnEveryPage)
{
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxMasterData Name=\"MasterData1\" Top=\"0\" Height=\"100\" Width=\"700\" DataSetName=\"T\">%1</TfrxMasterData>"
                       "<TfrxPageFooter Name=\"PF\" Top=\"900\" Height=\"20\" Width=\"700\">%2</TfrxPageFooter>"
                       "<TfrxReportSummary Name=\"RS\" Top=\"800\" Height=\"20\" Width=\"700\">%3</TfrxReportSummary>")
            .arg(memo(QStringLiteral("V"), 0, 100, 20, QStringLiteral("[T.&quot;v&quot;]")),
                 memo(QStringLiteral("S"), 0, 400, 20, QStringLiteral("sum [SUM(&lt;T.&quot;v&quot;&gt;, MasterData1)] page [Page#]/[TotalPages#]")),
                 memo(QStringLiteral("G"), 0, 200, 20, QStringLiteral("total [SUM(&lt;T.&quot;v&quot;&gt;, MasterData1)]")))));
    TableDataSet t(QStringLiteral("T"));
    t.setColumns({QStringLiteral("v")});
    for (int i = 1; i <= 25; ++i)
        t.addRow({Value(qint64(i))});
    r.addDataSet(&t);
    const PreparedReport p = enginetest::prepare(r);
    ASSERT_GE(p.pageCount(), 3);
    int next = 1;
    qint64 grand = 0;
    for (int i = 0; i < p.pageCount(); ++i) {
        qint64 sum = 0;
        QString footer;
        for (const QString& s : p.pageTexts(i)) {
            bool isNumber = false;
            const int v = s.toInt(&isNumber);
            if (isNumber) {
                EXPECT_EQ(v, next++);
                sum += v;
            } else if (s.startsWith(QStringLiteral("sum"))) {
                footer = s;
            }
        }
        grand += sum;
        EXPECT_EQ(footer, QStringLiteral("sum %1 page %2/%3").arg(sum).arg(i + 1).arg(p.pageCount()));
    }
    EXPECT_EQ(grand, 325);
    EXPECT_TRUE(p.allTexts().contains(QStringLiteral("total 325")));
}

TEST(Prepare, GroupsShadedRowsAndDisplayFormats)
{
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxGroupHeader Name=\"GH\" Top=\"0\" Height=\"20\" Width=\"700\" Condition=\"T.&quot;g&quot;\">%1</TfrxGroupHeader>"
                       "<TfrxMasterData Name=\"MD\" Top=\"30\" Height=\"20\" Width=\"700\" DataSetName=\"T\">%2</TfrxMasterData>"
                       "<TfrxGroupFooter Name=\"GF\" Top=\"60\" Height=\"20\" Width=\"700\">%3</TfrxGroupFooter>")
            .arg(memo(QStringLiteral("G"), 0, 200, 20, QStringLiteral("group [T.&quot;g&quot;]")),
                 memo(QStringLiteral("V"), 0, 200, 20, QStringLiteral("[T.&quot;v&quot;]"),
                      QStringLiteral("DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.2f\" "
                                     "Highlight.Condition=\"&lt;Line&gt; mod 2 = 0\" Highlight.Color=\"15000804\" Highlight.Font.Color=\"0\"")),
                 memo(QStringLiteral("F"), 0, 200, 20, QStringLiteral("last [T.&quot;v&quot; #n%2,1n]")))));
    TableDataSet t(QStringLiteral("T"));
    t.setColumns({QStringLiteral("g"), QStringLiteral("v")});
    t.addRow({Value(QStringLiteral("a")), Value(1.5)});
    t.addRow({Value(QStringLiteral("a")), Value(2.26)});
    t.addRow({Value(QStringLiteral("b")), Value(3.0)});
    r.addDataSet(&t);
    const PreparedReport p = enginetest::prepare(r);
    EXPECT_EQ(p.allTexts(), (QStringList{QStringLiteral("group a"), QStringLiteral("1.50"), QStringLiteral("2.26"), QStringLiteral("last 2,3"),
                                         QStringLiteral("group b"), QStringLiteral("3.00"), QStringLiteral("last 3,0")}));
    // Every other row is shaded.
    int shaded = 0;
    for (const auto& e : p.pages[0].elements)
        if (const auto* rect = std::get_if<RectItem>(&e.item); rect && rect->fill == toQColor(15000804))
            ++shaded;
    EXPECT_EQ(shaded, 1);
}

TEST(Prepare, HookChangesObjectsAndUnknownExpressionsPrintAsText)
{
    Report r;
    enginetest::load(r, templateXml(
        QStringLiteral("<TfrxReportTitle Name=\"T\" Top=\"0\" Height=\"20\" Width=\"700\">%1%2%3</TfrxReportTitle>")
            .arg(memo(QStringLiteral("A"), 0, 100, 20, QStringLiteral("[Title]")),
                 memo(QStringLiteral("B"), 100, 100, 20, QStringLiteral("hidden")),
                 memo(QStringLiteral("C"), 200, 300, 20, QStringLiteral("x [NoSuchThing + ] y")))));
    r.setVariable(QStringLiteral("Title"), quoteText(QStringLiteral("Хром")));
    std::vector<QString> seen;
    r.onBeforePrint = [&](Object& o) {
        seen.push_back(o.name);
        if (o.name == QLatin1String("B"))
            o.visible = false;
        if (auto* m = dynamic_cast<MemoView*>(&o); m && m->name == QLatin1String("A"))
            m->width = 50;
    };
    const PreparedReport p = enginetest::prepare(r);
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(p.allTexts(), (QStringList{QStringLiteral("Хром"), QStringLiteral("x [NoSuchThing +] y")}));
    EXPECT_FALSE(r.warnings().isEmpty());
    for (const auto& e : p.pages[0].elements)
        if (const auto* t = std::get_if<TextItem>(&e.item); t && t->lines.value(0) == QStringLiteral("Хром")) {
            EXPECT_DOUBLE_EQ(t->rect.width(), 50);
        }
}

TEST(Prepare, TranslatesMemoLines)
{
    Report r;
    enginetest::load(r, templateXml(QStringLiteral("<TfrxReportTitle Name=\"T\" Height=\"40\" Width=\"700\">%1</TfrxReportTitle>")
                                        .arg(memo(QStringLiteral("M"), 0, 300, 40, QStringLiteral("  Пики &#13;&#10;Неизвестно")))));
    r.translateMemoLines([](const QString& line) -> std::optional<QString> {
        if (line.compare(QStringLiteral("пики"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Peaks");
        return std::nullopt;
    });
    EXPECT_EQ(r.findObject<MemoView>(QStringLiteral("M"))->text, QStringLiteral("Peaks\r\nНеизвестно"));
}

TEST(Prepare, EndlessBandsStopWithAnError)
{
    Report r;
    enginetest::load(r, templateXml(QStringLiteral("<TfrxMasterData Name=\"D\" Height=\"500\" Width=\"700\" DataSetName=\"Many\"/>")));
    UserDataSet many(QStringLiteral("Many"));
    many.setRangeEndCount(2000000000);
    r.addDataSet(&many);
    r.options.maxPages = 50;
    PreparedReport p;
    QString error;
    EXPECT_FALSE(r.prepare(p, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("50 pages"))) << error.toStdString();
}

TEST(Render, PdfHasSelectableCyrillicTextAndPicturesPerPage)
{
    Report r;
    enginetest::load(r, templateXml(QStringLiteral("<TfrxMasterData Name=\"D\" Height=\"600\" Width=\"700\" RowCount=\"2\">%1</TfrxMasterData>")
                                        .arg(memo(QStringLiteral("M"), 0, 500, 30, QStringLiteral("Хроматограмма № [Line#]"),
                                                  QStringLiteral("Frame.Typ=\"15\" Color=\"15000804\"")))));
    const PreparedReport p = enginetest::prepare(r);
    ASSERT_EQ(p.pageCount(), 2);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QString error;
    ASSERT_TRUE(exportPdf(p, pdf, &error)) << error.toStdString();
    const QString text = enginetest::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Хроматограмма № 1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Хроматограмма № 2")));
    for (const char* fmt : {"PNG", "JPEG", "BMP"}) {
        const QStringList files = exportImages(p, dir.filePath(QStringLiteral("page.img")), QLatin1String(fmt), 50, &error);
        ASSERT_EQ(files.size(), 2) << fmt << error.toStdString();
        QImage img(files[0]);
        ASSERT_FALSE(img.isNull()) << fmt;
        EXPECT_NEAR(img.width(), 210 / 25.4 * 50, 2);
        // The shaded memo sits 10 mm from the corner; the page corner stays white.
        EXPECT_EQ(img.pixelColor(2, 2), QColor(Qt::white));
    }
    EXPECT_TRUE(exportImages(p, dir.filePath(QStringLiteral("x.gif")), QStringLiteral("GIF"), 50, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}
