#include "tests/forms/support/fake_desktop.h"

#include <algorithm>

#include "store/cp1252.h"

namespace tavo::forms::test_support {

Size FixedFontSize(const std::string& text, int width, int char_width, int line_height) {
  if (text.empty()) return {};
  const int per_line = std::max(1, width / char_width);
  int lines = 0, widest = 0;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    // Greedy wrapping at spaces; a word longer than a line is cut.
    int used = 0;
    size_t i = 0;
    ++lines;
    while (i < line.size()) {
      size_t word_end = line.find(' ', i);
      if (word_end == std::string::npos) word_end = line.size();
      int word = static_cast<int>(Utf8Length(line.substr(i, word_end - i)));
      const int need = used == 0 ? word : used + 1 + word;
      if (need <= per_line) {
        used = need;
      } else if (used == 0) {
        while (word > per_line) {
          widest = per_line;
          ++lines;
          word -= per_line;
        }
        used = word;
      } else {
        widest = std::max(widest, used);
        ++lines;
        used = std::min(word, per_line);
      }
      i = word_end + 1;
    }
    widest = std::max(widest, used);
    start = end + 1;
  }
  return {widest * char_width, lines * line_height};
}

// --- windows ---

void FakeWindow::DoClose() {
  if (closed) return;
  closed = true;
  shown = false;
  if (desktop_.foreground == this) desktop_.foreground = nullptr;
  Form& form = GetForm();
  switch (form.Kind()) {
    case WindowKind::Lembrete: static_cast<LembreteForm&>(form).FormClose(); break;
    case WindowKind::List: static_cast<ListForm&>(form).FormClose(); break;
    case WindowKind::Config: static_cast<ConfigForm&>(form).FormClose(); break;
    case WindowKind::Sync: static_cast<SyncForm&>(form).FormClose(); break;
    case WindowKind::Main: break;
  }
}

void FakeWindow::DoBringToFront() {
  const bool first = !shown && !closed;
  if (closed) return;
  shown = true;
  desktop_.foreground = this;
  if (first) FirstShown();
}

bool FakeWindow::DoIsForeground() const { return desktop_.foreground == this; }

FakeLembreteWindow::FakeLembreteWindow(Application& app, FakeDesktop& desktop)
    : FakeWindow(desktop, {0, 0, LembreteForm::kWidth, 0}), form(app, *this) {
  form.FormCreate();
}

void FakeLembreteWindow::ShowEvents(const std::string& text, Size size, bool is_red) {
  events = text;
  events_size = size;
  red = is_red;
  ++events_shown;
}

FakeListWindow::FakeListWindow(Application& app, FakeDesktop& desktop)
    : FakeWindow(desktop, {0, 0, 417, 278}), form(app, *this) {
  form.FormCreate();
}

void FakeListWindow::SetRowCount(int count) {
  rows = count;
  row = std::min(row, rows - 1);  // a selected row that still exists stays
}

FakeConfigWindow::FakeConfigWindow(Application& app, FakeDesktop& desktop)
    : FakeWindow(desktop, {0, 0, 417, 278}), form(app, *this) {
  form.FormCreate();
}

FakeSyncWindow::FakeSyncWindow(Application& app, FakeDesktop& desktop)
    : FakeWindow(desktop, {0, 0, 417, 278}), form(app, *this) {
  form.FormCreate();
}

FakeMainWindow::FakeMainWindow(Application& app, FakeDesktop& desktop, std::vector<std::string> arguments)
    : FakeWindow(desktop, {0, 0, 417, 278}), form(app, *this, std::move(arguments)) {
  form.FormCreate();
}

void FakeMainWindow::Close() {
  if (!form.FormCloseQuery()) return;
  ended = true;
  DoClose();
}

// --- printer ---

void FakePrinter::Step() {
  if (fail_at_call > 0 && ++calls_ == fail_at_call) throw PrintFailed();
}

Size FakePrinter::PageSize() {
  Step();
  return page;
}

void FakePrinter::BeginDocument(const std::string& title) {
  Step();
  job = title;
  begun = true;
  ended = false;
  pages.assign(1, {});
}

void FakePrinter::NewPage() {
  Step();
  pages.emplace_back();
}

void FakePrinter::EndDocument() {
  Step();
  ended = true;
}

Size FakePrinter::LineSize(const std::string& text) {
  Step();
  return FixedFontSize(text, 1 << 20, font.bold ? 7 : 6, 13);
}

Size FakePrinter::WrappedSize(const std::string& text, int width) {
  Step();
  return FixedFontSize(text, width, font.bold ? 7 : 6, 13);
}

