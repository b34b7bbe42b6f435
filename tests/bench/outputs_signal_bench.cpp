// The signal table of a large chromatogram (10 channels of 1 000 000 points, about 120 MB of
// text): formatting and writing it, beside writing the same bytes already formatted through
// the same file path. Prints MB/s; the ratio of the two is the formatting overhead.

#include "OutputFile.h"
#include "SignalWriter.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <span>
#include <vector>

namespace {

constexpr std::size_t kChannels = 10;
constexpr std::size_t kPoints = 1'000'000;

// Samples as a converter gives them: a slow baseline, peaks up to a few million units, noise;
// about seven digits each, some negative.
const std::vector<std::vector<std::int32_t>>& samples() {
    static const std::vector<std::vector<std::int32_t>> data = [] {
        std::vector<std::vector<std::int32_t>> channels(kChannels, std::vector<std::int32_t>(kPoints));
        std::uint32_t state = 12345;
        for (std::size_t c = 0; c < kChannels; ++c)
            for (std::size_t p = 0; p < kPoints; ++p) {
                state = state * 1664525u + 1013904223u;
                const auto noise = static_cast<std::int32_t>(state >> 20) - 2048;
                const auto peak = static_cast<std::int32_t>((p * 7919 + c * 104729) % 4'000'000);
                channels[c][p] = peak - 500'000 + noise;
            }
        return channels;
    }();
    return data;
}

std::vector<std::span<const std::int32_t>> spans() {
    std::vector<std::span<const std::int32_t>> out;
    for (const auto& channel : samples())
        out.emplace_back(channel);
    return out;
}

void SignalTable(benchmark::State& state) {
    const auto channels = spans();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("table.chrom"));
    for (auto _ : state)
        if (!WriteSignalTable(file, channels))
            state.SkipWithError("the table could not be written");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(SignalTableLineSize(kChannels) * kPoints));
}

void PreformattedWrite(benchmark::State& state) {
    const auto channels = spans();
    std::vector<char> text(SignalTableLineSize(kChannels) * kPoints);
    FormatSignalTableLines(channels, 0, kPoints, text.data());
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("table.chrom"));
    constexpr std::size_t kChunk = 1 << 20; // as the writer writes
    for (auto _ : state) {
        TOutputFile out(file);
        bool ok = out.open();
        for (std::size_t at = 0; ok && at < text.size(); at += kChunk)
            ok = out.write(text.data() + at, static_cast<qint64>(std::min(kChunk, text.size() - at)));
        if (!ok || !out.commit())
            state.SkipWithError("the bytes could not be written");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

} // namespace

BENCHMARK(SignalTable)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(PreformattedWrite)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true)->UseRealTime();

BENCHMARK_MAIN();
