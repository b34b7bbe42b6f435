// Decoding a chromatogram block of the print job's full capacity, beside a plain copy of the
// same bytes: the copy is the floor any decoder of these blocks pays.

#include "JobEncoder.h"
#include "Prompt.h"
#include "Synth.h"
#include "TChromModule.h"
#include "TMemoryWorker.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

/// Block 1 of a job at the capacities: 10 channels of 100 000 points, 1000 peaks, 1000
/// identification and statistics records, 1000 components and 600 groups with 5 calibration
/// points each, 600 group results, 1000 journal events, 100 graphs of 1001 points.
const QByteArray& capacityBlock() {
    static const QByteArray block = [] {
        host::SynthSize size;
        size.channels = 10;
        size.points = 100000;
        size.peaks = 1000;
        size.ident = 1000;
        size.components = 1000;
        size.calibPoints = 5;
        size.groups = 600;
        size.groupResults = 600;
        size.journal = 1000;
        size.graphs = 100;
        size.graphPoints = 1001;
        QJsonObject job = host::synthJob(size);
        job.insert(QStringLiteral("picture"), false);
        host::EncodedJob blocks;
        QString error;
        if (!host::encodeJob(job, &blocks, &error)) {
            std::fprintf(stderr, "cannot build the job: %s\n", error.toUtf8().constData());
            std::abort();
        }
        return blocks.chromatogram;
    }();
    return block;
}

void fill(TMemoryBuffer& buffer, const QByteArray& bytes) {
    buffer.resize(static_cast<std::size_t>(bytes.size()));
    std::memcpy(buffer.data(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void BM_DecodeCapacityChromatogram(benchmark::State& state) {
    const QByteArray& block = capacityBlock();
    TMemoryBuffer buffer;
    fill(buffer, block);
    auto rec = std::make_unique<TChromModule>();
    rec->SetHasAddCalcGraphs(1);
    for (auto _ : state) {
        buffer.setPosition(0);
        const bool ok = rec->DecodeChromatogram(buffer, true, true);
        benchmark::DoNotOptimize(ok);
    }
    if (rec->PeakCount() != 1000 || rec->iIdent_Last() != 999 || rec->iAddCalcGraph_Count() != 100 ||
        rec->SignalChannel(9).size() != 100000)
        state.SkipWithError("the block did not decode whole");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * block.size());
    state.counters["block_MB"] = static_cast<double>(block.size()) / 1e6;
}
BENCHMARK(BM_DecodeCapacityChromatogram)->Unit(benchmark::kMillisecond);

void BM_PlainCopyOfTheSameBytes(benchmark::State& state) {
    const QByteArray& block = capacityBlock();
    std::vector<char> target(static_cast<std::size_t>(block.size()));
    for (auto _ : state) {
        std::memcpy(target.data(), block.constData(), target.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * block.size());
}
BENCHMARK(BM_PlainCopyOfTheSameBytes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Notes about capped counts would only slow the loop down; nothing here is capped.
    class Quiet final : public tarvex::Prompt {
    public:
        void error(const QString&) override {}
        void warning(const QString&) override {}
        void information(const QString&) override {}
        bool confirm(const QString&) override { return false; }
        void log(const QString&) override {}
    };
    tarvex::setPrompt(std::make_unique<Quiet>());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
