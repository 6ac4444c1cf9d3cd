#pragma once

// Keys as the behaviour sees them, whatever toolkit delivered them: letters
// are their upper-case ASCII codes, other keys the virtual-key codes below;
// a key without a code here is kKeyOther.

namespace sonvarro {

inline constexpr int kKeyOther = 0;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyF1 = 112;

// What is held while a key goes down.
struct HeldModifiers {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  bool mouseButton = false;
};

enum class MouseButton { Left, Right, Middle };

}  // namespace sonvarro
