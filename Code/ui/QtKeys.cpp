#include "ui/QtKeys.h"

#include <QGuiApplication>

namespace sonvarro {

int BehaviourKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  switch (qtKey) {
    case Qt::Key_Delete: return kKeyDelete;
    case Qt::Key_F1: return kKeyF1;
    default: return kKeyOther;
  }
}

HeldModifiers HeldWith(Qt::KeyboardModifiers modifiers) {
  return {modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::ShiftModifier),
          modifiers.testFlag(Qt::AltModifier), QGuiApplication::mouseButtons() != Qt::NoButton};
}

}  // namespace sonvarro
