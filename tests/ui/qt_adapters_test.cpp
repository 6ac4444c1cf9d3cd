#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <climits>
#include <functional>
#include <thread>
#include <vector>

#include "RecordingDesktop.h"
#include "WaitUntil.h"
#include "ui/CodeErrorDialog.h"
#include "ui/ConvertingDialog.h"
#include "ui/QtControls.h"
#include "ui/QtDesktop.h"
#include "ui/QtScheduler.h"
#include "ui/SourceGrid.h"

namespace sonvarro {
namespace {

using test::WaitUntil;

TEST(QtScheduler, RunsTimersInOrderAndHonoursCancel) {
  QtScheduler scheduler;
  std::vector<int> ran;
  scheduler.After(30, [&] { ran.push_back(30); });
  const auto cancelled = scheduler.After(10, [&] { ran.push_back(10); });
  scheduler.After(0, [&] { ran.push_back(0); });
  scheduler.Cancel(cancelled);
  // The cancelled timer was due before the last one: had it run, it would
  // be in by the time the last one is.
  ASSERT_TRUE(WaitUntil([&] { return ran.size() >= 2; }));
  EXPECT_EQ(ran, (std::vector<int>{0, 30}));
}

TEST(QtScheduler, PostFromAnotherThreadRunsOnTheUserInterfaceThread) {
  QtScheduler scheduler;
  QThread* ranOn = nullptr;
  std::thread worker([&] { scheduler.Post([&] { ranOn = QThread::currentThread(); }); });
  worker.join();
  ASSERT_TRUE(WaitUntil([&] { return ranOn != nullptr; }));
  EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}

// A box that may close itself gives None when nobody answers in time, and
// the user's answer when somebody does.
TEST(QtDesktop, AClosingBoxClosesItselfOnlyWhenNobodyAnswers) {
  test::RecordingDesktop system;
  QtDesktop desktop(system);
  using platform::MessageAnswer;
  using platform::MessageButtons;
  using platform::MessageIcon;
  // Should the box not close itself, this answers it, so the test fails
  // instead of hanging.
  QObject fallback;
  QTimer::singleShot(5000, &fallback, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
      box->button(QMessageBox::Ok)->click();
  });
  QString shown;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) shown = box->text();
  });
  EXPECT_EQ(desktop.ShowMessageClosingAfter("Title", "Nobody answers.", MessageIcon::Warning, MessageButtons::Ok, 50),
            MessageAnswer::None);
  EXPECT_EQ(shown, "Nobody answers.");

  const auto answerYes = [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
      box->button(QMessageBox::Yes)->click();
  };
  QTimer::singleShot(0, answerYes);
  EXPECT_EQ(desktop.ShowMessageClosingAfter("Title", "Answered.", MessageIcon::Question, MessageButtons::YesNo, 60000),
            MessageAnswer::Yes);
  QTimer::singleShot(0, answerYes);
  EXPECT_EQ(desktop.ShowMessage("Title", "Answered.", MessageIcon::Question, MessageButtons::YesNo),
            MessageAnswer::Yes);
  EXPECT_TRUE(system.messages.empty()) << "the boxes are the toolkit's own";
}

