// Cross tables: a horizontal data band times a vertical data band, column widths from the hook.

#include "EngineTestSupport.h"

#include "Band.h"
#include "Expression.h"
#include "MemoView.h"
#include "UserDataSet.h"

#include <gtest/gtest.h>

using namespace tarvex::engine;
using enginetest::templateXml;

TEST(CrossTable, ColumnsFromVerticalBandWithHookWidths)
{
    // Header row and data rows; the cells lie in the x-range of the vertical band MasterData49.
    Report r;
    enginetest::load(r, templateXml(QStringLiteral(
        "<TfrxHeader Name=\"Header1\" Top=\"20\" Height=\"20\" Width=\"700\" ReprintOnNewPage=\"True\">"
        "<TfrxMemoView Name=\"Memo272\" Left=\"0\" Top=\"0\" Width=\"60\" Height=\"20\" Text=\"[ChromPeakHeader]\" Frame.Typ=\"15\"/></TfrxHeader>"
        "<TfrxMasterData Name=\"PeakRows\" Top=\"60\" Height=\"18\" Width=\"700\" DataSetName=\"Пики\" Stretched=\"True\">"
        "<TfrxMemoView Name=\"Memo273\" Left=\"0\" Top=\"0\" Width=\"60\" Height=\"18\" Text=\"[ChromPeakValue]\" WordWrap=\"False\" Frame.Typ=\"15\" StretchMode=\"smMaxHeight\"/></TfrxMasterData>"
        "<TfrxMasterData Name=\"MasterData49\" Left=\"0\" Top=\"0\" Width=\"60\" Height=\"200\" Vertical=\"True\" DataSetName=\"Колонки таблицы пиков\"/>")));
    constexpr int kColumns = 12;
    constexpr int kRows = 1000;
    const int widths[kColumns + 1] = {0, 30, 80, 0, 60, 60, 45, 0, 50, 50, 40, 40, 45};
    UserDataSet rows(QStringLiteral("Пики"));
    UserDataSet cols(QStringLiteral("Колонки таблицы пиков"));
    rows.setRangeEndCount(kRows);
    cols.setRangeEndCount(kColumns);
    int row = 0, col = 1;
    auto refill = [&] {
        r.setVariable(QStringLiteral("ChromPeakHeader"), quoteText(QStringLiteral("C%1").arg(col)));
        r.setVariable(QStringLiteral("ChromPeakValue"), quoteText(QStringLiteral("%1:%2").arg(row + 1).arg(col)));
    };
    rows.onFirst = [&] { row = 0; refill(); };
    rows.onNext = [&] { ++row; refill(); };
    cols.onFirst = [&] { col = 1; refill(); };
    cols.onNext = [&] { ++col; refill(); };
    r.addDataSet(&rows);
    r.addDataSet(&cols);
    // The host's hook: the vertical band and its cells take the width of the current column and vanish at 0.
    r.onBeforePrint = [&](Object& o) {
        if (o.name == QLatin1String("MasterData49") || o.name == QLatin1String("Memo272") || o.name == QLatin1String("Memo273")) {
            const int w = widths[col];
            o.visible = w > 0;
            o.printable = o.visible;
            o.width = w;
        }
    };
    const PreparedReport p = enginetest::prepare(r);
    ASSERT_GT(p.pageCount(), 15);

    QStringList expectedHeader;
    for (int c = 1; c <= kColumns; ++c)
        if (widths[c] > 0)
            expectedHeader << QStringLiteral("C%1").arg(c);
    int nextRow = 1;
    for (int page = 0; page < p.pageCount(); ++page) {
        const QStringList t = p.pageTexts(page);
        ASSERT_GE(t.size(), expectedHeader.size());
        EXPECT_EQ(t.mid(0, expectedHeader.size()), expectedHeader) << "page " << page + 1;
        const QStringList cells = t.mid(expectedHeader.size());
        ASSERT_EQ(cells.size() % expectedHeader.size(), 0);
        for (qsizetype i = 0; i < cells.size(); i += expectedHeader.size()) {
            for (qsizetype k = 0; k < expectedHeader.size(); ++k)
                EXPECT_EQ(cells[i + k], QStringLiteral("%1:%2").arg(nextRow).arg(expectedHeader[k].mid(1)));
            ++nextRow;
        }
    }
    EXPECT_EQ(nextRow, kRows + 1);

    // Cells sit side by side with the widths from the hook; hidden columns leave no gap.
    std::vector<QRectF> firstRow;
    for (const auto& e : p.pages[0].elements)
        if (const auto* t = std::get_if<TextItem>(&e.item); t && t->lines.value(0).startsWith(QStringLiteral("1:")))
            firstRow.push_back(t->rect);
    ASSERT_EQ(firstRow.size(), size_t(expectedHeader.size()));
    double x = 10 * kUnitsPerMm;
    size_t k = 0;
    for (int c = 1; c <= kColumns; ++c) {
        if (widths[c] == 0)
            continue;
        EXPECT_NEAR(firstRow[k].left(), x, 0.01) << "column " << c;
        EXPECT_NEAR(firstRow[k].width(), widths[c], 0.01);
        x += widths[c];
        ++k;
    }
}
