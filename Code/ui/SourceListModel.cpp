#include "ui/SourceListModel.h"

#include <QMimeData>

#include "ui/SourceColumns.h"

namespace sonvarro {
namespace {

bool IsUserEditable(int column) { return kSourceColumns[static_cast<size_t>(column)].userEdits; }

}  // namespace

int SourceListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SourceListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kSourceColumnCount; }

QVariant SourceListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const std::string& text = Row(index.row())[static_cast<size_t>(index.column())];
  if (index.column() == kColCheck) {
    if (role == Qt::CheckStateRole) return text == kCheckedText ? Qt::Checked : Qt::Unchecked;
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole) {
    return QString::fromStdString(text);
  }
  if (role == Qt::TextAlignmentRole) return kSourceColumns[static_cast<size_t>(index.column())].alignment.toInt();
  return {};
}

bool SourceListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid()) return false;
  if (index.column() == kColCheck && role == Qt::CheckStateRole) {
    const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
    SetCell(index.row(), kColCheck, checked ? kCheckedText : kUncheckedText);
  } else if (role == Qt::EditRole && IsUserEditable(index.column())) {
    SetCell(index.row(), index.column(), value.toString().toStdString());
  } else {
    return false;
  }
  emit cellEdited(index.row(), index.column());
  return true;
}

QVariant SourceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kSourceColumnCount) {
    return QString::fromLatin1(kSourceColumns[static_cast<size_t>(section)].title);
  }
  return {};
}

Qt::ItemFlags SourceListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
  if (index.column() == kColCheck)
    f |= Qt::ItemIsUserCheckable;
  else if (IsUserEditable(index.column()))
    f |= Qt::ItemIsEditable;
  return f;
}

QStringList SourceListModel::mimeTypes() const { return {QString::fromLatin1(kSourceRowsMimeType)}; }

QMimeData* SourceListModel::mimeData(const QModelIndexList&) const {
  // The rows that move are the grid's selection; the payload only marks the
  // drag as ours.
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kSourceRowsMimeType), QByteArray());
  return mime;
}

void SourceListModel::SetCell(int row, int column, const std::string& text) {
  rows_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column)) = text;
  const QModelIndex changed = index(row, column);
  emit dataChanged(changed, changed);
}

void SourceListModel::AppendRow(const SourceItem& item) {
  const int row = static_cast<int>(rows_.size());
  beginInsertRows({}, row, row);
  rows_.push_back(item);
  endInsertRows();
}

void SourceListModel::RemoveRows(int first, int count) {
  if (count <= 0) return;
  beginRemoveRows({}, first, first + count - 1);
  rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
  endRemoveRows();
}

void SourceListModel::RemoveAll() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

}  // namespace sonvarro
