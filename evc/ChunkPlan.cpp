#include "ChunkPlan.h"

#include <algorithm>
#include <cmath>

#include "Mp3Reservoir.h"

namespace sonvarro::evc {
namespace {

// The audio waiting in the instances' queues, about one chunk each: its
// bound keeps memory flat on machines with many cores.
constexpr int64_t kQueuedAudioBytes = 16 << 20;
constexpr double kLongestChunkSeconds = 30;
// Shorter chunks spend too much of the work on the dropped frames.
constexpr double kShortestChunkSeconds = 5;
// Several chunks per instance even out the end, where instances run idle.
constexpr int kChunksPerInstance = 4;
// Below this many chunks a stream keeps one instance.
constexpr int kFewestChunks = 3;

struct CodecSettling {
  AVCodecID codec;
  int settleFrames;  // pre-roll beyond the delay and a frame
  int postrollFrames;
  double warmUpSeconds;
};

// The codecs whose packets from separate instances join into one stream:
// AAC and AC-3 frames overlap only by a window, which a dropped pre-roll
// covers; MP3's bit reservoir is repacked (Mp3Reservoir.h). Vorbis chains
// its block sizes from packet to packet, AMR-NB and PCM are fast enough.
// An instance keeps its encoder from chunk to chunk, so its slowly adapting
// state stays warm: the pre-roll only has to bring back the window overlap
// and the psychoacoustic model's last frames (block switching, pre-echo),
// which the settling frames cover. FFmpeg's AAC encoder learns the range of
// the signal's perceptual entropy over about ten seconds (its rate control
// spends bits by it): until an instance has seen that much, its pre-roll
// reaches back that far. MP3 and AAC emit a frame's packet only after seeing
// the next frame; LAME also holds frames back while later main data may
// still begin in them (Mp3FramesWithinReach).
constexpr CodecSettling kJoinable[] = {
    {AV_CODEC_ID_MP3, 2, 2, 0},
    {AV_CODEC_ID_AAC, 2, 2, 10},
    {AV_CODEC_ID_AC3, 0, 1, 0},
};

const CodecSettling* Settling(AVCodecID codec) {
  for (const CodecSettling& settling : kJoinable)
    if (settling.codec == codec) return &settling;
  return nullptr;
}

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

}  // namespace

ChunkPlan PlanChunks(const StreamShape& stream, std::optional<int> instancesAsked, int cores) {
  ChunkPlan single;
  const CodecSettling* settling = Settling(stream.codec);
  if (!settling || stream.frameSize <= 0 || stream.channels <= 0 || stream.sampleRate <= 0) return single;
  const double rate = stream.sampleRate;
  const int64_t shortest = std::llround(kShortestChunkSeconds * rate);
  // As many instances as cores, but no more than the queued audio's budget
  // holds at the shortest chunks.
  const int64_t affordable = kQueuedAudioBytes / (shortest * stream.channels * int64_t{sizeof(float)});
  const int instances =
      instancesAsked.value_or(static_cast<int>(std::min<int64_t>(cores, std::max<int64_t>(affordable, 2))));
  if (instances < 2) return single;
  const bool mp3 = stream.codec == AV_CODEC_ID_MP3;
  if (mp3 && !Mp3ChunksJoin(stream.sampleRate, stream.channels, stream.bitRate)) return single;

  const int64_t queuedSamples = kQueuedAudioBytes / (int64_t{instances} * stream.channels * sizeof(float));
  const int64_t longest = std::min<int64_t>(queuedSamples, std::llround(kLongestChunkSeconds * rate));
  int64_t chunkSamples = std::max(longest, shortest);
  if (stream.expectedSamples) {
    chunkSamples = std::clamp<int64_t>(*stream.expectedSamples / (int64_t{kChunksPerInstance} * instances), shortest,
                                       std::max(longest, shortest));
    if (*stream.expectedSamples < kFewestChunks * chunkSamples) return single;
  }

  ChunkPlan plan;
  plan.chunkFrames = CeilDiv(chunkSamples, stream.frameSize);
  plan.prerollFrames =
      static_cast<int>(CeilDiv(stream.primingSamples + stream.frameSize, stream.frameSize)) + settling->settleFrames;
  plan.postrollFrames = settling->postrollFrames;
  plan.warmUpFrames = CeilDiv(std::llround(settling->warmUpSeconds * rate), stream.frameSize);
  if (mp3) plan.postrollFrames += Mp3FramesWithinReach(stream.sampleRate, stream.channels, stream.bitRate);
  plan.instances = instances;
  if (stream.expectedSamples)
    plan.instances = static_cast<int>(
        std::min<int64_t>(instances, CeilDiv(*stream.expectedSamples, plan.chunkFrames * stream.frameSize)));
  return plan;
}

}  // namespace sonvarro::evc
