#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "ui/ClickableLabel.h"
#include "ui/QtControls.h"
#include "ui/Skin.h"
#include "ui/SourceGrid.h"
#include "ui/TimelineStrip.h"
#include "ui/VideoWindow.h"

namespace sonvarro {

// The main window's controls at their design positions (client pixels),
// with their names, on the skin's background picture. The window's
// behaviour wires them up.
class MainWindowWidgets final : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindowWidgets(QWidget* parent = nullptr);

  QLabel* lblTitle;
  QComboBox* cbbOutputFiletype;
  QComboBox* cbbProfile;
  QPushButton* btnOptions;
  QLineEdit* edtOutputFolder;
  QPushButton* RzBmpButton1;
  QCheckBox* chkShutdown;
  QCheckBox* chkShowOutputDirectory;
  SourceGrid* dxTreeSourceFileInfo;
  QPushButton* btnOpenFile;
  QPushButton* btnRemoveFile;
  QPushButton* btnClearFile;
  QPushButton* btnConvert;
  QPushButton* btnSelectOutputFolder;
  TimelineStrip* Panel1;  // the trim timeline
  QPushButton* btnWindowMinimize;
  QPushButton* btnWindowClose;
  QPushButton* btnHomePage;
  QPushButton* btnEMail;
  QPushButton* btnHelp;
  QPushButton* btnAbout;
  ClickableLabel* Label3;  // the codec download link
  VideoWindow* DSVideoWindowEx1;
  // The preview: the logo over the video area (the picture imgLOGO
  // stretched over the panel), the position display, the transport buttons
  // and the hidden bar mirroring the position.
  QWidget* panLogo;
  QLabel* imgLOGO;
  QLabel* pnlCurTime;
  QPushButton* btnPlay;
  QPushButton* btnPause;
  QPushButton* btnStop;
  QProgressBar* pbPlayState;

  QtSelector outputFiletype{cbbOutputFiletype};
  QtSelector profile{cbbProfile};
  QtControl options{btnOptions};
  QtTextField outputFolder{edtOutputFolder};
  QtCheckBox shutdown{chkShutdown};
  QtCheckBox showOutputDirectory{chkShowOutputDirectory};
  QtPanel logo{panLogo};
  QtLabelText curTime{pnlCurTime};
  QtProgressBar playState{pbPlayState};

  // The skin's background picture (rzfrmshpfrmConverter), drawn at the top
  // left; its outline is the window's. The picture at the scale that fits a
  // device pixel ratio; at 1, its pixels are points.
  const QImage& Background(qreal devicePixelRatio = 1) const { return background_.For(devicePixelRatio); }

  // Where the window system cannot cut the window's outline (a Wayland
  // compositor takes a mask for input only), the picture's transparent parts
  // are drawn transparent: the window must then be translucent.
  void SetTranslucent(bool translucent) { translucent_ = translucent; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  ScaledPicture background_;
  ScaledPicture shown_;  // background_ with its transparent colour cleared
  bool translucent_ = false;
};

}  // namespace sonvarro
