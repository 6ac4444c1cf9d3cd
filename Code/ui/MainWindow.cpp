#include "ui/MainWindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QStyleHints>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "services/LastResort.h"
#include "ui/QtKeys.h"
#include "ui/Skin.h"
#include "ui/X11Shape.h"

namespace sonvarro {
namespace {

constexpr int kMinimumWidth = 686;
constexpr int kMinimumHeight = 519;

// A Wayland compositor takes a window's mask for its input only, and blends
// every window: there the outline is drawn, not cut.
bool OutlineIsDrawn() { return QGuiApplication::platformName() == QLatin1String("wayland"); }

}  // namespace

MainWindow::MainWindow(QWidget* parent, std::function<bool()> startSystemMove)
    : QWidget(parent), widgets_(new MainWindowWidgets(this)), startSystemMove_(std::move(startSystemMove)) {
  setObjectName("TFrmMainForm");
  // The skin is the frame: no border, no system caption.
  setWindowFlag(Qt::FramelessWindowHint);
  if (OutlineIsDrawn()) {
    setAttribute(Qt::WA_TranslucentBackground);
    widgets_->SetTranslucent(true);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(widgets_);
  resize(widgets_->size());
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  setAcceptDrops(true);
  if (!startSystemMove_) {
    startSystemMove_ = [this] {
      QWindow* window = windowHandle();
      return window && window->startSystemMove();
    };
  }

  MainWindowWidgets& w = *widgets_;
  const auto on = [this](QPushButton* button, std::function<void()> MainWindowEvents::*handler) {
    connect(button, &QPushButton::clicked, this, [this, handler] { Raise(events_.*handler); });
  };
  on(w.btnOpenFile, &MainWindowEvents::btnOpenFileClick);
  on(w.btnRemoveFile, &MainWindowEvents::btnRemoveFileClick);
  on(w.btnClearFile, &MainWindowEvents::btnClearFileClick);
  on(w.btnConvert, &MainWindowEvents::btnConvertClick);
  on(w.RzBmpButton1, &MainWindowEvents::btnSelectOutputFolderClick);
  on(w.btnSelectOutputFolder, &MainWindowEvents::btnSelectOutputFolderClick);
  on(w.btnOptions, &MainWindowEvents::btnOptionsClick);
  on(w.btnPlay, &MainWindowEvents::btnPlayClick);
  on(w.btnPause, &MainWindowEvents::btnPauseClick);
  on(w.btnStop, &MainWindowEvents::btnStopClick);
  on(w.btnWindowMinimize, &MainWindowEvents::actMinimizeExecute);
  on(w.btnWindowClose, &MainWindowEvents::actCloseWindowExecute);
  on(w.btnHomePage, &MainWindowEvents::ActSysHomePageExecute);
  on(w.btnEMail, &MainWindowEvents::ActSysEmailExecute);
  on(w.btnHelp, &MainWindowEvents::ActSysHelpExecute);
  on(w.btnAbout, &MainWindowEvents::ActSysAboutExecute);
  w.lblTitle->installEventFilter(this);
  connect(w.Label3, &ClickableLabel::clicked, this, [this] { Raise(events_.Label3Click); });
  connect(w.dxTreeSourceFileInfo, &SourceGrid::keyDown, this, [this](int key) {
    if (events_.dxTreeSourceFileInfoKeyDown) Raise([&] { events_.dxTreeSourceFileInfoKeyDown(BehaviourKey(key)); });
  });
  connect(w.dxTreeSourceFileInfo, &SourceGrid::keyUp, this, [this](int key) {
    if (events_.dxTreeSourceFileInfoKeyUp) Raise([&] { events_.dxTreeSourceFileInfoKeyUp(BehaviourKey(key)); });
  });
  connect(w.dxTreeSourceFileInfo, &SourceGrid::gridClicked, this,
          [this] { Raise(events_.actDxTreeListOnClickExecute); });
  connect(&w.dxTreeSourceFileInfo->Model(), &SourceListModel::cellEdited, this, [this](int row) {
    if (events_.dxTreeSourceFileInfoEdited) Raise([&] { events_.dxTreeSourceFileInfoEdited(row); });
  });
  connect(w.dxTreeSourceFileInfo, &SourceGrid::startTimeEditorChanged, this,
          [this] { Raise(events_.dxtrlSourceFileStartTimeChange); });
  WireTimeline(*w.Panel1);
  connect(w.dxTreeSourceFileInfo, &SourceGrid::rowsDraggedOut, this,
          [this] { Raise(events_.dxTreeSourceFileInfoEndDrag); });
  connect(w.dxTreeSourceFileInfo, &SourceGrid::filesDropped, this, [this](const QStringList& files) { Drop(files); });
}

void MainWindow::WireTimeline(TimelineStrip& strip) {
  strip.Splitter1->OnMoved = [this](int width) {
    if (events_.SetStartTimeAndPlay) Raise([&] { events_.SetStartTimeAndPlay(width); });
  };
  strip.Splitter2->OnMoved = [this](int width) {
    if (events_.Splitter2Moved) Raise([&] { events_.Splitter2Moved(width); });
  };
  const auto onPress = [this](TimelinePanelWidget* panel, PanelPress MainWindowEvents::*handler) {
    panel->OnMouseDown = [this, handler](MouseButton button, const HeldModifiers& held) {
      if (events_.*handler) Raise([&] { (events_.*handler)(button, held); });
    };
  };
  onPress(strip.Panel2, &MainWindowEvents::Panel2MouseDown);
  onPress(strip.Panel3, &MainWindowEvents::Panel3MouseDown);
  onPress(strip.Panel4, &MainWindowEvents::Panel4MouseDown);
}

void MainWindow::OwnFrame::Minimize() {
  window_->setWindowState((window_->windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen)) |
                          Qt::WindowMinimized);
}

void MainWindow::Raise(const std::function<void()>& handler) {
  if (handler) RunGuarded(handler);
}

void MainWindow::PreviewKey(const QKeyEvent& key) {
  if (events_.PreviewKey) Raise([&] { events_.PreviewKey(BehaviourKey(key.key()), HeldWith(key.modifiers())); });
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  CutOutline();
  Raise(events_.FormShow);
}

bool MainWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::ScreenChangeInternal && shown_ && devicePixelRatioF() != outlineRatio_) {
    // Under X, Qt keeps the window's size in device pixels on a screen of
    // another scale, so in points it would shrink or grow: once the move is
    // handled the window takes its size in points back.
    QTimer::singleShot(0, this, [this, points = size()] { resize(points); });
    CutOutline();
  }
  return handled;
}

