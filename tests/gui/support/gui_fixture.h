#pragma once
// The program state every GUI test starts from: a temporary program folder
// with dados/, an in-memory registry, day-month-year dates, a fixed clock,
// store failures recorded instead of shown, the program's desktop, and every
// dialog answered by the test through the one dialog hook. TearDown closes
// the windows and puts every process-wide override back.

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/desktop.h"
#include "forms/form.h"
#include "platform/testing/test_platform.h"
#include "qt/desktop_qt.h"
#include "qt/dialogs.h"
#include "qt/tavo_lembrete.h"
#include "store/tavo_data.h"

class QPrinter;
class QWidget;

namespace tavo::gui::test_support {

// DateTime of a calendar date and time.
double At(int year, int month, int day, int hour = 0, int minute = 0);

// Adds a reminder straight to the store.
void Add(Store& store, double when, const std::string& text, int kind = 0);

struct Box {
  QString text;
  forms::BoxIcon icon;
  QString details;  // a box with details
};

class GuiStore : public DialogAnswerer {
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
  // the overrides installed, the store opened and a desktop made. False
  // when the folder cannot be made.
  [[nodiscard]] bool SetUp(const QString& data_folder = QStringLiteral("dados"));
  // From cleanup(): closes the windows and puts everything back, then fails
  // the test if the store reported a failure.
  void TearDown();

  QString Folder() const { return dir_.path(); }
  // The program's store, opened afresh by every SetUp.
  Store& store() { return *store_; }
  forms::Application& app() { return desktop_->app(); }
  QtDesktop& desktop() { return *desktop_; }
  // The open windows of one Qt class, in the order of creation.
  template <typename W>
  std::vector<W*> Windows() {
    std::vector<W*> found;
    for (const forms::Form* f : app().OwnedWindows())
      if (auto* w = WindowOf<W>(f); w && w->isVisible()) found.push_back(w);
    return found;
  }

  static constexpr platform::LocalTime kNow{2024, 6, 20, 14, 35, 12, 0};  // a Thursday

  platform::MemoryRegistry* registry = nullptr;
  platform::FixedClock clock{kNow};
  std::vector<Box> boxes;
  // Answers to the next boxes, in order; Ok once used up.
  std::deque<QMessageBox::StandardButton> answers;
  // Answers to the next file dialogs, in order; cancelled once used up.
  std::deque<QString> files;
  int file_dialogs = 0;
  std::vector<forms::FileDialog> file_dialog_kinds;  // every file dialog asked for, in order
  // The colour dialog: gets the preset colour, returns the choice (invalid: cancelled).
  std::function<QColor(const QColor&)> color = [](const QColor&) { return QColor(); };
  // The print dialog: may set the printer up; false cancels. Default: cancelled.
  std::function<bool(QPrinter&)> print = [](QPrinter&) { return false; };
  std::vector<std::string> failures;

  // DialogAnswerer
  QMessageBox::StandardButton AnswerBox(const QString& text, forms::BoxIcon icon) override;
  QMessageBox::StandardButton AnswerDetailedBox(const QString& text, const QString& details,
                                                forms::BoxIcon icon) override;
  QString AnswerFile(const forms::FileDialog& dialog) override;
  QColor AnswerColor(const QColor& initial) override { return color(initial); }
  bool AnswerPrint(QPrinter& printer) override { return print(printer); }

 private:
  Options options_;
  QTemporaryDir dir_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<QtDesktop> desktop_;
  const platform::DateOrder order_ = platform::DateOrder::DayMonthYear;
};

// Lets posted events run and deferred deletions happen, as the message loop does.
void Flush();

// Ends the test program with `message` when it is still running
// `milliseconds` from now: a test of a wait that could hang fails instead of
// holding the test run.
// A new reminder window, as "Novo" opens it, brought to the front.
TformLembrete* OpenNewLembrete(GuiStore& store);

class FreezeWatchdog {
 public:
  FreezeWatchdog(const char* message, int milliseconds);
  void Stop() { timer_.stop(); }

 private:
  QTimer timer_;
};

}  // namespace tavo::gui::test_support
