// A dialog's group box: an etched frame whose top line runs through the middle of the caption,
// drawn behind the controls that stand in it (they are its siblings, not its children).
#pragma once

#include <QWidget>

namespace tolvane {

class GroupFrame : public QWidget {
 public:
  GroupFrame(const QString& caption, QWidget* parent = nullptr);

  QString caption() const { return caption_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};

}  // namespace tolvane
