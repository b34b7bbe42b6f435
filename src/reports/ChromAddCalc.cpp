// The additional calculation of the chromatogram report: its coefficients, its free text read
// as a table, and its graphs drawn by the chart object Chart1.

#include "ChartView.h"
#include "ChromReport.h"
#include "ChromTables.h"
#include "ChromTables_p.h"
#include "TDataModule1.h"
#include "ValueFormat.h"

#include <algorithm>

using namespace chromtables;

std::vector<QStringList> AddCalcTable(const QString& text) {
    // Lines end with CR LF, LF or CR; a line break at the very end opens no further line.
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normal.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    std::vector<QStringList> rows;
    rows.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines) {
        // Empty fields are dropped, so the fields after them move left.
        QStringList cells = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        for (QString& cell : cells)
            cell = cell.trimmed();
        rows.push_back(cells);
    }
    return rows;
}

namespace {

// The table of the job's free text. The engine asks for it cell by cell; the text is split once
// per text rather than once per cell.
const std::vector<QStringList>& cachedTable(const QString& text) {
    static QString source;
    static std::vector<QStringList> table;
    static bool filled = false;
    if (!filled || source != text) {
        source = text;
        table = AddCalcTable(text);
        filled = true;
    }
    return table;
}

} // namespace

int AddCalcTableRowCount(const TChromModule& chrom) {
    return static_cast<int>(cachedTable(chrom.szChr_Comment()).size());
}

int AddCalcTableColumnCount(const TChromModule& chrom) {
    qsizetype widest = 0;
    for (const QStringList& row : cachedTable(chrom.szChr_Comment()))
        widest = std::max(widest, row.size());
    return static_cast<int>(widest);
}

QString AddCalcTableCell(const TChromModule& chrom, int column, int row) {
    const std::vector<QStringList>& table = cachedTable(chrom.szChr_Comment());
    if (row < 0 || static_cast<std::size_t>(row) >= table.size())
        return {};
    return table[static_cast<std::size_t>(row)].value(column);
}

void SetAddCalcTableCounts(TDataModule1& data, const TChromModule& chrom) {
    if (data.designMode)
        return;
    if (tarvex::engine::UserDataSet* rows = data.rowSource(QStringLiteral("AddCalcExcelRowDataSet")))
        rows->setRangeEndCount(AddCalcTableRowCount(chrom));
    if (tarvex::engine::UserDataSet* columns = data.rowSource(QStringLiteral("AddCalcExcelColumnDataSet")))
        columns->setRangeEndCount(AddCalcTableColumnCount(chrom));
}

