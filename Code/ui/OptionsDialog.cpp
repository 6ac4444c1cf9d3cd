#include "ui/OptionsDialog.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "services/LastResort.h"
#include "ui/AnswerableDialog.h"

namespace sonvarro {
namespace {

QComboBox* NamedList(const char* name) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

// The profile name box takes typed names: Enter must not add the typed text
// to the list, and no completion may turn a new name into a stored one.
QComboBox* NameBox(const char* name) {
  QComboBox* box = NamedList(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  return box;
}

QPushButton* NamedButton(const char* name, const char* text) {
  auto* button = new QPushButton(QString::fromLatin1(text));
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

OptionsDialog::OptionsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      cbbCustomProfile(NameBox("cbbCustomProfile")),
      btnAdd(NamedButton("btnAdd", "Add")),
      btnSave(NamedButton("btnSave", "Save")),
      btnDel(NamedButton("btnDel", "Delete")),
      grpAdvOptions(new QGroupBox(QStringLiteral("Advanced Options"))),
      cbbAudioBitrate(NamedList("cbbAudioBitrate")),
      cbbAudioSample(NamedList("cbbAudioSample")),
      cbbAudioVolumeGain(NamedList("cbbAudioVolumeGain")),
      cbbAudioChannels(NamedList("cbbAudioChannels")),
      GroupBox1(new QGroupBox),
      cbbVideoSize(NamedList("cbbVideoSize")),
      cbbVideoBitrate(NamedList("cbbVideoBitrate")),
      cbbFramerate(NamedList("cbbFramerate")),
      cbbAspectratio(NamedList("cbbAspectratio")),
      btnApply(NamedButton("btnApply", "OK")),
      btnCancel(NamedButton("btnCancel", "Cancel")) {
  setObjectName("TfrmOption");
  setWindowTitle(QStringLiteral("Options"));
  setModal(false);
  grpAdvOptions->setObjectName("grpAdvOptions");
  GroupBox1->setObjectName("GroupBox1");
  btnApply->setDefault(true);

  auto* profileRow = new QHBoxLayout;
  profileRow->addWidget(new QLabel(QStringLiteral("Custom Profile:")));
  profileRow->addWidget(cbbCustomProfile, 1);
  auto* profileButtons = new QHBoxLayout;
  profileButtons->addStretch(1);
  profileButtons->addWidget(btnAdd);
  profileButtons->addWidget(btnSave);
  profileButtons->addWidget(btnDel);

  auto* audio = new QFormLayout(grpAdvOptions);
  audio->addRow(QStringLiteral("Audio Bitrate(kbps):"), cbbAudioBitrate);
  audio->addRow(QStringLiteral("Audio Sample(khz):"), cbbAudioSample);
  audio->addRow(QStringLiteral("Audio Volume(%):"), cbbAudioVolumeGain);
  audio->addRow(QStringLiteral("Audio Channels:"), cbbAudioChannels);

  auto* video = new QFormLayout(GroupBox1);
  video->addRow(QStringLiteral("Video Size:"), cbbVideoSize);
  video->addRow(QStringLiteral("Video Bitrate(kbps):"), cbbVideoBitrate);
  video->addRow(QStringLiteral("Frame Rate(fps):"), cbbFramerate);
  video->addRow(QStringLiteral("Aspect Ratio:"), cbbAspectratio);
  GroupBox1->hide();  // the video options are never shown

  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch(1);
  closeRow->addWidget(btnApply);
  closeRow->addWidget(btnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(profileRow);
  layout->addLayout(profileButtons);
  layout->addWidget(grpAdvOptions);
  layout->addWidget(GroupBox1);
  layout->addLayout(closeRow);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const auto on = [this](QPushButton* button, std::function<void()> OptionsDialogEvents::*handler) {
    connect(button, &QPushButton::clicked, this, [this, handler] { Raise(events_.*handler); });
  };
  on(btnAdd, &OptionsDialogEvents::btnAddClick);
  on(btnSave, &OptionsDialogEvents::btnSaveClick);
  on(btnDel, &OptionsDialogEvents::btnDelClick);
  on(btnApply, &OptionsDialogEvents::btnApplyClick);
  on(btnCancel, &OptionsDialogEvents::btnCancelClick);
}

void OptionsDialog::Raise(const std::function<void()>& handler) {
  if (handler) RunGuarded(handler);
}

void OptionsDialog::reject() { Raise(events_.btnCancelClick); }

void OptionsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (centred_) return;
  centred_ = true;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
  // QDialog would reject(), which is Cancel here.
  event->accept();
  hide();
  Raise(events_.FormClose);
}

std::optional<std::string> RunInputQuery(QWidget* owner, const std::string& caption, const std::string& prompt,
                                         const std::string& text) {
  QInputDialog box(owner);
  box.setWindowTitle(QString::fromStdString(caption));
  box.setLabelText(QString::fromStdString(prompt));
  box.setTextValue(QString::fromStdString(text));
  // Wide enough for its caption beside the title bar's buttons (the box's
  // layout sets its size from the edit field's).
  if (auto* field = box.findChild<QLineEdit*>()) {
    field->setMinimumWidth(box.fontMetrics().horizontalAdvance(box.windowTitle()) * 2 + 60);
  }
  if (ExecAnswerable(box) != QDialog::Accepted) return std::nullopt;
  return box.textValue().toStdString();
}

}  // namespace sonvarro
