#pragma once

#include <array>
#include <string>

namespace sonvarro {

// One row of the source list: seven text cells, in display order.
enum SourceColumn : int {
  kColCheck = 0,      // "True" / "False"
  kColFileName = 1,   // full path as delivered by the dialog or the drop
  kColFileSize = 2,   // SizeText of the length in bytes
  kColDuration = 3,   // TimeText
  kColStartTime = 4,  // TimeText
  kColEndTime = 5,    // TimeText
  kColCutTime = 6,    // TimeText
};

inline constexpr int kSourceColumnCount = 7;
inline constexpr const char* kCheckedText = "True";
inline constexpr const char* kUncheckedText = "False";

using SourceItem = std::array<std::string, kSourceColumnCount>;

// The source list grid: rows of seven texts, a multiple selection and one
// focused row (-1: none).
class ISourceGrid {
 public:
  virtual ~ISourceGrid() = default;
  virtual int RowCount() const = 0;
  virtual std::string Cell(int row, int column) const = 0;
  virtual void SetCell(int row, int column, const std::string& text) = 0;
  virtual void AppendRow(const SourceItem& item) = 0;
  // Deletes count rows from first on; the rows below move up.
  virtual void DeleteRows(int first, int count) = 0;
  virtual void Clear() = 0;
  virtual bool IsSelected(int row) const = 0;
  virtual void SetSelected(int row, bool selected) = 0;
  virtual int FocusedRow() const = 0;
  virtual void SetFocusedRow(int row) = 0;
  // Update bracket: the grid repaints once, at the matching EndUpdate.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

}  // namespace sonvarro
