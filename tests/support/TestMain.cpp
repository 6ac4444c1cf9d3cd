#include <gtest/gtest.h>

#include "RecordingDesktop.h"
#include "services/LastResort.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  static sonvarro::test::GuardDesktop guard;
  sonvarro::InstallLastResortDesktop(&guard);
  return RUN_ALL_TESTS();
}
