#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>

#include "ui/QtControls.h"

namespace sonvarro {

// The Options dialog's selectors: the audio options in "Advanced Options",
// the video options in a group that is never shown, and the custom profiles.
// The dialog is created once at start-up; its selections are the chosen
// options wherever the dialog is.
class OptionsDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit OptionsDialog(QWidget* parent = nullptr);

  QComboBox* cbbCustomProfile;
  QGroupBox* grpAdvOptions;
  QComboBox* cbbAudioBitrate;
  QComboBox* cbbAudioSample;
  QComboBox* cbbAudioVolumeGain;
  QComboBox* cbbAudioChannels;
  QGroupBox* GroupBox1;
  QComboBox* cbbVideoSize;
  QComboBox* cbbVideoBitrate;
  QComboBox* cbbFramerate;
  QComboBox* cbbAspectratio;

  QtSelector customProfile{cbbCustomProfile};
  QtSelector audioBitrate{cbbAudioBitrate};
  QtSelector audioSample{cbbAudioSample};
  QtSelector audioVolumeGain{cbbAudioVolumeGain};
  QtSelector audioChannels{cbbAudioChannels};
  QtSelector videoSize{cbbVideoSize};
  QtSelector videoBitrate{cbbVideoBitrate};
  QtSelector framerate{cbbFramerate};
  QtSelector aspectratio{cbbAspectratio};
};

}  // namespace sonvarro
