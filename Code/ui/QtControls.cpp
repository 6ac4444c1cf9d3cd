#include "ui/QtControls.h"

namespace sonvarro {

QtSelector::QtSelector(QComboBox* box) : box_(box) {
  QObject::connect(box_, &QComboBox::activated, [this](int) {
    if (OnChange) OnChange();
  });
}

bool QtSelector::Enabled() const { return box_->isEnabled(); }
void QtSelector::SetEnabled(bool enabled) { box_->setEnabled(enabled); }
int QtSelector::Count() const { return box_->count(); }
std::string QtSelector::Item(int index) const { return box_->itemText(index).toStdString(); }
void QtSelector::AddItem(const std::string& text) { box_->addItem(QString::fromStdString(text)); }
void QtSelector::Clear() { box_->clear(); }
int QtSelector::ItemIndex() const { return box_->currentIndex(); }

void QtSelector::SetItemIndex(int index) {
  box_->setCurrentIndex(index >= 0 && index < box_->count() ? index : -1);
}

std::string QtSelector::Text() const { return box_->currentText().toStdString(); }

void QtSelector::SetText(const std::string& text) {
  const QString qtext = QString::fromStdString(text);
  const int found = box_->findText(qtext, Qt::MatchExactly | Qt::MatchCaseSensitive);
  box_->setCurrentIndex(found);
  if (box_->isEditable()) box_->setEditText(qtext);
}

}  // namespace sonvarro
