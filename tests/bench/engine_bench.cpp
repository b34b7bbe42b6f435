// Report engine figures: a 10-column cross table of 1000 rows prepared and written to PDF, beside the same
// cells drawn straight with QPainter into QPdfWriter; and the memory a 100-page prepared report holds.
// Prints figures only.

#include "Expression.h"
#include "PreparedReport.h"
#include "Render.h"
#include "Report.h"
#include "UserDataSet.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdlib>

using namespace tarvex::engine;

namespace {

constexpr int kColumns = 10;
constexpr int kRows = 1000;
constexpr double kCellWidth = 70;
constexpr double kRowHeight = 18;

QByteArray crossTemplate()
{
    return QByteArray(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport>"
        "<TfrxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" LeftMargin=\"10\" RightMargin=\"10\" TopMargin=\"10\" BottomMargin=\"10\">"
        "<TfrxHeader Name=\"Header1\" Top=\"20\" Height=\"18\" Width=\"700\" ReprintOnNewPage=\"True\">"
        "<TfrxMemoView Name=\"H\" Width=\"70\" Height=\"18\" Text=\"[Head]\" Frame.Typ=\"15\" Font.Name=\"Arial\" Font.Height=\"-12\" ParentFont=\"False\"/></TfrxHeader>"
        "<TfrxMasterData Name=\"Rows\" Top=\"60\" Height=\"18\" Width=\"700\" DataSetName=\"Rows\">"
        "<TfrxMemoView Name=\"V\" Width=\"70\" Height=\"18\" Text=\"[Cell]\" Frame.Typ=\"15\" Font.Name=\"Arial\" Font.Height=\"-12\" ParentFont=\"False\"/></TfrxMasterData>"
        "<TfrxMasterData Name=\"Cols\" Width=\"70\" Height=\"100\" Vertical=\"True\" DataSetName=\"Cols\"/>"
        "</TfrxReportPage></TfrxReport>");
}

QString cellText(int row, int col)
{
    return QStringLiteral("%1.%2").arg(row * 1.25 + col, 0, 'f', 2);
}

// Binds the row and column sets the way the host does: events refill two variables.
struct CrossBinding {
    UserDataSet rows{QStringLiteral("Rows")};
    UserDataSet cols{QStringLiteral("Cols")};
    int row = 0;
    int col = 0;
    explicit CrossBinding(Report& r, int rowCount)
    {
        rows.setRangeEndCount(rowCount);
        cols.setRangeEndCount(kColumns);
        auto refill = [this, &r] {
            r.setVariable(QStringLiteral("Head"), quoteText(QStringLiteral("Column %1").arg(col + 1)));
            r.setVariable(QStringLiteral("Cell"), quoteText(cellText(row, col)));
        };
        rows.onFirst = [this, refill] { row = 0; refill(); };
        rows.onNext = [this, refill] { ++row; refill(); };
        cols.onFirst = [this, refill] { col = 0; refill(); };
        cols.onNext = [this, refill] { ++col; refill(); };
        r.addDataSet(&rows);
        r.addDataSet(&cols);
    }
};

void BM_EngineCrossTablePdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("engine.pdf"));
    int pages = 0;
    for (auto _ : state) {
        Report r;
        r.loadFromData(crossTemplate());
        CrossBinding bind(r, kRows);
        PreparedReport p;
        QString error;
        if (!r.prepare(p, &error) || !exportPdf(p, path, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        pages = p.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["pdf_kB"] = double(QFile(path).size()) / 1024.0;
}

void BM_DirectQPainterPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("direct.pdf"));
    int pages = 0;
    for (auto _ : state) {
        QPdfWriter writer(path);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&writer);
        p.scale(600 / 96.0, 600 / 96.0);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(12);
        font.setHintingPreference(QFont::PreferNoHinting);
        p.setFont(font);
        p.setPen(QPen(Qt::black, 1));
        const double left = 10 * kUnitsPerMm;
        const double top = 10 * kUnitsPerMm;
        const double bottom = (297 - 10) * kUnitsPerMm;
        double y = top;
        pages = 1;
        auto drawRow = [&](auto text) {
            for (int c = 0; c < kColumns; ++c) {
                const QRectF cell(left + c * kCellWidth, y, kCellWidth, kRowHeight);
                p.drawRect(cell);
                p.drawText(cell.adjusted(2, 1, -2, -1), Qt::AlignLeft | Qt::AlignTop, text(c));
            }
            y += kRowHeight;
        };
        auto header = [&] { drawRow([](int c) { return QStringLiteral("Column %1").arg(c + 1); }); };
        header();
        for (int r = 0; r < kRows; ++r) {
            if (y + kRowHeight > bottom) {
                writer.newPage();
                ++pages;
                y = top;
                header();
            }
            drawRow([r](int c) { return cellText(r, c); });
        }
        p.end();
    }
    state.counters["pages"] = pages;
    state.counters["pdf_kB"] = double(QFile(path).size()) / 1024.0;
}

long procStatusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toLong();
    return -1;
}

// Holds a prepared report of about 100 pages and reports what the process needed for it.
void BM_PreparedReport100PagesMemory(benchmark::State& state)
{
    for (auto _ : state) {
        const long before = procStatusKb("VmRSS:");
        Report r;
        r.loadFromData(crossTemplate());
        CrossBinding bind(r, 5700);
        PreparedReport p;
        r.prepare(p);
        const long after = procStatusKb("VmRSS:");
        state.counters["pages"] = p.pageCount();
        state.counters["rss_growth_MB"] = double(after - before) / 1024.0;
        state.counters["peak_rss_MB"] = double(procStatusKb("VmHWM:")) / 1024.0;
        benchmark::DoNotOptimize(p.pages.data());
    }
}

} // namespace

// The memory figure runs first so that the process peak is not raised by the other runs.
BENCHMARK(BM_PreparedReport100PagesMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineCrossTablePdf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(false);
BENCHMARK(BM_DirectQPainterPdf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(false);

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
