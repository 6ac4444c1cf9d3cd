#include "ui/ConvertingDialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QPainter>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "ui/Guarded.h"

namespace sonvarro {
namespace {

QLabel* NamedLabel(const char* name, const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QProgressBar* NamedBar(const char* name, QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setTextVisible(false);
  return bar;
}

// The status line: one line high whatever it holds, so that the window keeps
// its size. The encoder's chunk may hold several lines; the newest one shows,
// cut with an ellipsis when long. text() keeps the chunk unchanged.
class StatusLine final : public QLabel {
 public:
  using QLabel::QLabel;
  QSize sizeHint() const override {
    const QMargins margins = contentsMargins();
    return {0, fontMetrics().height() + margins.top() + margins.bottom() + 2 * margin()};
  }
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QString line;
    for (const QString& part : text().split(QRegularExpression(QStringLiteral("[\\r\\n]")), Qt::SkipEmptyParts)) {
      if (!part.trimmed().isEmpty()) line = part;
    }
    QPainter painter(this);
    const QRect area = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(line, Qt::ElideRight, area.width()));
  }
};

}  // namespace

ConvertingDialog::ConvertingDialog(const QWidget* centreOver)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      lblInfo(NamedLabel("lblInfo", "Please wait . . .", this)),
      lblCurConvertFileL(NamedLabel("lblCurConvertFileL", "Current Convert File:", this)),
      lblCurFileName(NamedLabel("lblCurFileName", "", this)),
      lblTotalFilr(NamedLabel("lblTotalFilr", "Total File:", this)),
      pbTotal(NamedBar("pbTotal", this)),
      lblCurprog(NamedLabel("lblCurprog", "Current File:", this)),
      ProgressBar1(NamedBar("ProgressBar1", this)),
      lblPersent(NamedLabel("lblPersent", "Current: 1, Total: ...", this)),
      btnStop(new QPushButton(QStringLiteral("Stop"), this)),
      statState(new QStatusBar(this)),
      statStatePanel(new StatusLine(statState)),
      info_(lblInfo),
      fileName_(lblCurFileName),
      persent_(lblPersent),
      state_(statStatePanel),
      total_(pbTotal),
      current_(ProgressBar1),
      controls_{window_, info_, fileName_, persent_, total_, current_, state_},
      centreOver_(centreOver) {
  setObjectName("TfrmConverting");
  setWindowTitle(QStringLiteral("Converting"));
  setModal(false);
  btnStop->setObjectName("btnStop");
  btnStop->setAutoDefault(false);
  statStatePanel->setObjectName("statStatePanel");
  statState->setObjectName("statState");
  statState->setSizeGripEnabled(false);
  statState->addWidget(statStatePanel, 1);
  lblCurFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblCurFileName->setMinimumWidth(300);

  auto* grid = new QGridLayout;
  grid->addWidget(lblInfo, 0, 0, 1, 2);
  grid->addWidget(lblCurConvertFileL, 1, 0);
  grid->addWidget(lblCurFileName, 1, 1);
  grid->addWidget(lblTotalFilr, 2, 0);
  grid->addWidget(pbTotal, 2, 1);
  grid->addWidget(lblCurprog, 3, 0);
  grid->addWidget(ProgressBar1, 3, 1);
  grid->addWidget(lblPersent, 4, 0, 1, 2);
  grid->addWidget(btnStop, 5, 1, Qt::AlignRight);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(statState);
  layout->setContentsMargins(10, 10, 10, 0);

  connect(btnStop, &QPushButton::clicked, this, Guarded([this] {
            if (events_.btnStop1Click) events_.btnStop1Click();
          }));
}

void ConvertingDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  CentreOverOwner();
  if (events_.FormShow) RunGuarded(events_.FormShow);
}

void ConvertingDialog::CentreOverOwner() {
  if (!centreOver_) return;
  adjustSize();
  QRect own = frameGeometry();
  own.moveCenter(centreOver_->frameGeometry().center());
  move(own.topLeft());
}

void ConvertingDialog::closeEvent(QCloseEvent* event) {
  // The behaviour asks the user and hides the window itself when the answer
  // is yes; otherwise the window stays as it is.
  event->ignore();
  if (events_.FormClose) RunGuarded(events_.FormClose);
}

void ConvertingDialog::reject() { close(); }

}  // namespace sonvarro
