#include "gui_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "forms/lembrete_form.h"
#include "qt/gui_common.h"
#include "store/config.h"
#include "dates/date_time.h"
#include "store/tavo_data.h"

namespace tavo::gui::test_support {

double At(int year, int month, int day, int hour, int minute) {
  return EncodeDate(year, month, day) + EncodeTime(hour, minute);
}

void Flush() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool GuiStore::SetUp(const QString& data_folder) {
  if (!dir_.isValid()) return false;
  // The folder is shared by every case of a program: each starts empty.
  QDir(dir_.path()).removeRecursively();
  if (!QDir().mkpath(dir_.path() + QLatin1Char('/') + data_folder)) return false;
  platform::SetProgramFolder(dir_.path().toStdString() + "/");
  registry = new platform::MemoryRegistry;
  platform::SetRegistryForTesting(registry);
  if (options_.fixed_date_order) platform::SetDateOrderForTesting(&order_);
  clock.time = kNow;
  if (options_.fixed_clock) platform::SetClockForTesting(&clock);
  failures.clear();
  store_ = std::make_unique<Store>();
  if (options_.record_failures)
    store_->Hooks.Failure = [this](const std::string& message, BoxKind) { failures.push_back(message); };
  store_->Hooks.PumpMessages = [this] { PumpMessagesOnce(false, *store_); };
  store_->Open();
  boxes.clear();
  answers.clear();
  files.clear();
  file_dialogs = 0;
  file_dialog_kinds.clear();
  SetDialogAnswerer(this);
  desktop_ = std::make_unique<QtDesktop>(*store_);
  SetTheDesktop(desktop_.get());
  return true;
}

QMessageBox::StandardButton GuiStore::AnswerBox(const QString& text, forms::BoxIcon icon) {
  boxes.push_back({text, icon, {}});
  if (answers.empty()) return QMessageBox::Ok;
  const auto answer = answers.front();
  answers.pop_front();
  return answer;
}

QMessageBox::StandardButton GuiStore::AnswerDetailedBox(const QString& text, const QString& details,
                                                         forms::BoxIcon icon) {
  const auto answer = AnswerBox(text, icon);
  boxes.back().details = details;
  return answer;
}

QString GuiStore::AnswerFile(const forms::FileDialog& dialog) {
  ++file_dialogs;
  file_dialog_kinds.push_back(dialog);
  if (files.empty()) return {};
  const QString path = files.front();
  files.pop_front();
  return path;
}

void GuiStore::TearDown() {
  Flush();
  desktop_.reset();  // closes every window still open
  Flush();
  SetDialogAnswerer(nullptr);
  store_.reset();
  platform::SetClockForTesting(nullptr);
  platform::SetDateOrderForTesting(nullptr);
  platform::SetRegistryForTesting(nullptr);
  delete registry;
  registry = nullptr;
  platform::SetProgramFolder("");
  // Checked last so that a failing case still leaves the next one a clean state.
  QVERIFY2(failures.empty(), failures.empty() ? "" : failures.front().c_str());
}

void Add(Store& store, double when, const std::string& text, int kind) {
  TLembrete r;
  r.DateTime = when;
  r.RepeatKind = static_cast<uint8_t>(kind);
  r.Text = text;
  store.AddLembrete(r);
}

TformLembrete* OpenNewLembrete(GuiStore& store) {
  auto& form = static_cast<forms::LembreteForm&>(store.desktop().CreateWindow(forms::WindowKind::Lembrete));
  form.Mode = forms::LembreteForm::kModeNew;
  form.View().BringToFront();
  return WindowOf<TformLembrete>(&form);
}

FreezeWatchdog::FreezeWatchdog(const char* message, int milliseconds) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [message] {
    std::fprintf(stderr, "%s\n", message);
    std::abort();
  });
  timer_.start(milliseconds);
}

}  // namespace tavo::gui::test_support
