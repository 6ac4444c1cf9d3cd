#include "ui/OptionsDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace sonvarro {
namespace {

QComboBox* NamedList(const char* name, bool editable = false) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(editable);
  return box;
}

}  // namespace

OptionsDialog::OptionsDialog(QWidget* parent)
    : QDialog(parent),
      cbbCustomProfile(NamedList("cbbCustomProfile", true)),
      grpAdvOptions(new QGroupBox(QStringLiteral("Advanced Options"))),
      cbbAudioBitrate(NamedList("cbbAudioBitrate")),
      cbbAudioSample(NamedList("cbbAudioSample")),
      cbbAudioVolumeGain(NamedList("cbbAudioVolumeGain")),
      cbbAudioChannels(NamedList("cbbAudioChannels")),
      GroupBox1(new QGroupBox),
      cbbVideoSize(NamedList("cbbVideoSize")),
      cbbVideoBitrate(NamedList("cbbVideoBitrate")),
      cbbFramerate(NamedList("cbbFramerate")),
      cbbAspectratio(NamedList("cbbAspectratio")) {
  setObjectName("TfrmOption");
  setWindowTitle(QStringLiteral("Options"));
  setModal(false);
  grpAdvOptions->setObjectName("grpAdvOptions");
  GroupBox1->setObjectName("GroupBox1");

  auto* profileRow = new QHBoxLayout;
  profileRow->addWidget(new QLabel(QStringLiteral("Custom Profile:")));
  profileRow->addWidget(cbbCustomProfile, 1);

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

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(profileRow);
  layout->addWidget(grpAdvOptions);
  layout->addWidget(GroupBox1);
}

}  // namespace sonvarro
