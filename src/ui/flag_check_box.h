// A check box for an on/off setting: shows 0 and 1 as unchecked and checked, and the value 2
// that a hand-edited file may hold as the third, "partly" state, which a click leaves for good.
#pragma once

#include <QCheckBox>

namespace tolvane {

class FlagCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

  // 0, 1 or 2 set that state.
  void set_value(int value);
  // 0, 1, or 2 while the box still shows the partly state.
  int value() const;

 protected:
  void nextCheckState() override;
};

}  // namespace tolvane
