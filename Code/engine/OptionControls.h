#pragma once

#include "controls/Controls.h"

namespace sonvarro {

// The selectors that hold the chosen output type, profile and options: the
// main window's and the Options dialog's. They are the only store of these
// choices; the command line reads their selections where it needs them.
struct OptionControls {
  // Main window.
  ISelector& cbbOutputFiletype;
  ISelector& cbbProfile;
  IControl& btnOptions;
  // Options dialog: the video group (never shown) ...
  ISelector& cbbVideoSize;
  ISelector& cbbFramerate;
  ISelector& cbbVideoBitrate;
  ISelector& cbbAspectratio;
  // ... the "Advanced Options" group ...
  ISelector& cbbAudioBitrate;
  ISelector& cbbAudioSample;
  ISelector& cbbAudioVolumeGain;
  ISelector& cbbAudioChannels;
  // ... and the custom profiles.
  ISelector& cbbCustomProfile;
};

}  // namespace sonvarro
