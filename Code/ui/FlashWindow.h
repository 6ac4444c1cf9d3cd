#pragma once

#include <QDialog>
#include <QLabel>
#include <functional>

#include "controls/SplashWindow.h"

namespace sonvarro {

// How a modal window waits until it is closed. Empty: the toolkit's own
// nested event loop. Tests with virtual time advance that time in it while
// stillOpen() holds.
using ModalLoop = std::function<void(const std::function<bool()>& stillOpen)>;

// The splash's Qt skin (`TFrmFlashForm`): a borderless modal box that is
// exactly its picture `ImgFlash`, centred on the desktop. The user cannot
// close it; its behaviour does.
class FlashWindow final : public QDialog, public ISplashWindow {
  Q_OBJECT
 public:
  explicit FlashWindow(QWidget* owner = nullptr, ModalLoop modalLoop = {});

  void SetPicture(int width, int height, const uint8_t* rgb) override;
  void SetSharpPicture(int width, int height, const uint8_t* rgb) override;
  void ShowModal() override;
  void Close() override;

  QLabel* ImgFlash;

 protected:
  void reject() override {}
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QPixmap picture_, sharpPicture_;
  ModalLoop modalLoop_;
  bool closing_ = false;
};

}  // namespace sonvarro
