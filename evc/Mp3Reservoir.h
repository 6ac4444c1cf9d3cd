#pragma once

#include <cstdint>
#include <memory>

#include "StreamJoin.h"

namespace sonvarro::evc {

// MP3 frames borrow bytes from the frames before them (the bit reservoir):
// a frame's main data (scale factors and Huffman codes) may begin up to 511
// bytes (255 at the half rates) before its own side information, in the
// unused ends of earlier frames. The first frames an instance keeps after its
// pre-roll point back into bytes of its own dropped frames, which the output
// does not hold: there the other instance's frames stand.
//
// Turning the reservoir off would avoid that, but libavcodec only offers it
// for the whole encoder, and a stream without it spends the spare bytes of
// quiet frames nowhere: loud and sharp frames lose the most. So the join
// keeps every frame's main data exactly as its instance made it and lays the
// main data out anew, each frame's as early as the format and LAME's own
// bound on a decoder's buffer allow, rewriting main_data_begin in the side
// information. Within an instance this leaves at
// least as much room as the encoder had. Where an instance's first frame
// after a join needs more room than the frames before it left, that frame
// and the one before it get the next higher bitrate until it fits: a few
// bytes more at each join, never a change to the audio.

// Whether every join can be repaired that way at this rate and bitrate:
// the two frames together can grow by as much as a frame may borrow.
bool Mp3ChunksJoin(int sampleRate, int channels, int64_t bitRate);

// How many frames LAME may hold back, unwritten, because later frames' main
// data can still begin in them: an instance must run this far past its
// chunk to hand over all of the chunk's frames.
int Mp3FramesWithinReach(int sampleRate, int channels, int64_t bitRate);

std::unique_ptr<StreamJoiner> MakeMp3Joiner();

}  // namespace sonvarro::evc
