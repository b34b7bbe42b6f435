// The sample job through the whole hand-over: tarvex-host publishes it into shared memory, the
// program's transport and decoders read it back (tarvex-host inspect), and every field of the
// sample comes back as written. Runs under a shared-memory prefix of its own.

#include "HostBlocks.h"
#include "JobEncoder.h"
#include "Prompt.h"
#include "TChromModule.h"
#include "TMemoryWorker.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <unistd.h>

namespace {

const QString kSample = QStringLiteral(TARVEX_SOURCE_DIR "/examples/natural-gas.json");

class HostRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        static int serial = 0;
        prefix_ = QStringLiteral("test_%1_%2_").arg(::getpid()).arg(++serial).toUtf8();
        qputenv("TARVEX_SHM_PREFIX", prefix_);
    }
    void TearDown() override {
        host::clearAll();
        qunsetenv("TARVEX_SHM_PREFIX");
    }

    /// Runs tarvex-host; returns its standard output, fails the test on a non-zero exit.
    QByteArray host(const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(TARVEX_BIN_DIR "/tarvex-host"), args);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput();
    }

    QByteArray prefix_;
};

QJsonObject loadSample() {
    QFile file(kSample);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << kSample.toStdString();
    return QJsonDocument::fromJson(file.readAll()).object();
}

/// Every value of `expected` is in `actual` at the same place. Numbers agree to float precision
/// (the wire has floats); an array field may be longer in `actual` when the rest is zero.
void expectContains(const QJsonValue& expected, const QJsonValue& actual, const QString& path) {
    if (expected.isObject()) {
        ASSERT_TRUE(actual.isObject()) << path.toStdString();
        const QJsonObject e = expected.toObject(), a = actual.toObject();
        for (auto it = e.begin(); it != e.end(); ++it) {
            EXPECT_TRUE(a.contains(it.key())) << (path + QLatin1Char('.') + it.key()).toStdString();
            expectContains(it.value(), a.value(it.key()), path + QLatin1Char('.') + it.key());
        }
    } else if (expected.isArray()) {
        ASSERT_TRUE(actual.isArray()) << path.toStdString();
        const QJsonArray e = expected.toArray(), a = actual.toArray();
        ASSERT_GE(a.size(), e.size()) << path.toStdString();
        for (qsizetype i = 0; i < a.size(); ++i) {
            const QString at = QStringLiteral("%1[%2]").arg(path).arg(i);
            if (i < e.size())
                expectContains(e[i], a[i], at);
            else
                EXPECT_TRUE(a[i] == QJsonValue(0) || a[i] == QJsonValue(QString())) << at.toStdString();
        }
    } else if (expected.isDouble()) {
        ASSERT_TRUE(actual.isDouble()) << path.toStdString();
        const double e = expected.toDouble(), a = actual.toDouble();
        EXPECT_LE(std::abs(e - a), 1e-6 * std::max(1.0, std::abs(e))) << path.toStdString() << ": " << e << " vs " << a;
    } else {
        EXPECT_EQ(expected, actual) << path.toStdString();
    }
}

