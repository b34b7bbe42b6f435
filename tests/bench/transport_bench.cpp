// Copying a 40 MB block through TMemoryWorker against one plain memcpy of the same bytes from
// an already mapped object into a fresh buffer. The worker should cost one copy, no more.

#include "SharedMemory.h"
#include "TMemoryWorker.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

constexpr std::size_t kBlock = 40u * 1000u * 1000u;

struct Published {
    Published() {
        setenv("TARVEX_SHM_PREFIX", ("bench" + std::to_string(::getpid()) + "_").c_str(), 1);
        block = tarvex::SharedMemory::create("TarvexChrFile", kBlock);
        std::uint8_t* data = block.map();
        for (std::size_t i = 0; i < kBlock; ++i)
            data[i] = static_cast<std::uint8_t>(i * 31);
        header = tarvex::SharedMemory::create("TarvexConfigFile", 96);
        std::uint8_t* h = header.map();
        std::memset(h, 0, 96);
        const auto size = static_cast<std::int32_t>(kBlock);
        std::memcpy(h + 4, &size, 4);
        h[35] = 1;
    }
    ~Published() {
        tarvex::SharedMemory::unlink("TarvexChrFile");
        tarvex::SharedMemory::unlink("TarvexConfigFile");
        tarvex::SharedMemory::unlink("OrlendPrintLockMutex");
    }
    tarvex::SharedMemory block;
    tarvex::SharedMemory header;
};

Published& published() {
    static Published p;
    return p;
}

void BM_WorkerRead(benchmark::State& state) {
    published();
    for (auto _ : state) {
        TMemoryWorker worker;
        if (!worker.readBlock(TMemoryWorker::kHeaderKind) || !worker.readBlock(1))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(worker.buffer().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlock));
}

void BM_PlainMemcpy(benchmark::State& state) {
    const std::uint8_t* source = published().block.view();
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> target(new std::uint8_t[kBlock]);
        std::memcpy(target.get(), source, kBlock);
        benchmark::DoNotOptimize(target.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlock));
}

} // namespace

BENCHMARK(BM_PlainMemcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WorkerRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
