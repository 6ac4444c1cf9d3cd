#include "ChunkedEncoding.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

#include "BoundedQueue.h"
#include "Conversion.h"
#include "EncodeError.h"
#include "OrderedPackets.h"

namespace sonvarro::evc {
namespace {

// What the dispatching thread sends an instance, in this order per chunk:
// kBegin, the frames from the pre-roll to the post-roll, kEnd.
struct WorkItem {
  enum class Kind { kBegin, kFrame, kEnd } kind = Kind::kFrame;
  int64_t chunk = 0;
  FramePtr frame;
  // kEnd: how the chunk ends.
  enum class Ending {
    kMore,       // the instance goes on with a later chunk
    kCutShort,   // the stream ended in the post-roll: drain, keep the chunk's own
    kLastChunk,  // the stream ends with this chunk: drain, keep everything
  } ending = Ending::kMore;

  static WorkItem Begin() { return WorkItem{Kind::kBegin, 0, nullptr, Ending::kMore}; }
  static WorkItem Frame(FramePtr frame) { return WorkItem{Kind::kFrame, 0, std::move(frame), Ending::kMore}; }
  static WorkItem End(Ending ending) { return WorkItem{Kind::kEnd, 0, nullptr, ending}; }
};

FramePtr Share(const FramePtr& frame) {
  FramePtr shared(av_frame_clone(frame.get()));
  if (!shared) throw std::bad_alloc();
  return shared;
}

class ChunkedEncoder {
 public:
  ChunkedEncoder(const FrameSource& source, int frameSize, EncoderFactory& factory, const AudioFormat& format,
                 const ChunkPlan& plan, StreamJoiner& joiner)
      : source_(source), frameSize_(frameSize), factory_(factory), format_(format), plan_(plan), joiner_(joiner) {}

  ~ChunkedEncoder() {
    CancelAll();
    JoinAll();
  }

  void Run(const AudioEncoder::PacketSink& write, const std::function<void()>& afterPacket) {
    dispatcher_ = std::thread([this] { Dispatch(); });
    while (PacketPtr packet = output_.Next()) {
      joiner_.Write(std::move(packet), write);
      afterPacket();
    }
    JoinAll();
    if (failure_) std::rethrow_exception(failure_);
    afterPacket();  // a stop that cut the stream short throws here
    if (output_.Cancelled()) throw StageError(Failure::kOutput, "the encoder instances ended before the stream");
    joiner_.Finish(write);
  }

 private:
  struct Instance {
    explicit Instance(size_t capacity) : queue(capacity) {}
    BoundedQueue<WorkItem> queue;
    std::thread thread;
  };

  void Fail(std::exception_ptr failure) {
    {
      std::lock_guard<std::mutex> lock(failureMutex_);
      if (!failure_) failure_ = failure;
    }
    CancelAll();
  }

  void CancelAll() {
    std::lock_guard<std::mutex> lock(instancesMutex_);
    cancelled_ = true;
    for (auto& instance : instances_) instance->queue.Cancel();
    output_.Cancel();
  }

  void JoinAll() {
    if (dispatcher_.joinable()) dispatcher_.join();
    // The dispatcher is the only one to add instances: none come now.
    for (auto& instance : instances_)
      if (instance->thread.joinable()) instance->thread.join();
  }

  Instance& InstanceFor(int64_t chunk) {
    const size_t index = static_cast<size_t>(chunk % plan_.instances);
    std::lock_guard<std::mutex> lock(instancesMutex_);
    if (cancelled_) throw Cancelled();
    if (index == instances_.size()) {
      const size_t capacity = static_cast<size_t>(plan_.chunkFrames + LongestPreroll() + plan_.postrollFrames + 2);
      instances_.push_back(std::make_unique<Instance>(capacity));
      Instance& added = *instances_.back();
      added.thread = std::thread([this, &added] { Encode(added.queue); });
    }
    return *instances_[index];
  }

  void Send(int64_t chunk, WorkItem item, bool wake = false) {
    item.chunk = chunk;
    if (!InstanceFor(chunk).queue.Push(std::move(item), wake)) throw Cancelled();
  }

  struct Cancelled {};

  int64_t LongestPreroll() const { return std::max<int64_t>(plan_.prerollFrames, plan_.warmUpFrames); }