namespace {

// A point list in the chart's notation: numbers each followed by ";".
QString pointNumber(double value) { return GeneralNumber(value, 15, 0) + QLatin1Char(';'); }

// Configures Chart1 for graph `g` of the job.
void fillGraph(tarvex::engine::ChartView& chart, const TChromModule& chrom, int g) {
    using tarvex::engine::ChartSeries;
    const TAddCalcGraph graph = chrom.AddCalcGraph(g);
    chart.title = graph.szGraph_Title();
    chart.titleVisible = graph.bGraph_TitleOn() != 0;
    chart.bottomAxis.title = graph.szGraph_BottomTitle();
    chart.bottomAxis.titleVisible = graph.bGraph_BottomTitleOn() != 0;
    chart.leftAxis.title = graph.szGraph_LeftTitle();
    chart.leftAxis.titleVisible = graph.bGraph_LeftTitleOn() != 0;
    chart.labelsVisible = graph.bGraph_Labels() != 0;
    chart.gridVisible = graph.bGraph_Grid() != 0;
    chart.bottomAxis.automatic = false;
    chart.bottomAxis.minimum = graph.dGraph_BottomMin();
    chart.bottomAxis.maximum = graph.dGraph_BottomMax();
    chart.bottomAxis.increment = graph.dGraph_BottomStep();
    chart.leftAxis.automatic = false;
    chart.leftAxis.minimum = graph.dGraph_LeftMin();
    chart.leftAxis.maximum = graph.dGraph_LeftMax();
    chart.leftAxis.increment = graph.dGraph_LeftStep();
    switch (graph.bGraph_ValueFormat()) {
    case 0: chart.valueFormat = QStringLiteral("0"); break;
    case 1: chart.valueFormat = QStringLiteral("0.0"); break;
    case 2: chart.valueFormat = QStringLiteral("0.00"); break;
    default: break; // the template's format stays
    }

    // The chart draws the graph with one of two line series: a plain one and one with circular
    // point markers. A template chart read from a file does not tell which is which; the
    // second series is then the one with markers. Missing series are added.
    while (chart.series.size() < 2)
        chart.series.push_back(ChartSeries());
    const bool anyMarkers = std::any_of(chart.series.begin(), chart.series.end(),
                                        [](const ChartSeries& s) { return s.pointMarkers; });
    if (!anyMarkers)
        chart.series[1].pointMarkers = true;

    QString ys, xs;
    if (graph.bGraph_FromOrigin()) {
        ys = QStringLiteral("0;");
        xs = QStringLiteral("0;");
    }
    const int count = std::clamp(graph.iGraph_PointCount(), 0, TChromModule::kMaxGraphPoints);
    const bool everyPoint = graph.bGraph_AllPoints() != 0;
    for (int p = 0; p < count; ++p) {
        const TAddCalcPoint point = chrom.AddCalcGraphPoint(g, p);
        if (!everyPoint && (point.dGraph_X() == 0 || point.dGraph_Y() == 0))
            continue;
        ys += pointNumber(point.dGraph_Y());
        xs += pointNumber(point.dGraph_X());
    }
    const bool markers = graph.bGraph_Markers() != 0;
    for (ChartSeries& series : chart.series) {
        series.active = series.pointMarkers == markers;
        series.source1.clear();
        series.source2 = ys;
        series.source3 = xs;
    }
}

} // namespace

namespace chromtables {

void InstallAddCalcSources(TDataModule1& data, TChromModule& chrom) {
    data.setRefill(QStringLiteral("AddCalcCoefsDataset"), [&data] {
        if (data.designMode)
            return;
        const int row = data.rowIndex(QStringLiteral("AddCalcCoefsDataset"));
        tarvex::engine::Report& report = data.CommonReport();
        if (row < 0 || static_cast<std::size_t>(row) >= data.addCalcCoefs.size()) {
            report.setVariable(QStringLiteral("AddCalcCoefName"), QuoteText(QString()));
            report.setVariable(QStringLiteral("AddCalcCoefValue"), QuoteText(QString()));
            return;
        }
        const auto& [name, value] = data.addCalcCoefs[static_cast<std::size_t>(row)];
        report.setVariable(QStringLiteral("AddCalcCoefName"), QuoteText(name));
        report.setVariable(QStringLiteral("AddCalcCoefValue"), FormatGeneral(8, 5, false, value));
    });

    // Both sources of the text table share one routine: the cell at their record numbers.
    auto cell = [&data, &chrom] {
        if (data.designMode)
            return;
        const tarvex::engine::UserDataSet* columns = data.rowSource(QStringLiteral("AddCalcExcelColumnDataSet"));
        const tarvex::engine::UserDataSet* rows = data.rowSource(QStringLiteral("AddCalcExcelRowDataSet"));
        if (!columns || !rows)
            return;
        data.CommonReport().setVariable(QStringLiteral("AddCalcTableValue"),
                                        QuoteText(AddCalcTableCell(chrom, columns->recNo(), rows->recNo())));
    };
    data.setRefill(QStringLiteral("AddCalcExcelRowDataSet"), cell);
    data.setRefill(QStringLiteral("AddCalcExcelColumnDataSet"), cell);

    data.setRefill(QStringLiteral("AddCalcGraphsDataSet"), [&data, &chrom] {
        if (data.designMode)
            return;
        const tarvex::engine::UserDataSet* graphs = data.rowSource(QStringLiteral("AddCalcGraphsDataSet"));
        auto* chart = data.CommonReport().findObject<tarvex::engine::ChartView>(QStringLiteral("Chart1"));
        if (!graphs || !chart)
            return;
        const int g = graphs->recNo();
        if (g < 0 || g >= chrom.iAddCalcGraph_Count())
            return;
        fillGraph(*chart, chrom, g);
    });
}

} // namespace chromtables
