// The chromatogram driver's own rules: column widths, section switches, coefficients, header
// files and the result file's overwrite question.

#include "Bilingual.h"
#include "ChromDriver.h"
#include "JobEncoder.h"
#include "Prompt.h"
#include "QtPrinters.h"
#include "Programmes.h"
#include "ResultFile.h"
#include "TChromModule.h"
#include "TDataModule1.h"
#include "TMemoryWorker.h"
#include "TVisibilityModule.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QJsonObject baseJob() {
    return {
        {QStringLiteral("chromatogram"), QJsonObject {{QStringLiteral("szNameChrom"), QStringLiteral("Проба")},
                                                      {QStringLiteral("fChr_Rate"), 10}}},
        {QStringLiteral("method"), QJsonObject {{QStringLiteral("bMeth_DetOn"), QJsonArray {1}},
                                                {QStringLiteral("bDet_PrintFlag"), QJsonArray {1}}}},
        {QStringLiteral("printSettings"), QJsonObject {{QStringLiteral("iPrint_Version"), 8}}},
        {QStringLiteral("signal"), QJsonArray {QJsonArray {1, 2, 3}}},
        {QStringLiteral("picture"), false},
    };
}

QJsonObject with(QJsonObject job, const char* area, const char* field, const QJsonValue& value) {
    QJsonObject a = job.value(QLatin1String(area)).toObject();
    a.insert(QLatin1String(field), value);
    job.insert(QLatin1String(area), a);
    return job;
}

// A data module and a record filled from a job, as the dispatch leaves them.
struct Job {
    explicit Job(const QJsonObject& job) {
        host::EncodedJob blocks;
        QString error;
        EXPECT_TRUE(host::encodeJob(job, &blocks, &error)) << error.toStdString();
        TMemoryBuffer buffer;
        buffer.resize(static_cast<std::size_t>(blocks.chromatogram.size()));
        std::memcpy(buffer.data(), blocks.chromatogram.constData(), buffer.size());
        chrom.DecodeChromatogram(buffer, true, true);
        data.printSettings.assign(reinterpret_cast<const std::uint8_t*>(blocks.printSettings.constData()),
                                  static_cast<std::size_t>(blocks.printSettings.size()));
        data.CopyMethodSettings();
        data.BindVisibilityModules(noise, method, rtl, report);
    }
    int section(const char* name) { return data.section(QString::fromLatin1(name))->rangeEndCount(); }

    TNoiseReportVisiblesModule noise;
    TMethodReportVisibles method;
    TRTLVisibles rtl;
    TReportVisibles report;
    TDataModule1 data;
    TChromModule chrom;
};

QJsonArray repeat(double v, int n) {
    QJsonArray a;
    for (int i = 0; i < n; ++i)
        a.append(v);
    return a;
}

TEST(ChromDriver, ColumnWidths) {
    QJsonObject job = baseJob();
    job = with(job, "printSettings", "bPeakCol_On", repeat(1, 12));
    job = with(job, "printSettings", "fPeakCol_Width", repeat(8, 12));
    {
        Job j(job);
        ComputeColumnWidths(j.data, TWidthTable::Peak);
        const auto& w = j.data.columnWidths;
        EXPECT_EQ(w[1], 33);
        long long sum = 0;
        for (int i = 1; i <= 12; ++i)
            sum += w[static_cast<std::size_t>(i)];
        // Columns 2 to 12 share the page width (rounded up); the first column comes on top.
        EXPECT_EQ(w[2], 58); // ceil(ceil(8 * 6.5) * 630 / (11 * 52))
        EXPECT_EQ(sum, 33 + 11 * 58);
    }
    {
        QJsonArray on = repeat(0, 12);
        on[0] = 1;
        Job j(with(job, "printSettings", "bPeakCol_On", on));
        ComputeColumnWidths(j.data, TWidthTable::Peak);
        EXPECT_EQ(j.data.columnWidths[1], 33);
        for (int i = 2; i <= 12; ++i)
            EXPECT_EQ(j.data.columnWidths[static_cast<std::size_t>(i)], 0) << i;
    }
    {
        Job j(with(job, "printSettings", "bExport_Format", 7));
        j.data.exportFlag = true;
        ComputeColumnWidths(j.data, TWidthTable::Peak);
        EXPECT_EQ(j.data.columnWidths[2], 52); // unscaled for the workbook
    }
    {
        QJsonObject stats = with(job, "printSettings", "bCompStatCol_On", repeat(1, 14));
        stats = with(stats, "printSettings", "fCompStatCol_Width", repeat(10, 14));
        Job j(stats);
        ComputeColumnWidths(j.data, TWidthTable::CompStat);
        // 33 + 9 x 65 = 618 fits; the tenth column would pass 630 and is left out, as are the rest.
        EXPECT_EQ(j.data.columnWidths[36 + 10], 65);
        EXPECT_EQ(j.data.columnWidths[36 + 11], 0);
        EXPECT_EQ(j.data.columnWidths[36 + 14], 0);
    }
}

