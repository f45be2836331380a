// Jobs run ahead on worker threads; results come out in index order.
#include "photos/ordered_workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace tolvane {
namespace {

TEST(OrderedWorkers, HandsResultsOutInIndexOrder) {
  constexpr std::size_t kCount = 40;
  OrderedWorkers<std::size_t> workers(kCount, 4, [&](std::size_t i) {
    std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 300));
    return i * i;
  });
  for (std::size_t i = 0; i < kCount; ++i) EXPECT_EQ(workers.take(i), i * i);
}

TEST(OrderedWorkers, StopsEarlyWithoutRunningEveryJob) {
  std::atomic<int> ran{0};
  {
    OrderedWorkers<int> workers(1000, 2, [&](std::size_t) {
      ++ran;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return 0;
    });
    workers.take(0);
  }
  EXPECT_LT(ran.load(), 1000);
}

}  // namespace
}  // namespace tolvane
