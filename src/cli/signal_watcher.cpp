#include "cli/signal_watcher.h"

#include <time.h>

#include <chrono>
#include <cstdlib>

namespace tolvane::cli {
namespace {

using Clock = std::chrono::steady_clock;

// Wakes the watching thread when the watching ends.
int wake_signal() { return SIGRTMIN; }
// Sent to the run's thread after a stop. Its handler does nothing and is installed without
// SA_RESTART, so a system call that waits returns with EINTR.
int interrupt_signal() { return SIGRTMIN + 1; }

void do_nothing(int) {}

// How long a stop may take before the process is ended, and how often the run's thread is
// interrupted meanwhile.
constexpr auto kStopPatience = std::chrono::seconds(2);
constexpr long kInterruptEveryNs = 50'000'000;

}  // namespace

SignalWatcher::SignalWatcher(GiveUp give_up)
    : give_up_(std::move(give_up)), run_thread_(pthread_self()) {
  sigemptyset(&signals_);
  for (int number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaddset(&signals_, number);
  }
  sigaddset(&signals_, wake_signal());
  pthread_sigmask(SIG_BLOCK, &signals_, nullptr);

  struct sigaction interrupt {};
  interrupt.sa_handler = do_nothing;
  sigemptyset(&interrupt.sa_mask);
  interrupt.sa_flags = 0;
  sigaction(interrupt_signal(), &interrupt, nullptr);

  thread_ = std::thread([this] { watch(); });
}

SignalWatcher::~SignalWatcher() { close(); }

void SignalWatcher::close() {
  if (!thread_.joinable()) return;
  closing_ = true;
  pthread_kill(thread_.native_handle(), wake_signal());
  thread_.join();
}

void SignalWatcher::watch() {
  int number = 0;
  for (;;) {
    if (sigwait(&signals_, &number) != 0) continue;
    if (closing_) return;
    if (number != wake_signal()) break;
  }
  caught_ = number;
  stop_ = true;

  const Clock::time_point deadline = Clock::now() + kStopPatience;
  for (;;) {
    pthread_kill(run_thread_, interrupt_signal());
    struct timespec step {};
    step.tv_nsec = kInterruptEveryNs;
    const int next = sigtimedwait(&signals_, nullptr, &step);
    if (closing_) return;
    if (next == wake_signal()) continue;
    if (next > 0 || Clock::now() >= deadline) break;
  }
  give_up_(number);
}

void SignalWatcher::raise_again(int number) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(number, &action, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, number);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(number);
  std::_Exit(128 + number);  // not reached: the default action of the three ends the process
}

const char* signal_name(int number) {
  switch (number) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "a signal";
  }
}

}  // namespace tolvane::cli
