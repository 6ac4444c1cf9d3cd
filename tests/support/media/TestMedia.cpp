#include "TestMedia.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "Libav.h"

extern char** environ;

namespace sonvarro::test {
namespace {

struct Recipe {
  const char* extension;
  const char* audioCodec;
  const char* videoCodec;  // nullptr: audio only
};

const Recipe kRecipes[] = {
    {".wav", "pcm_s16le", nullptr}, {".mp3", "libmp3lame", nullptr}, {".aac", "aac", nullptr},
    {".m4a", "aac", nullptr},       {".ac3", "ac3", nullptr},        {".ogg", "libvorbis", nullptr},
    {".flac", "flac", nullptr},     {".wma", "wmav2", nullptr},      {".mp4", "aac", "mpeg4"},
    {".mov", "aac", "mpeg4"},       {".avi", "libmp3lame", "mpeg4"}, {".mkv", "libvorbis", "mpeg4"},
    {".mpg", "mp2", "mpeg1video"},
};

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

bool RunFfmpeg(std::vector<std::string> args, std::string* error) {
  args.insert(args.begin(), {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"});
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    if (error) *error = "cannot start ffmpeg";
    return false;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  if (error) *error = "ffmpeg failed for " + args.back();
  return false;
}

}  // namespace

bool WriteToneFile(const std::string& path, const ToneSpec& spec, std::string* error) {
  const std::string extension = LowerExtension(path);
  const Recipe* recipe = nullptr;
  for (const Recipe& r : kRecipes)
    if (extension == r.extension) recipe = &r;
  if (!recipe) {
    if (error) *error = "no recipe for " + extension;
    return false;
  }
  std::string tone = Number(spec.amplitude) + "*sin(2*PI*" + Number(spec.frequency) + "*t)";
  if (spec.noise > 0) tone += "+" + Number(2 * spec.noise) + "*(random(1)-0.5)";
  if (spec.burstEvery > 0)
    tone += "+" + Number(spec.amplitude) + "*(random(0)-0.5)*exp(-60*mod(t," + Number(spec.burstEvery) + "))";
  if (spec.silentLead > 0) tone = "if(gte(t," + Number(spec.silentLead) + ")," + tone + ",0)";
  std::string exprs = tone;
  for (int c = 1; c < spec.channels; ++c) exprs += "|" + tone;
  std::vector<std::string> args = {
      "-f", "lavfi", "-i",
      "aevalsrc=exprs='" + exprs + "':s=" + std::to_string(spec.sampleRate) + ":d=" + Number(spec.seconds)};
  if (recipe->videoCodec) {
    args.insert(args.end(), {"-f", "lavfi", "-i", "testsrc=s=160x120:r=15:d=" + Number(spec.seconds), "-map", "1:v",
                             "-c:v", recipe->videoCodec});
  }
  args.insert(args.end(), {"-map", "0:a", "-c:a", recipe->audioCodec});
  for (const auto& [key, value] : spec.tags) args.insert(args.end(), {"-metadata", key + "=" + value});
  args.push_back(path);
  return RunFfmpeg(args, error);
}

bool WriteVideoOnlyFile(const std::string& path, double seconds, std::string* error) {
  return RunFfmpeg({"-f", "lavfi", "-i", "testsrc=s=160x120:r=15:d=" + Number(seconds), "-c:v", "mpeg4", path}, error);
}

namespace {

MediaReport Failed(MediaReport report, const std::string& error) {
  report.ok = false;
  report.error = error;
  return report;
}

class Statistics {
 public:
  explicit Statistics(int blockSamples) : blockSamples_(std::max(1, blockSamples)) {}
  void Add(const float* interleaved, int samples, int channels) {
    for (int i = 0; i < samples; ++i) {
      for (int c = 0; c < channels; ++c) {
        const double v = interleaved[i * channels + c];
        peak_ = std::max(peak_, std::fabs(v));
        sum_ += v * v;
        blockSum_ += v * v;
      }
      count_ += channels;
      blockCount_ += channels;
      if (++inBlock_ == blockSamples_) EndBlock();
    }
  }
  void Finish(MediaReport& report) {
    if (inBlock_ > 0) EndBlock();
    report.peak = peak_;
    report.rms = count_ ? std::sqrt(sum_ / count_) : 0.0;
    report.blockRms = blocks_;
  }

 private:
  void EndBlock() {
    blocks_.push_back(blockCount_ ? std::sqrt(blockSum_ / blockCount_) : 0.0);
    blockSum_ = 0;
    blockCount_ = 0;
    inBlock_ = 0;
  }
  int blockSamples_;
  double peak_ = 0, sum_ = 0, blockSum_ = 0;
  int64_t count_ = 0, blockCount_ = 0;
  int inBlock_ = 0;
  std::vector<double> blocks_;
};

void AddToChecksum(uint64_t& hash, const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    hash ^= data[i];
    hash *= 1099511628211ull;
  }
}

}  // namespace

MediaReport DecodeMedia(const std::string& path, std::vector<float>* samples, const char* demuxer) {
  MediaReport report;
  AVFormatContext* raw = nullptr;
  const AVInputFormat* named = demuxer ? av_find_input_format(demuxer) : nullptr;
  if (demuxer && !named) return Failed(report, std::string("no demuxer ") + demuxer);
  if (avformat_open_input(&raw, evc::FileUrl(path).c_str(), named, nullptr) < 0)
    return Failed(report, "cannot open " + path);
  evc::InputFormatPtr format(raw);
  if (avformat_find_stream_info(format.get(), nullptr) < 0) return Failed(report, "cannot read " + path);
  for (const AVDictionaryEntry* e = nullptr; (e = av_dict_get(format->metadata, "", e, AV_DICT_IGNORE_SUFFIX));) {
    std::string key = e->key;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    report.tags[key] = e->value;
  }
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream* s = format->streams[i];
    if (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC))
      report.hasVideo = true;
  }
  const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (index < 0) return Failed(report, "no audio stream in " + path);
  AVStream* stream = format->streams[index];
  for (const AVDictionaryEntry* e = nullptr; (e = av_dict_get(stream->metadata, "", e, AV_DICT_IGNORE_SUFFIX));) {
    std::string key = e->key;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    report.tags.emplace(key, e->value);
  }
  report.codecName = avcodec_get_name(stream->codecpar->codec_id);
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return Failed(report, "no decoder for " + report.codecName);
  evc::CodecContextPtr decoder(avcodec_alloc_context3(codec));
  avcodec_parameters_to_context(decoder.get(), stream->codecpar);
  decoder->pkt_timebase = stream->time_base;
  if (avcodec_open2(decoder.get(), codec, nullptr) < 0) return Failed(report, "cannot open the decoder");
  report.sampleRate = decoder->sample_rate;
  report.channels = decoder->ch_layout.nb_channels;

