#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "settings/FrmOption.h"
#include "ui/QtControls.h"

namespace sonvarro {

// The Options dialog's Qt skin (`TfrmOption`): the custom profiles with
// their buttons, the audio options in "Advanced Options", the video options
// in a group that is never shown, OK and Cancel. Modeless, with a fixed
// border, centred on the desktop when first shown; closing it with the
// title bar's button only hides it. The dialog is created once at start-up;
// its selections are the chosen options wherever the dialog is.
class OptionsDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit OptionsDialog(QWidget* parent = nullptr);

  QComboBox* cbbCustomProfile;
  QPushButton* btnAdd;
  QPushButton* btnSave;
  QPushButton* btnDel;
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
  QPushButton* btnApply;
  QPushButton* btnCancel;

  QtSelector customProfile{cbbCustomProfile};
  QtSelector audioBitrate{cbbAudioBitrate};
  QtSelector audioSample{cbbAudioSample};
  QtSelector audioVolumeGain{cbbAudioVolumeGain};
  QtSelector audioChannels{cbbAudioChannels};
  QtSelector videoSize{cbbVideoSize};
  QtSelector videoBitrate{cbbVideoBitrate};
  QtSelector framerate{cbbFramerate};
  QtSelector aspectratio{cbbAspectratio};

  IWindow& WindowControl() { return window_; }

  // Hands every event to the behaviour's handlers.
  void Bind(OptionsDialogEvents events) { events_ = std::move(events); }

 public slots:
  // Esc: the Cancel button's handler, which restores and closes.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Raise(const std::function<void()>& handler);

  OptionsDialogEvents events_;
  QtWindow window_{this};
  bool centred_ = false;
};

// The input box for a profile name: a modal single-line box over owner with
// the caption, the prompt, the text to start with and OK and Cancel.
std::optional<std::string> RunInputQuery(QWidget* owner, const std::string& caption, const std::string& prompt,
                                         const std::string& text);

}  // namespace sonvarro
