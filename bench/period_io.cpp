// Loading and saving one period of a year file, as the period selection and the
// save command do.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"

namespace {

namespace fs = std::filesystem;

// A temporary folder holding one full year file, removed afterwards.
struct YearFileFixture {
    YearFileFixture() : ledger(clock) {
        std::string templ = (fs::temp_directory_path() / "tolvane-bench-XXXXXX").string();
        if (!::mkdtemp(templ.data())) std::abort();
        dir = templ;
        file = dir / "令和8年給与･賞与.dat";
        ledger::CreateDataFile(ledger, file);
        ledger.CurData.Period = 12;
        for (int slot = 1; slot <= ledger::kSlots; ++slot) {
            ledger.Employee(slot).Key.set("260101_0900" + std::to_string(10 + slot % 50));
            ledger.Employee(slot).Name.set("山田太郎");
            ledger.Payment(slot).Amounts[ledger::kPayTotal] = 300000 + slot;
        }
        ledger::SavePeriod(ledger, file);
    }
    ~YearFileFixture() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    ledger::FixedClock clock{{2026, 11, 1}};
    ledger::Ledger ledger;
    fs::path dir, file;
};

void BM_LoadPeriod(benchmark::State& state) {
    YearFileFixture f;
    for (auto _ : state) {
        ledger::LoadPeriod(f.ledger, f.file);
        benchmark::DoNotOptimize(f.ledger.block.get());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(sizeof(ledger::TPeriodBlock)));
}
BENCHMARK(BM_LoadPeriod)->Unit(benchmark::kMicrosecond);

// Includes reading the whole file, writing it to a temporary file, flushing it
// to disk and the rename.
void BM_SavePeriod(benchmark::State& state) {
    YearFileFixture f;
    for (auto _ : state) {
        f.ledger.Payment(1).Amounts[ledger::kPayTotal] += 1;
        ledger::SavePeriod(f.ledger, f.file);
    }
    state.SetBytesProcessed(state.iterations() * ledger::kYearFileSize);
}
BENCHMARK(BM_SavePeriod)->Unit(benchmark::kMillisecond);

void BM_ReadPeriodBlock(benchmark::State& state) {
    YearFileFixture f;
    for (auto _ : state) benchmark::DoNotOptimize(ledger::ReadPeriodBlock(f.file, 12));
}
BENCHMARK(BM_ReadPeriodBlock)->Unit(benchmark::kMicrosecond);

}  // namespace
