#include "ui/SourceGrid.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimeEdit>
#include <QUrl>
#include <algorithm>

#include "ui/SourceColumns.h"

namespace sonvarro {
namespace {

int DesignWidth(int column) { return kSourceColumns[static_cast<size_t>(column)].designWidth; }

constexpr const char* kTimeFormat = "HH:mm:ss";
constexpr const char* kShownTime = "shownTime";

bool IsTrimTime(int column) { return column == kColStartTime || column == kColEndTime; }

// A path as wide as the room at most: the folders give way first, so the
// file's name stays whole as long as it fits at all.
QString PathFittingWidth(const QString& path, const QFontMetrics& metrics, int room) {
  if (metrics.horizontalAdvance(path) <= room) return path;
  const QString name = QFileInfo(path).fileName();
  const QString folder = path.left(path.size() - name.size());
  const int folderRoom = room - metrics.horizontalAdvance(name);
  if (folder.isEmpty() || folderRoom < 2 * metrics.horizontalAdvance(QChar(0x2026))) {
    return metrics.elidedText(name, Qt::ElideMiddle, room);
  }
  return metrics.elidedText(folder, Qt::ElideMiddle, folderRoom) + name;
}

// The time editors of the Start Time and End Time columns: only a time of
// day can be typed, arrow keys and spin buttons step the field under the
// cursor. File Name shows as much of its path as fits, the name first.
class TrimTimeDelegate final : public QStyledItemDelegate {
 public:
  explicit TrimTimeDelegate(SourceGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!IsTrimTime(index.column())) return QStyledItemDelegate::createEditor(parent, option, index);
    auto* editor = new QTimeEdit(parent);
    editor->setObjectName(index.column() == kColStartTime ? "dxtrlSourceFileStartTime" : "dxtrlSourceFileEndTime");
    editor->setDisplayFormat(QString::fromLatin1(kTimeFormat));
    editor->setTimeRange(QTime(0, 0, 0), QTime(23, 59, 59));
    editor->setFrame(false);
    if (index.column() == kColStartTime) {
      SourceGrid* grid = grid_;
      QObject::connect(editor, &QTimeEdit::timeChanged, grid, [grid] { emit grid->startTimeEditorChanged(); });
    }
    return editor;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* timeEdit = qobject_cast<QTimeEdit*>(editor);
    if (!timeEdit) return QStyledItemDelegate::setEditorData(editor, index);
    // Showing the cell is no change by the user.
    const QSignalBlocker quiet(timeEdit);
    const QTime time = QTime::fromString(index.data(Qt::EditRole).toString(), QString::fromLatin1(kTimeFormat));
    timeEdit->setTime(time.isValid() ? time : QTime(0, 0, 0));
    timeEdit->setProperty(kShownTime, timeEdit->time());
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    auto* timeEdit = qobject_cast<QTimeEdit*>(editor);
    if (!timeEdit) return QStyledItemDelegate::setModelData(editor, model, index);
    // An editor left as it opened posts nothing, so a time it cannot show
    // (24 hours or more) stays in its cell.
    if (timeEdit->time() == timeEdit->property(kShownTime).toTime()) return;
    model->setData(index, timeEdit->time().toString(QString::fromLatin1(kTimeFormat)), Qt::EditRole);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != kColFileName || !option->widget) return;
    const QStyle* style = option->widget->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
    const int room = style->subElementRect(QStyle::SE_ItemViewItemText, option, option->widget).width() - 2 * margin;
    // Without a cell to paint (a size hint) the whole path is asked for.
    if (room > 0) option->text = PathFittingWidth(option->text, option->fontMetrics, room);
  }

 private:
  SourceGrid* grid_;
};

}  // namespace

