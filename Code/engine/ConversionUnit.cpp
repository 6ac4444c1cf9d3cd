#include "engine/ConversionUnit.h"

#include <utility>

namespace sonvarro {

ConversionUnit::ConversionUnit(ConversionInputs inputs, ProgressWindowControls& progressWindow,
                               ConversionServices services, ConversionTimings timings)
    : sourceList_(inputs.sourceList),
      builder_({inputs.sourceList, inputs.options, inputs.edtOutputFolder},
               {services.proc, services.lib, services.appFunc, services.fileFunc, services.customProfile}),
      stopper_(services.scheduler, services.processes, services.appFunc),
      form_(progressWindow, {services.scheduler, services.proc, services.lib, inputs.sourceList, inputs.mainWindow,
                             stopper_, services.desktop}),
      job_({services.scheduler, services.proc, services.lib, services.appFunc, builder_, form_, inputs.mainWindow,
            inputs.chkShowOutputDirectory, inputs.chkShutdown, services.processes, stopper_,
            std::move(services.newRunner), std::move(services.quitApplication), std::move(services.onJobFinished)},
           timings) {}

}  // namespace sonvarro