// A job disables the main window, and Qt disables the windows it owns with
// it: a box or "Error Info" shown then must still take the user's answer.
TEST(ModalWindows, TakeTheirAnswerWhileTheMainWindowIsDisabled) {
  test::RecordingDesktop system;
  QtDesktop desktop(system);
  QWidget main;
  main.show();
  main.activateWindow();
  ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == &main; }));
  QtFocusKeepingControl mainWindow(&main);
  CodeErrorDialog errorInfo(&main);
  errorInfo.Bind({{}, [&] { errorInfo.Controls().window.Close(); }});
  QObject timers;
  // Answers the modal window the user sees with its first button, as a click
  // would: a disabled button ignores it. Should that fail, the window is
  // closed all the same, so that the test fails instead of hanging.
  bool answerable = false;
  const auto answer = [&] {
    QTimer::singleShot(0, &timers, [&] {
      auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!modal) return;
      answerable = modal->isEnabled();
      if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::Ok)->click();
      if (modal == &errorInfo) errorInfo.btnOK->click();
      QTimer::singleShot(2000, modal, [modal] { modal->done(QDialog::Rejected); });
    });
  };

  mainWindow.SetEnabled(false);
  answer();
  EXPECT_EQ(
      desktop.ShowMessage("Title", "The job's end.", platform::MessageIcon::Warning, platform::MessageButtons::Ok),
      platform::MessageAnswer::Ok);
  EXPECT_TRUE(answerable) << "a box shown while the main window is disabled";

  answerable = false;
  answer();
  errorInfo.Controls().window.ShowModal();
  EXPECT_TRUE(answerable) << "\"Error Info\" shown while the main window is disabled";
  EXPECT_EQ(errorInfo.result(), QDialog::Accepted);

  // Shown first, then the main window disabled under it (the next row of a
  // job that went on while the box waited).
  mainWindow.SetEnabled(true);
  answerable = false;
  QTimer::singleShot(0, &timers, [&] {
    mainWindow.SetEnabled(false);
    answer();
  });
  errorInfo.Controls().window.ShowModal();
  EXPECT_TRUE(answerable) << "\"Error Info\" open when the main window was disabled";
  EXPECT_EQ(errorInfo.result(), QDialog::Accepted);
  EXPECT_FALSE(main.isEnabled());
}

TEST(QtSelector, OnlyUserChoicesRaiseTheChangeEvent) {
  QComboBox box;
  QtSelector selector(&box);
  int changes = 0;
  selector.OnChange = [&] { ++changes; };
  selector.AddItem("a");
  selector.AddItem("b");
  selector.SetItemIndex(1);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(selector.Text(), "b");
  emit box.activated(0);  // what Qt raises for a choice made by the user
  EXPECT_EQ(changes, 1);
  selector.SetItemIndex(7);
  EXPECT_EQ(selector.ItemIndex(), -1);
  EXPECT_EQ(selector.Text(), "");
}

SourceItem Row(const std::string& path) {
  return {kCheckedText, path, "1 KB", "00:00:10", "00:00:00", "00:00:10", "00:00:10"};
}

// A paint device that keeps the texts drawn on it, so a test can read what
// a widget shows rather than what its model holds.
class DrawnTexts final : public QPaintDevice {
 public:
  explicit DrawnTexts(QSize size) : size_(size) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  const QStringList& Texts() const { return engine_.texts; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return size_.width();
      case PdmHeight: return size_.height();
      case PdmWidthMM: return size_.width() * 254 / 960;
      case PdmHeightMM: return size_.height() * 254 / 960;
      case PdmNumColors: return INT_MAX;
      case PdmDepth: return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 96;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      default: return 0;
    }
  }

 private:
  struct Engine final : QPaintEngine {
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
    Type type() const override { return QPaintEngine::User; }
    QStringList texts;
  };
  QSize size_;
  mutable Engine engine_;
};

TEST(SourceGrid, ALongPathShowsItsFileNameAndKeepsThePathInTheTooltip) {
  SourceGrid grid;
  grid.resize(600, 160);
  const std::string folder = "/home/user/Music/Recordings from the long summer tour/Second leg/Concerts/";
  const std::string path = folder + "encore take 7.flac";
  grid.AppendRow(Row("/short.mp3"));
  grid.AppendRow(Row(path));
  const QModelIndex cell = grid.Model().index(1, kColFileName);
  ASSERT_GT(grid.fontMetrics().horizontalAdvance(QString::fromStdString(path)), grid.columnWidth(kColFileName))
      << "the path must be wider than its column";

  DrawnTexts drawn(grid.size());
  grid.render(&drawn);
  const QStringList& texts = drawn.Texts();
  EXPECT_TRUE(texts.contains("/short.mp3")) << texts.join('|').toStdString();
  QString shown;
  for (const QString& text : texts) {
    if (text.startsWith("/ho")) shown = text;  // the start of the path stays too
  }
  EXPECT_TRUE(shown.endsWith("/encore take 7.flac")) << "the whole name: " << texts.join("|").toStdString();
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
  EXPECT_EQ(grid.Model().data(cell, Qt::ToolTipRole).toString().toStdString(), path);
  EXPECT_EQ(grid.Cell(1, kColFileName), path) << "the cell itself keeps the whole path";
}

