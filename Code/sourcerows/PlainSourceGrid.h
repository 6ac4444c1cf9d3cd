#pragma once

// The source list's rows held in memory, for behaviour without a window (the
// command line); tests build their grid on it.

#include <set>
#include <string>
#include <vector>

#include "sourcerows/SourceItem.h"

namespace sonvarro {

struct PlainSourceGrid : ISourceGrid {
  std::vector<SourceItem> rows;
  std::set<int> selected;
  int focused = -1;
  int updateDepth = 0;
  int repaints = 0;

  int RowCount() const override { return static_cast<int>(rows.size()); }
  std::string Cell(int r, int c) const override { return rows.at(static_cast<size_t>(r)).at(static_cast<size_t>(c)); }
  void SetCell(int r, int c, const std::string& t) override {
    rows.at(static_cast<size_t>(r)).at(static_cast<size_t>(c)) = t;
  }
  void AppendRow(const SourceItem& item) override { rows.push_back(item); }
  void DeleteRows(int first, int count) override {
    const int end = first + count;
    rows.erase(rows.begin() + first, rows.begin() + end);
    std::set<int> shifted;
    for (int s : selected) {
      if (s < first) shifted.insert(s);
      if (s >= end) shifted.insert(s - count);
    }
    selected = shifted;
    if (focused >= first && focused < end)
      focused = -1;
    else if (focused >= end)
      focused -= count;
  }
  void Clear() override {
    rows.clear();
    selected.clear();
    focused = -1;
  }
  bool IsSelected(int r) const override { return selected.count(r) != 0; }
  void SetSelected(int r, bool s) override {
    if (s)
      selected.insert(r);
    else
      selected.erase(r);
  }
  int FocusedRow() const override { return focused; }
  void SetFocusedRow(int r) override { focused = r; }
  void BeginUpdate() override { ++updateDepth; }
  void EndUpdate() override {
    if (--updateDepth == 0) ++repaints;
  }
};

}  // namespace sonvarro
