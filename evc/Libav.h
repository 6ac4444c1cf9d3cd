#pragma once

// Ownership wrappers and small helpers for the FFmpeg C structures.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <memory>
#include <string>

namespace sonvarro::evc {

struct CodecContextFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwrFree {
  void operator()(SwrContext* s) const { swr_free(&s); }
};
struct InputFormatClose {
  void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct AudioFifoFree {
  void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};
// Buffers still out keep the pool alive until they come back.
struct BufferPoolRelease {
  void operator()(AVBufferPool* p) const { av_buffer_pool_uninit(&p); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using SwrPtr = std::unique_ptr<SwrContext, SwrFree>;
using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatClose>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoFree>;
using BufferPoolPtr = std::unique_ptr<AVBufferPool, BufferPoolRelease>;

FramePtr MakeFrame();
PacketPtr MakePacket();

// libavformat reads "name:" as a protocol; on Linux ":" is an ordinary
// file-name character, so every path goes through the file protocol.
std::string FileUrl(const std::string& path);

}  // namespace sonvarro::evc
