// The transport, end to end: blocks published by tarvex-host in another process, read back
// through TMemoryWorker under a prefix of this test's own.

#include "NamedLock.h"
#include "Prompt.h"
#include "SharedMemory.h"
#include "TMemoryWorker.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include "QtPrinters.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kHost = QStringLiteral(TARVEX_BIN_DIR "/tarvex-host");

class Transport : public ::testing::Test {
protected:
    void SetUp() override {
        static int serial = 0;
        prefix = QStringLiteral("tw%1_%2_").arg(::getpid()).arg(++serial).toUtf8();
        qputenv("TARVEX_SHM_PREFIX", prefix);
    }
    void TearDown() override {
        host({QStringLiteral("clear")});
        qunsetenv("TARVEX_SHM_PREFIX");
    }

    // Runs tarvex-host with the test's prefix and returns its exit code.
    int host(const QStringList& args) {
        QProcess p;
        p.start(kHost, args);
        p.waitForFinished(30000);
        return p.exitCode();
    }
    void put(int kind, const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("block%1").arg(kind));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        ASSERT_EQ(host({QStringLiteral("put"), QString::number(kind), path}), 0);
    }
    static QByteArray publishedHeader() {
        tarvex::SharedMemory header = tarvex::SharedMemory::open("TarvexConfigFile");
        const std::uint8_t* view = header.map();
        return view ? QByteArray(reinterpret_cast<const char*>(view), 96) : QByteArray();
    }
    static QByteArray bufferBytes(TMemoryWorker& w) {
        return QByteArray(reinterpret_cast<const char*>(w.buffer().data()),
                          static_cast<qsizetype>(w.buffer().size()));
    }

    QByteArray prefix;
    QTemporaryDir dir;
};

TEST_F(Transport, NoHeaderMeansEveryReadFails) {
    put(1, "abc"); // the block exists, but without the header nothing states its size
    tarvex::SharedMemory::unlink("TarvexConfigFile");
    for (int kind = 1; kind <= 16; ++kind) {
        TMemoryWorker worker;
        EXPECT_FALSE(worker.readBlock(TMemoryWorker::kHeaderKind) && worker.readBlock(kind)) << kind;
    }
    TMemoryWorker unopened;
    EXPECT_FALSE(unopened.writeHeaderBack());
}

TEST_F(Transport, ChromatogramReadClearsOnlyItsMark) {
    const QByteArray chrom(5000, 'c');
    put(1, chrom);
    put(9, "BMxx");
    const QByteArray before = publishedHeader();
    ASSERT_EQ(before.size(), 96);
    ASSERT_EQ(before[35], 1);

    TMemoryWorker worker;
    ASSERT_TRUE(worker.readBlock(TMemoryWorker::kHeaderKind));
    ASSERT_TRUE(worker.readBlock(1));
    EXPECT_EQ(bufferBytes(worker), chrom);
    EXPECT_EQ(worker.buffer().position(), 0U);
    ASSERT_TRUE(worker.writeHeaderBack());

    const QByteArray after = publishedHeader();
    EXPECT_EQ(after[35], 0);
    for (int i = 0; i < 96; ++i) {
        if (i != 35) {
            EXPECT_EQ(after[i], before[i]) << "header byte " << i;
        }
    }
}

TEST_F(Transport, ProtocolAndPacketShareTheObjectButNotTheFields) {
    put(7, QByteArray(10, 'p'));
    put(14, QByteArray(20, 'k')); // replaces the shared object's bytes
    TMemoryWorker worker;
    ASSERT_TRUE(worker.readBlock(TMemoryWorker::kHeaderKind));
    EXPECT_EQ(worker.sizeOf(7), 10);
    EXPECT_EQ(worker.sizeOf(14), 20);
    ASSERT_TRUE(worker.readBlock(14));
    EXPECT_EQ(bufferBytes(worker), QByteArray(20, 'k'));
    EXPECT_EQ(worker.header()[72], 0);
    EXPECT_EQ(worker.header()[52], 1);
    ASSERT_TRUE(worker.readBlock(7));
    EXPECT_EQ(bufferBytes(worker), QByteArray(10, 'k'));
    EXPECT_EQ(worker.header()[52], 0);
}

