// The control views have two kinds of implementation: the Qt adapters the
// program runs on and the fakes the behaviour's tests run on. Both must
// answer alike, or a behaviour tested on the fakes does something else in the
// program; so every case here runs against each of them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QWidget>
#include <memory>
#include <string>

#include "FakeControls.h"
#include "ui/QtControls.h"

namespace sonvarro {
namespace {

// A kit owns one control as its implementation makes it, offers it as
// `control`, and plays the user on it where the view has user events.

template <typename Fake>
struct FakeKit {
  Fake control;
};

template <typename Widget, typename Adapter>
struct QtKit {
  std::unique_ptr<Widget> widget = std::make_unique<Widget>();
  Adapter control{widget.get()};
};

template <bool Editable>
struct FakeSelectorKit {
  static constexpr bool kEditable = Editable;
  FakeSelectorKit() { control.editable = Editable; }
  void UserChooses(int index) { control.UserSelects(index); }
  test::FakeSelector control;
};

template <bool Editable>
struct QtSelectorKit {
  static constexpr bool kEditable = Editable;
  static std::unique_ptr<QComboBox> MakeBox() {
    auto box = std::make_unique<QComboBox>();
    box->setEditable(Editable);  // before the adapter is built, as it asks
    return box;
  }
  // What Qt does when the user picks an item from the list.
  void UserChooses(int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  std::unique_ptr<QComboBox> box = MakeBox();
  QtSelector control{box.get()};
};

// A panel inside a window that is not shown, as behaviour finds it.
struct QtPanelKit {
  QWidget window;
  QWidget* panel = new QWidget(&window);
  QtPanel control{panel};
};

template <typename Kit>
class ControlContract : public ::testing::Test {
 protected:
  Kit kit;
};

using EnablingKits =
    ::testing::Types<FakeKit<test::FakeControl>, QtKit<QWidget, QtControl>, QtKit<QWidget, QtFocusKeepingControl>,
                     FakeSelectorKit<false>, QtSelectorKit<false>, FakeKit<test::FakeCheckBox>,
                     QtKit<QCheckBox, QtCheckBox>, FakeKit<test::FakeTextField>, QtKit<QLineEdit, QtTextField>,
                     QtKit<QLabel, QtLabelText>, FakeKit<test::FakeWindow>, QtKit<QWidget, QtWindow>>;
TYPED_TEST_SUITE(ControlContract, EnablingKits);

TYPED_TEST(ControlContract, StartsEnabledAndFollowsSetEnabled) {
  IControl& control = this->kit.control;
  EXPECT_TRUE(control.Enabled());
  control.SetEnabled(false);
  EXPECT_FALSE(control.Enabled());
  control.SetEnabled(true);
  EXPECT_TRUE(control.Enabled());
}

template <typename Kit>
class SelectorContract : public ::testing::Test {
 protected:
  SelectorContract() {
    selector.OnChange = [this] { ++changes; };
    for (const char* item : {"Low", "Normal", "High"}) selector.AddItem(item);
  }
  // What an item that is not selected reads as.
  std::string Unselected(const std::string& typed) const { return Kit::kEditable ? typed : ""; }