TEST(ChromDriver, SectionsFollowModeSwitchesAndData) {
    QJsonObject job = baseJob();
    for (const char* f : {"bPrn_ChromTitle", "bPrn_Operator", "bPrn_Peaks", "bPrn_Picture", "bPrn_Temps"})
        job = with(job, "method", f, 1);
    job = with(job, "method", "bType_MultiDet", 2);
    job = with(job, "printSettings", "bPrintTemps", 0);
    Job chromMode(job);
    chromMode.data.chromMode = true;
    SetReportSections(chromMode.data, chromMode.chrom);
    struct Case {
        const char* section;
        int chrom;
        int method;
    };
    Job methodMode(job);
    methodMode.data.methodMode = true;
    SetReportSections(methodMode.data, methodMode.chrom);
    const Case cases[] = {
        {"ChromPrint", 1, 0},      {"ChromTitlePrint", 1, 0}, {"ChromPrintMan", 1, 1},  {"PeakPrint", 1, 0},
        {"ChromPicturePrint", 1, 0}, {"IdentPrint", 0, 0},    {"TempPrint", 1, 0},      {"MethodPrint", 0, 1},
        {"Qsl", 0, 0},             {"TempRx4", 1, 1},         {"Gas3Print", 1, 1},
        {"ReaperPrint", 1, 1},     {"AddCalcTextPrint", 0, 0}, {"ChromPeakAddOnPrint", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chromMode.section(c.section), c.chrom) << c.section << " in chromatogram mode";
        EXPECT_EQ(methodMode.section(c.section), c.method) << c.section << " in method mode";
    }

    // Device type 8 has its own temperature sections.
    Job dx8(with(job, "method", "bType_Device", 8));
    dx8.data.chromMode = true;
    SetReportSections(dx8.data, dx8.chrom);
    EXPECT_EQ(dx8.section("Qsl"), 1);
    EXPECT_EQ(dx8.section("Dx8PKVisible"), 1);
    EXPECT_EQ(dx8.section("TempRx4"), 0);

    // Peaks switched on but no detector to print them: no peak table.
    Job noDetector(with(job, "method", "bDet_PrintFlag", QJsonArray {0}));
    noDetector.data.chromMode = true;
    SetReportSections(noDetector.data, noDetector.chrom);
    EXPECT_EQ(noDetector.section("PeakPrint"), 0);
}

TEST(ChromDriver, CoefficientsKeepTheirOrderWithoutGaps) {
    QJsonObject job = with(baseJob(), "chromatogram", "bAddCalc_CoefOn", QJsonArray {0, 1, 0, 1});
    job = with(job, "chromatogram", "dAddCalc_Coef", QJsonArray {10, 11, 12, 13});
    job = with(job, "chromatogram", "bChr_HasAddCalc", 1);
    Job j(job);
    CollectAddCalcCoefs(j.data, j.chrom);
    ASSERT_EQ(j.data.addCalcCoefs.size(), 2U);
    EXPECT_EQ(j.data.addCalcCoefs[0].second, 11);
    EXPECT_EQ(j.data.addCalcCoefs[1].second, 13);
    EXPECT_EQ(j.data.columnWidths[0], 2);
    EXPECT_EQ(j.data.rowSource(QStringLiteral("AddCalcCoefsDataset"))->rangeEndCount(), 2);
}