TEST_F(HostRoundTrip, SampleJobComesBackAsWritten) {
    const QJsonObject sample = loadSample();
    ASSERT_FALSE(sample.isEmpty());
    host({QStringLiteral("publish"), kSample});
    const QJsonObject seen = QJsonDocument::fromJson(host({QStringLiteral("inspect")})).object();
    ASSERT_FALSE(seen.isEmpty());

    for (const char* area : {"chromatogram", "method", "printSettings", "peaks", "ident", "compStat", "groupResults",
                             "journal", "graphs", "components", "groups", "comment"}) {
        SCOPED_TRACE(area);
        ASSERT_TRUE(sample.contains(QLatin1String(area)));
        expectContains(sample.value(QLatin1String(area)), seen.value(QLatin1String(area)), QLatin1String(area));
    }
    // Rows: exactly as many as the sample has.
    for (const char* area : {"peaks", "ident", "compStat", "groupResults", "journal", "graphs", "components", "groups"})
        EXPECT_EQ(seen.value(QLatin1String(area)).toArray().size(), sample.value(QLatin1String(area)).toArray().size())
            << area;

    std::vector<std::vector<std::int32_t>> signal;
    QString error;
    ASSERT_TRUE(host::jobSignal(sample, &signal, &error)) << error.toStdString();
    const QJsonArray channels = seen.value(QStringLiteral("signal")).toArray();
    ASSERT_EQ(channels.size(), static_cast<qsizetype>(signal.size()));
    for (std::size_t c = 0; c < signal.size(); ++c) {
        const QJsonArray samples = channels[static_cast<qsizetype>(c)].toArray();
        ASSERT_EQ(samples.size(), static_cast<qsizetype>(signal[c].size()));
        for (std::size_t p = 0; p < signal[c].size(); ++p)
            ASSERT_EQ(samples[static_cast<qsizetype>(p)].toInt(), signal[c][p]) << "channel " << c << " point " << p;
    }

    // What the printer builds from it: two detectors of three channels, the graphs flag taken
    // from the print settings, the picture of the size asked for.
    const QJsonArray detectors = seen.value(QStringLiteral("detectors")).toArray();
    ASSERT_EQ(detectors.size(), 2);
    EXPECT_EQ(detectors[1].toObject().value(QStringLiteral("iDet_FirstPeak")).toInt(), 22);
    EXPECT_EQ(seen.value(QStringLiteral("derived")).toObject().value(QStringLiteral("joinedDetectorNames")).toString(),
              QStringLiteral("ПИД / ДТП+"));
    EXPECT_EQ(seen.value(QStringLiteral("outdatedFormat")).toBool(), false);
    const QJsonObject picture = seen.value(QStringLiteral("picture")).toObject();
    EXPECT_EQ(picture.value(QStringLiteral("width")).toInt(), 620);
    EXPECT_EQ(picture.value(QStringLiteral("height")).toInt(), 320);
}

TEST_F(HostRoundTrip, PresenceTestsReadAndMarkTheBlocks) {
    auto recording = std::make_unique<tarvex::RecordingPrompt>();
    tarvex::RecordingPrompt* said = recording.get();
    auto previous = tarvex::setPrompt(std::move(recording));
    TChromModule rec;
    EXPECT_FALSE(rec.ChromPresent());
    EXPECT_FALSE(rec.MethodPresent());

    host({QStringLiteral("publish"), kSample});
    EXPECT_TRUE(rec.ChromPresent());
    EXPECT_EQ(rec.PeakCount(), 30);
    bool exists = false;
    auto header = host::readHeader(&exists);
    ASSERT_TRUE(exists);
    EXPECT_EQ(header[35], 0); // block 1 read
    EXPECT_EQ(header[34], 1); // block 2 not yet
    EXPECT_TRUE(rec.MethodPresent());
    header = host::readHeader();
    EXPECT_EQ(header[34], 0);
    EXPECT_EQ(rec.iMax_Comp(), 17);
    EXPECT_TRUE(said->entries.empty());

    // A job in the outdated format is refused by the presence test, without a message of its own.
    QJsonObject job = loadSample();
    QJsonObject method = job.value(QStringLiteral("method")).toObject();
    method.insert(QStringLiteral("iMeth_CompRecSize"), 600);
    job.insert(QStringLiteral("method"), method);
    host::EncodedJob blocks;
    QString error;
    ASSERT_TRUE(host::encodeJob(job, &blocks, &error)) << error.toStdString();
    ASSERT_TRUE(host::publishBlock(1, blocks.chromatogram, &error));
    EXPECT_FALSE(rec.ChromPresent());
    EXPECT_TRUE(said->entries.empty());
    tarvex::setPrompt(std::move(previous));
}

TEST_F(HostRoundTrip, JobsAboveACapacityAreRefused) {
    QJsonObject job = loadSample();
    QJsonArray ident;
    for (int i = 0; i < 1001; ++i)
        ident.append(QJsonObject {});
    job.insert(QStringLiteral("ident"), ident);
    job.remove(QStringLiteral("compStat"));
    host::EncodedJob blocks;
    QString error;
    EXPECT_FALSE(host::encodeJob(job, &blocks, &error));
    EXPECT_EQ(error, QStringLiteral("job refused: 1001 identification records, the print job holds at most 1000"));
}

} // namespace
