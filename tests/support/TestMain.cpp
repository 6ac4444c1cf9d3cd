#include <gtest/gtest.h>

#include "RecordingDesktop.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  static sonvarro::test::GuardDesktop guard;
  sonvarro::platform::SetDesktop(&guard);
  return RUN_ALL_TESTS();
}
