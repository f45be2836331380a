// The version information box: the icon, the product name, the version line and OK.
#pragma once

#include <QDialog>

namespace tolvane {

inline constexpr const char* kProductLine = "Tolvane";
inline constexpr const char* kVersionLine = "Version 2.0 beta 7";
inline constexpr const char* kAboutCommandText = "Tolvane のﾊﾞｰｼﾞｮﾝ情報(&A)...";

class AboutBox : public QDialog {
 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace tolvane
