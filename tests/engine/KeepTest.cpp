// Keeping bands together across page breaks: headings with what follows them, KeepTogether records,
// KeepChild and KeepFooter, and records printed only when their details have rows.

#include "EngineTestSupport.h"

#include "UserDataSet.h"

#include <gtest/gtest.h>

using namespace tarvex::engine;
using enginetest::templateXml;

namespace {

QString memo(const QString& name, double height, const QString& text)
{
    return QStringLiteral("<TfrxMemoView Name=\"%1\" Left=\"0\" Top=\"0\" Width=\"300\" Height=\"%2\" Text=\"%3\"/>")
        .arg(name).arg(height).arg(text);
}

QString band(const QString& type, const QString& name, double height, const QString& attrs, const QString& content)
{
    return QStringLiteral("<%1 Name=\"%2\" Top=\"0\" Height=\"%3\" Width=\"700\" %4>%5</%1>")
        .arg(type, name).arg(height).arg(attrs, content);
}

// Ten 100-unit rows: the A4 body (1046.9 units with 10 mm margins) keeps 46.9 units below them.
QString filler()
{
    return band(QStringLiteral("TfrxMasterData"), QStringLiteral("Fill"), 100, QStringLiteral("RowCount=\"10\""),
                memo(QStringLiteral("FillText"), 100, QStringLiteral("fill")));
}

struct KeepCase {
    const char* name;
    QString body;     // bands after the filler
    QString subPage;  // bands of a second page "Page2" used as a sub-report
    QStringList page1Tail; // what page 1 holds after the ten fill rows
    QStringList page2;
};

} // namespace

