#pragma once

// Plain implementations of the control views: the values held in memory, as
// behaviour without a window (the command line) works on them. Tests build
// their doubles on them.

#include <algorithm>
#include <string>
#include <vector>

#include "controls/Controls.h"

namespace sonvarro {

struct PlainControl : IControl {
  bool enabled = true;
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
};

// An editable list takes a typed text of its own.
struct PlainSelector : ISelector {
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
};

struct PlainCheckBox : ICheckBox {
  bool checked = false;
  bool enabled = true;
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
  bool Checked() const override { return checked; }
  void SetChecked(bool c) override { checked = c; }
};

struct PlainTextField : ITextField {
  std::string text;
  bool enabled = true;
  bool Enabled() const override { return enabled; }
  void SetEnabled(bool e) override { enabled = e; }
  std::string Text() const override { return text; }
  void SetText(const std::string& t) override { text = t; }
};

}  // namespace sonvarro
