#pragma once

namespace sonvarro {

// The encoder's program file in the application folder; the job also finds
// and stops running encoders by this name.
inline constexpr const char* kEncoderFileName = "evc.exe";

}  // namespace sonvarro