TEST(SourceGrid, DeletingTheFocusedRowLeavesNoRowFocused) {
  SourceGrid grid;
  for (auto p : {"/a.mp3", "/b.mp3", "/c.mp3"}) grid.AppendRow(Row(p));
  grid.SetFocusedRow(1);
  grid.SetSelected(1, true);
  grid.DeleteRows(1, 1);
  EXPECT_EQ(grid.FocusedRow(), -1);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cell(1, kColFileName), "/c.mp3");
  EXPECT_FALSE(grid.IsSelected(0));
  EXPECT_FALSE(grid.IsSelected(1));
}

TEST(SourceGrid, DeletingABlockMovesTheRowsBelowAndTheirFocusUp) {
  SourceGrid grid;
  for (auto p : {"/a.mp3", "/b.mp3", "/c.mp3", "/d.mp3", "/e.mp3"}) grid.AppendRow(Row(p));
  grid.SetFocusedRow(4);
  grid.SetSelected(4, true);
  grid.DeleteRows(1, 2);
  ASSERT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.Cell(1, kColFileName), "/d.mp3");
  EXPECT_EQ(grid.FocusedRow(), 2);
  EXPECT_TRUE(grid.IsSelected(2));
  EXPECT_FALSE(grid.IsSelected(1));
  grid.DeleteRows(0, 3);
  EXPECT_EQ(grid.FocusedRow(), -1);
}

TEST(SourceGrid, CheckColumnHoldsTrueOrFalseAndReportsTheEdit) {
  SourceGrid grid;
  grid.AppendRow(Row("/a.mp3"));
  QSignalSpy edited(&grid.Model(), &SourceListModel::cellEdited);
  auto& model = grid.Model();
  EXPECT_EQ(model.data(model.index(0, kColCheck), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  ASSERT_TRUE(model.setData(model.index(0, kColCheck), Qt::Unchecked, Qt::CheckStateRole));
  EXPECT_EQ(grid.Cell(0, kColCheck), kUncheckedText);
  EXPECT_EQ(edited.count(), 1);
  // Only the check box and the two trim times are the user's to edit.
  EXPECT_FALSE(model.setData(model.index(0, kColFileName), "x", Qt::EditRole));
  EXPECT_TRUE(model.flags(model.index(0, kColStartTime)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.flags(model.index(0, kColDuration)) & Qt::ItemIsEditable);
}

TEST(SourceGrid, RowsLeaveOnlyWhenDroppedOutsideTheGrid) {
  SourceGrid grid;
  QSignalSpy out(&grid, &SourceGrid::rowsDraggedOut);
  grid.FinishRowDrag(true);
  EXPECT_EQ(out.count(), 0);
  grid.FinishRowDrag(false);
  EXPECT_EQ(out.count(), 1);
}

TEST(SourceGrid, DroppedUrlsGiveTheLocalFilesInOrder) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile("/m/b é.mp3"), QUrl("https://example.org/x.mp3"), QUrl::fromLocalFile("/m/a.wav")});
  EXPECT_EQ(LocalFilesOf(&mime), (QStringList{"/m/b é.mp3", "/m/a.wav"}));
}

TEST(ConvertingDialog, AStatusLineKeepsTheDesignSizeAndALongOneIsCut) {
  ConvertingDialog dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QSize size = dialog.size();
  const QRect stop = dialog.btnStop->geometry();
  const QString line = QStringLiteral("Converting ") + QString(300, QLatin1Char('x')) + QStringLiteral(".mp3");
  dialog.statStatePanel->setText(line);
  QCoreApplication::sendPostedEvents();  // the layout settles on posted events
  EXPECT_EQ(dialog.size(), size);
  EXPECT_EQ(dialog.btnStop->geometry(), stop);
  EXPECT_LE(dialog.statStatePanel->width(), size.width());
  EXPECT_EQ(dialog.statStatePanel->text(), line);
  // A chunk of several lines, as the encoder writes them, is one line high.
  const QString chunk = QStringLiteral("Input \"/m/a.mp4\"\r\n  Duration: 00:01:00\nsize=  12kB time=00:00:03.00\n");
  dialog.statStatePanel->setText(chunk);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(dialog.size(), size);
  EXPECT_EQ(dialog.btnStop->geometry(), stop);
  EXPECT_EQ(dialog.statStatePanel->text(), chunk);
}

}  // namespace
}  // namespace sonvarro
