// Chart axes: tick steps and labels that tell neighbouring ticks apart.

#include "EngineTestSupport.h"

#include "ChartView.h"

#include <gtest/gtest.h>

using namespace tarvex::engine;
using enginetest::templateXml;

namespace {

// The value-axis labels (right-aligned texts) of a 400 x 300 chart whose left axis is set as given.
QStringList leftAxisLabels(double minimum, double maximum, double increment, const QString& format)
{
    Report r;
    enginetest::load(r, templateXml(QStringLiteral(
        "<TfrxReportTitle Name=\"T\" Top=\"0\" Height=\"300\" Width=\"700\">"
        "<TfrxChartView Name=\"Chart1\" Left=\"0\" Top=\"0\" Width=\"400\" Height=\"300\"/></TfrxReportTitle>")));
    auto* chart = r.findObject<ChartView>(QStringLiteral("Chart1"));
    EXPECT_NE(chart, nullptr);
    if (!chart)
        return {};
    chart->titleVisible = false;
    chart->valueFormat = format;
    chart->leftAxis.automatic = increment < 0;
    chart->leftAxis.minimum = minimum;
    chart->leftAxis.maximum = maximum;
    chart->leftAxis.increment = std::max(0.0, increment);
    ChartSeries s;
    s.source3 = QStringLiteral("0;5;10;");
    s.source2 = QStringLiteral("%1;%2;%3;").arg(maximum).arg((minimum + maximum) / 2).arg(minimum);
    chart->series.push_back(s);
    const PreparedReport p = enginetest::prepare(r);
    QStringList labels;
    if (p.pageCount() == 0)
        return labels;
    for (const auto& e : p.pages[0].elements)
        if (const auto* t = std::get_if<TextItem>(&e.item); t && t->hAlign == HAlign::Right)
            labels << t->lines.join(QString());
    return labels;
}

} // namespace

TEST(Chart, ValueAxisLabelsAreDistinctAndMatchTheirTicks)
{
    struct Case {
        double minimum, maximum, increment; // increment < 0: automatic scale
        const char* format;
        QStringList labels;                 // bottom to top
    };
    const Case cases[] = {
        // A step finer than the format's decimals gets the decimals it needs.
        {0.97, 1.00, 0.005, "0.00",
         {QStringLiteral("0.970"), QStringLiteral("0.975"), QStringLiteral("0.980"), QStringLiteral("0.985"), QStringLiteral("0.990"),
          QStringLiteral("0.995"), QStringLiteral("1.000")}},
        // Distinct but rounded labels (0.25 written as 0.3) are written exactly too.
        {0, 1, 0.25, "0.0", {QStringLiteral("0.00"), QStringLiteral("0.25"), QStringLiteral("0.50"), QStringLiteral("0.75"), QStringLiteral("1.00")}},
        // The format is kept when it tells the ticks apart.
        {0.97, 1.00, 0.01, "0.00", {QStringLiteral("0.97"), QStringLiteral("0.98"), QStringLiteral("0.99"), QStringLiteral("1.00")}},
        // Automatic scales step by 1, 2 or 5 times a power of ten.
        {0.97, 1.00, -1, "0.##", {QStringLiteral("0.97"), QStringLiteral("0.98"), QStringLiteral("0.99"), QStringLiteral("1")}},
        {0, 10, -1, "0", {QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6"), QStringLiteral("8"), QStringLiteral("10")}},
        // A step too fine for the axis' height gives way to a coarser one.
        {0, 100, 1, "0", {QStringLiteral("0"), QStringLiteral("20"), QStringLiteral("40"), QStringLiteral("60"), QStringLiteral("80"), QStringLiteral("100")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1..%2 step %3 format %4").arg(c.minimum).arg(c.maximum).arg(c.increment).arg(QLatin1String(c.format)).toStdString());
        EXPECT_EQ(leftAxisLabels(c.minimum, c.maximum, c.increment, QLatin1String(c.format)), c.labels);
    }
}
