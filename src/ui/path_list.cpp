#include "ui/path_list.h"

#include <QScrollBar>
#include <memory>
#include <vector>

#include "ui/path_rules.h"

namespace tolvane {

PathList::PathList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::MultiSelection);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Long paths lose their beginning, so that the file name stays in sight; the tool tip shows
  // the whole path.
  setTextElideMode(Qt::ElideLeft);
  setUniformItemSizes(true);
}

bool PathList::contains_path(const QString& path) const {
  for (int row = 0; row < count(); ++row) {
    if (same_path(item(row)->text(), path)) return true;
  }
  return false;
}

bool PathList::add_path(const QString& path) {
  if (path.isEmpty() || contains_path(path)) return false;
  // After every entry that sorts before it or equal to it, so that entries differing only in
  // letter case keep the order in which they came.
  int row = 0;
  while (row < count() && QString::compare(item(row)->text(), path, Qt::CaseInsensitive) <= 0) {
    ++row;
  }
  auto entry = std::make_unique<QListWidgetItem>(path);
  entry->setToolTip(path);
  insertItem(row, entry.release());  // the list owns its items
  return true;
}

void PathList::remove_selected() {
  std::vector<int> rows;
  for (int row = 0; row < count(); ++row) {
    if (item(row)->isSelected()) rows.push_back(row);
  }
  int removed = 0;
  for (int row : rows) {
    const std::unique_ptr<QListWidgetItem> gone(takeItem(row - removed));
    ++removed;
  }
}

void PathList::clear_all() { clear(); }

QStringList PathList::paths() const {
  QStringList result;
  result.reserve(count());
  for (int row = 0; row < count(); ++row) result << item(row)->text();
  return result;
}

}  // namespace tolvane
