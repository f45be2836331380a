// Runs work on the thread of a window and waits until it is done, from whichever thread asks.
// This is how a conversion's worker thread reaches the window: each call returns only when its
// effect (a redrawn status line, a closed message box) has been made.
#pragma once

#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace tolvane {

class UiThreadCaller {
 public:
  explicit UiThreadCaller(QObject* context) : context_(context) {}

  // Runs `work` on the context's thread and returns when it has run. Called on that thread
  // itself, it runs at once. After detach() it returns at once without running `work`.
  void call(const std::function<void()>& work);

  // Releases every waiting caller and refuses all later calls: for the window's last moments,
  // while it waits for a worker that may be waiting for it.
  void detach();

 private:
  QObject* context_;
  std::mutex mutex_;
  std::condition_variable done_;
  bool detached_ = false;
};

}  // namespace tolvane
