#include "ui/flag_check_box.h"

namespace tolvane {

void FlagCheckBox::set_value(int value) {
  if (value == 2) {
    setCheckState(Qt::PartiallyChecked);
  } else {
    setTristate(false);
    setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked);
  }
}

int FlagCheckBox::value() const {
  switch (checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    case Qt::Unchecked:
      break;
  }
  return 0;
}

void FlagCheckBox::nextCheckState() {
  // From the partly state a click checks the box; from then on it has two states only.
  const bool was_partly = checkState() == Qt::PartiallyChecked;
  setTristate(false);
  if (was_partly) {
    setCheckState(Qt::Checked);
  } else {
    QCheckBox::nextCheckState();
  }
}

}  // namespace tolvane
