// The signal table and the signal file with a header.

#include <gtest/gtest.h>

#include "CodePage.h"
#include "JobEncoder.h"
#include "OutputTestSupport.h"
#include "SignalWriter.h"

#include "QtPrinters.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <clocale>
#include <string>
#include <vector>

namespace {

class Signal : public ::testing::Test {
protected:
    TestJob jobWith(const QJsonObject& chromatogramChanges = {}) {
        QJsonObject job = readJobFile(QStringLiteral("tests/outputs/edge-job.json"));
        QJsonObject chrom = job[QStringLiteral("chromatogram")].toObject();
        for (auto it = chromatogramChanges.begin(); it != chromatogramChanges.end(); ++it)
            chrom[it.key()] = it.value();
        job[QStringLiteral("chromatogram")] = chrom;
        TestJob decoded;
        decodeJob(job, decoded);
        return decoded;
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    QTemporaryDir dir;
    PromptRecorder prompts;
};

TEST_F(Signal, SampleJobMatchesCheckedFiles) {
    const QJsonObject json = readJobFile(QStringLiteral("examples/natural-gas.json"));
    TestJob job;
    decodeJob(json, job);
    ASSERT_TRUE(WriteSignalTable(path("table.chrom"), *job.rec));
    const QByteArray table = readFile(path("table.chrom"));
    EXPECT_TRUE(matchesGolden(table, QStringLiteral("natural-gas.chrom")));

    // The samples as the host's encoder made them, before they crossed the wire and the decoder.
    std::vector<std::vector<std::int32_t>> sent;
    QString error;
    ASSERT_TRUE(host::jobSignal(json, &sent, &error)) << error.toStdString();
    ASSERT_EQ(sent.size(), 2u);
    QByteArray expected;
    for (std::size_t p = 0; p < sent[0].size(); ++p) {
        for (const auto& channel : sent)
            expected += QByteArray::number(channel[p]).rightJustified(11, ' ') + '\t';
        expected += "\r\n";
    }
    EXPECT_EQ(table, expected);

    ASSERT_TRUE(WriteSignalFile(path("signal.txt"), *job.rec));
    EXPECT_TRUE(matchesGolden(readFile(path("signal.txt")), QStringLiteral("natural-gas-signal.txt")));
    EXPECT_TRUE(prompts.errors().isEmpty());
}

TEST_F(Signal, EdgeJobMatchesCheckedFiles) {
    const TestJob job = jobWith();
    ASSERT_TRUE(WriteSignalTable(path("table.chrom"), *job.rec));
    const QByteArray table = readFile(path("table.chrom"));
    EXPECT_TRUE(matchesGolden(table, QStringLiteral("edge-job.chrom")));
    // Three channels: three padded values, each followed by a tab; the extreme samples.
    EXPECT_TRUE(table.startsWith("       1234\t          1\t         -1\t\r\n-2147483648\t"));
    ASSERT_TRUE(WriteSignalFile(path("signal.txt"), *job.rec));
    EXPECT_TRUE(matchesGolden(readFile(path("signal.txt")), QStringLiteral("edge-job-signal.txt")));
}

TEST_F(Signal, HeaderNumbers) {
    const struct {
        double rate;
        double scale;
        const char* interval;
        const char* step;
    } cases[] = {
        {0.5, 0.004, "cyctime=2\r\n", "coef=250\r\n"},
        {0, 0, "cyctime=1\r\n", "coef=1\r\n"},
        {-4, -1, "cyctime=1\r\n", "coef=1\r\n"},
        {3, 3, "cyctime=0.333333333333333\r\n", "coef=0.333333333333333\r\n"},
        {0.1, 1e-7, "cyctime=9.99999985098839\r\n", "coef=10000000\r\n"}, // the rate is a float
    };
    for (const auto& c : cases) {
        const TestJob job = jobWith({{QStringLiteral("fChr_Rate"), c.rate}, {QStringLiteral("dChr_AdcScale"), c.scale}});
        ASSERT_TRUE(WriteSignalFile(path("signal.txt"), *job.rec));
        const QByteArray bytes = readFile(path("signal.txt"));
        EXPECT_TRUE(bytes.contains(QByteArray(": ") + c.interval)) << c.rate << "\n" << bytes.left(120).toStdString();
        EXPECT_TRUE(bytes.contains(QByteArray(": ") + c.step)) << c.scale;
    }
}

TEST_F(Signal, PointWhateverTheRegionalSettingsAndThoseKept) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string before = previous ? previous : "C";
    const bool commaLocale = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const QLocale qtBefore(QLocale::German, QLocale::Germany);
    QLocale::setDefault(qtBefore);
    const std::string cBefore = std::setlocale(LC_NUMERIC, nullptr);

    const TestJob job = jobWith({{QStringLiteral("fChr_Rate"), 4}, {QStringLiteral("dChr_AdcScale"), 0.5}});
    ASSERT_TRUE(WriteSignalFile(path("signal.txt"), *job.rec));
    const QByteArray bytes = readFile(path("signal.txt"));
    EXPECT_TRUE(bytes.contains("cyctime=0.25\r\n")) << (commaLocale ? "with" : "without") << " a comma C locale";
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), cBefore);
    EXPECT_EQ(QLocale(), qtBefore);

    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST_F(Signal, FailuresAreToldAndLeaveNoFile) {
    const TestJob job = jobWith();
    const QString missing = path("no-such-dir/table.chrom");
    EXPECT_FALSE(WriteSignalTable(missing, *job.rec));
    EXPECT_FALSE(WriteSignalFile(missing, *job.rec));
    EXPECT_EQ(prompts.errors(), QStringList(2, QStringLiteral("Невозможно получить доступ к файлу ") + missing));
    EXPECT_FALSE(QFile::exists(missing));

    // An existing file is replaced whole.
    QFile old(path("old.chrom"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
    old.close();
    ASSERT_TRUE(WriteSignalTable(path("old.chrom"), *job.rec));
    EXPECT_EQ(readFile(path("old.chrom")).size(), 5 * (3 * 12 + 2));
}

TEST(SignalTable, ChannelsOfUnequalLengthStopAtTheShortest) {
    const std::vector<std::int32_t> a {1, 2, 3};
    const std::vector<std::int32_t> b {10};
    const std::span<const std::int32_t> channels[] = {a, b};
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("t.chrom"));
    ASSERT_TRUE(WriteSignalTable(file, channels));
    EXPECT_EQ(readFile(file), QByteArray("          1\t         10\t\r\n"));
}

} // namespace
