// The year-end program's load of a year: December, the fifteen periods summed for
// 80 employees, and last year's records carried over; against reading the year
// file once.
#include <benchmark/benchmark.h>

#include "BenchData.h"
#include "platform/Files.h"
#include "withholding/WithholdingFile.h"
#include "withholding/YearLoad.h"

namespace {

using bench_data::Company;

// The company with last year's withholding file saved, this year's not yet.
struct YearEnd : Company {
    YearEnd() {
        useYear(7, 12);
        withholding::WithholdingData last;
        if (!withholding::LoadYearData(ledger, last)) std::abort();
        withholding::SaveWithholdingFile(withholding::WithholdingPath(ledger), last);
        useYear(8, 12);
    }
};

void BM_YearEndLoad(benchmark::State& state) {
    YearEnd y;
    withholding::WithholdingData data;
    for (auto _ : state) benchmark::DoNotOptimize(withholding::LoadYearData(y.ledger, data));
}
BENCHMARK(BM_YearEndLoad)->Unit(benchmark::kMicrosecond);

void BM_YearEndLoadFloor(benchmark::State& state) {
    YearEnd y;
    for (auto _ : state) benchmark::DoNotOptimize(platform::readFile(y.ledger.CurData.FileName));
}
BENCHMARK(BM_YearEndLoadFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
