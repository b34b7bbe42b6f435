// The sample chromatogram report end to end through the engine's document exports, the
// prepared-report file, a real print queue and the no-printer path.

#include "E2eRun.h"
#include "OfficeConvert.h"
#include "PreparedReportIo.h"
#include "QtPrinters.h"

#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kSample = QStringLiteral(TARVEX_SOURCE_DIR "/examples/natural-gas.json");
// A peak row of the sample as the report prints it: number, time, detector, name, height.
const QStringList kPeakRow = {QStringLiteral("0.720"), QStringLiteral("ПИД"), QStringLiteral("Метан"),
                              QStringLiteral("850.000")};

QString run(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = pages.match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

/// Publishes the sample with `sets` and runs tarvexprint `mask`; the program must say nothing wrong.
void printSample(E2eRun& e2e, const QString& mask, const QStringList& sets)
{
    QStringList args {QStringLiteral("publish"), kSample};
    for (const QString& s : sets)
        args << QStringLiteral("--set") << s;
    ASSERT_EQ(e2e.host(args), 0);
    ASSERT_EQ(e2e.print(mask), 0);
}

QStringList exportTo(int format, const QString& file)
{
    return {QStringLiteral("printSettings.bExport_Format=%1").arg(format),
            QStringLiteral("printSettings.szExport_File=") + file};
}

/// True when one line (row) of `text` holds all of `cells` in order.
bool hasRow(const QString& text, const QStringList& cells)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        qsizetype at = 0;
        bool all = true;
        for (const QString& c : cells) {
            at = line.indexOf(c, at);
            if (at < 0) {
                all = false;
                break;
            }
            at += c.size();
        }
        if (all)
            return true;
    }
    return false;
}

TEST(ReportOutput, EveryEngineFormatOfTheSampleOpensInAReader)
{
    const QString office = office::find();
    E2eRun e2e;
    const QString pdf = e2e.dir.filePath(QStringLiteral("sample.pdf"));
    printSample(e2e, QStringLiteral("8193"), exportTo(6, pdf));
    const int pages = pdfPages(pdf);
    ASSERT_GT(pages, 1);

    // Prepared report: the same pages, with the peak rows.
    const QString fp3 = e2e.dir.filePath(QStringLiteral("sample.fp3"));
    printSample(e2e, QStringLiteral("8193"), exportTo(8, fp3));
    EXPECT_EQ(e2e.errors(), QStringList {});
    tarvex::engine::PreparedReport prepared;
    QString error;
    ASSERT_TRUE(tarvex::engine::loadPreparedReport(fp3, prepared, &error)) << error.toStdString();
    // Each page carries its footer "page/pages": all pages are there, in order.
    for (int i = 0; i < prepared.pageCount(); ++i)
        EXPECT_TRUE(prepared.pageTexts(i).contains(QStringLiteral("%1/%2").arg(i + 1).arg(prepared.pageCount()))) << i;
    EXPECT_TRUE(prepared.allTexts().contains(QStringLiteral("Метан")));
    EXPECT_TRUE(prepared.allTexts().contains(QStringLiteral("850.000")));

    // HTML: well-formed, the peak row's texts in order on one row of text boxes.
    const QString html = e2e.dir.filePath(QStringLiteral("sample.html"));
    printSample(e2e, QStringLiteral("8193"), exportTo(3, html));
    EXPECT_EQ(e2e.errors(), QStringList {});
    QFile file(html);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList texts;
    int pageBoxes = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("div"))
            continue;
        const auto cls = xml.attributes().value(QStringLiteral("class"));
        if (cls == QLatin1String("page"))
            ++pageBoxes;
        else if (cls == QLatin1String("t"))
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " line " << xml.lineNumber();
    EXPECT_GT(pageBoxes, 1);
    const qsizetype methane = texts.indexOf(QStringLiteral("Метан"));
    ASSERT_GE(methane, 2);
    EXPECT_EQ(texts.mid(methane - 2, 4),
              (QStringList {QStringLiteral("0.720"), QStringLiteral("ПИД"), QStringLiteral("Метан"), QStringLiteral("850.000")}));
    EXPECT_FALSE(QDir(e2e.dir.filePath(QStringLiteral("sample.files"))).isEmpty()) << "the chromatogram picture beside it";

    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed (libreoffice-calc-nogui, libreoffice-writer-nogui): "
                        "RTF, XML and XLS were not read back";
    const struct {
        int format;
        const char* file;
        QString filter;
    } documents[] = {
        {0, "sample.rtf", QStringLiteral("txt:Text")},
        {1, "sample.xml", office::kCsv},
        {2, "sample.xlsx", office::kCsv},
    };
    for (const auto& d : documents) {
        SCOPED_TRACE(d.file);
        const QString path = e2e.dir.filePath(QLatin1String(d.file));
        printSample(e2e, QStringLiteral("8193"), exportTo(d.format, path));
        EXPECT_EQ(e2e.errors(), QStringList {});
        const QString outDir = e2e.dir.filePath(QStringLiteral("read-%1").arg(d.format));
        QDir().mkpath(outDir);
        const QString converted = office::convert(office, path, d.filter, outDir);
        ASSERT_FALSE(converted.isEmpty()) << "LibreOffice could not read the file";
        if (d.format == 0) {
            const QString txt = office::readText(converted);
            EXPECT_TRUE(txt.contains(QStringLiteral("Хроматограмма")));
            // A word processor reads table cells one per paragraph: the row's cells follow each other.
            EXPECT_TRUE(txt.contains(kPeakRow.join(QLatin1Char('\n')))) << "peak row of the table";
        } else {
            bool found = false;
            for (const QStringList& row : office::csvRows(converted))
                found = found || office::filled(row).mid(1, 4) == kPeakRow;
            EXPECT_TRUE(found) << "a spreadsheet row: 1, 0.720, ПИД, Метан, 850.000";
        }
    }
}

