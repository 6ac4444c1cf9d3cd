#include <gtest/gtest.h>

#include <QApplication>

#include "RecordingDesktop.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  static sonvarro::test::GuardDesktop guard;
  sonvarro::platform::SetDesktop(&guard);
  return RUN_ALL_TESTS();
}
