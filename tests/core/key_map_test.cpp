#include <gtest/gtest.h>

#include "controls/KeyMap.h"

namespace sonvarro {
namespace {

using C = MainWindowCommand;

TEST(MainWindowKeyMap, OnlyExactlyCtrlCountsButF1TakesAnyModifiers) {
  struct Row {
    int key;
    HeldModifiers held;
    C expected;
  };
  const HeldModifiers ctrl{true, false, false, false};
  const Row rows[] = {
      {'O', ctrl, C::OpenFile},
      {'R', ctrl, C::RemoveFile},
      {'L', ctrl, C::ClearFile},
      {'S', ctrl, C::Convert},
      {'N', ctrl, C::Convert},
      {'B', ctrl, C::SelectOutputFolder},
      {'I', ctrl, C::Options},
      {'P', ctrl, C::Play},
      {'U', ctrl, C::Pause},
      {'T', ctrl, C::Stop},
      {'P', {false, false, true, false}, C::None},  // Alt+P
      {'T', {true, true, false, false}, C::None},   // Ctrl+Shift+T
      {'O', {true, true, false, false}, C::None},   // Ctrl+Shift
      {'S', {true, false, true, false}, C::None},   // Ctrl+Alt
      {'R', {true, false, false, true}, C::None},   // Ctrl with a mouse button held
      {'O', {false, false, true, false}, C::None},  // Alt
      {'O', {false, true, false, false}, C::None},  // Shift
      {'L', {}, C::None},
      {'A', ctrl, C::None},
      {'o', ctrl, C::None},  // key codes of letters are upper case
      {kKeyF1, {}, C::Help},
      {kKeyF1, {false, true, false, false}, C::Help},  // Shift+F1
      {kKeyF1, ctrl, C::Help},
      {kKeyF1, {true, true, true, true}, C::Help},
      {kKeyOther, ctrl, C::None},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(MapMainWindowKey(row.key, row.held), row.expected)
        << row.key << " ctrl=" << row.held.ctrl << " shift=" << row.held.shift << " alt=" << row.held.alt
        << " mouse=" << row.held.mouseButton;
  }
}

TEST(MainWindowKeyMap, EachHintNamesAKeyThatRunsItsCommand) {
  const HeldModifiers ctrl{true, false, false, false};
  const struct {
    C command;
    const char* hint;
  } rows[] = {
      {C::OpenFile, "Ctrl + O"},
      {C::RemoveFile, "Ctrl + R"},
      {C::ClearFile, "Ctrl + L"},
      {C::Convert, "Ctrl + S"},
      {C::Options, "Ctrl + I"},
      {C::SelectOutputFolder, "Ctrl + B"},
      {C::Play, "Ctrl + P"},
      {C::Pause, "Ctrl + U"},
      {C::Stop, "Ctrl + T"},
      {C::Help, ""},
      {C::None, ""},
  };
  for (const auto& row : rows) {
    const std::string hint = ShortcutHint(row.command);
    EXPECT_EQ(hint, row.hint);
    if (!hint.empty()) EXPECT_EQ(MapMainWindowKey(hint.back(), ctrl), row.command) << hint;
  }
}

}  // namespace
}  // namespace sonvarro
