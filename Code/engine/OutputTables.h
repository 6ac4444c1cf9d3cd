#pragma once

// The constant tables of what the converter can produce: the seven output
// types, the option lists of the Options dialog and the quality presets.
//
// Tables that fill a drop-down list carry the index selected after filling as
// one more, last entry (see FillFromTable).

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

// The tables keep one entry or one group per line.
// clang-format off
inline constexpr std::array<std::string_view, kOutputTypeCount + 1> OutputTypeCaptions = {
    "AMR Audio Files (*.amr)",
    "AAC Audio Files (*.aac)",
    "MP3 Audio Files (*.mp3)",
    "AC3 Audio Files (*.ac3)",
    "M4A MPEG4 Audio Files (*.m4a)",
    "OGG Audio Files (*.ogg)",
    "WAV Audio Files",
    "0"};

inline constexpr std::array<std::string_view, kOutputTypeCount> OutputExtensions = {
    ".amr", ".aac", ".mp3", ".ac3", ".m4a", ".ogg", ".wav"};

// M4A is AAC under another extension.
inline constexpr std::array<std::string_view, kOutputTypeCount> CodecFragments = {
    "-acodec amr_nb",     "-acodec aac -vn",    "-acodec mp3 -vn",       "-acodec ac3 -vn",
    "-acodec aac -vn",    "-acodec vorbis -vn", "-acodec pcm_s16le -vn"};

// "none": no container option is written.
inline constexpr std::array<std::string_view, kOutputTypeCount> FormatFragments = {
    "none", "none", "none", "none", "none", "none", "none"};

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

// Five profile strings per output type, in the order of ProfileNames. A
// profile string is six selection indexes joined by "|": video size, frame
// rate, video bitrate, audio bitrate, audio channels, sample rate.
inline constexpr std::array<std::array<std::string_view, kPresetCount>, kOutputTypeCount>
    PresetTable = {{
        // AMR
        {"1|0|0|2|0|0", "1|0|1|4|1|1", "1|1|2|5|1|2", "1|1|3|7|1|2", "1|1|4|8|1|3"},
        // AAC
        {"1|0|0|2|0|0", "1|0|1|4|0|0", "1|1|2|5|0|0", "1|1|3|7|0|0", "1|1|4|8|0|0"},
        // MP3
        {"1|0|0|2|0|0", "1|0|1|4|1|1", "1|1|2|5|1|2", "1|1|3|7|1|2", "1|1|4|8|1|3"},
        // AC3
        {"1|0|0|2|0|0", "1|0|1|4|0|0", "1|1|2|5|0|0", "1|1|3|7|0|0", "1|1|4|8|0|0"},
        // M4A
        {"1|0|0|2|0|0", "1|0|1|4|1|1", "1|1|2|5|1|2", "1|1|3|7|1|2", "1|1|4|8|1|3"},
        // OGG
        {"none|none|none|2|0|0", "none|none|none|4|0|0", "none|none|none|5|0|0",
         "none|none|none|7|0|0", "none|none|none|8|0|0"},
        // WAV
        {"none|none|none|2|0|0", "none|none|none|4|1|1", "none|none|none|5|1|2",
         "none|none|none|7|1|2", "none|none|none|8|1|3"},
    }};
// clang-format on

}  // namespace sonvarro
