#include "VolumeLimiter.h"

#include <algorithm>
#include <cmath>

namespace sonvarro::evc {
namespace {
constexpr double kLookaheadSeconds = 0.005;
constexpr double kReleaseSeconds = 0.080;
}  // namespace

VolumeLimiter::VolumeLimiter(int channels, int sampleRate, double gain)
    : channels_(channels),
      gain_(static_cast<float>(gain)),
      lookahead_(std::max(1, static_cast<int>(std::lround(kLookaheadSeconds * sampleRate)))),
      releaseCoefficient_(static_cast<float>(std::exp(-1.0 / (kReleaseSeconds * sampleRate)))),
      delay_(channels, std::vector<float>(lookahead_, 0.0f)),
      averageRing_(lookahead_ + 1, 1.0f),
      averageSum_(lookahead_ + 1) {}

// Why this never lets a sample through too loud: the sample leaving the delay
// line now entered it `lookahead_` samples ago, so each of the last
// lookahead_ + 1 window minima covered its wanted gain, and so does their mean.
float VolumeLimiter::NextGain(float target) {
  while (!windowMinimum_.empty() && windowMinimum_.back().second >= target) windowMinimum_.pop_back();
  windowMinimum_.emplace_back(sampleIndex_, target);
  while (windowMinimum_.front().first < sampleIndex_ - lookahead_) windowMinimum_.pop_front();
  ++sampleIndex_;
  const float minimum = windowMinimum_.front().second;

  // Falls at once to the minimum; rises back slowly, never above it.
  released_ = minimum < released_ ? minimum : minimum - (minimum - released_) * releaseCoefficient_;
  if (minimum - released_ < 1e-6f) released_ = minimum;

  float& slot = averageRing_[averagePosition_];
  if (slot < 1.0f) --reducedInAverage_;
  averageSum_ += released_ - slot;
  slot = released_;
  if (slot < 1.0f) ++reducedInAverage_;
  averagePosition_ = (averagePosition_ + 1) % static_cast<int>(averageRing_.size());
  // Unity exactly while nothing in the window was reduced, so an unlimited
  // passage comes out as the plain gain, without rounding drift.
  if (reducedInAverage_ == 0) {
    averageSum_ = static_cast<double>(averageRing_.size());
    return 1.0f;
  }
  return static_cast<float>(averageSum_ / averageRing_.size());
}

bool VolumeLimiter::Idle() const {
  return held_ == lookahead_ && released_ == 1.0f && reducedInAverage_ == 0 &&
         (windowMinimum_.empty() || windowMinimum_.front().second == 1.0f);
}

// A block that stays under the ceiling while nothing is being limited only
// passes through the delay line at the plain gain; the gain state stays at
// rest, so the general path picks up exactly where this one leaves off.
bool VolumeLimiter::PassQuietBlock(float* const* planes, int count) {
  if (!Idle()) return false;
  float peak = 0.0f;
  for (int c = 0; c < channels_; ++c)
    for (int i = 0; i < count; ++i) peak = std::max(peak, std::fabs(planes[c][i]));
  if (peak * gain_ > kCeiling) return false;
  for (int c = 0; c < channels_; ++c) {
    float* const delay = delay_[c].data();
    float* const samples = planes[c];
    // In runs that do not wrap around the ring, so the loop vectorises.
    for (int done = 0, position = ringPosition_; done < count;) {
      const int run = std::min(count - done, lookahead_ - position);
      float* __restrict in = samples + done;
      float* __restrict line = delay + position;
      for (int i = 0; i < run; ++i) {
        const float entering = in[i] * gain_;
        in[i] = line[i];
        line[i] = entering;
      }
      done += run;
      position = position + run == lookahead_ ? 0 : position + run;
    }
  }
  ringPosition_ = static_cast<int>((ringPosition_ + static_cast<long long>(count)) % lookahead_);
  sampleIndex_ += count;
  windowMinimum_.clear();
  windowMinimum_.emplace_back(sampleIndex_ - 1, 1.0f);
  averagePosition_ = static_cast<int>((averagePosition_ + static_cast<long long>(count)) % averageRing_.size());
  return true;
}

int VolumeLimiter::Process(float* const* planes, int count) {
  if (PassQuietBlock(planes, count)) return count;
  int written = 0;
  for (int i = 0; i < count; ++i) {
    float peak = 0.0f;
    for (int c = 0; c < channels_; ++c) peak = std::max(peak, std::fabs(planes[c][i] * gain_));
    const float target = peak > kCeiling ? kCeiling / peak : 1.0f;
    const float gain = NextGain(target);
    if (held_ < lookahead_) {
      for (int c = 0; c < channels_; ++c) delay_[c][ringPosition_] = planes[c][i] * gain_;
      ++held_;
    } else {
      for (int c = 0; c < channels_; ++c) {
        const float delayed = delay_[c][ringPosition_];
        delay_[c][ringPosition_] = planes[c][i] * gain_;
        planes[c][written] = delayed * gain;
      }
      ++written;
    }
    ringPosition_ = (ringPosition_ + 1) % lookahead_;
  }
  return written;
}

int VolumeLimiter::Flush(float* const* planes) {
  // Silence pushed through the look-ahead moves the held samples out.
  const int held = held_;
  // The oldest held sample sits at ringPosition_ only once the line is full.
  int position = held_ < lookahead_ ? 0 : ringPosition_;
  for (int i = 0; i < held; ++i) {
    float gain = NextGain(1.0f);
    // Input shorter than the look-ahead never filled the window; keep even
    // those few samples under the ceiling.
    float peak = 0.0f;
    for (int c = 0; c < channels_; ++c) peak = std::max(peak, std::fabs(delay_[c][position]));
    if (peak * gain > kCeiling) gain = kCeiling / peak;
    for (int c = 0; c < channels_; ++c) planes[c][i] = delay_[c][position] * gain;
    position = (position + 1) % lookahead_;
  }
  held_ = 0;
  ringPosition_ = 0;
  return held;
}

}  // namespace sonvarro::evc