  evc::PacketPtr packet = evc::MakePacket();
  evc::FramePtr frame = evc::MakeFrame();
  evc::SwrPtr converter;
  Statistics statistics(report.sampleRate / 10);
  std::vector<float> interleaved;
  uint64_t checksum = 14695981039346656037ull;

  auto drain = [&]() -> bool {
    while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
      const int channels = frame->ch_layout.nb_channels;
      if (!converter) {
        AVChannelLayout layout{};
        av_channel_layout_default(&layout, channels);
        SwrContext* swr = nullptr;
        swr_alloc_set_opts2(&swr, &layout, AV_SAMPLE_FMT_FLT, frame->sample_rate, &layout,
                            static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
        converter.reset(swr);
        if (!swr || swr_init(swr) < 0) return false;
      }
      const auto fmt = static_cast<AVSampleFormat>(frame->format);
      const int bytes = av_get_bytes_per_sample(fmt);
      if (av_sample_fmt_is_planar(fmt)) {
        for (int c = 0; c < channels; ++c)
          AddToChecksum(checksum, frame->extended_data[c], size_t(frame->nb_samples) * bytes);
      } else {
        AddToChecksum(checksum, frame->extended_data[0], size_t(frame->nb_samples) * bytes * channels);
      }
      interleaved.resize(size_t(frame->nb_samples) * channels);
      uint8_t* out = reinterpret_cast<uint8_t*>(interleaved.data());
      const int converted = swr_convert(converter.get(), &out, frame->nb_samples,
                                        const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
      if (converted > 0) statistics.Add(interleaved.data(), converted, channels);
      if (converted > 0 && samples)
        samples->insert(samples->end(), interleaved.begin(), interleaved.begin() + size_t(converted) * channels);
      report.samples += frame->nb_samples;
      av_frame_unref(frame.get());
    }
    return true;
  };
  while (av_read_frame(format.get(), packet.get()) >= 0) {
    if (packet->stream_index == index) avcodec_send_packet(decoder.get(), packet.get());
    av_packet_unref(packet.get());
    if (!drain()) return Failed(report, "cannot convert samples");
  }
  avcodec_send_packet(decoder.get(), nullptr);
  if (!drain()) return Failed(report, "cannot convert samples");
  statistics.Finish(report);
  report.checksum = checksum;
  report.durationSeconds = report.sampleRate ? double(report.samples) / report.sampleRate : 0.0;
  report.ok = true;
  return report;
}

}  // namespace sonvarro::test
