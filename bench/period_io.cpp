// Loading and saving one period of a year file, as the period selection and the
// save command do, and the floor a save is measured against: the same bytes
// written to a fresh file, flushed and renamed over the old one.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchData.h"
#include "platform/Files.h"

namespace {

using bench_data::Company;

void BM_LoadPeriod(benchmark::State& state) {
    Company c;
    c.useYear(8, 12);
    for (auto _ : state) {
        ledger::LoadPeriod(c.ledger, c.ledger.CurData.FileName);
        benchmark::DoNotOptimize(c.ledger.block.get());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(sizeof(ledger::TPeriodBlock)));
}
BENCHMARK(BM_LoadPeriod)->Unit(benchmark::kMicrosecond);

// Reads the whole file, writes it to a temporary file, flushes it to disk and
// renames it over the old one.
void BM_SavePeriod(benchmark::State& state) {
    Company c;
    c.openPeriod(12);
    for (auto _ : state) {
        c.ledger.Payment(1).Amounts[ledger::kPayTotal] += 1;
        ledger::SavePeriod(c.ledger, c.ledger.CurData.FileName);
    }
    state.SetBytesProcessed(state.iterations() * ledger::kYearFileSize);
}
BENCHMARK(BM_SavePeriod)->Unit(benchmark::kMillisecond);

// The floor: one plain write of the same bytes to a new file, fsync, rename.
void BM_SavePeriodFloor(benchmark::State& state) {
    Company c;
    const std::string file = c.ledger.CurData.FileName.string();
    const std::string tmp = file + ".floor";
    std::string bytes = platform::readFile(file);
    for (auto _ : state) {
        bytes[200] = char(bytes[200] + 1);
        int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) ||
            ::fsync(fd) != 0 || ::close(fd) != 0 || std::rename(tmp.c_str(), file.c_str()) != 0)
            std::abort();
    }
    state.SetBytesProcessed(state.iterations() * ledger::kYearFileSize);
}
BENCHMARK(BM_SavePeriodFloor)->Unit(benchmark::kMillisecond);

void BM_ReadPeriodBlock(benchmark::State& state) {
    Company c;
    for (auto _ : state)
        benchmark::DoNotOptimize(ledger::ReadPeriodBlock(c.ledger.CurData.FileName, 12));
}
BENCHMARK(BM_ReadPeriodBlock)->Unit(benchmark::kMicrosecond);

}  // namespace
