// The version information box: the icon, the product name, the version line and OK. Its texts
// are translated under "AboutBox"; the product name is the same in every language.
#pragma once

#include <QDialog>
#include <QtGlobal>

namespace tolvane {

inline constexpr const char* kProductLine = "Tolvane";
inline constexpr const char* kVersionLine = QT_TRANSLATE_NOOP("AboutBox", "Version 2.0 beta 7");
inline constexpr const char* kAboutCommandText =
    QT_TRANSLATE_NOOP("AboutBox", "Tolvane のﾊﾞｰｼﾞｮﾝ情報(&A)...");

class AboutBox : public QDialog {
 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace tolvane
