#include "Conversion.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <mutex>
#include <new>
#include <thread>
#include <utility>
#include <vector>

#include "AudioEncoder.h"
#include "BoundedQueue.h"
#include "ChunkPlan.h"
#include "ChunkedEncoding.h"
#include "EncodeError.h"
#include "FilePath.h"
#include "FrameProducer.h"
#include "OutputContainer.h"
#include "OutputWriter.h"
#include "SourceReader.h"
#include "StatusLine.h"
#include "StreamJoin.h"

namespace sonvarro::evc {
namespace {

// Audio in flight between the decoding and the encoding thread, counted in
// samples. Frames cross in batches of a few thousand samples, so the queue's
// lock is taken once a batch, not once a frame: libvorbis takes frames of 64
// samples. The decoding thread, much the faster, waits on a full queue and is
// woken once half of it is encoded: about three seconds of audio in flight
// (a megabyte of stereo) keeps those wake-ups to a few hundred a file.
constexpr size_t kSamplesInFlight = 131072;
constexpr size_t kSamplesPerBatch = 4096;
constexpr size_t kFewestBatchesInFlight = 4;

using FrameBatch = std::vector<FramePtr>;

// Encoded frames go back to the decoding thread to be freed: freeing on the
// encoding thread what the other one allocated made each free wait for the
// other thread's arena lock in the allocator, thousands of times a file.
class SpentFrames {
 public:
  void Return(FrameBatch batch) {
    std::lock_guard<std::mutex> lock(mutex_);
    spent_.push_back(std::move(batch));
  }
  // On the thread that made the frames; they are freed once the lock is
  // released (taken outlives lock).
  void Free() {
    std::vector<FrameBatch> taken;
    std::lock_guard<std::mutex> lock(mutex_);
    taken.swap(spent_);
  }

