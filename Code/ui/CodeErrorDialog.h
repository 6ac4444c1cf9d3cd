#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <string>
#include <utility>

#include "sourcelist/CodeErrorForm.h"
#include "ui/AnswerableDialog.h"
#include "ui/ClickableLabel.h"

namespace sonvarro {

// "Error Info"'s Qt skin: a fixed-size modal box with the message, a line
// for the file's name, the codec download link and OK. Its behaviour is
// TFrmCodeErrorForm.
class CodeErrorDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit CodeErrorDialog(QWidget* owner = nullptr);

  QLabel* Image1;
  QLabel* Label1;
  QLabel* lblFileName;     // the file's name; its full path in the tooltip
  ClickableLabel* Label2;  // the codec download link
  QPushButton* btnOK;

  CodeErrorFormControls& Controls() { return controls_; }
  // Hands every event to the behaviour's handlers.
  void Bind(CodeErrorFormEvents events) { events_ = std::move(events); }

 private:
  class Modal final : public IModalWindow {
   public:
    explicit Modal(QDialog* dialog) : dialog_(dialog) {}
    void ShowModal() override { ExecAnswerable(*dialog_); }
    void Close() override { dialog_->accept(); }

   private:
    QDialog* dialog_;
  };
  // The name alone, cut in the middle when it is wider than the line, so
  // that its start and its extension both stay in view.
  class ElidedName final : public ITextField {
   public:
    explicit ElidedName(QLabel* label) : label_(label) {}
    bool Enabled() const override { return label_->isEnabled(); }
    void SetEnabled(bool enabled) override { label_->setEnabled(enabled); }
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override;

   private:
    QLabel* label_;
    std::string text_;
  };
  class ToolTip final : public ITextField {
   public:
    explicit ToolTip(QWidget* widget) : widget_(widget) {}
    bool Enabled() const override { return widget_->isEnabled(); }
    void SetEnabled(bool enabled) override { widget_->setEnabled(enabled); }
    std::string Text() const override { return widget_->toolTip().toStdString(); }
    void SetText(const std::string& text) override { widget_->setToolTip(QString::fromStdString(text)); }

   private:
    QWidget* widget_;
  };

  void Raise(const std::function<void()>& handler);

  CodeErrorFormEvents events_;
  Modal modal_{this};
  ElidedName name_{lblFileName};
  ToolTip hint_{lblFileName};
  CodeErrorFormControls controls_{modal_, name_, hint_};
};

}  // namespace sonvarro