void FakePrinter::DrawOutline(const Rect& rect) {
  Step();
  pages.back().push_back({true, rect, {}, font.bold});
}

void FakePrinter::DrawText(const Rect& rect, const std::string& text, bool) {
  Step();
  pages.back().push_back({false, rect, text, font.bold});
}

// --- desktop ---

FakeDesktop::FakeDesktop(Store& store) : app(*this, store) {}

FakeDesktop::~FakeDesktop() {
  // Forms leave the application's list as they go; the newest first.
  while (!windows.empty()) windows.pop_back();
}

FakeMainWindow& FakeDesktop::OpenMainWindow(std::vector<std::string> arguments) {
  auto window = std::make_unique<FakeMainWindow>(app, *this, std::move(arguments));
  FakeMainWindow& main = *window;
  windows.push_back(std::move(window));
  main.BringToFront();
  main.form.Activated();
  return main;
}

void FakeDesktop::CollectClosed() {
  std::erase_if(windows, [](const std::unique_ptr<FakeWindow>& w) { return w->closed; });
}

std::vector<std::string> FakeDesktop::BoxTexts() const {
  std::vector<std::string> texts;
  for (const Box& b : boxes) texts.push_back(b.text);
  return texts;
}

void FakeDesktop::ShowMessage(const Form* owner, const std::string& text, BoxIcon icon, BoxModality modality) {
  boxes.push_back({text, icon, modality, owner, false, {}});
  if (while_box_open) while_box_open();
}

void FakeDesktop::ShowDetailedMessage(const Form* owner, const std::string& text, const std::string& details,
                                      BoxIcon icon, BoxModality modality) {
  boxes.push_back({text, icon, modality, owner, false, details});
  if (while_box_open) while_box_open();
}

bool FakeDesktop::AskYesNo(const Form* owner, const std::string& text, BoxIcon icon, BoxModality modality) {
  boxes.push_back({text, icon, modality, owner, true, {}});
  if (while_box_open) while_box_open();
  if (answers.empty()) return false;
  const bool yes = answers.front();
  answers.pop_front();
  return yes;
}

std::string FakeDesktop::AskFileName(const Form*, const FileDialog& dialog) {
  file_dialogs.push_back(dialog);
  if (while_dialog_open) while_dialog_open();
  if (file_answers.empty()) return {};
  std::string path = file_answers.front();
  file_answers.pop_front();
  return path;
}

std::optional<int32_t> FakeDesktop::AskColor(const Form*, int32_t initial) {
  color_dialogs.push_back(initial);
  if (color_answers.empty()) return std::nullopt;
  const std::optional<int32_t> chosen = color_answers.front();
  color_answers.pop_front();
  return chosen;
}

PrinterCanvas* FakeDesktop::AskPrinter(const Form*) {
  ++print_dialogs;
  if (while_dialog_open) while_dialog_open();
  switch (print_answer) {
    case PrintAnswer::Print: return &printer;
    case PrintAnswer::Cancel: return nullptr;
    case PrintAnswer::Fail: throw PrintFailed();
  }
  return nullptr;
}

Form& FakeDesktop::CreateWindow(WindowKind kind) {
  std::unique_ptr<FakeWindow> window;
  switch (kind) {
    case WindowKind::Lembrete: window = std::make_unique<FakeLembreteWindow>(app, *this); break;
    case WindowKind::List: window = std::make_unique<FakeListWindow>(app, *this); break;
    case WindowKind::Config: window = std::make_unique<FakeConfigWindow>(app, *this); break;
    case WindowKind::Sync: window = std::make_unique<FakeSyncWindow>(app, *this); break;
    case WindowKind::Main: window = std::make_unique<FakeMainWindow>(app, *this, std::vector<std::string>{}); break;
  }
  windows.push_back(std::move(window));
  return windows.back()->GetForm();
}

void FakeDesktop::ShowStatusBox(const Form*, const std::string& text) {
  status_texts.push_back(text);
  status_open = true;
  if (while_status_shown) while_status_shown();
}

Size FakeDesktop::MeasureText(const Font&, const std::string& text, int width) { return FixedFontSize(text, width); }

// --- fixture ---

void FormsFixture::SetUp() {
  StoreFixture::SetUp();
  Reopen();
  desktop = std::make_unique<FakeDesktop>(store);
}

void FormsFixture::TearDown() {
  desktop.reset();
  StoreFixture::TearDown();
}

}  // namespace tavo::forms::test_support
