#include "engine/AdvanceSystemRunner.h"

#include <utility>

#include "engine/AdvanceSystem.h"

namespace sonvarro {
namespace {

class AdvanceSystemRunner final : public IEncoderRunner {
 public:
  AdvanceSystemRunner(const EncoderCommand& command, EncoderOutputHandler onOutput, const std::string& folder)
      : runner_(command, std::move(onOutput), folder) {}
  void Resume() override { runner_.Resume(); }
  void Terminate() override { runner_.Terminate(); }
  bool Finished() const override { return runner_.Finished(); }

 private:
  TAdvanceSystem runner_;
};

}  // namespace

EncoderRunnerFactory AdvanceSystemRunners() {
  return [](const EncoderCommand& command, EncoderOutputHandler onOutput, const std::string& workingFolder) {
    return std::unique_ptr<IEncoderRunner>(new AdvanceSystemRunner(command, std::move(onOutput), workingFolder));
  };
}

}  // namespace sonvarro