QStringList LocalFilesOf(const QMimeData* mime) {
  QStringList paths;
  if (!mime || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

SourceGrid::SourceGrid(QWidget* parent) : QTableView(parent) {
  setObjectName("dxTreeSourceFileInfo");
  setModel(&model_);
  setItemDelegate(new TrimTimeDelegate(this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setShowGrid(true);
  setWordWrap(false);
  // A text too wide for its cell keeps its start and its end (a size's
  // unit, a path's file name; see the delegate); the tooltip has it whole.
  setTextElideMode(Qt::ElideMiddle);
  // A click on the cell that already has the focus opens its editor in
  // mouseReleaseEvent, at once rather than after a double click's wait.
  setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::EditKeyPressed);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setStretchLastSection(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);

  // Keep the selection visible while another control has the focus.
  QPalette p = palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
  }
  setPalette(p);
  ShareWidth();
}

int SourceGrid::RowCount() const { return model_.rowCount(); }

std::string SourceGrid::Cell(int row, int column) const { return model_.Row(row).at(static_cast<size_t>(column)); }

void SourceGrid::SetCell(int row, int column, const std::string& text) { model_.SetCell(row, column, text); }

void SourceGrid::AppendRow(const SourceItem& item) { model_.AppendRow(item); }

void SourceGrid::DeleteRows(int first, int count) {
  const int focused = FocusedRow();
  const bool wasFocused = focused >= first && focused < first + count;
  model_.RemoveRows(first, count);
  // Qt would hand the focus to a neighbour; a deleted focused row leaves
  // no row focused.
  if (wasFocused) selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void SourceGrid::Clear() { model_.RemoveAll(); }

bool SourceGrid::IsSelected(int row) const { return selectionModel()->isRowSelected(row, QModelIndex()); }

void SourceGrid::SetSelected(int row, bool selected) {
  selectionModel()->select(
      model_.index(row, 0),
      (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
}

int SourceGrid::FocusedRow() const {
  const QModelIndex current = selectionModel()->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void SourceGrid::SetFocusedRow(int row) {
  selectionModel()->setCurrentIndex(row >= 0 ? model_.index(row, kColFileName) : QModelIndex(),
                                    QItemSelectionModel::NoUpdate);
}

void SourceGrid::BeginUpdate() {
  if (updateDepth_++ == 0) setUpdatesEnabled(false);
}

void SourceGrid::EndUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0) {
    setUpdatesEnabled(true);
    viewport()->update();
  }
}

void SourceGrid::FinishRowDrag(bool droppedOnGrid) {
  if (!droppedOnGrid) emit rowsDraggedOut();
}

void SourceGrid::keyPressEvent(QKeyEvent* event) {
  emit keyDown(event->key());
  QTableView::keyPressEvent(event);
}

void SourceGrid::keyReleaseEvent(QKeyEvent* event) {
  emit keyUp(event->key());
  QTableView::keyReleaseEvent(event);
}

void SourceGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  // The time editors open on the first click, also on the cell that already
  // has the focus.
  const QModelIndex index = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && index.isValid() && IsTrimTime(index.column()) && index == currentIndex() &&
      state() != EditingState)
    edit(index, AllEditTriggers, event);
  emit gridClicked();
}

void SourceGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  ShareWidth();
}

void SourceGrid::ShareWidth() {
  // The check box column keeps room for its box; the text columns share the
  // rest in their design proportions, each wide enough for its caption, and
  // the file name takes what is left.
  const int checkWidth = std::max(DesignWidth(kColCheck), style()->pixelMetric(QStyle::PM_IndicatorWidth) + 12);
  int total = 0;
  for (int c = kColFileName; c < kSourceColumnCount; ++c) total += DesignWidth(c);
  const int available = std::max(0, viewport()->width() - checkWidth);
  setColumnWidth(kColCheck, checkWidth);
  int used = 0;
  for (int c = kColFileSize; c < kSourceColumnCount; ++c) {
    const int width = std::max(available * DesignWidth(c) / total, horizontalHeader()->sectionSizeHint(c));
    setColumnWidth(c, width);
    used += width;
  }
  setColumnWidth(kColFileName, std::max(available - used, DesignWidth(kColFileName)));
}

void SourceGrid::startDrag(Qt::DropActions) {
  if (!selectionModel()->hasSelection()) return;
  dropLandedOnGrid_ = false;
  auto* drag = new QDrag(this);
  drag->setMimeData(model_.mimeData(selectedIndexes()));
  drag->exec(Qt::MoveAction);
  FinishRowDrag(dropLandedOnGrid_);
}

void SourceGrid::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasFormat(kSourceRowsMimeType) || event->mimeData()->hasUrls()) {
    event->acceptProposedAction();
  }
}

void SourceGrid::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasFormat(kSourceRowsMimeType) || event->mimeData()->hasUrls()) {
    event->acceptProposedAction();
  }
}

void SourceGrid::dropEvent(QDropEvent* event) {
  if (event->mimeData()->hasFormat(kSourceRowsMimeType)) {
    // Rows dropped back on the grid change nothing.
    dropLandedOnGrid_ = true;
    event->acceptProposedAction();
    return;
  }
  const QStringList files = LocalFilesOf(event->mimeData());
  if (!files.isEmpty()) {
    event->acceptProposedAction();
    emit filesDropped(files);
  }
}

}  // namespace sonvarro