TEST_F(Transport, ZeroSizeBlockIsAnEmptySuccessfulRead) {
    put(3, QByteArray());
    TMemoryWorker worker;
    ASSERT_TRUE(worker.readBlock(TMemoryWorker::kHeaderKind));
    EXPECT_TRUE(worker.readBlock(3));
    EXPECT_EQ(worker.buffer().size(), 0U);
    EXPECT_EQ(worker.header()[33], 0);
}

TEST_F(Transport, SizesOutsideTheObjectAreFailedReads) {
    put(1, QByteArray(100, 'x'));
    QByteArray header = publishedHeader();
    struct Case {
        std::int32_t stated;
        bool ok;
    };
    for (const Case c : {Case {100, true}, Case {101, false}, Case {1 << 30, false}, Case {-5, false}}) {
        std::memcpy(header.data() + 4, &c.stated, 4);
        put(8, header);
        TMemoryWorker worker;
        ASSERT_TRUE(worker.readBlock(TMemoryWorker::kHeaderKind));
        EXPECT_EQ(worker.readBlock(1), c.ok) << "stated size " << c.stated;
    }
    EXPECT_EQ(TMemoryWorker().sizeOf(0), 0);
    EXPECT_EQ(TMemoryWorker().sizeOf(17), 0);
    EXPECT_EQ(TMemoryWorker().sizeOf(8), 96);
}

TEST_F(Transport, ObjectsOthersMayWriteAreRefused) {
    put(2, "method");
    const std::string name = tarvex::shmObjectName("TarvexMethodFile");
    const int fd = ::shm_open(name.c_str(), O_RDWR, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::fchmod(fd, 0666), 0);
    ::close(fd);

    auto recording = std::make_unique<tarvex::RecordingPrompt>();
    auto* rec = recording.get();
    auto previous = tarvex::setPrompt(std::move(recording));
    TMemoryWorker worker;
    ASSERT_TRUE(worker.readBlock(TMemoryWorker::kHeaderKind));
    EXPECT_FALSE(worker.readBlock(2));
    ASSERT_EQ(rec->entries.size(), 1U);
    EXPECT_EQ(rec->entries[0].kind, tarvex::RecordingPrompt::Kind::Log);
    EXPECT_TRUE(rec->entries[0].text.contains(QStringLiteral("TarvexMethodFile")));
    tarvex::setPrompt(std::move(previous));
}

TEST_F(Transport, LockHeldTooLongDelaysTheReadByTheWaitOnly) {
    put(1, "chrom");
    TMemoryWorker worker;
    ASSERT_TRUE(worker.readBlock(TMemoryWorker::kHeaderKind));
    QProcess holder;
    holder.start(kHost, {QStringLiteral("hold-lock"), QStringLiteral("1500")});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_TRUE(holder.readAll().startsWith("held"));

    QElapsedTimer timer;
    timer.start();
    const bool ok = worker.readBlock(1);
    const qint64 elapsed = timer.elapsed();
    const bool holderStillHolding = holder.state() == QProcess::Running && !holder.waitForFinished(0);
    EXPECT_TRUE(ok);
    EXPECT_GE(elapsed, 900); // it did wait for the lock...
    EXPECT_TRUE(holderStillHolding) << "the read waited " << elapsed << " ms, until the holder let go";
    holder.waitForFinished(10000);
}

TEST_F(Transport, LockOfADeadOwnerCountsAsAcquired) {
    QProcess holder;
    holder.start(kHost, {QStringLiteral("hold-lock"), QStringLiteral("60000")});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    holder.kill();
    holder.waitForFinished(10000);
    tarvex::NamedLock lock;
    EXPECT_EQ(lock.acquire(100), tarvex::NamedLock::Outcome::Owned);
}

} // namespace
