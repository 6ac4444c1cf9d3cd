// The program's file version, four numbers from the build.
#include "services/platform/FileVersion.h"

SONVARRO_FILE_VERSION_BLOCK(SONVARRO_FILE_VERSION);
