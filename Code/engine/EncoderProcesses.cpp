#include "engine/EncoderProcesses.h"

#include "services/SysFunc.h"

namespace sonvarro {

ProcessId SystemEncoderProcesses::FindProcessId(std::string_view exeName) { return TSysFunc::FindProcessId(exeName); }

}  // namespace sonvarro