  // The source's thread: cuts the stream into chunks and hands each chunk
  // to the next instance, with the frames before and after it that the
  // instance encodes and drops.
  void Dispatch() {
    try {
      std::deque<FramePtr> recent;                                     // the frames the next chunk's pre-roll may take
      std::vector<int64_t> seen(plan_.instances, 0);                   // frames each instance has encoded
      const int lastPostroll = std::max(plan_.postrollFrames, 1) - 1;  // the previous chunk ends after it
      int64_t ringFrames = LongestPreroll();
      int64_t index = 0;
      while (FramePtr frame = source_()) {
        if (StopRequested().load()) throw Cancelled();
        const int64_t chunk = index / plan_.chunkFrames;
        const int64_t position = index % plan_.chunkFrames;
        int64_t& instanceSeen = seen[chunk % plan_.instances];
        if (position == 0) {
          const int64_t warmUp = std::min(index, plan_.warmUpFrames) - instanceSeen;
          const int64_t preroll = std::min<int64_t>(std::max<int64_t>(plan_.prerollFrames, warmUp), recent.size());
          Send(chunk, WorkItem::Begin());
          for (auto earlier = recent.end() - preroll; earlier != recent.end(); ++earlier)
            Send(chunk, WorkItem::Frame(Share(*earlier)));
          instanceSeen += preroll;
        }
        if (chunk > 0 && position < plan_.postrollFrames) {
          Send(chunk - 1, WorkItem::Frame(Share(frame)));
          ++seen[(chunk - 1) % plan_.instances];
        }
        if (chunk > 0 && position == lastPostroll) Send(chunk - 1, WorkItem::End(WorkItem::Ending::kMore), true);
        recent.push_back(Share(frame));
        // Once every instance is warm, only the plain pre-roll is kept.
        if (position == 0 && chunk >= plan_.instances &&
            std::all_of(seen.begin(), seen.end(), [&](int64_t s) { return s >= plan_.warmUpFrames; }))
          ringFrames = plan_.prerollFrames;
        while (static_cast<int64_t>(recent.size()) > ringFrames) recent.pop_front();
        Send(chunk, WorkItem::Frame(std::move(frame)));
        ++instanceSeen;
        ++index;
      }
      if (index > 0) {
        const int64_t last = (index - 1) / plan_.chunkFrames;
        const int64_t position = (index - 1) % plan_.chunkFrames;
        if (last > 0 && position < lastPostroll) Send(last - 1, WorkItem::End(WorkItem::Ending::kCutShort), true);
        Send(last, WorkItem::End(WorkItem::Ending::kLastChunk), true);
        output_.SetChunkCount(last + 1);
      } else {
        output_.SetChunkCount(0);
      }
      std::lock_guard<std::mutex> lock(instancesMutex_);
      for (auto& instance : instances_) instance->queue.Close();
    } catch (const Cancelled&) {
      CancelAll();
    } catch (...) {
      Fail(std::current_exception());
    }
  }

  // An instance's thread. One encoder serves all the chunks it is given:
  // its slowly adapting state (rate control, the psychoacoustic model's
  // range) stays warm from chunk to chunk, and the pre-roll after each jump
  // brings the rest (window overlap, block decisions) back in step.
  void Encode(BoundedQueue<WorkItem>& queue) {
    try {
      const int64_t chunkSamples = plan_.chunkFrames * frameSize_;
      std::unique_ptr<AudioEncoder> encoder = factory_.Open(format_);
      std::unique_ptr<InstancePackets> packets = joiner_.ForInstance();
      const int priming = encoder->PrimingSamples();
      std::vector<PacketPtr> pastTheEnd;  // kept only when the stream ends with this chunk
      int64_t chunk = 0, keepFrom = 0, keepUntil = 0, kept = 0;
      // Packets are stamped with the input sample they start at, less the
      // priming: the same grid for every instance. A chunk keeps its own
      // span of that grid.
      const AudioEncoder::PacketSink sort = [&](AVPacket* packet) {
        const bool ours = packet->pts >= keepFrom;
        PacketPtr taken = packets->Take(packet, ours);
        if (!ours) return;
        if (taken->pts >= keepUntil) {
          pastTheEnd.push_back(std::move(taken));
          return;
        }
        output_.Add(chunk, std::move(taken));
        ++kept;
      };
      while (std::optional<WorkItem> item = queue.Pop()) {
        if (StopRequested().load()) throw Cancelled();
        switch (item->kind) {
          case WorkItem::Kind::kBegin:
            chunk = item->chunk;
            keepFrom = chunk == 0 ? std::numeric_limits<int64_t>::min() : chunk * chunkSamples - priming;
            keepUntil = (chunk + 1) * chunkSamples - priming;
            kept = 0;
            break;
          case WorkItem::Kind::kFrame: encoder->Encode(item->frame.get(), sort); break;
          case WorkItem::Kind::kEnd:
            if (item->ending != WorkItem::Ending::kMore) encoder->Encode(nullptr, sort);
            if (item->ending == WorkItem::Ending::kLastChunk) {
              for (PacketPtr& packet : pastTheEnd) output_.Add(chunk, std::move(packet));
            } else if (kept != plan_.chunkFrames) {  // one packet per frame
              throw StageError(Failure::kOutput, "the encoder held back packets past the end of its chunk");
            }
            pastTheEnd.clear();
            output_.Complete(chunk);
            break;
        }
      }
    } catch (const Cancelled&) {
      CancelAll();
    } catch (...) {
      Fail(std::current_exception());
    }
  }

  const FrameSource& source_;
  const int frameSize_;
  EncoderFactory& factory_;
  const AudioFormat format_;
  const ChunkPlan plan_;
  StreamJoiner& joiner_;
  OrderedPackets output_;
  std::mutex instancesMutex_;
  std::vector<std::unique_ptr<Instance>> instances_;
  bool cancelled_ = false;
  std::thread dispatcher_;
  std::mutex failureMutex_;
  std::exception_ptr failure_;
};

}  // namespace

void EncodeInChunks(const FrameSource& source, int frameSize, EncoderFactory& factory, const AudioFormat& format,
                    const ChunkPlan& plan, StreamJoiner& joiner, const AudioEncoder::PacketSink& write,
                    const std::function<void()>& afterPacket) {
  ChunkedEncoder encoder(source, frameSize, factory, format, plan, joiner);
  encoder.Run(write, afterPacket);
}

}  // namespace sonvarro::evc
