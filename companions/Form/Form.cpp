// Form.dll: the about box, built from the product information record.

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "AboutLabels.h"
#include "shell/RecSoftInfo.h"

namespace {

QLabel* Line(const QString& text, QWidget* parent, bool wrap = false) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(wrap);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QString Text(const char* field) { return QString::fromLocal8Bit(field); }

}  // namespace

extern "C" __attribute__((visibility("default"))) void ShowAboutForm(void* application, RecSoftInfo info) {
  // A program built for another layout of the record gets no box rather
  // than texts read from the wrong places.
  if (!application || info.RecordSize != sizeof(RecSoftInfo)) return;
  auto* app = static_cast<QApplication*>(application);

  QDialog box(app->activeWindow());
  box.setObjectName(QStringLiteral("TFrmAboutForm"));
  box.setWindowTitle(QString::fromUtf8(kAboutCaption) + Text(info.Title));
  auto* layout = new QVBoxLayout(&box);
  QLabel* title = Line(Text(info.Title) + QLatin1Char(' ') + Text(info.Version), &box);
  title->setObjectName(QStringLiteral("lblTitle"));
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.4);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(Line(Text(info.AboutText0), &box, true));
  layout->addWidget(Line(Text(info.AboutText2), &box, true));
  layout->addSpacing(8);
  layout->addWidget(Line(QString::fromUtf8(kHomePageLabel) + Text(info.HomePage), &box));
  layout->addWidget(Line(QString::fromUtf8(kEMailLabel) + Text(info.EMail), &box));
  layout->addWidget(Line(QString::fromUtf8(kInstalledInLabel) + Text(info.AppFolder), &box, true));
  layout->addSpacing(8);
  layout->addWidget(Line(Text(info.AboutText7), &box, true));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons);
  box.setMinimumWidth(420);
  box.exec();
}
