#include "ui/QtControls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <algorithm>

#include "ui/AnswerableDialog.h"
#include "ui/Guarded.h"

namespace sonvarro {

void QtFocusKeepingControl::SetEnabled(bool enabled) {
  if (!enabled && window_->isEnabled()) focus_ = window_->focusWidget();
  window_->setEnabled(enabled);
  if (!enabled) KeepModalWindowsAnswerable(*window_);
  if (!enabled || !window_->isVisible()) return;
  const QWidget* active = QApplication::activeWindow();
  if (!active || !active->isVisible()) window_->activateWindow();
  if (focus_ && focus_->isEnabled() && focus_->isVisible()) focus_->setFocus(Qt::OtherFocusReason);
}

namespace {

// Runs the box's own handling of the events that end typing with a flag set,
// so that the activation Qt raises from within it can be told apart.
class TypingEndFilter final : public QObject {
 public:
  TypingEndFilter(QComboBox* box, bool& endingTyping) : QObject(box), endingTyping_(endingTyping) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!EndsTyping(*event)) return false;
    const QScopedValueRollback<bool> ending(endingTyping_, true);
    // Handled here: an Enter the box leaves unaccepted still goes on to the
    // dialog's default button.
    watched->event(event);
    return true;
  }

 private:
  static bool EndsTyping(const QEvent& event) {
    if (event.type() == QEvent::FocusOut) return true;
    if (event.type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
  }

  bool& endingTyping_;
};

}  // namespace

QtSelector::QtSelector(QComboBox* box) : box_(box) {
  QObject::connect(box_, &QComboBox::activated, Guarded([this] {
                     if (endingTyping_) return;
                     if (OnChange) OnChange();
                   }));
  if (box_->isEditable()) {
    // The line edit hands its focus to the box but may be sent events itself.
    box_->installEventFilter(new TypingEndFilter(box_, endingTyping_));
    box_->lineEdit()->installEventFilter(new TypingEndFilter(box_, endingTyping_));
  }
}

bool QtSelector::Enabled() const { return box_->isEnabled(); }
void QtSelector::SetEnabled(bool enabled) { box_->setEnabled(enabled); }
int QtSelector::Count() const { return box_->count(); }
std::string QtSelector::Item(int index) const { return box_->itemText(index).toStdString(); }
// QComboBox selects the first item put into an empty box; a selector selects
// only what it is told to, and an editable one keeps what was typed.
void QtSelector::AddItem(const std::string& text) {
  const bool selectedNone = box_->currentIndex() < 0;
  const QString typed = box_->currentText();
  box_->addItem(QString::fromStdString(text));
  if (!selectedNone || box_->currentIndex() < 0) return;
  box_->setCurrentIndex(-1);
  if (box_->isEditable()) box_->setEditText(typed);
}
void QtSelector::Clear() { box_->clear(); }
int QtSelector::ItemIndex() const { return box_->currentIndex(); }

void QtSelector::SetItemIndex(int index) { box_->setCurrentIndex(index >= 0 && index < box_->count() ? index : -1); }

std::string QtSelector::Text() const { return box_->currentText().toStdString(); }

void QtSelector::SetText(const std::string& text) {
  const QString qtext = QString::fromStdString(text);
  const int found = box_->findText(qtext, Qt::MatchExactly | Qt::MatchCaseSensitive);
  box_->setCurrentIndex(found);
  if (box_->isEditable()) box_->setEditText(qtext);
}

}  // namespace sonvarro

namespace sonvarro {

QtProgressBar::QtProgressBar(QProgressBar* bar) : bar_(bar) {
  minimum_ = bar_->minimum();
  maximum_ = bar_->maximum();
  position_ = std::clamp(bar_->value(), minimum_, maximum_);
  Show();
}

void QtProgressBar::SetMinimum(int value) {
  minimum_ = value;
  maximum_ = std::max(maximum_, value);
  position_ = std::clamp(position_, minimum_, maximum_);
  Show();
}

void QtProgressBar::SetMaximum(int value) {
  maximum_ = value;
  minimum_ = std::min(minimum_, value);
  position_ = std::clamp(position_, minimum_, maximum_);
  Show();
}

void QtProgressBar::SetPosition(int value) {
  position_ = std::clamp(value, minimum_, maximum_);
  Show();
}

void QtProgressBar::Show() {
  if (maximum_ == minimum_) {
    bar_->setRange(0, 1);
    bar_->setValue(0);
  } else {
    bar_->setRange(minimum_, maximum_);
    bar_->setValue(position_);
  }
}

void QtWindow::Show() {
  widget_->show();
  widget_->raise();
}

}  // namespace sonvarro
