#include "ui/MainWindowWidgets.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QResizeEvent>

#include "controls/KeyMap.h"
#include "ui/Skin.h"

namespace sonvarro {
namespace {

// The window opens at its minimum size, the grid at its design rectangle.
constexpr int kDesignWidth = 686;
constexpr int kDesignHeight = 519;
// The grid's design rectangle; it follows the window's size.
constexpr QRect kGridRect(22, 292, 525, 138);
// The video area; the logo covers it.
constexpr QRect kVideoRect(26, 76, 253, 152);

// The position display's text: the colour of an active window caption, in a
// font whose lines are 19 pixels high.
const QColor kActiveCaption(153, 180, 209);
constexpr int kCurTimeLineHeight = 19;

template <typename W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

QLabel* Caption(QWidget* parent, const char* text, int left, int top, int width) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setGeometry(left, top, width, 21);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // A small, narrow caption font: the captions fit between the preview's
  // panel and the fields.
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(10);
  font.setBold(true);
  label->setFont(font);
  return label;
}

// A bitmap button showing the pictures NAMEUp/Hot/Down.bmp of the skin.
// Its hint names the key that runs command, from the keyboard map itself.
QPushButton* BmpButton(QWidget* parent, const char* name, const char* pictures, const char* text,
                       MainWindowCommand command, int left, int top, int width, int height) {
  auto* button = Place(new BitmapButton(pictures, QString::fromLatin1(text), parent), name, left, top, width, height);
  button->setToolTip(QString::fromStdString(ShortcutHint(command)));
  return button;
}

QWidget* LogoPanel(QWidget* parent) {
  auto* panel = Place(new QWidget(parent), "panLogo", kVideoRect.left(), kVideoRect.top(), kVideoRect.width(),
                      kVideoRect.height());
  panel->setAttribute(Qt::WA_OpaquePaintEvent);
  return panel;
}

QLabel* LogoPicture(QWidget* panel) {
  return Place(new PictureLabel("ImgLogo.png", panel), "imgLOGO", 0, 0, panel->width(), panel->height());
}

QLabel* PositionDisplay(QWidget* parent) {
  auto* display = Place(new QLabel(QStringLiteral("00:00:00"), parent), "pnlCurTime", 171, 264, 81, 17);
  display->setAlignment(Qt::AlignCenter);
  QPalette colours = display->palette();
  colours.setColor(QPalette::Window, Qt::black);
  colours.setColor(QPalette::WindowText, kActiveCaption);
  display->setPalette(colours);
  display->setAutoFillBackground(true);
  QFont font = display->font();
  for (int size = kCurTimeLineHeight; size > 1; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= kCurTimeLineHeight) break;
  }
  display->setFont(font);
  return display;
}

}  // namespace

