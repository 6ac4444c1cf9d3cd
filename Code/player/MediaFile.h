#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct AVFormatContext;

namespace sonvarro {

// What a media file holds for a player: its streams of sound and picture,
// sorted by whether a decoder for them is available here. Other streams
// (subtitles, data, attachments) are never played and do not count.
struct StreamCensus {
  int decodableAudio = 0;
  int decodableVideo = 0;
  int undecodableAudio = 0;
  int undecodableVideo = 0;
  // The first decodable stream of each kind, numbered from 1 among the
  // streams of that kind in file order, the way players number their tracks;
  // 0 when the file has none.
  int firstAudioTrack = 0;
  int firstVideoTrack = 0;

  int Decodable() const { return decodableAudio + decodableVideo; }
  int Undecodable() const { return undecodableAudio + undecodableVideo; }
};

// A media file opened with libavformat and its stream information read:
// what the duration probe and the preview player both need to know before
// anything is decoded.
class MediaFile {
 public:
  // Throws MediaGraphError when path is no regular file (a pipe must never
  // be opened: the open could block), or cannot be opened or read as media,
  // or holds no streams.
  explicit MediaFile(const std::string& path);
  ~MediaFile();
  MediaFile(const MediaFile&) = delete;
  MediaFile& operator=(const MediaFile&) = delete;

  StreamCensus Census() const;

  // The duration in milliseconds, or nullopt when the file tells none. Where
  // the container only estimates it from the bitrate (AMR storage files, raw
  // streams), the packets are read through and their durations added up
  // instead, which is exact; the file is then read to its end.
  std::optional<int64_t> DurationMs();

 private:
  struct Close {
    void operator()(AVFormatContext* context) const;
  };
  std::unique_ptr<AVFormatContext, Close> input_;
};

// Keeps the media libraries' console messages out of the terminal: the
// program reports problems through its own results.
void SilenceMediaLibraries();

}  // namespace sonvarro
