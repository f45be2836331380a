// A list box of full file paths: kept sorted without regard to letter case, several entries
// selectable with each click toggling one, each file listed once.
#pragma once

#include <QListWidget>
#include <QStringList>

namespace tolvane {

class PathList : public QListWidget {
 public:
  explicit PathList(QWidget* parent = nullptr);

  // Inserts the path at its sorted place; false (and nothing changes) when the list already
  // holds exactly this path.
  bool add_path(const QString& path);
  bool contains_path(const QString& path) const;
  // Deletes every selected entry.
  void remove_selected();
  // Deletes every entry.
  void clear_all();
  // The entries in the order shown.
  QStringList paths() const;
};

}  // namespace tolvane
