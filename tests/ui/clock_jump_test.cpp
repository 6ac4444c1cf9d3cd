// The wall clock jumps (a time-zone or NTP correction) while timers run:
// they still end on time, because the user-interface timers count on the
// monotonic clock. The jump is this program's alone: its clock_gettime
// shifts the wall clocks it reports; the machine's clock is not touched.

#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdint>

#include "services/Scheduler.h"
#include "ui/QtScheduler.h"

namespace {
std::atomic<int64_t> wallClockShiftSeconds{0};
}  // namespace

// These replace the C library's for the whole program, Qt and the C++
// library included.
extern "C" int clock_gettime(clockid_t clock, struct timespec* time) {
  const int result = static_cast<int>(::syscall(SYS_clock_gettime, clock, time));
  if (result == 0 && (clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE)) time->tv_sec += wallClockShiftSeconds;
  return result;
}

extern "C" int gettimeofday(struct timeval* __restrict time, void* __restrict zone) {
  const int result = static_cast<int>(::syscall(SYS_gettimeofday, time, zone));
  if (result == 0 && time) time->tv_sec += wallClockShiftSeconds;
  return result;
}

namespace sonvarro {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kJumpAfterMs = 100;
constexpr int kTimerMs = 400;
constexpr int kTickMs = 50;
// A busy machine's slack. A timer on the wall clock would be off by the
// whole hour (at once, or an hour late), far beyond it.
constexpr int kLateMs = 5000;

class ClockJump : public testing::TestWithParam<int64_t> {
 protected:
  void TearDown() override { wallClockShiftSeconds = 0; }
};

TEST_P(ClockJump, TimersAndRepeatingTimersEndOnTime) {
  const int64_t jumpSeconds = GetParam();
  QtScheduler scheduler;
  QEventLoop loop;
  const Clock::time_point start = Clock::now();
  int64_t wallClockMovedMs = 0;
  int ticks = 0;
  milliseconds timerEndedAfter{-1};

  RepeatingTimer ticker(scheduler, kTickMs, [&] { ++ticks; });
  ticker.Start();
  scheduler.After(kJumpAfterMs, [&] {
    const int64_t before = QDateTime::currentMSecsSinceEpoch();
    wallClockShiftSeconds = jumpSeconds;
    wallClockMovedMs = QDateTime::currentMSecsSinceEpoch() - before;
  });
  scheduler.After(kTimerMs, [&] {
    timerEndedAfter = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    loop.quit();
  });
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);  // a timer the jump held up
  loop.exec();

  ASSERT_NEAR(wallClockMovedMs, jumpSeconds * 1000, 1000) << "the program did not see the wall clock jump";
  ASSERT_GE(timerEndedAfter.count(), 0) << "the timer did not end";
  EXPECT_GE(timerEndedAfter.count(), kTimerMs);
  EXPECT_LT(timerEndedAfter.count(), kTimerMs + kLateMs);
  // Stalled for the hour, it would not tick again; catching up on the hour,
  // it would tick thousands of times.
  EXPECT_GE(ticks, 2) << "the repeating timer stalled";
  EXPECT_LE(ticks, 2 * (kTimerMs + kLateMs) / kTickMs) << "the repeating timer caught up on missed ticks";
}

INSTANTIATE_TEST_SUITE_P(AnHour, ClockJump, testing::Values(int64_t{3600}, int64_t{-3600}),
                         [](const testing::TestParamInfo<int64_t>& info) {
                           return info.param > 0 ? std::string("Forwards") : std::string("Backwards");
                         });

}  // namespace
}  // namespace sonvarro

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
