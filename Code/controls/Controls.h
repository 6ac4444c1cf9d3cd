#pragma once

// The small, toolkit-free views of the controls that the behaviour reads and
// writes. Qt widgets implement them in the program; plain structs implement
// them in the tests.

#include <functional>
#include <string>

namespace sonvarro {

class IControl {
 public:
  virtual ~IControl() = default;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

// A drop-down list: text items and one selection index (-1: none).
// OnChange is raised by the user's choices only, never by SetItemIndex.
class ISelector : public IControl {
 public:
  virtual int Count() const = 0;
  virtual std::string Item(int index) const = 0;
  virtual void AddItem(const std::string& text) = 0;
  virtual void Clear() = 0;
  virtual int ItemIndex() const = 0;
  // An index outside the items clears the selection.
  virtual void SetItemIndex(int index) = 0;
  // The selected item's text; for an editable list, the typed text.
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;

  std::function<void()> OnChange;
};

class ICheckBox : public IControl {
 public:
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

class ITextField : public IControl {
 public:
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

// A progress bar: the position always lies within minimum and maximum.
class IProgressBar {
 public:
  virtual ~IProgressBar() = default;
  virtual int Minimum() const = 0;
  virtual int Maximum() const = 0;
  virtual int Position() const = 0;
  virtual void SetMinimum(int value) = 0;
  virtual void SetMaximum(int value) = 0;
  virtual void SetPosition(int value) = 0;
};

// A panel inside a window that behaviour shows and hides.
class IPanel {
 public:
  virtual ~IPanel() = default;
  // Whether the panel is set to show (also while its window is hidden).
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
};

// A top-level window that behaviour shows, hides, enables and disables.
class IWindow : public IControl {
 public:
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
};

// A window shown modally: ShowModal returns once the window has closed.
class IModalWindow {
 public:
  virtual ~IModalWindow() = default;
  virtual void ShowModal() = 0;
  virtual void Close() = 0;
};

}  // namespace sonvarro
