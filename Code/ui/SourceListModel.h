#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "sourcerows/SourceItem.h"

namespace sonvarro {

// The grid's data: the rows are the source list itself, there is no other copy.
class SourceListModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;

  const SourceItem& Row(int row) const { return rows_.at(static_cast<size_t>(row)); }
  void SetCell(int row, int column, const std::string& text);
  void AppendRow(const SourceItem& item);
  void RemoveRows(int first, int count);
  void RemoveAll();

  // Raised after the user changed a cell (check box or a trim time).
  Q_SIGNAL void cellEdited(int row, int column);

 private:
  std::vector<SourceItem> rows_;
};

// Drag format of rows dragged out of the grid.
inline constexpr const char* kSourceRowsMimeType = "application/x-sonvarro-source-rows";

}  // namespace sonvarro
