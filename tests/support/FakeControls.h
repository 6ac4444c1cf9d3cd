#pragma once

// Plain implementations of the control views for tests.

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "controls/PlainControls.h"
#include "sourcerows/PlainSourceGrid.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro::test {

using FakeControl = PlainControl;
using FakeCheckBox = PlainCheckBox;
using FakeTextField = PlainTextField;

struct FakeSelector : PlainSelector {
  // A choice made by the user: selection changes and the change event fires.
  void UserSelects(int i) {
    SetItemIndex(i);
    if (OnChange) OnChange();
  }
};

struct FakeSourceGrid : PlainSourceGrid {
  // What the work on a large list costs: the cells and selection flags read,
  // the deletions asked for.
  mutable int cellReads = 0;
  mutable int selectionReads = 0;
  int deletions = 0;

  std::string Cell(int r, int c) const override {
    ++cellReads;
    return PlainSourceGrid::Cell(r, c);
  }
  bool IsSelected(int r) const override {
    ++selectionReads;
    return PlainSourceGrid::IsSelected(r);
  }
  void DeleteRows(int first, int count) override {
    ++deletions;
    PlainSourceGrid::DeleteRows(first, count);
  }

  // A checked row with the whole file selected, as adding makes it.
  void AddFile(const std::string& path, const std::string& duration, const std::string& start = "00:00:00",
               const std::string& end = "") {
    rows.push_back({kCheckedText, path, "1 KB", duration, start, end.empty() ? duration : end, duration});
  }
};

struct FakeProgressBar : IProgressBar {
  int minimum = 0, maximum = 100, position = 0;
  int Minimum() const override { return minimum; }
  int Maximum() const override { return maximum; }
  int Position() const override { return position; }
  void SetMinimum(int v) override {
    minimum = v;
    if (maximum < v) maximum = v;
    SetPosition(position);
  }
  void SetMaximum(int v) override {
    maximum = v;
    if (minimum > v) minimum = v;
    SetPosition(position);
  }
  void SetPosition(int v) override { position = std::clamp(v, minimum, maximum); }
};

struct FakePanel : IPanel {
  bool visible = true;
  bool Visible() const override { return visible; }
  void SetVisible(bool v) override { visible = v; }
};

struct FakeWindow : IWindow {
  bool enabled = true, visible = false;
  int shows = 0;
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
  void Show() override {
    if (!visible) ++shows;
    visible = true;
  }
  void Hide() override { visible = false; }
  bool Visible() const override { return visible; }
};

// A modal window: whileShown stands for what the user does before ShowModal
// returns; it must close the window.
struct FakeModalWindow : IModalWindow {
  std::function<void()> whileShown;
  bool open = false;
  int shows = 0;
  void ShowModal() override {
    ++shows;
    open = true;
    if (whileShown) whileShown();
  }
  void Close() override { open = false; }
};

}  // namespace sonvarro::test

#include "engine/OptionControlSet.h"

namespace sonvarro::test {

// A full set of option selectors, as the windows hold them.
using FakeOptionControls = OptionControlSet<FakeSelector, FakeControl>;

}  // namespace sonvarro::test
