#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"

/*
 * One conversion is a pipeline of these parts, in the order audio flows:
 * - the reader (SourceReader) opens the source, picks its main audio stream,
 *   seeks near the start asked for and decodes; other streams are never
 *   decoded;
 * - the producer (FrameProducer) keeps the part asked for (-ss, -t) by
 *   sample position (TrimWindow), resamples and remixes to the output's rate
 *   and channels (libswresample), applies the volume, holds the result under
 *   full scale with a look-ahead limiter (VolumeLimiter) where the volume or
 *   a downmix could pass it, and cuts the audio into frames of the encoder's
 *   size stamped in samples;
 * - the reader and the producer run on a thread of their own, which hands
 *   the frames over through bounded queues (BoundedQueue): a full queue
 *   holds decoding back, so memory stays flat however fast it runs ahead;
 * - the encoder (AudioEncoder: libavcodec, or opencore for AMR-NB) turns the
 *   frames into packets. With one instance (short streams, Vorbis, AMR-NB,
 *   PCM) it runs on the calling thread. Otherwise (ChunkedEncoding) the
 *   stream is cut into chunks of seconds (ChunkPlan) dealt round-robin to
 *   one encoder instance per core, each on a thread of its own; an instance
 *   also encodes a pre-roll before its chunk and a post-roll after it and
 *   drops their packets, so that every kept packet is made with the audio
 *   around it that a single encoder would have seen;
 * - the kept packets come back in stream order (OrderedPackets); where a
 *   codec's frames refer to earlier ones, the join (StreamJoin; MP3's bit
 *   reservoir: Mp3Reservoir) makes them one valid stream;
 * - the writer (OutputWriter) puts the packets into the container with the
 *   source's tags, on the calling thread; until it is finished the file
 *   counts as partial and is removed on any failure;
 * - the status printer (StatusPrinter) reports the size and the end time of
 *   what has been written about twice a second, in the form the program
 *   reads.
 *
 * A stop (SIGTERM, SIGINT, SIGHUP; on Windows a console's Ctrl+C,
 * Ctrl+Break or closing) only sets a flag (StopRequested); every
 * thread looks at it between frames, and the run ends as a failure that
 * removes the partial output. A failure on any thread stops the others.
 * Every failure is an EncodeError carrying one line for the user and the
 * exit status (a StageError from a part that does not know the file names
 * gets them added): 2 bad options, 3 input problems, 4 output problems,
 * 5 stopped; 0 is success.
 */

namespace sonvarro::evc {

// Set from a signal or console handler: the conversion stops and removes its
// output.
std::atomic<bool>& StopRequested();

// Converts one file as the options ask, printing the header, a note when a
// value had to change, and the status lines to `out`. Throws EncodeError.
void Convert(const EncoderOptions& options, std::FILE* out);

// The whole program: reads the options, converts, reports any failure in one
// line on `err`, and returns the exit status.
int EvcMain(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace sonvarro::evc
