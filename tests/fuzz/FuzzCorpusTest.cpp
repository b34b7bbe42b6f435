// Replays the decoders' seed corpus, and damaged variants of each seed, through the fuzz entry:
// every build checks what the fuzzer checks, on inputs that reach deep into the blocks.

#include "DecodeFuzzEntry.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<QByteArray> seeds() {
    std::vector<QByteArray> out;
    const QDir dir(QStringLiteral(TARVEX_FUZZ_CORPUS));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            out.push_back(file.readAll());
    }
    return out;
}

int decode(const QByteArray& bytes) {
    return TarvexDecodeOne(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
}

QByteArray withInt(QByteArray bytes, int at, std::int32_t value) {
    if (at + 4 <= bytes.size())
        std::memcpy(bytes.data() + at, &value, 4);
    return bytes;
}

TEST(FuzzCorpus, SeedsDecodeInEveryModeAndCut) {
    const auto corpus = seeds();
    ASSERT_GE(corpus.size(), 2u) << "the seed corpus is missing";
    for (const QByteArray& seed : corpus) {
        for (char mode = 0; mode < 8; ++mode) {
            QByteArray input = seed;
            input[0] = mode;
            EXPECT_EQ(decode(input), 0) << "mode " << int(mode);
            // Cuts at the places where a record ends or begins, and at odd ones in between.
            for (const int cut : {1, 2, 16, 19, 83, 2060, 8283, 8284, 9000, 20000, 30000}) {
                if (cut < input.size()) {
                    EXPECT_EQ(decode(input.left(cut)), 0) << "mode " << int(mode) << " cut at " << cut;
                }
            }
        }
    }
}

TEST(FuzzCorpus, AbsurdSizesAndCountsStayInsideTheBlock) {
    const auto corpus = seeds();
    ASSERT_FALSE(corpus.empty());
    // Offsets are block offsets + 1 (byte 0 of an input is the mode).
    const int fields[] = {1 + 15, 1 + 19, 1 + 23, 1 + 27, 1 + 31, 1 + 1847, 1 + 1851, 1 + 1891, 1 + 1895,
                          1 + 2059, 1 + 2506, 1 + 2592, 1 + 2596};
    const std::int32_t values[] = {-1, -2147483647 - 1, 2147483647, 1000000, 1001, 0};
    for (const QByteArray& seed : corpus)
        for (const int at : fields)
            for (const std::int32_t value : values)
                EXPECT_EQ(decode(withInt(seed, at, value)), 0) << "field at " << at - 1 << " = " << value;
}

} // namespace
