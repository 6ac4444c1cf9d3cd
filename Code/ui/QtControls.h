#pragma once

// Qt widgets behind the toolkit-free control views.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include "controls/Controls.h"

namespace sonvarro {

class QtControl final : public IControl {
 public:
  explicit QtControl(QWidget* widget) : widget_(widget) {}
  bool Enabled() const override { return widget_->isEnabled(); }
  void SetEnabled(bool enabled) override { widget_->setEnabled(enabled); }

 private:
  QWidget* widget_;
};

// A window that the behaviour disables while it works elsewhere (a job).
// Disabling takes the focus from its controls; enabling gives it back to
// the control that had it and makes the window active again when nothing
// else is, so keys reach it at once whatever the window manager does.
class QtFocusKeepingControl final : public IControl {
 public:
  explicit QtFocusKeepingControl(QWidget* window) : window_(window) {}
  bool Enabled() const override { return window_->isEnabled(); }
  void SetEnabled(bool enabled) override;

 private:
  QWidget* window_;
  QPointer<QWidget> focus_;
};

// A QComboBox as a selector. OnChange follows QComboBox::activated, which Qt
// raises for the user's choices only, never for setCurrentIndex. An editable
// box also raises it when typing ends (the focus leaves the box, Enter) with
// a text that matches an item; that is no choice from the list and raises
// no OnChange. The box must be made editable before the selector is built.
class QtSelector final : public ISelector {
 public:
  explicit QtSelector(QComboBox* box);
  QtSelector(const QtSelector&) = delete;
  QtSelector& operator=(const QtSelector&) = delete;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  int Count() const override;
  std::string Item(int index) const override;
  void AddItem(const std::string& text) override;
  void Clear() override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  std::string Text() const override;
  void SetText(const std::string& text) override;
  QComboBox* Widget() const { return box_; }

 private:
  QComboBox* box_;
  bool endingTyping_ = false;
};

class QtCheckBox final : public ICheckBox {
 public:
  explicit QtCheckBox(QCheckBox* box) : box_(box) {}
  bool Enabled() const override { return box_->isEnabled(); }
  void SetEnabled(bool enabled) override { box_->setEnabled(enabled); }
  bool Checked() const override { return box_->isChecked(); }
  void SetChecked(bool checked) override { box_->setChecked(checked); }

 private:
  QCheckBox* box_;
};

class QtTextField final : public ITextField {
 public:
  explicit QtTextField(QLineEdit* edit) : edit_(edit) {}
  bool Enabled() const override { return edit_->isEnabled(); }
  void SetEnabled(bool enabled) override { edit_->setEnabled(enabled); }
  std::string Text() const override { return edit_->text().toStdString(); }
  void SetText(const std::string& text) override { edit_->setText(QString::fromStdString(text)); }

 private:
  QLineEdit* edit_;
};

}  // namespace sonvarro

#include <QProgressBar>

namespace sonvarro {

// Keeps the logical range and position itself: QProgressBar ignores values
// outside its range (we clamp them) and animates an empty 0..0 range as
// "busy" (we show it as an empty bar).
class QtProgressBar final : public IProgressBar {
 public:
  explicit QtProgressBar(QProgressBar* bar);
  int Minimum() const override { return minimum_; }
  int Maximum() const override { return maximum_; }
  int Position() const override { return position_; }
  void SetMinimum(int value) override;
  void SetMaximum(int value) override;
  void SetPosition(int value) override;

 private:
  void Show();
  QProgressBar* bar_;
  int minimum_ = 0, maximum_ = 100, position_ = 0;
};

// A top-level widget as a window the behaviour shows and hides.
class QtWindow final : public IWindow {
 public:
  explicit QtWindow(QWidget* widget) : widget_(widget) {}
  bool Enabled() const override { return widget_->isEnabled(); }
  void SetEnabled(bool enabled) override { widget_->setEnabled(enabled); }
  void Show() override;
  void Hide() override { widget_->hide(); }
  bool Visible() const override { return widget_->isVisible(); }

 private:
  QWidget* widget_;
};

// A child widget as a panel the behaviour shows and hides.
class QtPanel final : public IPanel {
 public:
  explicit QtPanel(QWidget* widget) : widget_(widget) {}
  bool Visible() const override { return !widget_->isHidden(); }
  void SetVisible(bool visible) override { widget_->setVisible(visible); }

 private:
  QWidget* widget_;
};

// A label as a read-only text field.
class QtLabelText final : public ITextField {
 public:
  explicit QtLabelText(QLabel* label) : label_(label) {}
  bool Enabled() const override { return label_->isEnabled(); }
  void SetEnabled(bool enabled) override { label_->setEnabled(enabled); }
  std::string Text() const override { return label_->text().toStdString(); }
  void SetText(const std::string& text) override { label_->setText(QString::fromStdString(text)); }

 private:
  QLabel* label_;
};

}  // namespace sonvarro
