// kelvo-bench: how long the engine takes for one conversion, one month and
// every month the calendar can show. Figures only; nothing is asserted.
#include <benchmark/benchmark.h>

#include <string>

#include "calendar/lunar.h"
#include "calendar/month_grid.h"
#include "calendar/own_days.h"

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

// The file's limit of own days, every fourth one Gregorian, some in leap
// months, most with two reminders.
std::vector<kelvo::OwnDay> ThousandDays() {
  std::vector<kelvo::OwnDay> days(kelvo::kMaxOwnDays);
  for (size_t i = 0; i < days.size(); ++i) {
    kelvo::OwnDay& day = days[i];
    day.Id = std::to_string(i);
    day.Calendar = i % 4 == 3 ? kelvo::OwnDayCalendar::Gregorian : kelvo::OwnDayCalendar::Lunar;
    day.Month = static_cast<int16_t>(1 + i % 12);
    day.LeapMonth = day.Calendar == kelvo::OwnDayCalendar::Lunar && i % 10 == 0;
    day.Day = static_cast<int16_t>(1 + i % 28);
    day.Origin = static_cast<int16_t>(i % 3 ? 1940 + i % 80 : 0);
    day.Kind = i % 2 ? kelvo::OwnDayKind::Birthday : kelvo::OwnDayKind::Anniversary;
    if (i % 5) day.RemindDaysBefore = {0, 3}, day.RemindMinute = 540;
    day.Name = std::to_string(i);
    day.Name.insert(0, "某人的纪念日");
  }
  return days;
}

// One month build as the face makes it, with 0 or 1,000 own days marked.
void BuildOneMonthWithOwnDays(benchmark::State& state) {
  const std::vector<kelvo::OwnDay> days =
      state.range(0) ? ThousandDays() : std::vector<kelvo::OwnDay>();
  for (auto _ : state) {
    kelvo::MonthGrid grid = kelvo::BuildMonthGrid(2024, 2, kToday);
    kelvo::MarkOwnDays(days, grid.DayCells);
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BuildOneMonthWithOwnDays)->Arg(0)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The export of 1,000 days over 20 years; "bytes" is the file's size.
void ExportThousandDaysTwentyYears(benchmark::State& state) {
  const std::vector<kelvo::OwnDay> days = ThousandDays();
  size_t size = 0;
  for (auto _ : state) {
    const std::string ics = kelvo::WriteDaysICalendar(days, 2026, 20, "20261207T083000Z");
    size = ics.size();
    benchmark::DoNotOptimize(ics);
  }
  state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(ExportThousandDaysTwentyYears)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