TEST(Keep, BandsThatBelongTogetherMoveToTheNextPageTogether)
{
    const QString rows3 = QStringLiteral("RowCount=\"3\"");
    const QString row = memo(QStringLiteral("RowText"), 20, QStringLiteral("row [Line#]"));
    const std::vector<KeepCase> cases = {
        {"header is not left alone above its first row (and is not printed twice with ReprintOnNewPage)",
         band(QStringLiteral("TfrxHeader"), QStringLiteral("H"), 30, QStringLiteral("ReprintOnNewPage=\"True\""),
              memo(QStringLiteral("HT"), 30, QStringLiteral("Heading")))
             + band(QStringLiteral("TfrxMasterData"), QStringLiteral("Rows"), 20, rows3, row),
         {}, {}, {QStringLiteral("Heading"), QStringLiteral("row 1"), QStringLiteral("row 2"), QStringLiteral("row 3")}},
        {"group header goes with its first row",
         band(QStringLiteral("TfrxGroupHeader"), QStringLiteral("G"), 30, QStringLiteral("Condition=\"'one group'\""),
              memo(QStringLiteral("GT"), 30, QStringLiteral("Group")))
             + band(QStringLiteral("TfrxMasterData"), QStringLiteral("Rows"), 20, rows3, row),
         {}, {}, {QStringLiteral("Group"), QStringLiteral("row 1"), QStringLiteral("row 2"), QStringLiteral("row 3")}},
        {"section band with its title goes with the first row of its sub-report",
         band(QStringLiteral("TfrxMasterData"), QStringLiteral("Section"), 32, QStringLiteral("RowCount=\"1\""),
              memo(QStringLiteral("ST"), 30, QStringLiteral("Section"))
                  + QStringLiteral("<TfrxSubreport Name=\"Sub\" Left=\"0\" Top=\"30\" Width=\"700\" Height=\"2\" Page=\"Page2\"/>")),
         band(QStringLiteral("TfrxMasterData"), QStringLiteral("SubRows"), 20, rows3, row),
         {}, {QStringLiteral("Section"), QStringLiteral("row 1"), QStringLiteral("row 2"), QStringLiteral("row 3")}},
        {"sub-report starting with a title and a header moves with the section band",
         band(QStringLiteral("TfrxMasterData"), QStringLiteral("Section"), 12, QStringLiteral("RowCount=\"1\""),
              memo(QStringLiteral("ST"), 10, QStringLiteral("Section"))
                  + QStringLiteral("<TfrxSubreport Name=\"Sub\" Left=\"0\" Top=\"10\" Width=\"700\" Height=\"2\" Page=\"Page2\"/>")),
         band(QStringLiteral("TfrxReportTitle"), QStringLiteral("SubTitle"), 10, QString(), memo(QStringLiteral("STT"), 10, QStringLiteral("Title")))
             + band(QStringLiteral("TfrxHeader"), QStringLiteral("SubHeader"), 10, QString(), memo(QStringLiteral("SH"), 10, QStringLiteral("Columns")))
             + band(QStringLiteral("TfrxMasterData"), QStringLiteral("SubRows"), 20, rows3, row),
         {}, {QStringLiteral("Section"), QStringLiteral("Title"), QStringLiteral("Columns"), QStringLiteral("row 1"),
              QStringLiteral("row 2"), QStringLiteral("row 3")}},
        {"KeepTogether record moves with its details",
         band(QStringLiteral("TfrxMasterData"), QStringLiteral("Master"), 20, QStringLiteral("RowCount=\"1\" KeepTogether=\"True\""),
              memo(QStringLiteral("MT"), 20, QStringLiteral("master")))
             + band(QStringLiteral("TfrxDetailData"), QStringLiteral("Detail"), 20, rows3, row),
         {}, {}, {QStringLiteral("master"), QStringLiteral("row 1"), QStringLiteral("row 2"), QStringLiteral("row 3")}},
        {"without KeepTogether the record is cut between its rows",
         band(QStringLiteral("TfrxMasterData"), QStringLiteral("Master"), 20, QStringLiteral("RowCount=\"1\""),
              memo(QStringLiteral("MT"), 20, QStringLiteral("master")))
             + band(QStringLiteral("TfrxDetailData"), QStringLiteral("Detail"), 20, rows3, row),
         {}, {QStringLiteral("master"), QStringLiteral("row 1")}, {QStringLiteral("row 2"), QStringLiteral("row 3")}},
        {"KeepChild band goes with its child",
         band(QStringLiteral("TfrxMasterData"), QStringLiteral("Parent"), 20, QStringLiteral("RowCount=\"1\" Child=\"Kid\" KeepChild=\"True\""),
              memo(QStringLiteral("PT"), 20, QStringLiteral("parent")))
             + band(QStringLiteral("TfrxChild"), QStringLiteral("Kid"), 40, QString(), memo(QStringLiteral("KT"), 40, QStringLiteral("child"))),
         {}, {}, {QStringLiteral("parent"), QStringLiteral("child")}},
        {"KeepFooter takes the last row to the footer's page",
         band(QStringLiteral("TfrxMasterData"), QStringLiteral("Rows"), 20, QStringLiteral("RowCount=\"2\" KeepFooter=\"True\""), row)
             + band(QStringLiteral("TfrxFooter"), QStringLiteral("F"), 20, QString(), memo(QStringLiteral("FT"), 20, QStringLiteral("total"))),
         {}, {QStringLiteral("row 1")}, {QStringLiteral("row 2"), QStringLiteral("total")}},
    };
    for (const KeepCase& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray xml = templateXml(filler() + c.body);
        if (!c.subPage.isEmpty())
            xml.replace("</TfrxReport>", QStringLiteral("<TfrxReportPage Name=\"Page2\">%1</TfrxReportPage></TfrxReport>")
                                             .arg(c.subPage).toUtf8());
        Report r;
        enginetest::load(r, xml);
        const PreparedReport p = enginetest::prepare(r);
        ASSERT_EQ(p.pageCount(), 2);
        EXPECT_EQ(p.pageTexts(0), QStringList(10, QStringLiteral("fill")) + c.page1Tail);
        EXPECT_EQ(p.pageTexts(1), c.page2);
    }
}

