#include "ui/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tolvane {

namespace {

// The extension of a filter that shows exactly one "*.ext" pattern, else empty.
QString filter_suffix(const QString& filter) {
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close <= open) return {};
  const QString pattern = filter.mid(open + 1, close - open - 1).trimmed();
  if (!pattern.startsWith(QLatin1String("*."))) return {};
  const QString suffix = pattern.mid(2);
  if (suffix.contains(QLatin1Char(' ')) || suffix.contains(QLatin1Char('*'))) return {};
  return suffix;
}

class PlatformFileDialogs final : public FileDialogs {
 public:
  QStringList open_files(QWidget* parent, const FileDialogRequest& request) override {
    QFileDialog dialog(parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    remember(dialog);
    return files;
  }

  QString save_file(QWidget* parent, const FileDialogRequest& request) override {
    QFileDialog dialog(parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name made only of a pattern is what the filter already shows; a literal "*.kml" in the
    // name box would be taken for a file name.
    if (!request.initial_name.isEmpty() && !request.initial_name.contains(QLatin1Char('*'))) {
      dialog.selectFile(request.initial_name);
    }
    // A name typed without extension takes that of the chosen filter ("*.kmz" gives "kmz").
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
      const QString suffix = filter_suffix(filter);
      dialog.setDefaultSuffix(suffix.isEmpty() ? request.default_suffix : suffix);
    });
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    remember(dialog);
    return files.isEmpty() ? QString() : files.first();
  }

 private:
  void prepare(QFileDialog& dialog, const FileDialogRequest& request) const {
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.default_suffix);
    dialog.setDirectory(folder_);
  }

  void remember(const QFileDialog& dialog) { folder_ = dialog.directory().absolutePath(); }

  QString folder_ = QDir::homePath();
};

}  // namespace

std::unique_ptr<FileDialogs> make_platform_file_dialogs() {
  return std::make_unique<PlatformFileDialogs>();
}

}  // namespace tolvane
