#include "AudioCompare.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "TestMedia.h"

namespace sonvarro::test {
namespace {

// Codecs delay their output by up to a few frames; nothing moves audio
// earlier than this either.
constexpr int64_t kLatestLag = 8192;
constexpr int64_t kEarliestLag = -2048;
constexpr int64_t kAlignmentExcerpt = 8192;
// A window quieter than this (-60 dBFS RMS) holds too little to judge.
constexpr double kQuietRms = 1e-3;

double Mono(const Audio& audio, int64_t frame) {
  double sum = 0;
  for (int c = 0; c < audio.channels; ++c) sum += audio.samples[size_t(frame) * audio.channels + c];
  return sum;
}

// The excerpt of the source with the most energy among a few candidates,
// so the alignment has something to lock on to.
int64_t LoudExcerpt(const Audio& source) {
  int64_t best = 0;
  double bestEnergy = -1;
  for (int64_t start = 0; start + kAlignmentExcerpt <= source.Frames(); start += source.Frames() / 16 + 1) {
    double energy = 0;
    for (int64_t i = start; i < start + kAlignmentExcerpt; ++i) energy += Mono(source, i) * Mono(source, i);
    if (energy > bestEnergy) {
      bestEnergy = energy;
      best = start;
    }
  }
  return best;
}

// The lag with the highest normalised correlation of an excerpt.
int64_t FindLag(const Audio& source, const Audio& coded) {
  const int64_t start = LoudExcerpt(source);
  const int64_t length = std::min(kAlignmentExcerpt, source.Frames() - start);
  int64_t bestLag = 0;
  double bestScore = -std::numeric_limits<double>::infinity();
  for (int64_t lag = kEarliestLag; lag <= kLatestLag; ++lag) {
    if (start + lag < 0 || start + lag + length > coded.Frames()) continue;
    double product = 0, energy = 0;
    for (int64_t i = 0; i < length; ++i) {
      const double c = Mono(coded, start + lag + i);
      product += Mono(source, start + i) * c;
      energy += c * c;
    }
    const double score = energy > 0 ? product / std::sqrt(energy) : 0;
    if (score > bestScore) {
      bestScore = score;
      bestLag = lag;
    }
  }
  return bestLag;
}

}  // namespace

bool LoadAudio(const std::string& path, Audio* audio, std::string* error) {
  audio->samples.clear();
  const MediaReport report = DecodeMedia(path, &audio->samples);
  if (!report.ok) {
    if (error) *error = report.error;
    return false;
  }
  audio->sampleRate = report.sampleRate;
  audio->channels = report.channels;
  return true;
}

Fidelity MeasureFidelity(const Audio& source, const Audio& coded) {
  Fidelity fidelity;
  if (source.sampleRate != coded.sampleRate || source.channels != coded.channels || source.channels == 0) {
    fidelity.error = "the coded audio has another rate or channel count than its source";
    return fidelity;
  }
  if (source.Frames() < kAlignmentExcerpt) {
    fidelity.error = "the source is too short to align";
    return fidelity;
  }
  fidelity.lag = FindLag(source, coded);
  const int64_t window = std::llround(kWindowSeconds * source.sampleRate);
  const int channels = source.channels;
  double sum = 0;
  int counted = 0;
  fidelity.worstSnr = std::numeric_limits<double>::infinity();
  for (int64_t start = 0; start + window <= source.Frames(); start += window) {
    double signal = 0, noise = 0;
    bool inside = true;
    for (int64_t i = start; i < start + window && inside; ++i) {
      const int64_t j = i + fidelity.lag;
      if (j < 0 || j >= coded.Frames()) {
        inside = false;
        break;
      }
      for (int c = 0; c < channels; ++c) {
        const double s = source.samples[size_t(i) * channels + c];
        const double d = s - coded.samples[size_t(j) * channels + c];
        signal += s * s;
        noise += d * d;
      }
    }
    const bool quiet = signal < kQuietRms * kQuietRms * double(window) * channels;
    if (!inside || quiet) {
      fidelity.windowSnr.push_back(std::numeric_limits<double>::quiet_NaN());
      continue;
    }
    const double snr = 10 * std::log10(signal / std::max(noise, 1e-12));
    fidelity.windowSnr.push_back(snr);
    sum += snr;
    ++counted;
    fidelity.worstSnr = std::min(fidelity.worstSnr, snr);
  }
  if (counted == 0) {
    fidelity.error = "no window of the source holds sound";
    return fidelity;
  }
  fidelity.meanSnr = sum / counted;
  fidelity.ok = true;
  return fidelity;
}

double WorstSnrNear(const Fidelity& fidelity, const std::vector<int64_t>& boundaries, int64_t reach, int sampleRate) {
  const int64_t window = std::llround(kWindowSeconds * sampleRate);
  double worst = std::numeric_limits<double>::infinity();
  for (int64_t boundary : boundaries) {
    const int64_t first = std::max<int64_t>(0, (boundary - reach) / window);
    const int64_t last =
        std::min<int64_t>(static_cast<int64_t>(fidelity.windowSnr.size()) - 1, (boundary + reach) / window);
    for (int64_t w = first; w <= last; ++w)
      if (!std::isnan(fidelity.windowSnr[w])) worst = std::min(worst, fidelity.windowSnr[w]);
  }
  return worst;
}

}  // namespace sonvarro::test
