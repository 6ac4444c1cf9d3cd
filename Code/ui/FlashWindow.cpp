#include "ui/FlashWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <utility>

#include "ui/Skin.h"

namespace sonvarro {

FlashWindow::FlashWindow(QWidget* owner, ModalLoop modalLoop)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      ImgFlash(new QLabel(this)),
      modalLoop_(std::move(modalLoop)) {
  setObjectName("TFrmFlashForm");
  setModal(true);
  ImgFlash->setObjectName("ImgFlash");
  ImgFlash->move(0, 0);
}

void FlashWindow::SetPicture(int width, int height, const uint8_t* rgb) {
  // The pixels come decoded; no image reader of the toolkit is involved.
  const QImage image(rgb, width, height, width * 3, QImage::Format_RGB888);
  picture_ = QPixmap::fromImage(image.copy());
  ImgFlash->setPixmap(picture_);
  ImgFlash->setGeometry(0, 0, width, height);
  setFixedSize(width, height);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - QPoint(width / 2, height / 2));
  }
}

void FlashWindow::SetSharpPicture(int width, int height, const uint8_t* rgb) {
  const QImage image(rgb, width, height, width * 3, QImage::Format_RGB888);
  sharpPicture_ = QPixmap::fromImage(image.copy());
  sharpPicture_.setDevicePixelRatio(2);
}

void FlashWindow::showEvent(QShowEvent* event) {
  // The screen is known once the window shows.
  const bool sharp = SkinScaleFor(devicePixelRatioF()) == 2 && !sharpPicture_.isNull();
  ImgFlash->setPixmap(sharp ? sharpPicture_ : picture_);
  QDialog::showEvent(event);
}

void FlashWindow::ShowModal() {
  closing_ = false;
  if (!modalLoop_) {
    exec();
    return;
  }
  show();
  modalLoop_([this] { return isVisible(); });
}

void FlashWindow::Close() {
  closing_ = true;
  done(QDialog::Accepted);
}

void FlashWindow::closeEvent(QCloseEvent* event) {
  // A close request from the window manager waits for the start-up routine.
  if (closing_) {
    QDialog::closeEvent(event);
  } else {
    event->ignore();
  }
}

}  // namespace sonvarro
