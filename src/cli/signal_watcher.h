// Catches SIGINT, SIGTERM and SIGHUP during a conversion, so that the run can stop at a safe
// point and remove what it had begun instead of leaving it half written.
#pragma once

#include <signal.h>

#include <atomic>
#include <thread>

namespace tolvane::cli {

class SignalWatcher {
 public:
  // Blocks the three signals in this thread and every thread started after it, and takes them
  // on a thread of its own. Make it before any other thread of the process starts.
  SignalWatcher();
  // Ends the watching thread; the signals stay blocked.
  ~SignalWatcher();
  SignalWatcher(const SignalWatcher&) = delete;
  SignalWatcher& operator=(const SignalWatcher&) = delete;

  // Set at the first caught signal; hand it to the run as ConversionInput::stop.
  const std::atomic<bool>& stop() const { return stop_; }
  // The first caught signal, 0 while none came.
  int caught() const { return caught_.load(); }

  // Ends the process by signal `number` as if it had never been caught: the default action is
  // restored and the signal unblocked and raised again.
  [[noreturn]] static void raise_again(int number);

 private:
  void watch();

  sigset_t signals_{};
  std::atomic<bool> stop_{false};
  std::atomic<int> caught_{0};
  std::atomic<bool> closing_{false};
  std::thread thread_;
};

// "SIGINT", "SIGTERM", "SIGHUP", or "signal N".
const char* signal_name(int number);

}  // namespace tolvane::cli
