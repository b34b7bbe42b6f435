// The preview window and printing of prepared pages, driven without a screen.

#include "PreviewWindow.h"
#include "PrintPages.h"
#include "PreparedReportIo.h"
#include "QtPrinters.h"
#include "UiStrings.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvex::engine;

namespace {

TextItem text(const QRectF& r, const QString& s)
{
    TextItem t;
    t.rect = r;
    t.lines = {s};
    t.font.family = QStringLiteral("Liberation Sans");
    t.font.pixelSize = 14;
    t.lineHeight = 17;
    return t;
}

/// Pages numbered in their texts; "Метан" on pages 2 and 4.
PreparedReport pages(int count, bool outline = false)
{
    PreparedReport r;
    for (int i = 0; i < count; ++i) {
        PreparedPage p;
        p.size = QSizeF(794, 1123);
        p.elements.push_back({text(QRectF(40, 40, 300, 20), QStringLiteral("Страница %1").arg(i + 1)), true});
        if (i == 1 || i == 3)
            p.elements.push_back({text(QRectF(40, 600, 300, 20), QStringLiteral("1  Метан  0.720")), true});
        r.pages.push_back(std::move(p));
    }
    if (outline)
        r.outline = {{QStringLiteral("Пики"), 1, 600, {}}};
    return r;
}

struct Window {
    explicit Window(PreparedReport r, unsigned buttons = PreviewAllButtons, const QString& title = QStringLiteral("CommonReport"))
    {
        PreviewSettings s;
        s.title = title;
        s.buttons = buttons;
        s.error = [this](const QString& e) { errors << e; };
        w = std::make_unique<PreviewWindow>(std::move(r), std::move(s));
        w->resize(900, 700);
        w->show();
    }
    std::unique_ptr<PreviewWindow> w;
    QStringList errors;
};

TEST(Preview, OffersTheButtonsTheReportAllows)
{
    const PreviewButton all[] = {PreviewPrint, PreviewLoad, PreviewSave, PreviewExport, PreviewExportQuick,
                                 PreviewZoom, PreviewFind, PreviewOutline, PreviewPageSetup, PreviewNavigator};
    const struct {
        const char* name;
        unsigned buttons;
    } cases[] = {
        {"everything", PreviewAllButtons},
        {"no printer", PreviewAllButtons & ~unsigned(PreviewPrint)},
        {"chromatogram report", PreviewPrint | PreviewLoad | PreviewSave | PreviewExport | PreviewZoom | PreviewFind |
                                    PreviewTools | PreviewEdit | PreviewNavigator},
        {"zoom and pages only", PreviewZoom | PreviewNavigator},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window limited(pages(3), c.buttons);
        for (PreviewButton b : all) {
            QAction* a = limited.w->action(b);
            EXPECT_EQ(a != nullptr, (c.buttons & b) != 0) << "button " << b;
            if (a) {
                EXPECT_TRUE(a->isVisible());
            }
        }
    }
}

TEST(Preview, FindsTextPageByPageAndGoesRound)
{
    Window win(pages(5));
    EXPECT_TRUE(win.w->findNext(QStringLiteral("метан")));
    EXPECT_EQ(win.w->lastFound().first, 1);
    EXPECT_EQ(win.w->lastFound().second, QRectF(40, 600, 300, 20));
    EXPECT_TRUE(win.w->findNext(QStringLiteral("метан")));
    EXPECT_EQ(win.w->lastFound().first, 3);
    EXPECT_TRUE(win.w->findNext(QStringLiteral("метан")));
    EXPECT_EQ(win.w->lastFound().first, 1) << "after the last page the search starts again at the first";
    EXPECT_TRUE(win.w->findNext(QStringLiteral("Страница 5")));
    EXPECT_EQ(win.w->lastFound().first, 4);
    EXPECT_EQ(win.w->currentPage(), 4) << "the found text is scrolled into view";
    EXPECT_FALSE(win.w->findNext(QStringLiteral("Пропан")));
    EXPECT_EQ(win.w->lastFound().first, -1);
}

TEST(Preview, ZoomsAndTurnsPages)
{
    Window win(pages(6));
    win.w->zoomToPercent(200);
    EXPECT_DOUBLE_EQ(win.w->zoomScale(), 2.0);
    win.w->zoomToFitWidth();
    const double fit = win.w->zoomScale();
    EXPECT_GT(fit, 0.5);
    EXPECT_LT(fit * 794, 900) << "the page fits the window's width";
    win.w->zoomToWholePage();
    EXPECT_LT(win.w->zoomScale(), fit);
    EXPECT_LT(win.w->zoomScale() * 1123, 700) << "a whole page fits the window's height";
    win.w->goToPage(3);
    EXPECT_EQ(win.w->currentPage(), 3);
    win.w->action(PreviewNavigator)->trigger(); // next page
    EXPECT_EQ(win.w->currentPage(), 4);
    win.w->goToPage(99);
    EXPECT_EQ(win.w->currentPage(), 5);
}

TEST(Preview, OutlineIsOfferedOnlyWhereTheReportHasOne)
{
    Window with(pages(3, true));
    ASSERT_TRUE(with.w->action(PreviewOutline));
    EXPECT_TRUE(with.w->action(PreviewOutline)->isEnabled());
    EXPECT_TRUE(with.w->action(PreviewOutline)->isChecked());
    Window without(pages(3));
    EXPECT_FALSE(without.w->action(PreviewOutline)->isEnabled());
}

TEST(Preview, LoadsPreparedReportsAndKeepsItsPagesWhenAFileIsDamaged)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.fp3"));
    ASSERT_TRUE(savePreparedReport(pages(7), good));
    const QString bad = dir.filePath(QStringLiteral("bad.fp3"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(preparedReportToData(pages(2)).left(300));
    f.close();

    Window win(pages(3));
    EXPECT_FALSE(win.w->loadFile(bad));
    ASSERT_EQ(win.errors.size(), 1);
    EXPECT_TRUE(win.errors.front().startsWith(QStringLiteral("Line "))) << win.errors.front().toStdString();
    EXPECT_EQ(win.w->report().pageCount(), 3);
    EXPECT_TRUE(win.w->loadFile(good));
    EXPECT_EQ(win.w->report().pageCount(), 7);
    EXPECT_TRUE(win.w->findNext(QStringLiteral("Страница 7")));
}

TEST(Preview, ExportsFromTheWindowAndSaysWhatFailed)
{
    QTemporaryDir dir;
    Window win(pages(4));
    const struct {
        PreviewFormat format;
        const char* file;
    } cases[] = {{PreviewFormat::Pdf, "r.pdf"}, {PreviewFormat::Rtf, "r.rtf"}, {PreviewFormat::SpreadsheetXml, "r.xml"},
                 {PreviewFormat::Xlsx, "r.xlsx"}, {PreviewFormat::Html, "r.html"}, {PreviewFormat::Png, "r.png"},
                 {PreviewFormat::PreparedReport, "r.fp3"}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(QLatin1String(c.file));
        EXPECT_TRUE(win.w->exportTo(c.format, path)) << c.file;
        const QString written = c.format == PreviewFormat::Png ? dir.filePath(QStringLiteral("r-4.png")) : path;
        EXPECT_GT(QFileInfo(written).size(), 0) << c.file;
    }
    PreparedReport back;
    ASSERT_TRUE(loadPreparedReport(dir.filePath(QStringLiteral("r.fp3")), back));
    EXPECT_EQ(back.pageCount(), 4);
    EXPECT_TRUE(win.errors.isEmpty());
    EXPECT_FALSE(win.w->exportTo(PreviewFormat::Rtf, dir.filePath(QStringLiteral("no/such/dir/r.rtf"))));
    ASSERT_EQ(win.errors.size(), 1);
    EXPECT_TRUE(win.errors.front().contains(QStringLiteral("no/such/dir"))) << win.errors.front().toStdString();
}

TEST(Preview, SpeaksTheLanguageOfTheTableItIsGiven)
{
    QFile ru(QStringLiteral(TARVEX_SOURCE_DIR "/src/templates/engine-strings-ru.txt"));
    ASSERT_TRUE(ru.open(QIODevice::ReadOnly));
    QHash<QString, QString> table;
    for (const QString& line : QString::fromUtf8(ru.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !line.startsWith(QLatin1Char('=')))
            table.insert(line.left(eq), line.mid(eq + 1));
    }
    setUiStrings(table);
    {
        Window win(pages(2));
        EXPECT_EQ(win.w->windowTitle(), QStringLiteral("Предварительный просмотр - CommonReport"));
        EXPECT_EQ(win.w->action(PreviewPrint)->text(), QStringLiteral("Печать"));
        EXPECT_EQ(win.w->action(PreviewExport)->text(), QStringLiteral("Экспорт"));
    }
    setUiStrings({});
    Window english(pages(2));
    EXPECT_EQ(english.w->action(PreviewPrint)->text(), QStringLiteral("Print"));
}

QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(PrintPages, PrintsThePrintersPageRangeAndShrinksPagesLargerThanThePaper)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    PreparedReport r = pages(5);
    r.pages[2].size = QSizeF(1600, 2200); // larger than A4 both ways
    r.pages[2].elements.push_back({text(QRectF(1400, 2100, 150, 20), QStringLiteral("угол")), true});
    const struct {
        int from, to;
        QStringList expected;
    } cases[] = {
        {0, 0, {QStringLiteral("Страница 1"), QStringLiteral("Страница 5")}},
        {2, 3, {QStringLiteral("Страница 2"), QStringLiteral("Страница 3"), QStringLiteral("угол")}},
    };
    for (const auto& c : cases) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString path = dir.filePath(QStringLiteral("print-%1-%2.pdf").arg(c.from).arg(c.to));
        printer.setOutputFileName(path);
        matchPaperToReport(r, printer);
        printer.setFromTo(c.from, c.to);
        int calls = 0;
        QString error;
        ASSERT_TRUE(printPages(r, printer, {}, [&](int, int) { return ++calls > 0; }, &error)) << error.toStdString();
        const QString txt = pdfText(path);
        for (const QString& e : c.expected)
            EXPECT_TRUE(txt.contains(e)) << e.toStdString() << " in pages " << c.from << "-" << c.to;
        const int printed = c.from ? c.to - c.from + 1 : 5;
        EXPECT_EQ(calls, printed);
        EXPECT_EQ(txt.count(QLatin1Char('\f')), printed) << "one form feed per page";
        if (c.from == 2) {
            EXPECT_FALSE(txt.contains(QStringLiteral("Страница 1")));
        }
    }
}

} // namespace
