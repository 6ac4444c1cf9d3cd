#pragma once

// Qt widgets behind the toolkit-free control views.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "ui/Controls.h"

namespace sonvarro {

class QtControl final : public IControl {
 public:
  explicit QtControl(QWidget* widget) : widget_(widget) {}
  bool Enabled() const override { return widget_->isEnabled(); }
  void SetEnabled(bool enabled) override { widget_->setEnabled(enabled); }

 private:
  QWidget* widget_;
};

// A QComboBox as a selector. OnChange follows QComboBox::activated, which Qt
// raises for the user's choices only, never for setCurrentIndex.
class QtSelector final : public ISelector {
 public:
  explicit QtSelector(QComboBox* box);
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
