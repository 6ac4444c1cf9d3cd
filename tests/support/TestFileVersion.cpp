// The test programs' own file version, which the version tests read back.
#include "services/platform/FileVersion.h"

SONVARRO_FILE_VERSION_BLOCK("1.8.0.0");
