#pragma once

// The constant tables of what the converter can produce: one row for each of
// the seven output types (with its quality presets) and the option lists of
// the Options dialog.
//
// The option lists carry the index selected after filling as one more, last
// entry (see FillFromTable); the output type list's default is
// kDefaultOutputType, outside the table.

#include <array>
#include <string_view>

namespace sonvarro {

// The output type is the selection index of the output type list.
constexpr int kOutputAmr = 0;
constexpr int kOutputAac = 1;
constexpr int kOutputMp3 = 2;
constexpr int kOutputAc3 = 3;
constexpr int kOutputM4a = 4;
constexpr int kOutputOgg = 5;
constexpr int kOutputWav = 6;
constexpr int kOutputTypeCount = 7;

// Profile list positions below this are the built-in presets; from it on, the
// custom profiles in the order of the custom profile list.
constexpr int kPresetCount = 5;
constexpr int kFirstCustomProfile = kPresetCount;

// A preset or stored custom profile leaves a selector unchanged where it
// holds this piece.
constexpr std::string_view kProfilePieceUnchanged = "none";

// Which of the main window's choices an output type leaves to the user. It
// has no default, so a row of OutputTypeTable cannot leave it out.
struct EnabledLists {
  constexpr EnabledLists(bool profileList, bool optionsButton, bool videoLists)
      : profile(profileList), options(optionsButton), video(videoLists) {}
  bool profile;  // the profile list
  bool options;  // the Options button
  bool video;    // the four video lists
};

// A container option that writes no "-f" at all.
constexpr std::string_view kNoFormatFragment = "none";

// Everything the converter knows about one output type.
struct OutputTypeRow {
  std::string_view caption;         // its item in the output type list
  std::string_view extension;       // of the output file, with its dot
  std::string_view codecFragment;   // "-acodec" and its value, as the line carries them
  std::string_view formatFragment;  // the container for "-f", or kNoFormatFragment
  // Five profile strings, in the order of ProfileNames. A profile string is
  // six selection indexes joined by "|": video size, frame rate, video
  // bitrate, audio bitrate, audio channels, sample rate.
  std::array<std::string_view, kPresetCount> presets;
  EnabledLists enabled;
};

// Indexed by the output type. A row too few does not compile (EnabledLists
// has no default); a text or a preset left out fails the check below. Each
// row: caption, extension, codec, container; the presets; what is enabled
// (profile list, Options button, video lists).
// clang-format off
inline constexpr std::array<OutputTypeRow, kOutputTypeCount> OutputTypeTable = {{
    {"AMR Audio Files (*.amr)", ".amr", "-acodec amr_nb", kNoFormatFragment,
     {"1|0|0|2|0|0", "1|0|1|4|1|1", "1|1|2|5|1|2", "1|1|3|7|1|2", "1|1|4|8|1|3"},
     {true, true, true}},
    {"AAC Audio Files (*.aac)", ".aac", "-acodec aac -vn", kNoFormatFragment,
     {"1|0|0|2|0|0", "1|0|1|4|0|0", "1|1|2|5|0|0", "1|1|3|7|0|0", "1|1|4|8|0|0"},
     {true, true, true}},
    {"MP3 Audio Files (*.mp3)", ".mp3", "-acodec mp3 -vn", kNoFormatFragment,
     {"1|0|0|2|0|0", "1|0|1|4|1|1", "1|1|2|5|1|2", "1|1|3|7|1|2", "1|1|4|8|1|3"},
     {true, true, true}},
    {"AC3 Audio Files (*.ac3)", ".ac3", "-acodec ac3 -vn", kNoFormatFragment,
     {"1|0|0|2|0|0", "1|0|1|4|0|0", "1|1|2|5|0|0", "1|1|3|7|0|0", "1|1|4|8|0|0"},
     {true, true, true}},
    // M4A is AAC under another extension.
    {"M4A MPEG4 Audio Files (*.m4a)", ".m4a", "-acodec aac -vn", kNoFormatFragment,
     {"1|0|0|2|0|0", "1|0|1|4|1|1", "1|1|2|5|1|2", "1|1|3|7|1|2", "1|1|4|8|1|3"},
     {true, true, true}},
    // OGG has no profile choice at all; OGG and WAV carry no video.
    {"OGG Audio Files (*.ogg)", ".ogg", "-acodec vorbis -vn", kNoFormatFragment,
     {"none|none|none|2|0|0", "none|none|none|4|0|0", "none|none|none|5|0|0",
      "none|none|none|7|0|0", "none|none|none|8|0|0"},
     {false, false, false}},
    {"WAV Audio Files", ".wav", "-acodec pcm_s16le -vn", kNoFormatFragment,
     {"none|none|none|2|0|0", "none|none|none|4|1|1", "none|none|none|5|1|2",
      "none|none|none|7|1|2", "none|none|none|8|1|3"},
     {true, true, false}},
}};
// clang-format on

// The output type selected after the list is filled.
constexpr int kDefaultOutputType = kOutputAmr;

namespace output_table_checks {

constexpr bool IsProfileString(const std::string_view& text) {
  int pieces = 1;
  for (char c : text) pieces += c == '|' ? 1 : 0;
  return !text.empty() && pieces == 6;
}

// A row with a text left out, or a preset too few, is caught here.
constexpr bool IsComplete(const OutputTypeRow& row) {
  if (row.caption.empty() || row.extension.size() < 2 || row.extension[0] != '.' || row.codecFragment.empty() ||
      row.formatFragment.empty())
    return false;
  for (const std::string_view& preset : row.presets)
    if (!IsProfileString(preset)) return false;
  return true;
}

constexpr bool AllComplete() {
  for (const OutputTypeRow& row : OutputTypeTable)
    if (!IsComplete(row)) return false;
  return true;
}

}  // namespace output_table_checks

static_assert(output_table_checks::AllComplete(), "every output type needs all of its data");

// The option lists, each with its default selection as the last entry.
// clang-format off
inline constexpr std::array<std::string_view, kPresetCount + 1> ProfileNames = {
    "Low Quality", "Acceptable Quality", "Normal Quality", "Excellent Quality", "Superb Quality",
    "2"};

inline constexpr std::array<std::string_view, 3> AspectRatios = {"4:3", "16:9", "0"};

inline constexpr std::array<std::string_view, 6> VideoBitrates = {"40", "80", "128", "256", "512",
                                                                  "2"};

inline constexpr std::array<std::string_view, 10> AudioBitrates = {
    "16", "32", "48", "64", "80", "128", "160", "192", "224", "2"};

inline constexpr std::array<std::string_view, 3> AudioChannelChoices = {
    "1 channel, Mono", "2 channels, Stereo", "1"};

inline constexpr std::array<std::string_view, 3> FrameRates = {"11", "15", "1"};

inline constexpr std::array<std::string_view, 5> SampleRates = {"22050", "32000", "44100", "48000",
                                                                "2"};

// 0 to 500 % in steps of 25; the default is "200", not "100".
inline constexpr std::array<std::string_view, 22> VolumeGains = {
    "0",   "25",  "50",  "75",  "100", "125", "150", "175", "200", "225", "250",
    "275", "300", "325", "350", "375", "400", "425", "450", "475", "500", "8"};

inline constexpr std::array<std::string_view, 6> VideoSizes = {"352x288", "176x144", "128x96",
                                                               "320x240", "160x120", "1"};
// clang-format on

}  // namespace sonvarro
