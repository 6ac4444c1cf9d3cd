#pragma once

// The option fragments of the encoder command line, each read from one
// selector or from the selected output type's row of OutputTypeTable. A
// non-empty fragment begins with a blank. A selector without a selection (a
// custom profile may set an index outside its list) gives the fall-back value.

#include <string>

#include "engine/OptionControls.h"

namespace sonvarro {

// The selected output type; a list without a valid selection counts as the
// list's default type, so the tables below are never read out of range.
int SelectedOutputType(const OptionControls& controls);

std::string MakeCodecOption(const OptionControls& controls);
std::string MakeVideoBitrateOption(const OptionControls& controls);
std::string MakeVideoSizeOption(const OptionControls& controls);
std::string MakeFrameRateOption(const OptionControls& controls);
std::string MakeAspectOption(const OptionControls& controls);
std::string MakeAudioBitrateOption(const OptionControls& controls);
std::string MakeVolumeOption(const OptionControls& controls);
std::string MakeChannelsOption(const OptionControls& controls);
std::string MakeSampleRateOption(const OptionControls& controls);
std::string MakeFormatOption(const OptionControls& controls);
// The output file's extension with its dot, such as ".mp3".
std::string MakeExtension(const OptionControls& controls);

}  // namespace sonvarro
