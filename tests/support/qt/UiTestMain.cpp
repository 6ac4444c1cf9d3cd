#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>

#include "RecordingDesktop.h"
#include "WaitUntil.h"
#include "services/LastResort.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  sonvarro::Application app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  // What the windows and the player post to the loop is handled while a test waits.
  sonvarro::test::SetEventPump([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); });
  static sonvarro::test::GuardDesktop guard;
  sonvarro::InstallLastResortDesktop(&guard);
  return RUN_ALL_TESTS();
}
