#pragma once

// A command-line builder over fake controls and temporary folders: the
// source grid, the option lists, the output folder and the shared objects
// the builder reads and fills, as a test fixture's members.

#include "FakeControls.h"
#include "FakeCustomProfile.h"
#include "RecordingDesktop.h"
#include "TempDir.h"
#include "engine/CommandLineBuilder.h"
#include "engine/OptionLists.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "services/FileFunc.h"

namespace sonvarro::test {

struct CommandLineRig {
  // The option lists filled, nothing chosen; the output folder is `out`.
  CommandLineRig() {
    FillOptionLists(options.controls, {});
    outputFolder.text = out.Folder();
  }

  TempDir app, out;
  FakeSourceGrid grid;
  FakeOptionControls options;
  FakeTextField outputFolder;
  TAppFunc appFunc{app.Folder()};
  GuardDesktop desktop;  // building a command line shows nothing
  TCommonLib lib{app.Folder(), appFunc, desktop};
  TFileFunc fileFunc;
  TCustomProc proc;
  FakeCustomProfile customProfile;
  CommandLineBuilder builder{{grid, options.controls, outputFolder}, {proc, lib, appFunc, fileFunc, customProfile}};
};

}  // namespace sonvarro::test
