// Runs independent jobs on a few worker threads ahead of a consumer that takes their results
// strictly in index order. Jobs are started in index order.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tolvane {

template <class Result>
class OrderedWorkers {
 public:
  using Job = std::function<Result(std::size_t index)>;

  // Runs jobs 0 .. count-1 on up to `workers` threads.
  OrderedWorkers(std::size_t count, int workers, Job job) : results_(count), job_(std::move(job)) {
    const int threads = std::max(1, std::min<int>(workers, static_cast<int>(count)));
    for (int t = 0; t < threads && count > 0; ++t) threads_.emplace_back([this] { run(); });
  }

  OrderedWorkers(const OrderedWorkers&) = delete;
  OrderedWorkers& operator=(const OrderedWorkers&) = delete;

  // Jobs not yet started are dropped; running ones are waited for.
  ~OrderedWorkers() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    for (std::thread& t : threads_) t.join();
  }

  // Waits for the result of job `index` and hands it over.
  Result take(std::size_t index) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return results_[index].has_value(); });
    Result result = std::move(*results_[index]);
    results_[index].reset();
    return result;
  }

 private:
  void run() {
    for (;;) {
      std::size_t index;
      {
        std::lock_guard lock(mutex_);
        if (stopping_ || next_index_ >= results_.size()) return;
        index = next_index_++;
      }
      Result result = job_(index);
      {
        std::lock_guard lock(mutex_);
        results_[index].emplace(std::move(result));
      }
      ready_.notify_all();
    }
  }

  std::vector<std::optional<Result>> results_;
  Job job_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::size_t next_index_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace tolvane
