#include "ui/ConversionUnit.h"

#include <QCoreApplication>

namespace sonvarro {

ConversionUnit::ConversionUnit(ConversionInputs inputs, ConversionServices services, QWidget* mainWindowWidget,
                               ConversionTimings timings)
    : mainWindowWidget_(mainWindowWidget),
      sourceList_(inputs.sourceList),
      quit_([] { QCoreApplication::exit(0); }),
      processes_(services.lib),
      builder_({inputs.sourceList, inputs.options, inputs.edtOutputFolder},
               {services.proc, services.lib, services.appFunc, services.fileFunc}),
      stopper_(scheduler_, processes_, services.appFunc),
      form_(dialog_.Controls(),
            {scheduler_, services.proc, services.lib, inputs.sourceList, inputs.mainWindow, stopper_}),
      job_({scheduler_, services.proc, services.lib, services.appFunc, builder_, form_, inputs.mainWindow,
            inputs.chkShowOutputDirectory, inputs.chkShutdown, processes_, stopper_, NewAdvanceSystem,
            [this] { quit_(); }},
           timings) {
  dialog_.Events = form_.Events();
  dialog_.Events.FormShow = [this] {
    CentreOnMainWindow();
    form_.FormShow();
  };
}

ConversionUnit::~ConversionUnit() { dialog_.Events = {}; }

void ConversionUnit::btnConvertClick() { job_.btnConvertClick(sourceList_); }

void ConversionUnit::SetApplyCustomProfile(std::function<void()> apply) {
  builder_.ApplyCustomProfile = std::move(apply);
}

void ConversionUnit::SetQuitApplication(std::function<void()> quit) { quit_ = std::move(quit); }

void ConversionUnit::SetOnJobFinished(std::function<void()> finished) { job_.OnFinished = std::move(finished); }

void ConversionUnit::CentreOnMainWindow() {
  if (!mainWindowWidget_) return;
  dialog_.adjustSize();
  const QRect main = mainWindowWidget_->frameGeometry();
  QRect own = dialog_.frameGeometry();
  own.moveCenter(main.center());
  dialog_.move(own.topLeft());
}

}  // namespace sonvarro
