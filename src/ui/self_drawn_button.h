// The push buttons of the main window, drawn by the window itself: a flat face with a double
// bevel, sunk when pressed, a dotted focus rectangle and a grey label when disabled.
#pragma once

#include <QColor>
#include <QPushButton>

namespace tolvane {

struct ButtonColours {
  QColor face;
  QColor dark_edge;
  QColor light_edge;
};

// The convert button's colours, and those of the other nine buttons.
ButtonColours convert_button_colours();
ButtonColours plain_button_colours();

inline const QColor kDisabledLabelColour{96, 96, 96};

class SelfDrawnButton : public QPushButton {
 public:
  SelfDrawnButton(const QString& caption, ButtonColours colours, QWidget* parent = nullptr);

  const ButtonColours& colours() const { return colours_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ButtonColours colours_;
};

}  // namespace tolvane