TEST(Keep, KeptBlockTallerThanAPageIsCutOnceAndLosesNothing)
{
    // A KeepTogether record of 80 detail rows (1600 units) below a half-filled page: it moves once to
    // a fresh page and is then cut; every row prints once and the header is reprinted, not repeated.
    Report r;
    enginetest::load(r, templateXml(
        band(QStringLiteral("TfrxMasterData"), QStringLiteral("Fill"), 500, QStringLiteral("RowCount=\"1\""),
             memo(QStringLiteral("FillText"), 20, QStringLiteral("fill")))
        + band(QStringLiteral("TfrxMasterData"), QStringLiteral("Master"), 20, QStringLiteral("RowCount=\"1\" KeepTogether=\"True\""),
               memo(QStringLiteral("MT"), 20, QStringLiteral("master")))
        + band(QStringLiteral("TfrxHeader"), QStringLiteral("H"), 20, QStringLiteral("ReprintOnNewPage=\"True\""),
               memo(QStringLiteral("HT"), 20, QStringLiteral("head")))
        + band(QStringLiteral("TfrxDetailData"), QStringLiteral("Detail"), 20, QStringLiteral("RowCount=\"80\""),
               memo(QStringLiteral("RT"), 20, QStringLiteral("[Line#]")))));
    const PreparedReport p = enginetest::prepare(r);
    ASSERT_EQ(p.pageCount(), 3);
    EXPECT_EQ(p.pageTexts(0), QStringList{QStringLiteral("fill")});
    const QStringList second = p.pageTexts(1);
    ASSERT_GE(second.size(), 3);
    EXPECT_EQ(second.mid(0, 3), (QStringList{QStringLiteral("master"), QStringLiteral("head"), QStringLiteral("1")}));
    EXPECT_EQ(p.pageTexts(2).value(0), QStringLiteral("head"));
    int next = 1;
    for (const QString& t : p.allTexts()) {
        bool number = false;
        const int v = t.toInt(&number);
        if (number) {
            EXPECT_EQ(v, next++);
        }
    }
    EXPECT_EQ(next, 81);
}

TEST(Keep, MasterPrintsWithEmptyDetailOnlyWhenAsked)
{
    // Three masters with 2, 0 and 1 detail rows; the detail count comes from the master's data set.
    // The footer closes the rows of each detail.
    for (const bool printIfEmpty : {false, true}) {
        SCOPED_TRACE(printIfEmpty ? "PrintIfDetailEmpty" : "default");
        Report r;
        enginetest::load(r, templateXml(
            band(QStringLiteral("TfrxHeader"), QStringLiteral("H"), 20, QString(), memo(QStringLiteral("HT"), 20, QStringLiteral("masters")))
            + band(QStringLiteral("TfrxMasterData"), QStringLiteral("Master"), 20,
                   QStringLiteral("DataSetName=\"M\"") + (printIfEmpty ? QStringLiteral(" PrintIfDetailEmpty=\"True\"") : QString()),
                   memo(QStringLiteral("MT"), 20, QStringLiteral("master [Line#]")))
            + band(QStringLiteral("TfrxDetailData"), QStringLiteral("Detail"), 20, QStringLiteral("DataSetName=\"D\""),
                   memo(QStringLiteral("DT"), 20, QStringLiteral("detail [Line#]")))
            + band(QStringLiteral("TfrxFooter"), QStringLiteral("F"), 20, QString(), memo(QStringLiteral("FT"), 20, QStringLiteral("rows end")))));
        const int counts[] = {2, 0, 1};
        UserDataSet masters(QStringLiteral("M")), details(QStringLiteral("D"));
        int m = 0;
        masters.setRangeEndCount(3);
        masters.onFirst = [&] { m = 0; details.setRangeEndCount(counts[m]); };
        masters.onNext = [&] { ++m; details.setRangeEndCount(counts[std::min(m, 2)]); };
        r.addDataSet(&masters);
        r.addDataSet(&details);
        const PreparedReport p = enginetest::prepare(r);
        const QStringList expected = printIfEmpty
            ? QStringList{QStringLiteral("masters"), QStringLiteral("master 1"), QStringLiteral("detail 1"), QStringLiteral("detail 2"),
                          QStringLiteral("rows end"), QStringLiteral("master 2"), QStringLiteral("master 3"), QStringLiteral("detail 1"),
                          QStringLiteral("rows end")}
            : QStringList{QStringLiteral("masters"), QStringLiteral("master 1"), QStringLiteral("detail 1"), QStringLiteral("detail 2"),
                          QStringLiteral("rows end"), QStringLiteral("master 2"), QStringLiteral("detail 1"), QStringLiteral("rows end")};
        EXPECT_EQ(p.allTexts(), expected);

        // No master with rows under it: without the flag not even the masters' header prints.
        details.onFirst = nullptr;
        masters.onFirst = [&] { details.setRangeEndCount(0); };
        masters.onNext = [&] { details.setRangeEndCount(0); };
        const PreparedReport none = enginetest::prepare(r);
        EXPECT_EQ(none.allTexts(), printIfEmpty ? (QStringList{QStringLiteral("masters"), QStringLiteral("master 1"),
                                                               QStringLiteral("master 2"), QStringLiteral("master 3")})
                                                : QStringList{});
    }
}
