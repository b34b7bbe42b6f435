// The fuzz entry's seed corpus and damaged variants of it, replayed in the normal build.

#include "engine_fuzz_entry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

TEST(EngineFuzzReplay, SeedsAndTruncationsRunClean)
{
    const QDir dir(QStringLiteral(TARVEX_SOURCE_DIR "/tests/fuzz/corpus/engine"));
    const QStringList seeds = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(seeds.isEmpty());
    for (const QString& s : seeds) {
        QFile f(dir.filePath(s));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        const auto* p = reinterpret_cast<const std::uint8_t*>(data.constData());
        EXPECT_EQ(enginefuzz::runOne(p, size_t(data.size())), 0);
        // Truncated at several points, and with one byte flipped.
        for (int cut = 1; cut <= 8; ++cut)
            enginefuzz::runOne(p, size_t(data.size()) * size_t(cut) / 9);
        QByteArray flipped = data;
        if (flipped.size() > 2) {
            flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x5A);
            enginefuzz::runOne(reinterpret_cast<const std::uint8_t*>(flipped.constData()), size_t(flipped.size()));
        }
    }
}
