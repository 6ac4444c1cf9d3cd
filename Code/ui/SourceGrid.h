#pragma once

#include <QStringList>
#include <QTableView>

#include "controls/Controls.h"
#include "sourcerows/SourceItem.h"
#include "ui/SourceListModel.h"

namespace sonvarro {

// The source list grid `dxTreeSourceFileInfo`: a flat table of the seven
// columns, several rows selectable, the selection kept visible without the
// focus, columns resizable but not movable and sharing the grid's width, and
// rows that can be dragged out of it. Start Time and End Time are edited
// with time editors (hh:mm:ss on a 24-hour clock) that open on the first
// click.
class SourceGrid final : public QTableView, public ISourceGrid {
  Q_OBJECT
 public:
  explicit SourceGrid(QWidget* parent = nullptr);

  SourceListModel& Model() { return model_; }

  int RowCount() const override;
  std::string Cell(int row, int column) const override;
  void SetCell(int row, int column, const std::string& text) override;
  void AppendRow(const SourceItem& item) override;
  void DeleteRows(int first, int count) override;
  void Clear() override;
  bool IsSelected(int row) const override;
  void SetSelected(int row, bool selected) override;
  int FocusedRow() const override;
  void SetFocusedRow(int row) override;
  void BeginUpdate() override;
  void EndUpdate() override;

  // How a drag of rows that started here ended: dropped back on the grid
  // (nothing happens) or anywhere else, or nowhere (the rows leave the list).
  void FinishRowDrag(bool droppedOnGrid);

  Q_SIGNAL void keyDown(int key);
  Q_SIGNAL void keyUp(int key);
  // A click anywhere in the grid, after the selection has followed it.
  Q_SIGNAL void gridClicked();
  // The value in the Start Time editor changed (a typed digit, a step).
  Q_SIGNAL void startTimeEditorChanged();
  Q_SIGNAL void rowsDraggedOut();
  Q_SIGNAL void filesDropped(const QStringList& paths);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ShareWidth();

  SourceListModel model_;
  int updateDepth_ = 0;
  bool dropLandedOnGrid_ = false;
};

// The local files named by a drop, in the order given.
QStringList LocalFilesOf(const QMimeData* mime);

}  // namespace sonvarro