  Kit kit;
  ISelector& selector = kit.control;
  int changes = 0;
};

using SelectorKits =
    ::testing::Types<FakeSelectorKit<false>, QtSelectorKit<false>, FakeSelectorKit<true>, QtSelectorKit<true>>;
TYPED_TEST_SUITE(SelectorContract, SelectorKits);

TYPED_TEST(SelectorContract, HoldsItsItemsInOrderUntilCleared) {
  ISelector& selector = this->selector;
  ASSERT_EQ(selector.Count(), 3);
  EXPECT_EQ(selector.ItemIndex(), -1) << "filling a list selects nothing";
  EXPECT_EQ(selector.Text(), "");
  EXPECT_EQ(selector.Item(0), "Low");
  EXPECT_EQ(selector.Item(2), "High");
  selector.SetItemIndex(1);
  selector.Clear();
  EXPECT_EQ(selector.Count(), 0);
  EXPECT_EQ(selector.ItemIndex(), -1);
  EXPECT_EQ(selector.Text(), "");
  // Clearing takes the items, not what was typed into an editable list, and
  // neither does filling it again.
  selector.SetText("typed");
  selector.Clear();
  EXPECT_EQ(selector.Text(), this->Unselected("typed"));
  selector.AddItem("Low");
  EXPECT_EQ(selector.ItemIndex(), -1);
  EXPECT_EQ(selector.Text(), this->Unselected("typed"));
}

TYPED_TEST(SelectorContract, AnIndexSelectsItsItemAndOneOutsideTheItemsSelectsNone) {
  ISelector& selector = this->selector;
  selector.SetItemIndex(2);
  EXPECT_EQ(selector.ItemIndex(), 2);
  EXPECT_EQ(selector.Text(), "High");
  for (int outside : {3, -1, -7}) {
    SCOPED_TRACE(outside);
    selector.SetItemIndex(1);
    selector.SetItemIndex(outside);
    EXPECT_EQ(selector.ItemIndex(), -1);
    EXPECT_EQ(selector.Text(), "");
  }
}

TYPED_TEST(SelectorContract, ATextSelectsTheItemThatMatchesItExactly) {
  ISelector& selector = this->selector;
  selector.SetText("Normal");
  EXPECT_EQ(selector.ItemIndex(), 1);
  EXPECT_EQ(selector.Text(), "Normal");
  selector.SetText("High");
  EXPECT_EQ(selector.ItemIndex(), 2);
}

// A list that cannot be edited cannot show a text that is none of its items:
// such a text selects nothing. An editable list shows it as typed.
TYPED_TEST(SelectorContract, ATextThatIsNoItemSelectsNothing) {
  ISelector& selector = this->selector;
  for (const char* text : {"zzz", "normal", "Normal ", ""}) {
    SCOPED_TRACE(text);
    selector.SetItemIndex(0);
    selector.SetText(text);
    EXPECT_EQ(selector.ItemIndex(), -1);
    EXPECT_EQ(selector.Text(), this->Unselected(text));
  }
  // An index given afterwards replaces the typed text, also one that selects nothing.
  selector.SetItemIndex(2);
  EXPECT_EQ(selector.Text(), "High");
  selector.SetText("zzz");
  selector.SetItemIndex(-1);
  EXPECT_EQ(selector.Text(), "");
}

TYPED_TEST(SelectorContract, OnlyTheUsersChoiceRaisesTheChangeEvent) {
  ISelector& selector = this->selector;
  selector.SetItemIndex(1);
  selector.SetText("High");
  selector.SetText("zzz");
  selector.AddItem("Superb");
  EXPECT_EQ(this->changes, 0);
  this->kit.UserChooses(3);
  EXPECT_EQ(this->changes, 1);
  EXPECT_EQ(selector.ItemIndex(), 3);
  EXPECT_EQ(selector.Text(), "Superb");
  selector.Clear();
  EXPECT_EQ(this->changes, 1);
}

template <typename Kit>
class CheckBoxContract : public ::testing::Test {
 protected:
  Kit kit;
};
using CheckBoxKits = ::testing::Types<FakeKit<test::FakeCheckBox>, QtKit<QCheckBox, QtCheckBox>>;
TYPED_TEST_SUITE(CheckBoxContract, CheckBoxKits);

TYPED_TEST(CheckBoxContract, StartsUncheckedAndFollowsSetChecked) {
  ICheckBox& box = this->kit.control;
  EXPECT_FALSE(box.Checked());
  box.SetChecked(true);
  EXPECT_TRUE(box.Checked());
  box.SetChecked(true);
  EXPECT_TRUE(box.Checked());
  box.SetChecked(false);
  EXPECT_FALSE(box.Checked());
}

template <typename Kit>
class TextFieldContract : public ::testing::Test {
 protected:
  Kit kit;
};
using TextFieldKits =
    ::testing::Types<FakeKit<test::FakeTextField>, QtKit<QLineEdit, QtTextField>, QtKit<QLabel, QtLabelText>>;
TYPED_TEST_SUITE(TextFieldContract, TextFieldKits);

TYPED_TEST(TextFieldContract, GivesBackTheTextItWasGivenByteForByte) {
  ITextField& field = this->kit.control;
  EXPECT_EQ(field.Text(), "");
  for (const char* text : {"/home/user/Müsic/évènement 1.flac", "  spaced  ", "00:00:01", ""}) {
    field.SetText(text);
    EXPECT_EQ(field.Text(), text);
  }
}

template <typename Kit>
class ProgressBarContract : public ::testing::Test {
 protected:
  Kit kit;
};
using ProgressBarKits = ::testing::Types<FakeKit<test::FakeProgressBar>, QtKit<QProgressBar, QtProgressBar>>;
TYPED_TEST_SUITE(ProgressBarContract, ProgressBarKits);

TYPED_TEST(ProgressBarContract, ThePositionStaysWithinTheRangeWhateverIsSet) {
  IProgressBar& bar = this->kit.control;
  const auto state = [&] {
    return std::to_string(bar.Minimum()) + ".." + std::to_string(bar.Maximum()) + " at " +
           std::to_string(bar.Position());
  };
  EXPECT_EQ(state(), "0..100 at 0");
  bar.SetPosition(150);
  EXPECT_EQ(state(), "0..100 at 100");
  bar.SetPosition(-5);
  EXPECT_EQ(state(), "0..100 at 0");
  bar.SetPosition(40);
  bar.SetMaximum(30);
  EXPECT_EQ(state(), "0..30 at 30");
  bar.SetMinimum(200);
  EXPECT_EQ(state(), "200..200 at 200") << "a minimum above the maximum raises it";
  bar.SetMaximum(50);
  EXPECT_EQ(state(), "50..50 at 50") << "a maximum below the minimum lowers it";
  bar.SetMaximum(300);
  bar.SetPosition(120);
  EXPECT_EQ(state(), "50..300 at 120");
}

template <typename Kit>
class WindowContract : public ::testing::Test {
 protected:
  Kit kit;
};
using WindowKits = ::testing::Types<FakeKit<test::FakeWindow>, QtKit<QWidget, QtWindow>>;
TYPED_TEST_SUITE(WindowContract, WindowKits);

TYPED_TEST(WindowContract, StartsHiddenAndShowsUntilHidden) {
  IWindow& window = this->kit.control;
  EXPECT_FALSE(window.Visible());
  window.Show();
  EXPECT_TRUE(window.Visible());
  window.Show();
  EXPECT_TRUE(window.Visible());
  window.Hide();
  EXPECT_FALSE(window.Visible());
}

template <typename Kit>
class PanelContract : public ::testing::Test {
 protected:
  Kit kit;
};
using PanelKits = ::testing::Types<FakeKit<test::FakePanel>, QtPanelKit>;
TYPED_TEST_SUITE(PanelContract, PanelKits);

TYPED_TEST(PanelContract, IsSetToShowUntilHiddenWhileItsWindowIsHidden) {
  IPanel& panel = this->kit.control;
  EXPECT_TRUE(panel.Visible());
  panel.SetVisible(false);
  EXPECT_FALSE(panel.Visible());
  panel.SetVisible(true);
  EXPECT_TRUE(panel.Visible());
}

}  // namespace
}  // namespace sonvarro
