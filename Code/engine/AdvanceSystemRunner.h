#pragma once

#include "engine/EncoderRunner.h"

namespace sonvarro {

// Runners of the program: each one a TAdvanceSystem.
EncoderRunnerFactory AdvanceSystemRunners();

}  // namespace sonvarro
