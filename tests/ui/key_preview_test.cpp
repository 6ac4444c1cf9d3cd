#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include "ui/Application.h"

namespace sonvarro {
namespace {

// A window whose key preview closes the control with the focus, as a job or
// a modal dialog run from the preview may close a trim time's editor.
class ClosingPreviewWindow final : public QWidget, public KeyPreviewWindow {
 public:
  ClosingPreviewWindow() : editor(new QLineEdit(this)) {}
  void PreviewKey(const QKeyEvent&) override {
    ++previewed;
    delete editor;
  }
  QPointer<QLineEdit> editor;
  int previewed = 0;
};

TEST(KeyPreview, AKeyWhoseControlClosedDuringThePreviewGoesNowhere) {
  ClosingPreviewWindow window;
  window.show();
  window.editor->setFocus();
  QLineEdit* const target = window.editor;

  QTest::keyClick(target, Qt::Key_A);

  EXPECT_EQ(window.previewed, 1);
  EXPECT_TRUE(window.editor.isNull());
  // The window and the application go on: the next key reaches the window.
  QTest::keyClick(&window, Qt::Key_B);
  EXPECT_EQ(window.previewed, 2);
}

}  // namespace
}  // namespace sonvarro
