// The plain-text listing: its building blocks, and whole files against checked copies.

#include <gtest/gtest.h>

#include "Bilingual.h"
#include "CodePage.h"
#include "OutputTestSupport.h"
#include "TextExportWriter.h"

#include "QtPrinters.h"

#include <QJsonArray>
#include <QTemporaryDir>

namespace {

using namespace TextExport;

TEST(TextExportBlocks, JoinFitShortBaseName) {
    EXPECT_EQ(Join(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a b c d "));
    EXPECT_EQ(Join(QStringLiteral("one line")), QStringLiteral("one line "));
    EXPECT_EQ(Join(QStringLiteral("ends\r\n")), QStringLiteral("ends "));
    EXPECT_EQ(Join(QString()), QString());

    const QString s56(56, QLatin1Char('x'));
    EXPECT_EQ(Fit(s56, 56).line, s56); // exactly the width: as it is
    EXPECT_EQ(Fit(s56, 56).rest, QString());
    EXPECT_EQ(Fit(QStringLiteral("abc"), 56).line.size(), 57); // shorter: padded to width + 1
    EXPECT_EQ(Fit(QStringLiteral("abcdef"), 4).line, QStringLiteral("abcd"));
    EXPECT_EQ(Fit(QStringLiteral("abcdef"), 4).rest, QStringLiteral("ef"));
    EXPECT_EQ(Fit(QStringLiteral("ABC.MET"), 12).line, QStringLiteral("ABC.MET      ")); // 13 characters

    EXPECT_EQ(Short(QStringLiteral("LONGFILENAME"), 8), QStringLiteral("LONGFILE"));
    EXPECT_EQ(Short(QStringLiteral("ab"), 8), QStringLiteral("ab"));

    EXPECT_EQ(BaseName(QStringLiteral("C:\\Tarvex\\Methods\\NG-31371.mtd")), QStringLiteral("NG-31371"));
    EXPECT_EQ(BaseName(QStringLiteral("D:name.v2.met")), QStringLiteral("name.v2"));
    EXPECT_EQ(BaseName(QStringLiteral("/home/u/file")), QStringLiteral("file"));
    EXPECT_EQ(BaseName(QString()), QString());
}

class TextExportFile : public ::testing::Test {
protected:
    void SetUp() override { tarvex::setLanguageIndex(1); }
    void TearDown() override { tarvex::setLanguageIndex(1); }

    QStringList linesOf(const QJsonObject& job) {
        TestJob decoded;
        decodeJob(job, decoded);
        return TextExportLines(*decoded.rec, decoded.settings);
    }
    QByteArray fileOf(const QJsonObject& job) {
        TestJob decoded;
        decodeJob(job, decoded);
        const QString path = dir.filePath(QStringLiteral("export.txt"));
        EXPECT_TRUE(WriteTextExport(path, *decoded.rec, decoded.settings));
        return readFile(path);
    }

    QTemporaryDir dir;
    PromptRecorder prompts;
};

TEST_F(TextExportFile, SampleJobMatchesCheckedFile) {
    EXPECT_TRUE(matchesGolden(fileOf(readJobFile(QStringLiteral("examples/natural-gas.json"))),
                              QStringLiteral("natural-gas.txt")));
    EXPECT_TRUE(prompts.errors().isEmpty());
}

TEST_F(TextExportFile, EdgeJobMatchesCheckedFile) {
    // A 60-character sample runs on to a second line; no identification: header lines only.
    EXPECT_TRUE(matchesGolden(fileOf(readJobFile(QStringLiteral("tests/outputs/edge-job.json"))),
                              QStringLiteral("edge-job.txt")));
}

TEST_F(TextExportFile, CalculationMethodZeroLeavesOutTheCoefficient) {
    QJsonObject job = readJobFile(QStringLiteral("examples/natural-gas.json"));
    const QStringList withCoefficient = linesOf(job);
    QJsonObject method = job[QStringLiteral("method")].toObject();
    method[QStringLiteral("bMeth_CalcMethod")] = 0;
    job[QStringLiteral("method")] = method;
    const QStringList without = linesOf(job);
    ASSERT_EQ(without.size(), withCoefficient.size());
    EXPECT_EQ(without[7], QStringLiteral("Метод расчета: Нормализация"));
    // Every table line, headers and totals included, is the same but for the 10-wide column.
    const qsizetype table = withCoefficient.indexOf(QStringLiteral(" ")) + 3; // after the second blank line
    for (qsizetype i = table; i < without.size() - 1; ++i) {
        if (without[i].startsWith(QLatin1Char('_')))
            continue;
        const QString expected = withCoefficient[i].left(3 + 9 + 10 + 10) + withCoefficient[i].mid(3 + 9 + 10 + 10 + 10);
        EXPECT_EQ(without[i], expected) << "line " << i;
    }
    EXPECT_EQ(without[table], QStringLiteral("  N    Время    Высота   Площадь    Конц.%    Название"));
}

TEST_F(TextExportFile, ReferenceChannelAndSamplePrefix) {
    const struct {
        QJsonArray detOn;
        QString prefix;
        const char16_t* referenceLine;
        const char16_t* sampleStart;
    } cases[] = {
        {{0, 0, 1}, QStringLiteral("П"), u"Опорный канал: 3", u"ПРОБА:   П-Конденсат"},
        {{0, 0, 0}, QStringLiteral("AB"), u"Опорный канал: 1", u"ПРОБА:   A-B-Конденсат"},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, QString(), u"Опорный канал: 1", u"ПРОБА:   Конденсат"},
    };
    for (const auto& c : cases) {
        QJsonObject job = readJobFile(QStringLiteral("tests/outputs/edge-job.json"));
        QJsonObject method = job[QStringLiteral("method")].toObject();
        method[QStringLiteral("bMeth_DetOn")] = c.detOn;
        method[QStringLiteral("cSample_Prefix")] = c.prefix;
        job[QStringLiteral("method")] = method;
        const QStringList lines = linesOf(job);
        EXPECT_EQ(lines.value(6), QString::fromUtf16(c.referenceLine));
        EXPECT_TRUE(lines.value(1).startsWith(QString::fromUtf16(c.sampleStart))) << lines.value(1).toStdString();
    }
}

TEST_F(TextExportFile, UnwritableFileIsTold) {
    TestJob decoded;
    decodeJob(readJobFile(QStringLiteral("tests/outputs/edge-job.json")), decoded);
    const QString path = dir.filePath(QStringLiteral("no/such/dir/export.txt"));
    EXPECT_FALSE(WriteTextExport(path, *decoded.rec, decoded.settings));
    EXPECT_EQ(prompts.errors(), QStringList {QStringLiteral("Невозможно получить доступ к файлу ") + path});
}

} // namespace