void MainWindow::CutOutline() {
  outlineRatio_ = devicePixelRatioF();
  // A mask is in points: at 200 % its edge would step by two pixels where the
  // sharper picture's edge steps by one. An X server takes the outline in
  // device pixels; elsewhere (a Wayland compositor takes the mask for input
  // only) the mask is enough.
  if (outlineRatio_ != 1 && X11CanShape()) {
    clearMask();
    SetX11Shape(*this, DeviceOutlineRegion(widgets_->Background(outlineRatio_), outlineRatio_));
    return;
  }
  setMask(OutlineRegion(widgets_->Background()));
}

void MainWindow::PressToMove(const QPoint& globalPosition) {
  pressed_ = true;
  following_ = false;
  pressAt_ = globalPosition;
  windowAtPress_ = pos();
}

void MainWindow::FollowDrag(const QPoint& globalPosition, Qt::MouseButtons held) {
  // A move with the button up ends any move, also one whose release went
  // elsewhere (to the window manager, say).
  if (!(held & Qt::LeftButton)) {
    EndMove();
    return;
  }
  if (!pressed_) return;
  if (!following_) {
    // A click is no move: handing the window manager a move on the press
    // alone makes the window stick to the pointer after the release.
    if ((globalPosition - pressAt_).manhattanLength() < QGuiApplication::styleHints()->startDragDistance()) return;
    if (startSystemMove_()) {
      // The window manager moves the window until the button comes up.
      pressed_ = false;
      return;
    }
    following_ = true;
  }
  move(windowAtPress_ + globalPosition - pressAt_);
}

void MainWindow::EndMove() {
  pressed_ = false;
  following_ = false;
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  // A press on the background picture: nothing else took it.
  if (event->button() == Qt::LeftButton) PressToMove(event->globalPosition().toPoint());
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) { FollowDrag(event->globalPosition().toPoint(), event->buttons()); }

void MainWindow::mouseReleaseEvent(QMouseEvent*) { EndMove(); }

void MainWindow::lblTitleMouseMove(QMouseEvent* event) {
  FollowDrag(event->globalPosition().toPoint(), event->buttons());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widgets_->lblTitle) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
        // Kept by the title, so that its moves come to lblTitleMouseMove.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
          PressToMove(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        }
        return true;
      case QEvent::MouseMove: lblTitleMouseMove(static_cast<QMouseEvent*>(event)); return true;
      case QEvent::MouseButtonRelease: EndMove(); return true;
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  Raise(events_.FormClose);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList files = LocalFilesOf(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  Drop(files);
}

void MainWindow::Drop(const QStringList& files) {
  if (!events_.WMDropFiles) return;
  std::vector<std::string> paths;
  for (const QString& file : files) paths.push_back(file.toStdString());
  Raise([&] { events_.WMDropFiles(std::move(paths)); });
}

}  // namespace sonvarro
