#include <gtest/gtest.h>

#include <QTest>
#include <cstdlib>

#include "Ffmpeg.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "player/PreviewGraph.h"
#include "ui/MainWindowWidgets.h"
#include "ui/QtScheduler.h"

namespace sonvarro {
namespace {

using test::WaitUntil;

// What the video area shows on screen at x on its middle row, near colour
// (the picture went through a lossy codec).
bool ShowsAt(QWidget& area, int x, QColor colour) {
  const QColor seen = area.grab().toImage().pixelColor(x, area.height() / 2);
  return std::abs(seen.red() - colour.red()) < 40 && std::abs(seen.green() - colour.green()) < 40 &&
         std::abs(seen.blue() - colour.blue()) < 40;
}

TEST(VideoWindow, ShowsWhatThePreviewGraphPlaysLetterBoxedOnBlack) {
  test::TempDir media;
  ASSERT_TRUE(test::WritePatternVideo(media.Folder() + "pattern.mp4"));
  MainWindowWidgets widgets;
  widgets.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widgets));
  VideoWindow& area = *widgets.DSVideoWindowEx1;
  EXPECT_EQ(area.objectName(), QStringLiteral("DSVideoWindowEx1"));
  EXPECT_EQ(area.geometry(), QRect(26, 76, 253, 152));
  EXPECT_TRUE(ShowsAt(area, 126, Qt::black));

  QtScheduler scheduler;
  PreviewGraph graph(scheduler, area, PreviewSettings{"null"});
  graph.SetActive(true);
  ASSERT_EQ(graph.Render(media.Folder() + "pattern.mp4"), 0);
  EXPECT_TRUE(ShowsAt(area, 5, Qt::black));
  EXPECT_TRUE(ShowsAt(area, 70, Qt::red));
  EXPECT_TRUE(ShowsAt(area, 180, Qt::blue));
  EXPECT_TRUE(ShowsAt(area, 247, Qt::black));

  // The pictures keep coming through the event loop while it plays.
  graph.Play();
  EXPECT_TRUE(WaitUntil([&] { return ShowsAt(area, 180, Qt::green); }));
  EXPECT_GE(graph.CurrentPosition(), 15'000'000);
  graph.Pause();
  graph.SeekTo(500);
  EXPECT_TRUE(WaitUntil([&] { return ShowsAt(area, 180, Qt::blue); }));

  graph.SetActive(false);
  EXPECT_TRUE(ShowsAt(area, 70, Qt::black));
}

}  // namespace
}  // namespace sonvarro
