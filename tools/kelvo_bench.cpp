// kelvo-bench: how long the engine takes for one conversion, one month and
// every month the calendar can show. Figures only; nothing is asserted.
#include <benchmark/benchmark.h>

#include "calendar/lunar.h"
#include "calendar/month_grid.h"

namespace {

constexpr kelvo::Date kToday{2024, 2, 10};

void ConvertOneDate(benchmark::State& state) {
  kelvo::DayCell cell;
  for (auto _ : state) {
    cell.LabelText.clear();
    kelvo::ConvertToLunar(2024, 2, 10, cell);
    benchmark::DoNotOptimize(cell);
  }
}
BENCHMARK(ConvertOneDate);

void BuildOneMonth(benchmark::State& state) {
  for (auto _ : state) {
    kelvo::MonthGrid grid = kelvo::BuildMonthGrid(2024, 2, kToday);
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BuildOneMonth);

// 1212 months, January 1950 to December 2050, as the face would build them.
void BuildAllMonths(benchmark::State& state) {
  int64_t cells = 0;
  for (auto _ : state) {
    for (int16_t year = 1950; year <= 2050; ++year) {
      for (int16_t month = 1; month <= 12; ++month) {
        kelvo::MonthGrid grid = kelvo::BuildMonthGrid(year, month, kToday);
        cells += grid.CellCount;
        benchmark::DoNotOptimize(grid);
      }
    }
  }
  state.SetItemsProcessed(cells);
  // Seconds per cell, printed with an SI suffix (e.g. 80n = 80 ns).
  state.counters["per_cell"] = benchmark::Counter(
      static_cast<double>(cells), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BuildAllMonths)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
