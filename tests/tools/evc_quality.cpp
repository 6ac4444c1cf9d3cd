// Compares the output evc.exe makes on several encoder instances with the one
// it makes on a single instance, both against their source, as the encoder
// tests do on short files; the benchmark script runs it on long ones.
//
//   evc_quality SOURCE SINGLE PARALLEL CHUNK_SAMPLES
//
// Prints one line of figures; exits 1 when a file cannot be read or aligned.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "AudioCompare.h"

using namespace sonvarro::test;

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: evc_quality SOURCE SINGLE PARALLEL CHUNK_SAMPLES\n");
    return 2;
  }
  Audio source, single, parallel;
  std::string error;
  if (!LoadAudio(argv[1], &source, &error) || !LoadAudio(argv[2], &single, &error) ||
      !LoadAudio(argv[3], &parallel, &error)) {
    std::fprintf(stderr, "evc_quality: %s\n", error.c_str());
    return 1;
  }
  const Fidelity one = MeasureFidelity(source, single);
  const Fidelity many = MeasureFidelity(source, parallel);
  if (!one.ok || !many.ok) {
    std::fprintf(stderr, "evc_quality: %s\n", (one.ok ? many : one).error.c_str());
    return 1;
  }
  const long long chunk = std::atoll(argv[4]);
  std::vector<int64_t> boundaries;
  for (long long at = chunk; chunk > 0 && at < source.Frames(); at += chunk) boundaries.push_back(at);
  const int64_t reach = std::llround(0.1 * source.sampleRate);
  std::printf(
      "snr %.2f %.2f dB (%+.2f), worst %.2f dB, at joins %.2f dB (single there %.2f), samples %lld %lld, lag %lld "
      "%lld\n",
      one.meanSnr, many.meanSnr, many.meanSnr - one.meanSnr, one.worstSnr,
      WorstSnrNear(many, boundaries, reach, source.sampleRate), WorstSnrNear(one, boundaries, reach, source.sampleRate),
      static_cast<long long>(single.Frames()), static_cast<long long>(parallel.Frames()),
      static_cast<long long>(one.lag), static_cast<long long>(many.lag));
  return 0;
}