TEST(ChromDriver, HeaderFileIsReadTrimmedAndAMissingOneIsSilent) {
    QTemporaryDir dir;
    const QString header = dir.filePath(QStringLiteral("head.txt"));
    QFile f(header);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("  Лаборатория №1\r\nГОСТ 31371  \r\n\r\n");
    f.close();
    QJsonObject job = with(baseJob(), "printSettings", "bPrint_HeaderFile", 1);
    Job j(with(job, "printSettings", "szHeaderFile", header));
    EXPECT_EQ(LoadTextFile(j.data, 0), QStringLiteral("Лаборатория №1\r\nГОСТ 31371"));
    Job missing(with(job, "printSettings", "szHeaderFile", dir.filePath(QStringLiteral("none.txt"))));
    EXPECT_EQ(LoadTextFile(missing.data, 0), QString());
}

TEST(ResultFile, OverwriteQuestionAndCompanionFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("result.txt"));
    const QString companion = dir.filePath(QStringLiteral("result.chrom"));
    auto writeFile = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    auto read = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    QJsonObject job = with(baseJob(), "printSettings", "bExport_Format", 12);
    job = with(job, "printSettings", "szExport_File", target);

    struct Case {
        bool answer;
        bool replaced;
    };
    for (const Case c : {Case {false, false}, Case {true, true}}) {
        writeFile(target, "old result");
        writeFile(companion, "old signal");
        auto recording = std::make_unique<tarvex::RecordingPrompt>();
        auto* rec = recording.get();
        rec->defaultAnswer = c.answer;
        auto previous = tarvex::setPrompt(std::move(recording));
        Job j(job);
        j.data.exportFlag = true;
        WriteResultFile(j.data, j.chrom, j.data.CommonReport(), nullptr);
        const auto mine = tarvex::setPrompt(std::move(previous)); // keeps the recording alive
        QStringList questions;
        for (const auto& e : rec->entries)
            if (e.kind == tarvex::RecordingPrompt::Kind::Confirm)
                questions << e.text;
        ASSERT_EQ(questions.size(), 1) << rec->texts().join(QStringLiteral(" | ")).toStdString();
        EXPECT_TRUE(questions[0].startsWith(target + QStringLiteral(" Уже существует")));
        EXPECT_EQ(read(target) != "old result", c.replaced);
        // The old companion goes once the user agreed to replace, even when none is written.
        EXPECT_EQ(QFile::exists(companion), !c.replaced);
    }
    EXPECT_EQ(CompanionSignalName(QStringLiteral("/a/b/noext")), QStringLiteral("/a/b/noext.chrom"));
    EXPECT_EQ(CompanionSignalName(QStringLiteral("/a/b.c/x.pdf")), QStringLiteral("/a/b.c/x.chrom"));
}

} // namespace

namespace {

TEST(Programmes, TwoStepProgrammesAndTheLastOvenRow) {
    QJsonObject job = with(baseJob(), "method", "PrgrPress1", QJsonArray {1.5, 2.5, 0, 0.1});
    job = with(job, "method", "PrgrColumnTemp", QJsonArray {50, 120, 200, 250, 280});
    job = with(job, "method", "PrgrColumnTime", QJsonArray {2, 1, 0, 3});
    Job j(job);
    InstallProgrammeSources(j.data, j.chrom);
    auto value = [&](const char* name) {
        const QString* e = j.data.CommonReport().variables().expression(QString::fromLatin1(name));
        return e ? *e : QString();
    };
    j.data.PressProgrDataSetFirst();
    EXPECT_EQ(value("PrgrPressPressure1"), QStringLiteral("'1.5'"));
    EXPECT_EQ(value("PrgrPressTime1"), QStringLiteral("'0'")); // a zero hold time is a number, not "-"
    j.data.PressProgrDataSetNext();
    EXPECT_EQ(value("PrgrPressPressure1"), QStringLiteral("'2.5'"));
    EXPECT_EQ(value("PrgrPressTime1"), QStringLiteral("'-'"));
    EXPECT_EQ(value("PrgrPressSpeed1"), QStringLiteral("0"));
    // The oven table restarts at its own first row and ends with the final temperature alone.
    j.data.TempProgrDataSetFirst();
    EXPECT_EQ(value("PrgrColumnTemp"), QStringLiteral("'50'"));
    for (int i = 0; i < 4; ++i)
        j.data.TempProgrDataSetNext();
    EXPECT_EQ(value("PrgrColumnTemp"), QStringLiteral("'280'"));
    EXPECT_EQ(value("PrgrColumnTime"), QStringLiteral("''"));
    EXPECT_EQ(value("PrgrPressPressure1"), QStringLiteral("'2.5'")); // rows past the second leave them
}

} // namespace
