#pragma once

// Plain implementations of the control views for tests.

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "sourcerows/SourceItem.h"

namespace sonvarro::test {

struct FakeControl : IControl {
  bool enabled = true;
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
};

struct FakeSelector : ISelector {
  std::vector<std::string> items;
  int index = -1;
  bool editable = false;  // whether the user may type a text of their own
  std::string typed;      // text of an editable list while nothing is selected
  bool enabled = true;

  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
  int Count() const override { return static_cast<int>(items.size()); }
  std::string Item(int i) const override { return items.at(static_cast<size_t>(i)); }
  void AddItem(const std::string& t) override { items.push_back(t); }
  void Clear() override {
    items.clear();
    index = -1;
  }
  int ItemIndex() const override { return index; }
  void SetItemIndex(int i) override {
    index = (i >= 0 && i < Count()) ? i : -1;
    typed.clear();
  }
  std::string Text() const override { return index >= 0 ? items[static_cast<size_t>(index)] : typed; }
  // A list that cannot be edited shows no text that is none of its items.
  void SetText(const std::string& t) override {
    auto it = std::find(items.begin(), items.end(), t);
    index = it == items.end() ? -1 : static_cast<int>(it - items.begin());
    typed = editable && index < 0 ? t : "";
  }
  // A choice made by the user: selection changes and the change event fires.
  void UserSelects(int i) {
    SetItemIndex(i);
    if (OnChange) OnChange();
  }
};

struct FakeCheckBox : ICheckBox {
  bool checked = false;
  bool enabled = true;
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
  bool Checked() const override { return checked; }
  void SetChecked(bool c) override { checked = c; }
};

struct FakeTextField : ITextField {
  std::string text;
  bool enabled = true;
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
  std::string Text() const override { return text; }
  void SetText(const std::string& t) override { text = t; }
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

struct FakeSourceGrid : ISourceGrid {
  std::vector<SourceItem> rows;
  std::set<int> selected;
  int focused = -1;
  int updateDepth = 0;
  int repaints = 0;
  // What the work on a large list costs: the cells and selection flags read,
  // the deletions asked for.
  mutable int cellReads = 0;
  mutable int selectionReads = 0;
  int deletions = 0;

  int RowCount() const override { return static_cast<int>(rows.size()); }
  std::string Cell(int r, int c) const override {
    ++cellReads;
    return rows.at(static_cast<size_t>(r)).at(static_cast<size_t>(c));
  }
  void SetCell(int r, int c, const std::string& t) override {
    rows.at(static_cast<size_t>(r)).at(static_cast<size_t>(c)) = t;
  }
  void AppendRow(const SourceItem& item) override { rows.push_back(item); }
  void DeleteRows(int first, int count) override {
    ++deletions;
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
  bool IsSelected(int r) const override {
    ++selectionReads;
    return selected.count(r) != 0;
  }
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

  // A checked row with the whole file selected, as adding makes it.
  void AddFile(const std::string& path, const std::string& duration, const std::string& start = "00:00:00",
               const std::string& end = "") {
    rows.push_back({kCheckedText, path, "1 KB", duration, start, end.empty() ? duration : end, duration});
  }
};

}  // namespace sonvarro::test

#include "engine/OptionControls.h"

namespace sonvarro::test {

// A full set of option selectors, as the windows hold them.
struct FakeOptionControls {
  FakeSelector outputFiletype, profile, videoSize, framerate, videoBitrate, aspectratio, audioBitrate, audioSample,
      audioVolumeGain, audioChannels, customProfile;
  FakeControl btnOptions;
  OptionControls controls{outputFiletype, profile,      btnOptions,  videoSize,       framerate,     videoBitrate,
                          aspectratio,    audioBitrate, audioSample, audioVolumeGain, audioChannels, customProfile};
  FakeOptionControls() { customProfile.editable = true; }  // the user types a profile's name into it
};

}  // namespace sonvarro::test
