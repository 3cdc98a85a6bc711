#include <benchmark/benchmark.h>

#include "withholding/WithholdingFile.h"
#include "withholding/YearEndTax.h"

// The automatic calculation of a whole year: 80 records of varied payees, under
// the law of 令和8 and of a 平成 year.
namespace {

using namespace withholding;

WithholdingData yearOfRecords() {
    WithholdingData data;
    data.clear();
    for (int slot = 1; slot <= kRecords; ++slot) {
        TWithholdingRec& r = data.Record(slot);
        r.PaidAmount = 1500000 + slot * 173000;  // 1.67 M .. 15.3 M
        r.TaxWithheld = r.PaidAmount / 30;
        r.SocialInsurance = r.PaidAmount / 7;
        r.LifeInsurance = 40000 + slot * 500;
        r.EarthquakeInsurance = slot % 3 == 0 ? 50000 : 0;
        r.SpouseDeductible = slot % 4 == 0;
        r.SpouseIncome = slot % 4 == 1 ? 700000 + slot * 9000 : 0;
        r.DependantCounts[0] = slot % 5 == 0;
        r.DependantCounts[5] = slot % 3;
        r.Under16Count = slot % 2;
        r.HousingLoanCredit = slot % 6 == 0 ? 120000 : 0;
        r.PersonFlags[kPersonOtsu] = slot % 17 == 0;
        data.OldRecord(slot).PaidAmount = r.PaidAmount;
    }
    return data;
}

void BM_YearEndCalc80(benchmark::State& state, const char* era, int year) {
    // Each pass recomputes every figure from the record's own inputs, so the
    // same records serve every iteration.
    WithholdingData data = yearOfRecords();
    const YearEndContext context{era, year, true};
    for (auto _ : state) {
        for (int slot = 1; slot <= kRecords; ++slot) ComputeYearEnd(data.Record(slot), context);
        benchmark::DoNotOptimize(data.Records.get());
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(BM_YearEndCalc80, reiwa8, "令和", 8)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_YearEndCalc80, heisei30, "平成", 30)->Unit(benchmark::kMicrosecond);

}  // namespace
