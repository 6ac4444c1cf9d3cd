#include "FormatResolver.h"

#include <cstdio>
#include <optional>

#include "NearestValue.h"

namespace sonvarro::evc {
namespace {

// Tried in order of distance when an encoder does not list its rates.
const std::vector<int> kCommonSampleRates = {8000,  11025, 12000, 16000, 22050, 24000,
                                             32000, 44100, 48000, 88200, 96000};
const std::vector<int> kCommonChannelCounts = {1, 2};

// Bitrate search range and grid, kbit/s.
constexpr int kLowestKbps = 8;
constexpr int kHighestKbps = 640;
constexpr int kGridKbps = 8;

std::vector<int> Candidates(int wanted, const std::vector<int>& stated, const std::vector<int>& common) {
  if (!stated.empty()) return ByDistance(wanted, stated);
  std::vector<int> all = ByDistance(wanted, common);
  all.insert(all.begin(), wanted);
  return all;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string text;
  for (const auto& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

std::string ChannelsText(int channels) {
  return channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string(channels) + " channels";
}

std::string ChangeNote(const std::string& codec, const AudioFormat& wanted, const AudioFormat& chosen) {
  std::vector<std::string> asked, used;
  if (wanted.sampleRate != chosen.sampleRate) {
    asked.push_back(std::to_string(wanted.sampleRate) + " Hz");
    used.push_back(std::to_string(chosen.sampleRate) + " Hz");
  }
  if (wanted.channels != chosen.channels) {
    asked.push_back(ChannelsText(wanted.channels));
    used.push_back(ChannelsText(chosen.channels));
  }
  // Compared in whole kbit/s: encoders that round to the bit are not worth a note.
  if (wanted.bitRate > 0 && chosen.bitRate > 0 && (wanted.bitRate + 500) / 1000 != (chosen.bitRate + 500) / 1000) {
    asked.push_back(BitrateText(wanted.bitRate));
    used.push_back(BitrateText(chosen.bitRate));
  }
  if (asked.empty()) return "";
  return "note: " + codec + " cannot take " + Join(asked) + "; using the nearest it supports: " + Join(used);
}

}  // namespace

std::string BitrateText(int64_t bitsPerSecond) {
  char text[32];
  if (bitsPerSecond % 1000 == 0)
    std::snprintf(text, sizeof text, "%lld kbit/s", static_cast<long long>(bitsPerSecond / 1000));
  else
    std::snprintf(text, sizeof text, "%.1f kbit/s", bitsPerSecond / 1000.0);
  return text;
}

ResolvedFormat ResolveFormat(IEncoderProbe& probe, const AudioFormat& wanted) {
  ResolvedFormat result;
  const bool searchBitrate = probe.TakesBitrate() && wanted.bitRate > 0;
  for (int rate : Candidates(wanted.sampleRate, probe.StatedSampleRates(), kCommonSampleRates)) {
    for (int channels : Candidates(wanted.channels, probe.StatedChannelCounts(), kCommonChannelCounts)) {
      AudioFormat format{rate, channels, searchBitrate ? wanted.bitRate : 0};
      if (searchBitrate && !probe.Opens(format)) {
        const int wantedKbps = static_cast<int>((wanted.bitRate + 500) / 1000);
        auto kbps = NearestAccepted(wantedKbps, kLowestKbps, kHighestKbps, kGridKbps, [&](int candidate) {
          return probe.Opens({rate, channels, int64_t{candidate} * 1000});
        });
        if (!kbps) continue;
        format.bitRate = int64_t{*kbps} * 1000;
      } else if (!searchBitrate && !probe.Opens(format)) {
        continue;
      }
      if (probe.TakesBitrate()) format.bitRate = probe.EffectiveBitrate(format);
      result.ok = true;
      result.format = format;
      result.note = ChangeNote(probe.CodecName(), wanted, format);
      return result;
    }
  }
  return result;
}

}  // namespace sonvarro::evc
