#include <gtest/gtest.h>

#include <vector>

#include "VirtualScheduler.h"

namespace sonvarro {
namespace {

TEST(RepeatingTimer, TicksEveryIntervalUntilStopped) {
  test::VirtualScheduler clock;
  std::vector<int64_t> ticks;
  RepeatingTimer timer(clock, 500, [&] { ticks.push_back(clock.Now()); });
  timer.Start();
  clock.AdvanceBy(1600);
  EXPECT_EQ(ticks, (std::vector<int64_t>{500, 1000, 1500}));
  timer.Stop();
  clock.AdvanceBy(2000);
  EXPECT_EQ(ticks.size(), 3u);
  EXPECT_FALSE(timer.Enabled());
}

TEST(RepeatingTimer, HandlerMayStopItsOwnTimer) {
  test::VirtualScheduler clock;
  int count = 0;
  RepeatingTimer* self = nullptr;
  RepeatingTimer timer(clock, 100, [&] {
    if (++count == 2) self->Stop();
  });
  self = &timer;
  timer.Start();
  clock.AdvanceBy(1000);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(clock.PendingTimers(), 0u);
}

}  // namespace
}  // namespace sonvarro
