#pragma once

#include <Qt>

#include "controls/Keys.h"

namespace sonvarro {

// A Qt key code as controls/Keys.h gives keys to the behaviour.
int BehaviourKey(int qtKey);

// What is held now, with the given keyboard modifiers.
HeldModifiers HeldWith(Qt::KeyboardModifiers modifiers);

}  // namespace sonvarro
