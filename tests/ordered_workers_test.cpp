// Jobs run ahead on worker threads; results come out in index order; groups stay sequential.
#include "photos/ordered_workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace tolvane {
namespace {

TEST(OrderedWorkers, HandsResultsOutInIndexOrderAndKeepsGroupsSequential) {
  constexpr std::size_t kCount = 40;
  std::mutex mutex;
  std::vector<std::size_t> order_in_group_a;
  std::vector<std::vector<std::size_t>> groups;
  std::vector<std::size_t> group_a;
  for (std::size_t i = 0; i < kCount; ++i) {
    if (i % 5 == 0) {
      group_a.push_back(i);
    } else {
      groups.push_back({i});
    }
  }
  groups.push_back(group_a);
  OrderedWorkers<std::size_t> workers(std::move(groups), kCount, 4, [&](std::size_t i) {
    if (i % 5 == 0) {
      std::lock_guard lock(mutex);
      order_in_group_a.push_back(i);
    }
    std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 300));
    return i * i;
  });
  for (std::size_t i = 0; i < kCount; ++i) EXPECT_EQ(workers.take(i), i * i);
  std::lock_guard lock(mutex);
  EXPECT_EQ(order_in_group_a, (std::vector<std::size_t>{0, 5, 10, 15, 20, 25, 30, 35}));
}

TEST(OrderedWorkers, StopsEarlyWithoutRunningEveryJob) {
  std::atomic<int> ran{0};
  std::vector<std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < 1000; ++i) groups.push_back({i});
  {
    OrderedWorkers<int> workers(std::move(groups), 1000, 2, [&](std::size_t) {
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
