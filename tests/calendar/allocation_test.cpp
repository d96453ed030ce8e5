// A month build makes one heap allocation, the cell array: every text of a
// cell fits the strings' inline buffer, so building all 1212 months does not
// churn the heap.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "calendar/month_grid.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace kelvo {
namespace {

TEST(Allocations, EachMonthBuildAllocatesOnlyItsCellArray) {
  for (int16_t year = 1950; year <= 2050; ++year) {
    for (int16_t month = 1; month <= 12; ++month) {
      const long before = allocations.load();
      const MonthGrid grid = BuildMonthGrid(year, month, Date{2024, 2, 10});
      const long made = allocations.load() - before;
      ASSERT_EQ(made, 1) << year << "-" << month;
    }
  }
}

}  // namespace
}  // namespace kelvo