TEST(ReportOutput, LongExportTellsItsProgressOnStandardError)
{
    E2eRun e2e;
    const QString job = e2e.dir.filePath(QStringLiteral("big.json"));
    ASSERT_EQ(e2e.host({QStringLiteral("synth"), QStringLiteral("--peaks"), QStringLiteral("900"), job}), 0);
    const QString out = e2e.dir.filePath(QStringLiteral("big.xlsx"));
    ASSERT_EQ(e2e.host({QStringLiteral("publish"), job, QStringLiteral("--set"), QStringLiteral("printSettings.bExport_Format=2"),
                        QStringLiteral("--set"), QStringLiteral("printSettings.szExport_File=") + out}),
              0);
    ASSERT_EQ(e2e.print(QStringLiteral("8193")), 0);
    EXPECT_EQ(e2e.errors(), QStringList {});
    QStringList progress;
    for (const QString& line : e2e.stderrLines)
        if (line.startsWith(QStringLiteral("tarvexprint: log: Запись файла: ")))
            progress << line.section(QStringLiteral(": "), -1);
    ASSERT_GE(progress.size(), 5) << e2e.stderrLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(progress.back(), QStringLiteral("100%"));
    EXPECT_GT(QFileInfo(out).size(), 0);
}

TEST(ReportOutput, NoPrinterKeepsTheReportAsPdfAndThePreviewStillOpens)
{
    E2eRun e2e;
    e2e.env.insert(QStringLiteral("HOME"), e2e.dir.path());
    printSample(e2e, QStringLiteral("1"), {QStringLiteral("printSettings.iPrinter_Index=-2")});
    const QStringList errors = e2e.errors();
    ASSERT_EQ(errors.size(), 2) << e2e.stderrLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(errors[0], QStringLiteral("Не установлен ни один принтер. Отчет не напечатан."));
    const QString prefix = QStringLiteral("Отчет сохранен в файле PDF: ");
    ASSERT_TRUE(errors[1].startsWith(prefix)) << errors[1].toStdString();
    const QString kept = errors[1].mid(prefix.size());
    EXPECT_TRUE(kept.startsWith(e2e.dir.filePath(QStringLiteral("Documents/CommonReport-")))) << kept.toStdString();
    EXPECT_TRUE(hasRow(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), kept, QStringLiteral("-")}), kPeakRow));

    E2eRun preview;
    printSample(preview, QStringLiteral("65537"), {QStringLiteral("printSettings.iPrinter_Index=-2")});
    EXPECT_EQ(preview.errors(), QStringList {});
    EXPECT_TRUE(QFile::exists(preview.dir.filePath(QStringLiteral("preview/page-1.png"))));
}

