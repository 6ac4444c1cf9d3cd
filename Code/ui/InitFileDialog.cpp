#include "ui/InitFileDialog.h"

#include <QHBoxLayout>

namespace sonvarro {
namespace {

constexpr int kClientWidth = 273;
constexpr int kClientHeight = 45;

}  // namespace

InitFileDialog::InitFileDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      lblInfo(new QLabel(QString::fromLatin1(TFrmInitFileForm::kDesignCaption), this)) {
  setObjectName("TFrmInitFileForm");
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(0x2f, 0x4f, 0x7f));
  setPalette(background);

  lblInfo->setObjectName("lblInfo");
  QFont font(QStringLiteral("Arial"));
  font.setBold(true);
  lblInfo->setFont(font);
  lblInfo->setAlignment(Qt::AlignCenter);
  lblInfo->setStyleSheet(QStringLiteral("color: white;"));
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(lblInfo);
}

void InitFileDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QWidget* owner = parentWidget()) move(owner->geometry().center() - QPoint(width() / 2, height() / 2));
}

}  // namespace sonvarro
