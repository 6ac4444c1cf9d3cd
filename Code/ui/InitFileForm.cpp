#include "ui/InitFileForm.h"

#include <QHBoxLayout>
#include <array>

#include "services/platform/Desktop.h"

namespace sonvarro {
namespace {

constexpr int kClientWidth = 273;
constexpr int kClientHeight = 45;
constexpr const char* kDesignCaption = "Installing File...";
// Indexed by SpinnerStep - 1; two blanks before the turning character.
constexpr std::array<const char*, 4> kSpinnerTexts = {"Installing File...  |", "Installing File...  /",
                                                      "Installing File...  -", "Installing File...  \\"};

}  // namespace

TFrmInitFileForm::TFrmInitFileForm(IScheduler& scheduler, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      lblInfo(new QLabel(QString::fromLatin1(kDesignCaption), this)),
      scheduler_(scheduler),
      timer1_(scheduler, kTimer1IntervalMs, [this] { Timer1Timer(); }) {
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

TFrmInitFileForm::~TFrmInitFileForm() { scheduler_.Cancel(timer2_); }

void TFrmInitFileForm::SetFileList(std::vector<std::string> paths) { fileList_ = std::move(paths); }

void TFrmInitFileForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QWidget* owner = parentWidget()) {
    move(owner->geometry().center() - QPoint(width() / 2, height() / 2));
  }
  spinnerStep_ = 1;
  timer1_.Start();
  scheduler_.Cancel(timer2_);
  timer2_ = scheduler_.After(kTimer2DelayMs, [this] { Timer2Timer(); });
}

void TFrmInitFileForm::hideEvent(QHideEvent* event) {
  timer1_.Stop();
  QDialog::hideEvent(event);
}

void TFrmInitFileForm::Timer1Timer() {
  platform::Desktop().ProcessPendingEvents();
  spinnerStep_ = spinnerStep_ % static_cast<int>(kSpinnerTexts.size()) + 1;
  lblInfo->setText(QString::fromLatin1(kSpinnerTexts[static_cast<size_t>(spinnerStep_ - 1)]));
}

void TFrmInitFileForm::Timer2Timer() {
  platform::Desktop().ProcessPendingEvents();
  timer2_ = 0;
  struct CloseAtEnd {
    QDialog* popup;
    ~CloseAtEnd() { popup->accept(); }
  } closeAtEnd{this};
  if (AddFiles) AddFiles(fileList_);
}

}  // namespace sonvarro
