// RecalcAll over a full period of 80 active employees, for a salary month and
// for a bonus whose tax and yearly cap read the stored files.
#include <benchmark/benchmark.h>

#include "BenchData.h"

namespace {

using bench_data::Company;

void BM_RecalcAllSalary(benchmark::State& state) {
    Company c;
    c.openPeriod(4);
    ledger::MessageLog messages;
    for (auto _ : state) benchmark::DoNotOptimize(ledger::RecalcAll(c.ledger, messages));
    state.SetItemsProcessed(state.iterations() * ledger::kSlots);
}
BENCHMARK(BM_RecalcAllSalary)->Unit(benchmark::kMicrosecond);

void BM_RecalcAllBonus(benchmark::State& state) {
    Company c;
    c.openPeriod(13);
    ledger::MessageLog messages;
    for (auto _ : state) benchmark::DoNotOptimize(ledger::RecalcAll(c.ledger, messages));
    state.SetItemsProcessed(state.iterations() * ledger::kSlots);
}
BENCHMARK(BM_RecalcAllBonus)->Unit(benchmark::kMicrosecond);

}  // namespace