/// The cups-pdf queue to print on (the test set-up's own first) and the folder it writes to.
struct PdfQueue {
    QString name;
    QString folder;
};

PdfQueue findPdfQueue()
{
    PdfQueue q;
    if (QStandardPaths::findExecutable(QStringLiteral("lpstat")).isEmpty())
        return q;
    static const QRegularExpression device(QStringLiteral("^device for ([^:]+): cups-pdf:/"));
    for (const QString& line : run(QStringLiteral("lpstat"), {QStringLiteral("-v")}).split(QLatin1Char('\n'))) {
        const auto m = device.match(line);
        if (m.hasMatch() && (q.name.isEmpty() || m.captured(1) == QLatin1String("TarvexPDF")))
            q.name = m.captured(1);
    }
    if (q.name.isEmpty())
        return q;
    // cups-pdf reads the queue's own settings first, then the common ones; its default is ~/PDF.
    const passwd* pw = ::getpwuid(::getuid());
    const QString user = pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
    const QString home = pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath();
    q.folder = QStringLiteral("${HOME}/PDF");
    for (const QString& conf : {QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(q.name), QStringLiteral("/etc/cups/cups-pdf.conf")}) {
        QFile f(conf);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        static const QRegularExpression out(QStringLiteral("^Out\\s+(.+)$"), QRegularExpression::MultilineOption);
        const auto m = out.match(QString::fromUtf8(f.readAll()));
        if (m.hasMatch()) {
            q.folder = m.captured(1).trimmed();
            break;
        }
    }
    q.folder.replace(QStringLiteral("${HOME}"), home).replace(QStringLiteral("${USER}"), user);
    return q;
}

TEST(ReportOutput, SampleReportPrintsOnTheCupsPdfQueue)
{
    const PdfQueue queue = findPdfQueue();
    if (queue.name.isEmpty())
        GTEST_SKIP() << "no cups-pdf print queue: install cups and printer-driver-cups-pdf and run "
                        "scripts/print-queue.sh as root";
    // The program numbers printers as Qt lists them.
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QCoreApplication::instance())
        new QGuiApplication(argc, argv);
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    const qsizetype index = printers.indexOf(queue.name);
    ASSERT_GE(index, 0) << "Qt does not list the queue " << queue.name.toStdString();

    E2eRun e2e;
    const QString pdf = e2e.dir.filePath(QStringLiteral("sample.pdf"));
    printSample(e2e, QStringLiteral("8193"), exportTo(6, pdf));
    const int pages = pdfPages(pdf);

    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    printSample(e2e, QStringLiteral("1"), {QStringLiteral("printSettings.iPrinter_Index=%1").arg(index)});
    EXPECT_EQ(e2e.errors(), QStringList {});
    EXPECT_TRUE(e2e.stderrLines.contains(QStringLiteral("tarvexprint: log: Отчет отправлен на принтер ") + queue.name))
        << e2e.stderrLines.join(QLatin1Char('\n')).toStdString();

    // The job is done when the queue is empty again; then its PDF is complete.
    QString printed;
    for (int waited = 0; waited < 120 && printed.isEmpty(); ++waited) {
        QThread::sleep(1);
        if (!run(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue.name}).trimmed().isEmpty())
            continue;
        const QFileInfoList made = QDir(queue.folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        if (!made.isEmpty() && made.front().lastModified() >= started && made.front().size() > 0)
            printed = made.front().filePath();
    }
    ASSERT_FALSE(printed.isEmpty()) << "no PDF appeared in " << queue.folder.toStdString();
    EXPECT_EQ(pdfPages(printed), pages);
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), printed, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Хроматограмма")));
    EXPECT_TRUE(hasRow(text, kPeakRow)) << text.left(3000).toStdString();
    QFile::remove(printed);
}

} // namespace
