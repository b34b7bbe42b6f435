// The chromatogram report end to end: the sample job published as the host does it, exported
// by tarvexprint, and read back from the PDF.

#include "E2eRun.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(TARVEX_SOURCE_DIR "/examples/natural-gas.json");

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(60000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

QJsonObject sampleJob() {
    QFile f(kSample);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(f.readAll()).object();
}

// Publishes the sample with extra settings, exports it to `pdf` and returns the PDF's text.
QString exportSample(E2eRun& run, const QString& pdf, const QStringList& sets = {}) {
    QStringList args {QStringLiteral("publish"), kSample, QStringLiteral("--set"),
                      QStringLiteral("printSettings.bExport_Format=6"), QStringLiteral("--set"),
                      QStringLiteral("printSettings.szExport_File=") + pdf};
    for (const QString& s : sets)
        args << QStringLiteral("--set") << s;
    EXPECT_EQ(run.host(args), 0);
    EXPECT_EQ(run.print(QStringLiteral("8193")), 0);
    EXPECT_EQ(run.errors(), QStringList {}) << run.stderrLines.join(QLatin1Char('\n')).toStdString();
    return pdfText(pdf);
}

TEST(ChromReport, SampleExportHoldsEveryValueOfTheJob) {
    E2eRun run;
    const QString pdf = run.dir.filePath(QStringLiteral("sample.pdf"));
    const QString text = exportSample(run, pdf);
    const QJsonObject job = sampleJob();

    // Passport.
    for (const char* value : {"Природный газ, скв. 112, проба 3", "Иванова Е.П.", "HayeSep R", "HP-PLOT Al2O3"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(value))) << value;
    // Every printed peak with its time in the sample's format (three decimals), and both sums.
    const QJsonArray peaks = job.value(QStringLiteral("peaks")).toArray();
    ASSERT_EQ(peaks.size(), 30);
    for (const QJsonValue& peak : peaks) {
        const QString time = QString::number(peak.toObject().value(QStringLiteral("fPeak_Time")).toDouble(), 'f', 3);
        EXPECT_TRUE(text.contains(time)) << time.toStdString();
    }
    EXPECT_TRUE(text.contains(QStringLiteral("1044.270")));
    EXPECT_TRUE(text.contains(QStringLiteral("2799.500")));
    // Identification, groups, journal.
    for (const QJsonValue& comp : job.value(QStringLiteral("components")).toArray())
        EXPECT_TRUE(text.contains(comp.toObject().value(QStringLiteral("szComp_Name")).toString()));
    for (const QJsonValue& group : job.value(QStringLiteral("groups")).toArray())
        EXPECT_TRUE(text.contains(group.toObject().value(QStringLiteral("szGroup_Name")).toString()));
    for (const QJsonValue& event : job.value(QStringLiteral("journal")).toArray())
        EXPECT_TRUE(text.contains(event.toObject().value(QStringLiteral("szJourn_Event")).toString()));
    // The page total printed on every page is the real page count.
    const int pages = pdfPages(pdf);
    ASSERT_GT(pages, 1);
    for (int p = 1; p <= pages; ++p)
        EXPECT_TRUE(text.contains(QStringLiteral("%1/%2").arg(p).arg(pages))) << p;
}

TEST(ChromReport, SwitchedOffSectionsAreLeftOut) {
    E2eRun run;
    const QString pdf = run.dir.filePath(QStringLiteral("off.pdf"));
    const QString text = exportSample(run, pdf,
                                      {QStringLiteral("method.bPrn_Peaks=0"), QStringLiteral("method.bPrn_Groups=0"),
                                       QStringLiteral("printSettings.bPrint_Journal=0")});
    EXPECT_FALSE(text.contains(QStringLiteral("Углеводороды C1-C2")));
    EXPECT_FALSE(text.contains(QStringLiteral("Переключение крана дозатора")));
    EXPECT_FALSE(text.contains(QStringLiteral("Площадь,%")));
    EXPECT_TRUE(text.contains(QStringLiteral("Диоксид углерода"))); // identification stays
}

TEST(ChromReport, EnglishHostPrintsEnglishTexts) {
    E2eRun run;
    QDir().mkpath(run.dir.filePath(QStringLiteral("config/Orlend")));
    QFile f(run.dir.filePath(QStringLiteral("config/Orlend/TarvexWin.conf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[General]\nLang=2\n");
    f.close();
    const QString text = exportSample(run, run.dir.filePath(QStringLiteral("en.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("Time,min")));
    EXPECT_TRUE(text.contains(QStringLiteral("control parameters")));
    EXPECT_FALSE(text.contains(QStringLiteral("Параметры управления")));
}

TEST(ChromReport, ExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
    for (const bool yes : {false, true}) {
        E2eRun run;
        const QString pdf = run.dir.filePath(QStringLiteral("r.pdf"));
        const QString companion = run.dir.filePath(QStringLiteral("r.chrom"));
        for (const QString& path : {pdf, companion}) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        if (yes)
            run.env.insert(QStringLiteral("TARVEX_CONFIRM"), QStringLiteral("yes"));
        run.host({QStringLiteral("publish"), kSample, QStringLiteral("--set"), QStringLiteral("printSettings.bExport_Format=6"),
                  QStringLiteral("--set"), QStringLiteral("printSettings.szExport_File=") + pdf});
        run.print(QStringLiteral("8193"));
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll().startsWith("%PDF"), yes);
        EXPECT_EQ(QFile::exists(companion), !yes);
    }
}

TEST(ChromReport, CapacitySizeJobExports) {
    E2eRun run;
    const QString job = run.dir.filePath(QStringLiteral("big.json"));
    ASSERT_EQ(run.host({QStringLiteral("synth"), QStringLiteral("--channels"), QStringLiteral("10"),
                        QStringLiteral("--peaks"), QStringLiteral("1000"), QStringLiteral("--ident"),
                        QStringLiteral("1000"), QStringLiteral("--points"), QStringLiteral("20000"), job}),
              0);
    const QString pdf = run.dir.filePath(QStringLiteral("big.pdf"));
    ASSERT_EQ(run.host({QStringLiteral("publish"), job, QStringLiteral("--set"), QStringLiteral("printSettings.bExport_Format=6"),
                        QStringLiteral("--set"), QStringLiteral("printSettings.szExport_File=") + pdf}),
              0);
    EXPECT_EQ(run.print(QStringLiteral("8193")), 0);
    EXPECT_EQ(run.errors(), QStringList {});
    EXPECT_GT(pdfPages(pdf), 20);
}

} // namespace

namespace {

TEST(ChromReport, ResultFileFormatsOfTheProgramItself) {
    struct Case {
        int format;
        QByteArray marker;
    };
    const Case cases[] = {
        {7, "<Workbook"},
        {9, QByteArray::fromHex("cce5f2e0ed")},  // "Метан" in Windows-1251
        {10, QByteArray::fromHex("8ca5e2a0ad")}, // in the DOS code page
        {11, "DATA:"},
        {12, QByteArray::fromHex("8f908e81")},   // "ПРОБ" of the listing's sample line, DOS code page
    };
    for (const Case& c : cases) {
        E2eRun run;
        const QString file = run.dir.filePath(QStringLiteral("result.out"));
        run.host({QStringLiteral("publish"), kSample, QStringLiteral("--set"),
                  QStringLiteral("printSettings.bExport_Format=%1").arg(c.format), QStringLiteral("--set"),
                  QStringLiteral("printSettings.szExport_File=") + file});
        EXPECT_EQ(run.print(QStringLiteral("8193")), 0);
        EXPECT_EQ(run.errors(), QStringList {}) << "format " << c.format;
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "format " << c.format;
        EXPECT_TRUE(f.readAll().contains(c.marker)) << "format " << c.format;
    }
}

} // namespace