MainWindowWidgets::MainWindowWidgets(QWidget* parent)
    : QWidget(parent),
      lblTitle(Place(new QLabel(QStringLiteral("Application name "), this), "lblTitle", 63, 32, 537, 27)),
      cbbOutputFiletype(Place(new QComboBox(this), "cbbOutputFiletype", 368, 133, 297, 21)),
      cbbProfile(Place(new QComboBox(this), "cbbProfile", 368, 160, 217, 21)),
      btnOptions(BmpButton(this, "btnOptions", "Options", "Options", MainWindowCommand::Options, 595, 160, 70, 20)),
      edtOutputFolder(Place(new QLineEdit(this), "edtOutputFolder", 368, 188, 217, 21)),
      RzBmpButton1(BmpButton(this, "RzBmpButton1", "Browse", "Browse...", MainWindowCommand::SelectOutputFolder, 595,
                             188, 70, 20)),
      chkShutdown(Place(new QCheckBox(QStringLiteral("Shutdown computer when job is finished."), this), "chkShutdown",
                        294, 226, 300, 17)),
      chkShowOutputDirectory(Place(new QCheckBox(QStringLiteral("Show output directory when done"), this),
                                   "chkShowOutputDirectory", 294, 246, 300, 17)),
      dxTreeSourceFileInfo(Place(new SourceGrid(this), "dxTreeSourceFileInfo", kGridRect.left(), kGridRect.top(),
                                 kGridRect.width(), kGridRect.height())),
      btnOpenFile(
          BmpButton(this, "btnOpenFile", "OpenFile", "Add Files", MainWindowCommand::OpenFile, 555, 289, 110, 30)),
      btnRemoveFile(
          BmpButton(this, "btnRemoveFile", "RemoveFile", "Remove", MainWindowCommand::RemoveFile, 555, 323, 110, 30)),
      btnClearFile(
          BmpButton(this, "btnClearFile", "ClearFile", "Clear", MainWindowCommand::ClearFile, 555, 357, 110, 30)),
      btnConvert(BmpButton(this, "btnConvert", "Convert", "Convert", MainWindowCommand::Convert, 555, 391, 110, 40)),
      btnSelectOutputFolder(BmpButton(this, "btnSelectOutputFolder", "Browse", "",
                                      MainWindowCommand::SelectOutputFolder, 595, 188, 70, 20)),
      Panel1(new TimelineStrip(this)),
      btnWindowMinimize(
          BmpButton(this, "btnWindowMinimize", "WindowMinimize", "_", MainWindowCommand::None, 606, 28, 25, 25)),
      btnWindowClose(BmpButton(this, "btnWindowClose", "WindowClose", "X", MainWindowCommand::None, 640, 28, 25, 25)),
      btnHomePage(BmpButton(this, "btnHomePage", "HomePage", "Home", MainWindowCommand::None, 406, 73, 48, 48)),
      btnEMail(BmpButton(this, "btnEMail", "EMail", "E-mail", MainWindowCommand::None, 459, 73, 48, 48)),
      btnHelp(BmpButton(this, "btnHelp", "Help", "Help", MainWindowCommand::None, 565, 73, 48, 48)),
      btnAbout(BmpButton(this, "btnAbout", "About", "About", MainWindowCommand::None, 618, 73, 48, 48)),
      Label3(Place(new ClickableLabel(QStringLiteral("Click here to download the coder"), this), "Label3", 296, 272,
                   200, 16)),

      DSVideoWindowEx1(Place(new VideoWindow(this), "DSVideoWindowEx1", kVideoRect.left(), kVideoRect.top(),
                             kVideoRect.width(), kVideoRect.height())),
      panLogo(LogoPanel(this)),
      imgLOGO(LogoPicture(panLogo)),
      pnlCurTime(PositionDisplay(this)),
      btnPlay(BmpButton(this, "btnPlay", "Play", "", MainWindowCommand::Play, 36, 261, 25, 25)),
      btnPause(BmpButton(this, "btnPause", "Pause", "", MainWindowCommand::Pause, 68, 261, 25, 25)),
      btnStop(BmpButton(this, "btnStop", "Stop", "", MainWindowCommand::Stop, 99, 261, 25, 25)),
      pbPlayState(Place(new QProgressBar(this), "pbPlayState", kVideoRect.left(), kVideoRect.bottom() + 1,
                        kVideoRect.width(), 4)),
      background_("Background.bmp"),
      shown_(ScaledPicture(background_).Each(ClearTransparentColour)) {
  setObjectName("TFrmMainForm");
  resize(kDesignWidth, kDesignHeight);
  // Captions, check boxes and links are white on the skin.
  QPalette captions = palette();
  captions.setColor(QPalette::WindowText, Qt::white);
  setPalette(captions);
  QFont titleFont(QStringLiteral("Arial"));
  titleFont.setBold(true);
  titleFont.setPixelSize(19);
  lblTitle->setFont(titleFont);
  Caption(this, "Output FileType:", 286, 133, 78);
  Caption(this, "Profile Settings:", 286, 160, 78);
  Caption(this, "Output Folder:", 286, 188, 78);
  edtOutputFolder->setReadOnly(true);
  chkShowOutputDirectory->setChecked(true);
  btnSelectOutputFolder->hide();
  Panel1->move(22, 234);
  for (auto* button : {btnHomePage, btnEMail, btnHelp, btnAbout}) button->setCursor(Qt::PointingHandCursor);
  // btnHelp carries its hint with hints switched off: kept, never shown.
  btnHelp->setProperty("Hint", QStringLiteral("Help (F1)"));
  QFont linkFont = Label3->font();
  linkFont.setUnderline(true);
  Label3->setFont(linkFont);
  Label3->setCursor(Qt::PointingHandCursor);
  pbPlayState->setTextVisible(false);
  pbPlayState->hide();
}

void MainWindowWidgets::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  // Where the outline is cut in points (all but an X server), at a finer
  // scale a few of the sharper picture's transparent pixels fall inside it
  // and show the coarser picture, which covers every point inside.
  if (!translucent_)
    painter.drawImage(QRectF(0, 0, background_.For(1).width(), background_.For(1).height()), shown_.For(1));
  painter.drawImage(QPointF(0, 0), shown_.For(devicePixelRatioF()));
}

void MainWindowWidgets::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The grid grows with the window; the buttons beside it keep their place
  // relative to its right edge.
  const int dw = width() - kDesignWidth;
  const int dh = height() - kDesignHeight;
  dxTreeSourceFileInfo->setGeometry(kGridRect.left(), kGridRect.top(), kGridRect.width() + dw, kGridRect.height() + dh);
  for (auto* button : {btnOpenFile, btnRemoveFile, btnClearFile, btnConvert}) {
    button->move(555 + dw, button->y());
  }
}

}  // namespace sonvarro
