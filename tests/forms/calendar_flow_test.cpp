// Calendar files from the windows over a fake desktop: the export of every
// reminder and of the listed range, the import with its summary and
// details, a refused file, cancelling, and the wait box.

#include "forms/calendar_flow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_commands.h"
#include "forms/list_form.h"
#include "forms/main_form.h"
#include "ical/calendar_store.h"
#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FakeListWindow;
using test_support::FakeMainWindow;
using tavo::test_support::At;
using tavo::test_support::Reminder;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class CalendarFlowTest : public test_support::FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    std::filesystem::create_directories(folder.Path() + "dados/datas");
    std::ofstream(folder.Path() + "dados/datas/santos.txt");
    std::ofstream(folder.Path() + "dados/datas/datas.txt");
    clock.time = {2024, 6, 20, 14, 35, 0, 0};
    main_ = &desktop->OpenMainWindow();
  }
  void Add(double when, const std::string& text, int kind = 0) { AddLembrete(Reminder(when, text, kind)); }
  // What quelvo-cli exportar writes for the store as it is.
  std::string CliExport(const std::vector<std::string>& range = {}) {
    const std::string path = folder.Path() + "cli.ics";
    std::vector<std::string> args{"exportar", path};
    args.insert(args.end(), range.begin(), range.end());
    std::ostringstream out, err;
    EXPECT_EQ(cli::Run(args, out, err), 0) << err.str();
    return ReadFile(path);
  }
  void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(folder.Path() + name, std::ios::binary) << bytes;
  }
  FakeMainWindow& Main() { return *main_; }

 private:
  FakeMainWindow* main_ = nullptr;
};

std::string Event(const std::string& uid, const std::string& start, const std::string& summary,
                  const std::string& extra = "") {
  return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20240601T000000Z\r\nDTSTART:" + start + "\r\nSUMMARY:" +
         summary + "\r\n" + extra + "END:VEVENT\r\n";
}

std::string Calendar(const std::string& events) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//teste//teste//PT\r\n" + events + "END:VCALENDAR\r\n";
}

TEST(CalendarTexts, SummariesCountInTheSingularAndPlural) {
  ical::ImportOutcome outcome;
  outcome.imported = 1;
  outcome.ignored = 1;
  EXPECT_EQ(ImportSummary(outcome), "1 lembrete importado, 1 ignorado");
  outcome.imported = 12;
  outcome.ignored = 3;
  EXPECT_EQ(ImportSummary(outcome), "12 lembretes importados, 3 ignorados");
  outcome.imported = 0;
  outcome.ignored = 0;
  EXPECT_EQ(ImportSummary(outcome), "0 lembretes importados, 0 ignorados");
  EXPECT_EQ(ExportSummary(1), "1 lembrete exportado");
  EXPECT_EQ(ExportSummary(2), "2 lembretes exportados");
}

TEST_F(CalendarFlowTest, ExportWritesWhatTheCommandLineWrites) {
  Add(At(2024, 7, 1, 8, 0), "um");
  Add(At(2024, 7, 2, 9, 30), "dois\r\nsegunda linha", 3);
  Add(At(2024, 6, 20, 15, 0), "tr\xEAs");
  const std::string path = folder.Path() + "todos.ics";
  desktop->file_answers = {path};
  Main().form.pmExportCalendarClick();
  ASSERT_EQ(desktop->file_dialogs.size(), 1u);
  EXPECT_EQ(desktop->file_dialogs[0].kind, FileDialog::Kind::Save);
  EXPECT_EQ(desktop->file_dialogs[0].filter_name, "Calendário");
  EXPECT_EQ(desktop->file_dialogs[0].pattern, "*.ics");
  EXPECT_EQ(desktop->file_dialogs[0].default_extension, "ics");
  EXPECT_EQ(desktop->BoxTexts(), std::vector<std::string>{"3 lembretes exportados"});
  EXPECT_EQ(ReadFile(path), CliExport());
}

TEST_F(CalendarFlowTest, TheListWindowExportsTheListedRange) {
  Add(At(2024, 6, 19, 8, 0), "antes");
  Add(At(2024, 6, 21, 8, 0), "dentro");
  Add(At(2024, 6, 22, 8, 0), "dentro tamb\xE9m");
  Add(At(2024, 7, 30, 8, 0), "depois");
  app().OpenWindowOnce(WindowKind::List);
  FakeListWindow& list = *desktop->Open<FakeListWindow>().at(0);
  list.start = "20/06/2024";
  list.end = "27/06/2024";
  list.form.bListarClick();
  ASSERT_EQ(list.form.ListedEntries.Count, 2);
  const std::string path = folder.Path() + "lista.ics";
  desktop->file_answers = {path};
  list.form.pmExportCalendarClick();
  EXPECT_EQ(desktop->BoxTexts(), std::vector<std::string>{"2 lembretes exportados"});
  EXPECT_EQ(ReadFile(path), CliExport({"--de", "20/06/2024", "--ate", "27/06/2024"}));
}

TEST_F(CalendarFlowTest, NothingToExportAsksForNoFile) {
  Main().form.pmExportCalendarClick();
  EXPECT_TRUE(desktop->file_dialogs.empty());
  EXPECT_EQ(desktop->BoxTexts(), std::vector<std::string>{"Não há lembretes para exportar"});
}

TEST_F(CalendarFlowTest, AFileThatCannotBeWrittenIsReported) {
  Add(At(2024, 7, 1, 8, 0), "um");
  const std::string path = folder.Path() + "no/such/folder/x.ics";
  desktop->file_answers = {path};
  Main().form.pmExportCalendarClick();
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "Não foi possível gravar o arquivo \"" + path + "\"");
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Error);
}

