#include "ProblemText.h"

#include <cerrno>

#include "Libav.h"

namespace sonvarro::evc {

std::string InputProblem(int code) {
  switch (code) {
    case AVERROR(ENOENT): return "does not exist";
    case AVERROR(EISDIR): return "is a folder, not a file";
    case AVERROR(EACCES):
    case AVERROR(EPERM): return "cannot be read: no permission";
    case AVERROR(ENOMEM): return "cannot be read: not enough memory";
    case AVERROR_EOF:
    case AVERROR(EIO):  // what demuxers say of a short read, more often than a disk
      return "ends early: the file is cut short or cannot be read to its end";
    default:
      // Unknown content, damaged headers, features FFmpeg does not read.
      return "is not a media file this program can read";
  }
}

std::string OutputProblem(int code) {
  switch (code) {
    case AVERROR(ENOENT): return "its folder does not exist";
    case AVERROR(ENOTDIR): return "a file stands where its folder should be";
    case AVERROR(EISDIR): return "a folder of that name is in the way";
    case AVERROR(EACCES):
    case AVERROR(EPERM): return "no permission to write there";
    case AVERROR(EROFS): return "the disk is read-only";
    case AVERROR(ENOSPC): return "the disk is full";
#ifdef EDQUOT  // the Windows C runtime has no such code
    case AVERROR(EDQUOT): return "the disk quota is used up";
#endif
    case AVERROR(EFBIG): return "the file would grow past the largest size the disk allows";
    case AVERROR(EIO): return "the disk reports an error";
    case AVERROR(ENOMEM): return "not enough memory";
    default: return "";
  }
}

}  // namespace sonvarro::evc
