#include "ui/CodeErrorForm.h"

#include <QStyle>

#include "services/LastResort.h"

namespace sonvarro {
namespace {

constexpr int kClientWidth = 413;
constexpr int kClientHeight = 96;

}  // namespace

TFrmCodeErrorForm::TFrmCodeErrorForm(QWidget* owner)
    : QDialog(owner),
      Image1(new QLabel(this)),
      Label1(new QLabel(QString::fromLatin1(kFileReadErrorText), this)),
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
  Label2->setObjectName("Label2");
  Label2->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
  Label2->setCursor(Qt::PointingHandCursor);
  Label2->setGeometry(56, 56, 140, 20);
  btnOK->setObjectName("btnOK");
  btnOK->setGeometry(326, 60, 75, 25);
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(Label2, &ClickableLabel::clicked, this, [this] {
    if (Label2Click) RunGuarded(Label2Click);
  });
}

}  // namespace sonvarro
