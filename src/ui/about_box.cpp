#include "ui/about_box.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "ui/app_icon.h"
#include "ui/dialog_units.h"

namespace tolvane {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QCoreApplication::translate("AboutBox", "バージョン情報"));
  setFont(dialog_font());
  const DialogUnits du(font());
  setFixedSize(du.x(266), du.y(55));

  const QRect icon_rect = du.rect(11, 17, 20, 20);
  auto* icon = new QLabel(this);
  icon->setPixmap(draw_app_icon(qMin(icon_rect.width(), icon_rect.height())));
  icon->setGeometry(icon_rect);

  auto* product = new QLabel(QString::fromUtf8(kProductLine), this);
  product->setGeometry(du.rect(40, 10, 160, 8));
  auto* version = new QLabel(QCoreApplication::translate("AboutBox", kVersionLine), this);
  version->setGeometry(du.rect(40, 25, 160, 8));

  auto* ok = new QPushButton(QCoreApplication::translate("AboutBox", "OK"), this);
  ok->setGeometry(du.rect(209, 7, 50, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tolvane
