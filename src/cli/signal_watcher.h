// Catches SIGINT, SIGTERM and SIGHUP during a conversion, so that the run can stop at a safe
// point and remove what it had begun instead of leaving it half written.
#pragma once

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <functional>
#include <thread>

namespace tolvane::cli {

class SignalWatcher {
 public:
  // Ends the process for good, on the watching thread, given the first caught signal.
  using GiveUp = std::function<void(int number)>;

  // Blocks the three signals in this thread and every thread started after it, and takes them
  // on a thread of its own; a signal that was ignored when the program started (nohup, a
  // background job of a shell without job control) stays ignored. Make it on the thread that
  // runs the conversion, before any other thread of the process starts.
  //
  // After the first signal the run's thread is interrupted again and again, so that a read that
  // waits for a pipe or a stalled file system returns at once (with EINTR). `give_up` is called
  // when a second signal comes, or when the run has not finished 2 s after the first.
  explicit SignalWatcher(GiveUp give_up);
  // Ends the watching thread (close()); the signals stay blocked.
  ~SignalWatcher();
  SignalWatcher(const SignalWatcher&) = delete;
  SignalWatcher& operator=(const SignalWatcher&) = delete;

  // Set at the first caught signal; hand it to the run as ConversionInput::stop.
  const std::atomic<bool>& stop() const { return stop_; }
  // The first caught signal, 0 while none came.
  int caught() const { return caught_.load(); }
  // Ends the watching: after it the run's thread is no longer interrupted and `give_up` is not
  // called (unless it has been already; it then never returns).
  void close();

  // Ends the process by signal `number` as if it had never been caught: the default action is
  // restored and the signal unblocked and raised again.
  [[noreturn]] static void raise_again(int number);

 private:
  void watch();

  GiveUp give_up_;
  pthread_t run_thread_;
  sigset_t signals_{};
  std::atomic<bool> stop_{false};
  std::atomic<int> caught_{0};
  std::atomic<bool> closing_{false};
  std::thread thread_;
};

// "SIGINT", "SIGTERM", "SIGHUP", or "signal N".
const char* signal_name(int number);

}  // namespace tolvane::cli
