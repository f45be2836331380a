// The open and save dialogs of the main window, behind an interface so that tests can answer
// them without a real dialog.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

namespace tolvane {

struct FileDialogRequest {
  QString filter;          // Qt notation (see file_filters.h)
  QString default_suffix;  // added when the user types a name without extension, no dot
  QString initial_name;    // save dialog only; "*.kml" style names only filter
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Several existing files in the order the dialog returns them; empty when cancelled.
  virtual QStringList open_files(QWidget* parent, const FileDialogRequest& request) = 0;
  // One full path, the user asked before an existing file is overwritten; empty when cancelled.
  virtual QString save_file(QWidget* parent, const FileDialogRequest& request) = 0;
};

// The platform's dialogs; each starts in the folder the previous one ended in.
std::unique_ptr<FileDialogs> make_platform_file_dialogs();

}  // namespace tolvane
