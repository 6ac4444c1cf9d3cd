#include "ui/SourceFileDialogs.h"

#include "sourcelist/SourceFiles.h"

namespace sonvarro {

QStringList SourceFileNameFilters() {
  QStringList filters;
  for (const FileFilter& filter : SourceFileFilters()) {
    QString patterns = QString::fromStdString(filter.patterns);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(QString::fromStdString(filter.description), patterns.trimmed());
  }
  return filters;
}

void ConfigureOpenSourceFileDialog(QFileDialog& dialog, const std::string& initialDir) {
  dialog.setObjectName("dlgOpenSourceFile");
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setSizeGripEnabled(true);
  dialog.setNameFilters(SourceFileNameFilters());
  dialog.selectNameFilter(SourceFileNameFilters().first());
  dialog.setDirectory(QString::fromStdString(initialDir));
}

std::vector<std::string> RunOpenSourceFileDialog(QWidget* owner, const std::string& initialDir) {
  QFileDialog dialog(owner);
  ConfigureOpenSourceFileDialog(dialog, initialDir);
  std::vector<std::string> chosen;
  if (dialog.exec() == QDialog::Accepted) {
    for (const QString& path : dialog.selectedFiles()) chosen.push_back(path.toStdString());
  }
  return chosen;
}

std::optional<std::string> PickOutputFolderDialog(QWidget* owner) {
  const QString folder = QFileDialog::getExistingDirectory(owner, QString::fromLatin1(kSelectOutputFolderCaption));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

}  // namespace sonvarro
