#include "ui/ui_thread_caller.h"

#include <QMetaObject>
#include <QThread>
#include <memory>

namespace tolvane {

void UiThreadCaller::call(const std::function<void()>& work) {
  if (QThread::currentThread() == context_->thread()) {
    {
      const std::lock_guard lock(mutex_);
      if (detached_) return;
    }
    work();
    return;
  }
  auto finished = std::make_shared<bool>(false);
  {
    const std::lock_guard lock(mutex_);
    if (detached_) return;
    // Posted to the context: if the context is destroyed first, the work is dropped unrun.
    QMetaObject::invokeMethod(
        context_,
        [this, work, finished] {
          {
            const std::lock_guard detached_lock(mutex_);
            if (detached_) return;  // the asker no longer waits; its captures may be gone
          }
          work();
          const std::lock_guard done_lock(mutex_);
          *finished = true;
          done_.notify_all();
        },
        Qt::QueuedConnection);
  }
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&] { return *finished || detached_; });
}

void UiThreadCaller::detach() {
  const std::lock_guard lock(mutex_);
  detached_ = true;
  done_.notify_all();
}

}  // namespace tolvane
