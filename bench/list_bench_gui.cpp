// The list window with 100 000 stored reminders: listing the whole range and
// drawing the first screen of rows, and drawing a screen further down.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "platform/testing/test_platform.h"
#include "qt/date_field.h"
#include "qt/desktop_qt.h"
#include "qt/dialogs.h"
#include "qt/gui_common.h"
#include "dates/date_time.h"
#include "store/tavo_data.h"
#include "qt/list_grid.h"
#include "qt/tavo_list.h"

using namespace tavo;

namespace {

constexpr int kReminders = 100000;

// Dismisses every box at once ("Nenhum lembrete encontrado" for the empty range).
class Dismiss : public gui::DialogAnswerer {
 public:
  QMessageBox::StandardButton AnswerBox(const QString&, forms::BoxIcon) override { return QMessageBox::Ok; }
  QString AnswerFile(const forms::FileDialog&) override { return {}; }
  QColor AnswerColor(const QColor&) override { return {}; }
  bool AnswerPrint(QPrinter&) override { return false; }
};

struct Fixture {
  QTemporaryDir dir;
  platform::MemoryRegistry registry;
  platform::DateOrder order = platform::DateOrder::DayMonthYear;
  platform::FixedClock clock{platform::LocalTime{2024, 6, 20, 14, 35, 0, 0}};
  gui::TformList* window = nullptr;
  gui::QtDesktop desktop;
  Dismiss dismiss;
  QImage screen{199, 99, QImage::Format_ARGB32_Premultiplied};

  Fixture() {
    QDir(dir.path()).mkpath(QStringLiteral("dados"));
    platform::SetProgramFolder(dir.path().toStdString() + "/");
    platform::SetRegistryForTesting(&registry);
    platform::SetDateOrderForTesting(&order);
    platform::SetClockForTesting(&clock);
    Hooks().PumpMessages = [] { QCoreApplication::processEvents(); };
    gui::SetTheDesktop(&desktop);
    gui::SetDialogAnswerer(&dismiss);
    OpenStore();
    // One reminder every five minutes from the start day on, texts in the data file.
    std::ofstream data(DataFileName, std::ios::binary | std::ios::trunc);
    SetEntryCount(Lembretes, kReminders);
    const double start = EncodeDate(2024, 6, 20);
    int32_t pos = 0;
    for (int32_t i = 0; i < kReminders; ++i) {
      const std::string text = "Lembrete numero " + std::to_string(i);
      data << text;
      LembreteEntry& e = Lembretes[i];
      e.DateTime = start + i * EncodeTime(0, 5);
      e.Id = i;
      e.TextPos = pos;
      e.TextLen = static_cast<uint16_t>(text.size());
      e.RepeatKind = static_cast<uint8_t>(i % 5);
      pos += static_cast<int32_t>(text.size());
    }
    LastId = kReminders - 1;
    window = gui::WindowOf<gui::TformList>(&desktop.app().OpenWindowOnce(forms::WindowKind::List));
    QCoreApplication::processEvents();
  }

  void ListEmptyRange() {
    window->eInicio->SetDate(EncodeDate(2030, 1, 1));
    window->eFim->SetDate(EncodeDate(2030, 1, 1));
    window->form.bListarClick();
  }

  void ListEverything() {
    window->eInicio->SetDate(EncodeDate(2024, 6, 20));
    window->eFim->SetDate(EncodeDate(2025, 12, 31));
    window->form.bListarClick();
  }

  void DrawGrid() {
    window->gridLembretes->render(&screen);
    QCoreApplication::processEvents();
  }
};

Fixture& Shared() {
  static Fixture* fixture = new Fixture;
  return *fixture;
}

void BM_ListRangeAndDrawFirstScreen(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    f.ListEmptyRange();
    state.ResumeTiming();
    f.ListEverything();
    f.DrawGrid();
  }
  if (f.window->form.ListedEntries.Count != kReminders) state.SkipWithError("not everything listed");
}
BENCHMARK(BM_ListRangeAndDrawFirstScreen)->Unit(benchmark::kMillisecond);

void BM_DrawScreenInTheMiddle(benchmark::State& state) {
  Fixture& f = Shared();
  f.ListEverything();
  QScrollBar* bar = f.window->gridLembretes->verticalScrollBar();
  int step = 0;
  for (auto _ : state) {
    bar->setValue((bar->maximum() / 2 + step++ * 5) % bar->maximum());
    f.DrawGrid();
  }
}
BENCHMARK(BM_DrawScreenInTheMiddle)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  gui::InstallFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
