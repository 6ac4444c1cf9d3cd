#include "ui/CodeErrorDialog.h"

#include <QFontMetrics>
#include <QStyle>

#include "services/LastResort.h"

namespace sonvarro {
namespace {

constexpr int kClientWidth = 413;
// One line more than the message and the link need, for the file's name.
constexpr int kClientHeight = 116;

}  // namespace

CodeErrorDialog::CodeErrorDialog(QWidget* owner)
    : QDialog(owner),
      Image1(new QLabel(this)),
      Label1(new QLabel(QString::fromLatin1(kFileReadErrorText), this)),
      lblFileName(new QLabel(this)),
      Label2(new ClickableLabel(QStringLiteral("(Click here to down)"), this)),
      btnOK(new QPushButton(QStringLiteral("OK"), this)) {
  setObjectName("TFrmCodeErrorForm");
  setWindowTitle(QStringLiteral("Error Info"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);

  Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  Image1->setGeometry(12, 12, 32, 32);
  Label1->setWordWrap(true);
  Label1->setGeometry(56, 8, 345, 42);
  lblFileName->setObjectName("lblFileName");
  lblFileName->setGeometry(56, 52, 345, 18);
  Label2->setObjectName("Label2");
  Label2->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
  Label2->setCursor(Qt::PointingHandCursor);
  Label2->setGeometry(56, 76, 140, 20);
  btnOK->setObjectName("btnOK");
  btnOK->setGeometry(326, 80, 75, 25);
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, [this] { Raise(events_.btnOKClick); });
  connect(Label2, &ClickableLabel::clicked, this, [this] { Raise(events_.Label2Click); });
}

void CodeErrorDialog::Raise(const std::function<void()>& handler) {
  if (handler) RunGuarded(handler);
}

void CodeErrorDialog::ElidedName::SetText(const std::string& text) {
  text_ = text;
  label_->setText(label_->fontMetrics().elidedText(QString::fromStdString(text), Qt::ElideMiddle, label_->width()));
}

}  // namespace sonvarro