 private:
  std::mutex mutex_;
  std::vector<FrameBatch> spent_;
};

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// By identity, not by name: a link or another spelling of the path is the
// same file. (Windows has no inode numbers in stat; this asks the volume.)
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(FilePath(a), FilePath(b), error) && !error;
}

void CheckOutputPath(const EncoderOptions& options) {
  std::error_code error;
  const auto type = std::filesystem::status(FilePath(options.output), error).type();
  if (error || type == std::filesystem::file_type::not_found) return;
  // Opening a pipe for writing waits for a reader that may never come.
  // Devices are written like files (a full disk is tried on /dev/full).
  if (type == std::filesystem::file_type::fifo || type == std::filesystem::file_type::socket)
    throw EncodeError(Failure::kOutput, "output " + Quoted(options.output) + " is not a file but a pipe or a socket");
  if (SameFile(options.input, options.output))
    throw EncodeError(Failure::kOutput, "output " + Quoted(options.output) + " is the input file itself");
  if (!options.overwrite)
    throw EncodeError(Failure::kOutput, "output " + Quoted(options.output) + " already exists (-y overwrites it)");
}

std::string ChannelsText(int channels) {
  return channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string(channels) + " channels";
}

void PrintHeader(std::FILE* out, const EncoderOptions& options, const SourceInfo& source,
                 const AVOutputFormat* container, AVCodecID codec, const AudioFormat& format) {
  std::fprintf(out, "Input %s: %s, audio %s, %d Hz, %s", Quoted(options.input).c_str(), source.containerName.c_str(),
               source.codecName.c_str(), source.sampleRate, ChannelsText(source.channels).c_str());
  if (source.durationSeconds > 0) std::fprintf(out, ", %.2f s", source.durationSeconds);
  std::fprintf(out, "\nOutput %s: %s, audio %s, %d Hz, %s", Quoted(options.output).c_str(), container->name,
               avcodec_get_name(codec), format.sampleRate, ChannelsText(format.channels).c_str());
  if (format.bitRate > 0) std::fprintf(out, ", %s", BitrateText(format.bitRate).c_str());
  std::fprintf(out, "\n");
}

// "Encoding in chunks of 22.29 s (983040 samples) on 2 encoders at once":
// where the chunks meet is worth knowing when judging the output.
void PrintChunks(std::FILE* out, const ChunkPlan& plan, const AudioEncoder& encoder) {
  const int64_t samples = plan.chunkFrames * encoder.FrameSize();
  std::fprintf(out, "Encoding in chunks of %.2f s (%lld samples) on %d encoders at once\n",
               double(samples) / encoder.Format().sampleRate, static_cast<long long>(samples), plan.instances);
}

void ThrowIfStopped(const std::string& output) {
  if (StopRequested().load())
    throw EncodeError(Failure::kStopped, "stopped; partial output " + Quoted(output) + " removed");
}

// Runs the producer on its own thread: decoding and resampling overlap with
// encoding, which keeps both cores busy on the expensive codecs.
class ProducerThread {
 public:
  ProducerThread(FrameProducer& producer, BoundedQueue<FrameBatch>& queue, SpentFrames& spent)
      : queue_(queue), spent_(spent), thread_([this, &producer] { Run(producer); }) {}
  ~ProducerThread() {
    queue_.Cancel();
    if (thread_.joinable()) thread_.join();
  }
  // Waits for the end and passes on the producer's failure, if any.
  void Join() {
    thread_.join();
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  void Run(FrameProducer& producer) {
    try {
      const size_t framesPerBatch = std::max<size_t>(1, kSamplesPerBatch / producer.FrameSize());
      FrameBatch batch;
      const auto send = [&] {
        spent_.Free();
        return !StopRequested().load() && queue_.Push(std::exchange(batch, FrameBatch()));
      };
      bool sending = true;
      while (sending) {
        FramePtr frame = producer.Next();
        if (!frame) {
          if (!batch.empty()) send();
          break;
        }
        batch.push_back(std::move(frame));
        if (batch.size() >= framesPerBatch) sending = send();
      }
    } catch (...) {
      failure_ = std::current_exception();
    }
    queue_.Close();
  }

  BoundedQueue<FrameBatch>& queue_;
  SpentFrames& spent_;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace

std::atomic<bool>& StopRequested() {
  static std::atomic<bool> requested{false};
  return requested;
}

namespace {

struct OpenedEncoder {
  std::unique_ptr<EncoderFactory> factory;  // opens more instances of the same
  std::unique_ptr<AudioEncoder> encoder;
  std::string note;  // what had to change, or empty
};

// The encoder for the codec, at the values nearest to those asked that it
// takes.
OpenedEncoder OpenEncoder(const EncoderOptions& options, const SourceInfo& source, AVCodecID codec, bool globalHeader) {
  auto factory = EncoderFactory::ForCodec(codec, globalHeader);
  if (!factory)
    throw EncodeError(Failure::kOutput,
                      std::string("no ") + avcodec_get_name(codec) + " encoder for output " + Quoted(options.output));
  AudioFormat wanted;
  // A source that does not say its format gets CD's, unless asked otherwise.
  wanted.sampleRate = options.sampleRate.value_or(source.sampleRate > 0 ? source.sampleRate : 44100);
  wanted.channels = options.channels.value_or(source.channels > 0 ? std::min(source.channels, 2) : 2);
  wanted.bitRate = options.audioBitrateKbps ? int64_t{*options.audioBitrateKbps} * 1000 : 0;
  const ResolvedFormat resolved = ResolveFormat(factory->Probe(), wanted);
  if (!resolved.ok)
    throw EncodeError(Failure::kOutput, std::string("the ") + avcodec_get_name(codec) +
                                            " encoder takes none of the values near those asked for output " +
                                            Quoted(options.output));
  std::unique_ptr<AudioEncoder> encoder = factory->Open(resolved.format);
  return OpenedEncoder{std::move(factory), std::move(encoder), resolved.note};
}

// The output's length in samples, when the source says its own.
std::optional<int64_t> ExpectedSamples(const EncoderOptions& options, const SourceInfo& source, int sampleRate) {
  std::optional<double> seconds;
  if (source.durationSeconds > 0) seconds = std::max(0.0, source.durationSeconds - options.startSeconds);
  if (options.durationSeconds) seconds = std::min(seconds.value_or(*options.durationSeconds), *options.durationSeconds);
  if (!seconds) return std::nullopt;
  return std::llround(*seconds * sampleRate);
}

ChunkPlan PlanFor(const EncoderOptions& options, const SourceInfo& source, AVCodecID codec,
                  const AudioEncoder& encoder) {
  StreamShape shape;
  shape.codec = codec;
  shape.sampleRate = encoder.Format().sampleRate;
  shape.channels = encoder.Format().channels;
  shape.bitRate = encoder.Format().bitRate;
  shape.frameSize = encoder.FrameSize();
  shape.primingSamples = encoder.PrimingSamples();
  shape.expectedSamples = ExpectedSamples(options, source, shape.sampleRate);
  return PlanChunks(shape, options.encoderInstances, static_cast<int>(std::thread::hardware_concurrency()));
}

std::unique_ptr<OutputWriter> OpenWriter(const EncoderOptions& options, const AVOutputFormat* container,
                                         const AudioEncoder& encoder, const AVDictionary* tags) {
  std::unique_ptr<AVCodecParameters, void (*)(AVCodecParameters*)> parameters(
      avcodec_parameters_alloc(), [](AVCodecParameters* p) { avcodec_parameters_free(&p); });
  if (!parameters) throw std::bad_alloc();
  encoder.FillParameters(parameters.get());
  return std::make_unique<OutputWriter>(options.output, container, parameters.get(),
                                        AVRational{1, encoder.Format().sampleRate}, tags);
}

// Why a source read from its start gave no sound at all.
std::string WhyNoSound(const SourceReader& reader, int outputRate) {
  if (reader.DecodedSamples() > 0)
    return "holds too little sound to make a single sample at " + std::to_string(outputRate) + " Hz";
  if (reader.DecodeErrors() > 0) return "has no audio that can be decoded: its audio data is damaged";
  return "has no audio that can be decoded: its audio track gives no samples";
}

// Why the part asked for gave no samples.
std::string WhyNothingToConvert(const EncoderOptions& options, const SourceReader& reader, int outputRate) {
  const bool damaged = reader.DecodedSamples() == 0 && reader.DecodeErrors() > 0;
  if (options.durationSeconds && std::llround(*options.durationSeconds * outputRate) == 0)
    return "gives nothing to convert: the length asked, " + std::to_string(*options.durationSeconds) +
           " s, is shorter than one sample at " + std::to_string(outputRate) + " Hz";
  if (options.startSeconds > 0 && !damaged) {
    char seconds[64];
    std::snprintf(seconds, sizeof seconds, "%.2f s", options.startSeconds);
    return std::string("gives nothing to convert: it ends before the start asked, ") + seconds;
  }
  return WhyNoSound(reader, outputRate);
}

// Encodes and writes the producer's frames while the producer runs ahead on
// its own thread, then drains the encoder.
void Pump(FrameProducer& producer, AudioEncoder& encoder, OutputWriter& writer, StatusPrinter& status,
          const std::string& output) {
  const AudioEncoder::PacketSink write = [&](AVPacket* packet) { writer.Write(packet); };
  {
    const size_t batchSamples = std::max<size_t>(kSamplesPerBatch, producer.FrameSize());
    BoundedQueue<FrameBatch> queue(std::max(kFewestBatchesInFlight, kSamplesInFlight / batchSamples));
    SpentFrames spent;
    ProducerThread thread(producer, queue, spent);
    while (std::optional<FrameBatch> batch = queue.Pop()) {
      for (FramePtr& frame : *batch) {
        ThrowIfStopped(output);
        encoder.Encode(frame.get(), write);
        status.Update(writer.BytesWritten(), writer.SecondsWritten());
      }
      spent.Return(std::move(*batch));
    }
    thread.Join();
  }
  ThrowIfStopped(output);
  encoder.Encode(nullptr, write);
}

}  // namespace

void Convert(const EncoderOptions& options, std::FILE* out) {
  const AVOutputFormat* container = ChooseContainer(options.output, options.format);
  const AVCodecID codec = ChooseAudioCodec(container, options.audioCodec, options.output);
  CheckOutputPath(options);

  SourceReader reader(options.input);
  OpenedEncoder opened = OpenEncoder(options, reader.Info(), codec, container->flags & AVFMT_GLOBALHEADER);
  std::unique_ptr<AudioEncoder>& encoder = opened.encoder;
  const AudioFormat format = encoder->Format();
  const ChunkPlan plan = PlanFor(options, reader.Info(), codec, *encoder);
  PrintHeader(out, options, reader.Info(), container, codec, format);
  if (!opened.note.empty()) std::fprintf(out, "%s\n", opened.note.c_str());
  if (plan.instances > 1) PrintChunks(out, plan, *encoder);

  // The header goes out once the output exists: whoever reads it may stop
  // the encoder at once and look for the file.
  std::unique_ptr<OutputWriter> writer;
  try {
    writer = OpenWriter(options, container, *encoder, reader.Tags());
  } catch (...) {
    std::fflush(out);
    throw;
  }
  std::fflush(out);
  reader.SeekTo(options.startSeconds);
  const FrameTarget target{format.sampleRate, format.channels, encoder->SampleFormat(), encoder->FrameSize()};
  const ProduceSettings settings{options.startSeconds, options.durationSeconds, options.volumePercent / 100.0};
  FrameProducer producer(reader, target, settings);
  StatusPrinter status(out);
  if (plan.instances > 1) {
    encoder.reset();  // the instances open their own
    std::unique_ptr<StreamJoiner> joiner = MakeStreamJoiner(codec);
    EncodeInChunks([&] { return producer.Next(); }, producer.FrameSize(), *opened.factory, format, plan, *joiner,
                   [&](AVPacket* packet) { writer->Write(packet); },
                   [&] {
                     ThrowIfStopped(options.output);
                     status.Update(writer->BytesWritten(), writer->SecondsWritten());
                   });
  } else {
    Pump(producer, *encoder, *writer, status, options.output);
  }

  // An output without audio is never a success: the partial file goes.
  if (producer.SamplesProduced() == 0)
    throw EncodeError(Failure::kInput,
                      "input " + Quoted(options.input) + " " + WhyNothingToConvert(options, reader, format.sampleRate));
  const double seconds = writer->SecondsWritten();
  writer->Finish();
  std::error_code error;
  const auto size = std::filesystem::file_size(FilePath(options.output), error);
  status.Final(error ? 0 : static_cast<int64_t>(size), seconds);
}

int EvcMain(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  av_log_set_level(AV_LOG_QUIET);  // failures are reported in our own words
  const ParsedOptions parsed = ParseOptions(args);
  if (!parsed.ok) {
    std::fprintf(err, "evc: %s\n", parsed.error.c_str());
    return static_cast<int>(Failure::kBadOptions);
  }
  try {
    Convert(parsed.options, out);
    return 0;
  } catch (const EncodeError& e) {
    std::fflush(out);
    std::fprintf(err, "evc: %s\n", e.what());
    return static_cast<int>(e.failure());
  } catch (const StageError& e) {
    std::fflush(out);
    std::fprintf(err, "evc: %s, converting %s to %s\n", e.what(), Quoted(parsed.options.input).c_str(),
                 Quoted(parsed.options.output).c_str());
    return static_cast<int>(e.failure());
  } catch (const std::bad_alloc&) {
    std::fflush(out);
    std::fprintf(err, "evc: not enough memory to convert %s\n", Quoted(parsed.options.input).c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fflush(out);
    std::fprintf(err, "evc: converting %s failed: %s\n", Quoted(parsed.options.input).c_str(), e.what());
    return 1;
  }
}

}  // namespace sonvarro::evc
