#include "cli/signal_watcher.h"

#include <pthread.h>

#include <cstdlib>

namespace tolvane::cli {

SignalWatcher::SignalWatcher() {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  sigaddset(&signals_, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
  thread_ = std::thread([this] { watch(); });
}

SignalWatcher::~SignalWatcher() {
  closing_ = true;
  // Wakes the watching thread; the signal is taken there and not counted.
  pthread_kill(thread_.native_handle(), SIGHUP);
  thread_.join();
}

void SignalWatcher::watch() {
  for (;;) {
    int number = 0;
    if (sigwait(&signals_, &number) != 0) continue;
    if (closing_) return;
    int none = 0;
    caught_.compare_exchange_strong(none, number);
    stop_ = true;
  }
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
