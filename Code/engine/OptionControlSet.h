#pragma once

#include "controls/PlainControls.h"
#include "engine/OptionControls.h"

namespace sonvarro {

// A full set of option selectors held in memory, as the windows hold them,
// with their OptionControls view: the command line's, and the tests' (with
// their own selector type).
template <typename Selector, typename Control>
struct OptionControlSet {
  Selector outputFiletype, profile, videoSize, framerate, videoBitrate, aspectratio, audioBitrate, audioSample,
      audioVolumeGain, audioChannels, customProfile;
  Control btnOptions;
  OptionControls controls{outputFiletype, profile,      btnOptions,  videoSize,       framerate,     videoBitrate,
                          aspectratio,    audioBitrate, audioSample, audioVolumeGain, audioChannels, customProfile};
  OptionControlSet() { customProfile.editable = true; }  // a profile's name is typed into it
  OptionControlSet(const OptionControlSet&) = delete;
  OptionControlSet& operator=(const OptionControlSet&) = delete;
};

using PlainOptionControls = OptionControlSet<PlainSelector, PlainControl>;

}  // namespace sonvarro
