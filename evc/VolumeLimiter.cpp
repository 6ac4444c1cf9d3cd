#include "VolumeLimiter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
      lines_(channels, std::vector<float>(lookahead_)),
      candidateIndex_(lookahead_ + 2),
      candidateGain_(lookahead_ + 2),
      averageRing_(lookahead_ + 1, 1.0f),
      averageSum_(lookahead_ + 1) {}

// Why this never lets a sample through too loud: the sample leaving the delay
// line now entered it `lookahead_` samples ago, so each of the last
// lookahead_ + 1 window minima covered its wanted gain, and so does their mean.
//
// The state lives in locals for the loop: kept in registers, it runs several
// times faster than through the members (this runs for every sample that is
// limited).
void VolumeLimiter::ComputeGains(const float* targets, float* gains, int count) {
  const int ring = static_cast<int>(candidateGain_.size());
  long long* const candidateIndex = candidateIndex_.data();
  float* const candidateGain = candidateGain_.data();
  float* const average = averageRing_.data();
  const int averageSize = static_cast<int>(averageRing_.size());
  int front = candidatesFront_, candidates = candidateCount_, position = averagePosition_;
  int reduced = reducedInAverage_;
  long long index = sampleIndex_;
  float released = released_;
  double sum = averageSum_;
  for (int i = 0; i < count; ++i) {
    const float target = targets[i];
    // The candidates no lower than the new one can never be the minimum again.
    while (candidates > 0) {
      int back = front + candidates - 1;
      if (back >= ring) back -= ring;
      if (candidateGain[back] < target) break;
      --candidates;
    }
    int slot = front + candidates;
    if (slot >= ring) slot -= ring;
    candidateIndex[slot] = index;
    candidateGain[slot] = target;
    ++candidates;
    while (candidateIndex[front] < index - lookahead_) {
      if (++front == ring) front = 0;
      --candidates;
    }
    ++index;
    const float minimum = candidateGain[front];

    // Falls at once to the minimum; rises back slowly, never above it.
    released = minimum < released ? minimum : minimum - (minimum - released) * releaseCoefficient_;
    if (minimum - released < 1e-6f) released = minimum;

    float& entry = average[position];
    if (entry < 1.0f) --reduced;
    sum += released - entry;
    entry = released;
    if (entry < 1.0f) ++reduced;
    if (++position == averageSize) position = 0;
    // Unity exactly while nothing in the window was reduced, so an unlimited
    // passage comes out as the plain gain, without rounding drift.
    if (reduced == 0) {
      sum = static_cast<double>(averageSize);
      gains[i] = 1.0f;
    } else {
      gains[i] = static_cast<float>(sum / averageSize);
    }
  }
  candidatesFront_ = front;
  candidateCount_ = candidates;
  averagePosition_ = position;
  reducedInAverage_ = reduced;
  sampleIndex_ = index;
  released_ = released;
  averageSum_ = sum;
}

bool VolumeLimiter::Idle() const {
  return held_ == lookahead_ && released_ == 1.0f && reducedInAverage_ == 0 &&
         (candidateCount_ == 0 || candidateGain_[candidatesFront_] == 1.0f);
}

void VolumeLimiter::Enter(float* const* planes, int count) {
  for (int c = 0; c < channels_; ++c) {
    std::vector<float>& line = lines_[c];
    if (static_cast<int>(line.size()) < held_ + count) line.resize(held_ + count);
    float* __restrict entering = line.data() + held_;
    const float* __restrict samples = planes[c];
    const float gain = gain_;  // a local: the loop vectorises
    for (int i = 0; i < count; ++i) entering[i] = samples[i] * gain;
  }
}

void VolumeLimiter::Keep(int dropped) {
  for (auto& line : lines_) std::memmove(line.data(), line.data() + dropped, held_ * sizeof(float));
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
  Enter(planes, count);
  for (int c = 0; c < channels_; ++c) std::memcpy(planes[c], lines_[c].data(), count * sizeof(float));
  Keep(count);
  sampleIndex_ += count;
  candidatesFront_ = 0;
  candidateCount_ = 1;
  candidateIndex_[0] = sampleIndex_ - 1;
  candidateGain_[0] = 1.0f;
  averagePosition_ = static_cast<int>((averagePosition_ + static_cast<long long>(count)) % averageRing_.size());
  return true;
}

// In three passes: what each sample asks for (the loudest channel; this
// vectorises), the gains in order (the one part that cannot), and the
// delayed samples at their gains.
int VolumeLimiter::Process(float* const* planes, int count) {
  if (PassQuietBlock(planes, count)) return count;
  if (static_cast<int>(targets_.size()) < count) {
    targets_.resize(count);
    gains_.resize(count);
  }
  float* __restrict targets = targets_.data();
  for (int i = 0; i < count; ++i) targets[i] = std::fabs(planes[0][i]);
  for (int c = 1; c < channels_; ++c) {
    const float* __restrict samples = planes[c];
    for (int i = 0; i < count; ++i) targets[i] = std::max(targets[i], std::fabs(samples[i]));
  }
  for (int i = 0; i < count; ++i) {
    // |x| * gain is the loudest of the channels' |x * gain|: scaling keeps order.
    const float peak = targets[i] * gain_;
    targets[i] = peak > kCeiling ? kCeiling / peak : 1.0f;
  }
  ComputeGains(targets, gains_.data(), count);

  Enter(planes, count);
  const int total = held_ + count;
  const int written = std::max(0, total - lookahead_);
  // Sample k leaves the delay line when the block's sample k + lookahead -
  // held arrives, and takes the gain computed then.
  const float* __restrict gains = gains_.data() + (lookahead_ - held_);
  for (int c = 0; c < channels_; ++c) {
    const float* __restrict delayed = lines_[c].data();
    float* __restrict out = planes[c];
    for (int k = 0; k < written; ++k) out[k] = delayed[k] * gains[k];
  }
  held_ = total - written;
  Keep(written);
  return written;
}

int VolumeLimiter::Flush(float* const* planes) {
  // Silence pushed through the look-ahead moves the held samples out.
  const int held = held_;
  for (int i = 0; i < held; ++i) {
    const float unlimited = 1.0f;
    float gain;
    ComputeGains(&unlimited, &gain, 1);
    // Input shorter than the look-ahead never filled the window; keep even
    // those few samples under the ceiling.
    float peak = 0.0f;
    for (int c = 0; c < channels_; ++c) peak = std::max(peak, std::fabs(lines_[c][i]));
    if (peak * gain > kCeiling) gain = kCeiling / peak;
    for (int c = 0; c < channels_; ++c) planes[c][i] = lines_[c][i] * gain;
  }
  held_ = 0;
  return held;
}

}  // namespace sonvarro::evc