TEST_F(CalendarFlowTest, CancellingEitherDialogDoesNothing) {
  Add(At(2024, 7, 1, 8, 0), "um");
  const auto before = DadosFiles();
  Main().form.pmExportCalendarClick();
  Main().form.pmImportCalendarClick();
  EXPECT_EQ(desktop->file_dialogs.size(), 2u);
  EXPECT_EQ(desktop->file_dialogs[1].kind, FileDialog::Kind::Open);
  EXPECT_EQ(desktop->file_dialogs[1].filter_name, "Calendário");
  EXPECT_TRUE(desktop->boxes.empty());
  EXPECT_TRUE(desktop->status_texts.empty());
  EXPECT_EQ(Lembretes.Count, 1);
  EXPECT_EQ(DadosFiles(), before);
}

TEST_F(CalendarFlowTest, ImportTellsTheCountsAndTheReasonsInTheDetails) {
  Add(At(2024, 7, 1, 8, 0), "j\xE1 aqui");
  WriteFile("entrada.ics",
            Calendar(Event("a", "20240705T100000", "novo") + Event("b", "20240101T100000", "velho") +
                     Event("c", "20240701T080000", "j\xC3\xA1 aqui") +
                     Event("d", "20240710T090000", "toda semana", "RRULE:FREQ=WEEKLY;COUNT=3\r\n") +
                     Event("e", "20240711T090000", "cancelado", "STATUS:CANCELLED\r\n")));
  desktop->file_answers = {folder.Path() + "entrada.ics"};
  bool status_during_import = false;
  desktop->while_status_shown = [&] { status_during_import = Lembretes.Count == 1; };
  Main().form.pmImportCalendarClick();
  EXPECT_EQ(desktop->status_texts, std::vector<std::string>{"Importando calendário..."});
  EXPECT_TRUE(status_during_import);
  EXPECT_FALSE(desktop->status_open);
  ASSERT_EQ(desktop->boxes.size(), 1u);
  const auto& box = desktop->boxes[0];
  EXPECT_EQ(box.text, "2 lembretes importados, 3 ignorados");
  EXPECT_EQ(box.icon, BoxIcon::Information);
  EXPECT_EQ(box.details,
            "ignorado: velho: já passou\n"
            "ignorado: já aqui: já existe\n"
            "importado só o próximo: toda semana\n"
            "ignorado: cancelado: cancelado");
  EXPECT_EQ(Lembretes.Count, 3);
}

TEST_F(CalendarFlowTest, AnImportWithNothingToSayHasNoDetails) {
  WriteFile("um.ics", Calendar(Event("a", "20240705T100000", "novo")));
  desktop->file_answers = {folder.Path() + "um.ics"};
  Main().form.pmImportCalendarClick();
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "1 lembrete importado, 0 ignorados");
  EXPECT_EQ(desktop->boxes[0].details, "");
}

TEST_F(CalendarFlowTest, AFileThatIsNotACalendarIsRefusedAndNothingIsStored) {
  Add(At(2024, 7, 1, 8, 0), "um");
  const std::string stored = ReadDados("tavodb.dat");
  WriteFile("meio.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + Event("a", "20240705T100000", "novo"));
  desktop->file_answers = {folder.Path() + "meio.ics"};
  Main().form.pmImportCalendarClick();
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].icon, BoxIcon::Error);
  EXPECT_FALSE(desktop->boxes[0].text.empty());
  EXPECT_TRUE(desktop->boxes[0].details.empty());
  EXPECT_EQ(Lembretes.Count, 1);
  EXPECT_EQ(ReadDados("tavodb.dat"), stored);
  EXPECT_FALSE(desktop->status_open);
}

TEST_F(CalendarFlowTest, AFileThatCannotBeReadIsReported) {
  const std::string path = folder.Path() + "sumiu.ics";
  desktop->file_answers = {path};
  Main().form.pmImportCalendarClick();
  ASSERT_EQ(desktop->boxes.size(), 1u);
  EXPECT_EQ(desktop->boxes[0].text, "Não foi possível ler o arquivo \"" + path + "\"");
  EXPECT_TRUE(desktop->status_texts.empty());
}

TEST_F(CalendarFlowTest, ImportWaitsForABusyStore) {
  WriteFile("um.ics", Calendar(Event("a", "20240705T100000", "novo")));
  desktop->file_answers = {folder.Path() + "um.ics"};
  // A scan still running when the file is chosen; the store's wait lets it end.
  int waits = 0;
  Hooks().PumpMessages = [&] {
    if (++waits == 1) ScanBusy = false;
  };
  desktop->while_dialog_open = [&] { ScanBusy = true; };
  Main().form.pmImportCalendarClick();
  EXPECT_GE(waits, 1);
  EXPECT_EQ(Lembretes.Count, 1);
}

TEST_F(CalendarFlowTest, TheWindowsGoOnAnsweringWhileALargeFileIsRead) {
  // Events with a location are read through libical: some seconds for a large file.
  std::string events;
  for (int i = 0; i < 20000; ++i)
    events += Event("e" + std::to_string(i), "20240705T100000", "item " + std::to_string(i), "LOCATION:Sala\r\n");
  WriteFile("grande.ics", Calendar(events));
  desktop->file_answers = {folder.Path() + "grande.ics"};
  int pumped = 0;
  Hooks().PumpMessages = [&] { ++pumped; };
  Main().form.pmImportCalendarClick();
  EXPECT_GE(pumped, 3) << "the windows were not let to answer during the read";
  EXPECT_EQ(Lembretes.Count, 20000);
  EXPECT_FALSE(desktop->status_open);
}

}  // namespace
}  // namespace tavo::forms
