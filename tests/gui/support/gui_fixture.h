#pragma once
// The program state every GUI test starts from: a temporary program folder
// with dados/, an in-memory registry, day-month-year dates, a fixed clock,
// store failures recorded instead of shown, and message boxes answered by
// the test. TearDown puts every process-wide override back.

#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <string>
#include <vector>

#include "qt/message_box.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace tavo::gui::test_support {

// DateTime of a calendar date and time.
double At(int year, int month, int day, int hour = 0, int minute = 0);

struct Box {
  QString text;
  BoxIcon icon;
};

class GuiStore {
 public:
  struct Options {
    // Tests of time-independent windows keep the real clock and date order.
    bool fixed_clock = true;
    bool fixed_date_order = true;
    // Some tests only need boxes dismissed and store failures left alone.
    bool record_failures = true;
  };

  GuiStore() = default;
  explicit GuiStore(Options options) : options_(options) {}
  GuiStore(const GuiStore&) = delete;
  GuiStore& operator=(const GuiStore&) = delete;

  // From init(): an empty program folder with `data_folder` made inside,
  // the overrides installed and the store opened. False when the folder
  // cannot be made.
  [[nodiscard]] bool SetUp(const QString& data_folder = QStringLiteral("dados"));
  // From cleanup(): closes the owned windows and puts everything back, then
  // fails the test if the store reported a failure.
  void TearDown();

  QString Folder() const { return dir_.path(); }

  static constexpr platform::LocalTime kNow{2024, 6, 20, 14, 35, 12, 0};  // a Thursday

  platform::MemoryRegistry* registry = nullptr;
  platform::FixedClock clock{kNow};
  std::vector<Box> boxes;
  // Answers to the next boxes, in order; Ok once used up.
  std::deque<QMessageBox::StandardButton> answers;
  std::vector<std::string> failures;

 private:
  Options options_;
  QTemporaryDir dir_;
  const platform::DateOrder order_ = platform::DateOrder::DayMonthYear;
};

}  // namespace tavo::gui::test_support
