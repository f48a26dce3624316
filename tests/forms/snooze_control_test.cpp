// The alert window's "Adiar" control as the rules describe it: shown in
// alert mode only, its menu's items and what each one runs, and the button
// row it shares with "OK" and "Excluir".

#include <gtest/gtest.h>

#include "forms/snooze_control.h"
#include "forms/window_shape.h"
#include "store/date_text.h"
#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FakeLembreteWindow;
using tavo::test_support::At;
using tavo::test_support::Reminder;

class SnoozeControlTest : public test_support::FormsFixture {
 protected:
  FakeLembreteWindow& Open(uint8_t mode) {
    app().ShowLembrete(0, mode);
    return *desktop->Open<FakeLembreteWindow>().back();
  }
};

TEST_F(SnoozeControlTest, ShownInAlertModeOnlyAndHiddenWhenTheAlertTurnsIntoAnAlterWindow) {
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));
  FakeLembreteWindow& alert = Open(LembreteForm::kModeAlert);
  EXPECT_TRUE(alert.snooze_shown);
  alert.form.SwitchToAlterMode();
  EXPECT_FALSE(alert.snooze_shown);
  FakeLembreteWindow& alter = Open(LembreteForm::kModeAlter);
  EXPECT_FALSE(alter.snooze_shown);
}

TEST_F(SnoozeControlTest, TheMenuListsTheChoicesThenOtherTime) {
  const std::vector<std::string> items = SnoozeMenuItems();
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items.front(), "5 minutos");
  EXPECT_EQ(items[5], "Amanhã neste horário");
  EXPECT_EQ(items.back(), "Outro horário...");
  EXPECT_EQ(kSnoozeUntilItem, 6);
}

TEST_F(SnoozeControlTest, EachChoiceSnoozesByItsMinutesAndOtherTimeLeavesItToTheFrontEnd) {
  clock.time = {2024, 6, 20, 14, 35, 7, 0};
  AddLembrete(Reminder(At(2024, 6, 20, 14, 30), "a"));
  for (int index = 0; index < kSnoozeUntilItem; ++index) {
    FakeLembreteWindow& w = Open(LembreteForm::kModeAlert);
    EXPECT_TRUE(RunSnoozeItem(w.form, index));
    EXPECT_TRUE(w.closed) << index;
    EXPECT_EQ(store.SnoozedUntil(Lembretes[0].Id), MinutesLater(At(2024, 6, 20, 14, 35), kSnoozeChoices[index].minutes))
        << index;
    desktop->CollectClosed();
  }
  FakeLembreteWindow& w = Open(LembreteForm::kModeAlert);
  EXPECT_FALSE(RunSnoozeItem(w.form, kSnoozeUntilItem));
  EXPECT_FALSE(w.closed);
}

TEST_F(SnoozeControlTest, TheThreeButtonsFitLeftOfTheCornerWithoutOverlapping) {
  const ButtonRow& row = ButtonRowFor(true);
  EXPECT_LE(row.ok.right(), row.alternate.left);
  EXPECT_LE(row.alternate.right(), row.snooze.left);
  EXPECT_LE(row.snooze.right(), kExpandArea.left);
  EXPECT_EQ(ButtonRowFor(false).ok, (Rect{31, 181, 88, 21}));
  EXPECT_EQ(ButtonRowFor(false).alternate, (Rect{129, 181, 88, 21}));
}

}  // namespace
}  // namespace tavo::forms
