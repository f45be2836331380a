// Helpers of the widget tests: answering the window's file dialogs, and watching for message
// boxes, noting what they said and closing them, so that no test blocks on a modal window.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "ui/file_dialogs.h"

namespace tolvane::testing {

// Answers the open dialogs from a queue and the save dialog with a fixed path, noting every
// request. An empty answer is a cancelled dialog.
class ScriptedFileDialogs final : public FileDialogs {
 public:
  std::deque<QStringList> open_answers;
  QString save_answer;
  std::vector<FileDialogRequest> open_requests;
  std::vector<FileDialogRequest> save_requests;

  QStringList open_files(QWidget*, const FileDialogRequest& request) override {
    open_requests.push_back(request);
    if (open_answers.empty()) return {};
    QStringList answer = open_answers.front();
    open_answers.pop_front();
    return answer;
  }
  QString save_file(QWidget*, const FileDialogRequest& request) override {
    save_requests.push_back(request);
    return save_answer;
  }
};

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
};

// Closes every message box that appears while it lives, with its OK button.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { close_boxes(); });
    timer_.start();
  }

  const std::vector<SeenBox>& boxes() const { return boxes_; }

 private:
  void close_boxes() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (box == nullptr || !box->isVisible() || closing_.contains(box)) continue;
      boxes_.push_back({box->windowTitle(), box->text(), box->icon()});
      closing_.push_back(box);
      QAbstractButton* ok = box->button(QMessageBox::Ok);
      if (ok != nullptr) {
        ok->click();
      } else {
        box->reject();
      }
    }
    closing_.removeIf([](const QPointer<QMessageBox>& box) { return box.isNull(); });
  }

  QTimer timer_;
  std::vector<SeenBox> boxes_;
  QList<QPointer<QMessageBox>> closing_;
};

// Runs `action` on the next turn of the event loop that a modal dialog opened by the caller
// will run: for answering a dialog that exec() is about to show.
template <class Dialog>
void when_dialog_opens(std::function<void(Dialog&)> action) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, action] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = dynamic_cast<Dialog*>(widget);
      if (dialog == nullptr || !dialog->isVisible()) continue;
      poll->stop();
      poll->deleteLater();
      action(*dialog);
      return;
    }
  });
  poll->start();
}

// The next widget in the focus chain that Tab stops at.
inline QWidget* next_tab_stop(QWidget* widget) {
  QWidget* next = widget->nextInFocusChain();
  while (next != widget && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}

inline void click(QWidget* button) { static_cast<QAbstractButton*>(button)->click(); }

}  // namespace tolvane::testing
