// Day-key conversions over a span of years.
#include <benchmark/benchmark.h>

#include "core/dates.h"

namespace {

void BM_Date2Julian(benchmark::State& state) {
    const int years = static_cast<int>(state.range(0));
    int64_t days = 0;
    for (auto _ : state) {
        for (int y = 2000; y < 2000 + years; ++y)
            for (int m = 1; m <= 12; ++m)
                for (int d = 1; d <= 28; d += 3) benchmark::DoNotOptimize(vm::Date2Julian(vm::CivilDate{y, m, d}));
        days += years * 12 * 10;
    }
    state.SetItemsProcessed(days);
}
BENCHMARK(BM_Date2Julian)->Arg(100);

void BM_CVJulian2Date(benchmark::State& state) {
    const int years = static_cast<int>(state.range(0));
    int64_t n = 0;
    for (auto _ : state) {
        for (int y = 2000; y < 2000 + years; ++y)
            for (int d = 1; d <= 365; d += 4) {
                int32_t key = y * 1000 + d;
                benchmark::DoNotOptimize(vm::CVJulian2Date(key));
                ++n;
            }
    }
    state.SetItemsProcessed(n);
}
BENCHMARK(BM_CVJulian2Date)->Arg(100);

// Stepping a key forward by a day and normalising it, as the repeat rules do.
void BM_KeyStep(benchmark::State& state) {
    int64_t n = 0;
    for (auto _ : state) {
        int32_t key = 2000001;
        for (int i = 0; i < 36525; ++i) {
            key += 1;
            key = vm::Date2Julian(vm::KeyToCivil(key));
        }
        benchmark::DoNotOptimize(key);
        n += 36525;
    }
    state.SetItemsProcessed(n);
}
BENCHMARK(BM_KeyStep);

}  // namespace
