#pragma once
// A desktop for the windows' rules without a display: message boxes, dialogs
// and the printer answer from scripts the test fills in and record what was
// asked; windows are plain objects whose controls are fields; text is
// measured in a fixed font (6 pixels a character, 13 a line).

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/config_form.h"
#include "forms/desktop.h"
#include "forms/form.h"
#include "forms/lembrete_form.h"
#include "forms/list_form.h"
#include "forms/main_form.h"
#include "forms/sync_form.h"
#include "tests/core/support/store_fixture.h"

namespace tavo::forms::test_support {

class FakeDesktop;

// What a fixed font gives: 6 pixels a character, 13 a line, words wrapped
// greedily at spaces, "\n" starting a new line.
Size FixedFontSize(const std::string& text, int width, int char_width = 6, int line_height = 13);

// The window part every fake view shares: shown, closed, foreground.
class FakeWindow {
 public:
  FakeWindow(FakeDesktop& desktop, Rect bounds) : desktop_(desktop), bounds_(bounds) {}
  virtual ~FakeWindow() = default;
  virtual Form& GetForm() = 0;
  bool shown = false;
  bool closed = false;
  bool enabled = true;

 protected:
  void DoClose();
  void DoBringToFront();
  bool DoIsForeground() const;
  virtual void FirstShown() {}
  FakeDesktop& desktop_;
  Rect bounds_;
};

class FakeLembreteWindow : public LembreteView, public FakeWindow {
 public:
  FakeLembreteWindow(Application& app, FakeDesktop& desktop);
  Form& GetForm() override { return form; }

  void Close() override { DoClose(); }
  void BringToFront() override { DoBringToFront(); }
  bool IsForeground() const override { return DoIsForeground(); }
  std::string DateText() const override { return date; }
  void SetDateText(const std::string& text) override { date = text; }
  std::string TimeText() const override { return time; }
  void SetTimeText(const std::string& hhmm) override { time = hhmm; }
  int RepeatIndex() const override { return repeat; }
  void SetRepeatIndex(int index) override { repeat = index; }
  std::string MemoText() const override { return memo; }
  void SetMemoText(const std::string& text) override { memo = text; }
  void FocusMemo() override { memo_focused = true; }
  void SetMemoColors(int32_t f, int32_t b) override { front = f, back = b; }
  void SetAlternateCaption(const std::string& caption) override { alternate = caption; }
  void ShowEvents(const std::string& text, Size size, bool is_red) override;
  int ClientHeight() const override { return bounds_.height; }
  void SetClientHeight(int height) override { bounds_.height = height; }
  Rect Bounds() const override { return bounds_; }
  void MoveTo(Point p) override { bounds_.left = p.x, bounds_.top = p.y; }
  void SetWindowName(const std::string& name, bool is_alert) override { window_name = name, alert = is_alert; }
  void ShowSnooze(bool on) override { snooze_shown = on; }

  bool snooze_shown = false;
  std::string date = "          ", time = "    ", memo, alternate, events, window_name;
  bool alert = false;
  int repeat = -1;
  bool memo_focused = false, red = false;
  int32_t front = -1, back = -1;
  Size events_size;
  int events_shown = 0;
  LembreteForm form;

 private:
  void FirstShown() override { form.FormShow(); }
};

class FakeListWindow : public ListView, public FakeWindow {
 public:
  FakeListWindow(Application& app, FakeDesktop& desktop);
  Form& GetForm() override { return form; }

  void Close() override { DoClose(); }
  void BringToFront() override { DoBringToFront(); }
  bool IsForeground() const override { return DoIsForeground(); }
  std::string StartText() const override { return start; }
  void SetStartText(const std::string& t) override { start = t; }
  std::string EndText() const override { return end; }
  void SetEndText(const std::string& t) override { end = t; }
  void SetRowCount(int count) override;
  int SelectedRow() const override { return row; }
  void SetText(const std::string& t) override { text = t; }
  void SetTextColors(int32_t f, int32_t b) override { front = f, back = b; }
  void SetEnabled(bool e) override { enabled = e; }

  std::string start, end, text = "(unset)";
  int rows = 0, row = 1;
  int32_t front = -1, back = -1;
  ListForm form;
};

class FakeConfigWindow : public ConfigView, public FakeWindow {
 public:
  FakeConfigWindow(Application& app, FakeDesktop& desktop);
  Form& GetForm() override { return form; }

  void Close() override { DoClose(); }
  void BringToFront() override { DoBringToFront(); }
  bool IsForeground() const override { return DoIsForeground(); }
  void SetSoundEntries(const std::vector<std::string>& e) override { entries = e; }
  int SelectedSound() const override { return selected; }
  void SelectSound(int index) override { selected = index; }
  bool InfoChecked() const override { return info; }
  void SetInfoChecked(bool checked) override { info = checked; }
  void SetSelectorColors(int32_t f, int32_t b) override { selector_front = f, selector_back = b; }
  void SetSampleColors(int32_t f, int32_t b) override { sample_front = f, sample_back = b; }

  std::vector<std::string> entries;
  int selected = -1;
  bool info = false;
  int32_t selector_front = -1, selector_back = -1, sample_front = -1, sample_back = -1;
  ConfigForm form;
};

class FakeSyncWindow : public SyncView, public FakeWindow {
 public:
  FakeSyncWindow(Application& app, FakeDesktop& desktop);
  Form& GetForm() override { return form; }

  void Close() override { DoClose(); }
  void BringToFront() override { DoBringToFront(); }
  bool IsForeground() const override { return DoIsForeground(); }
  std::string AddressText() const override { return address; }
  void SetAddressText(const std::string& t) override { address = t; }
  std::string UserText() const override { return user; }
  void SetUserText(const std::string& t) override { user = t; }
  std::string PasswordText() const override { return password; }
  void ClearPassword() override { password.clear(); }
  void SetStatusText(const std::string& t) override { status = t; }
  void SetEnabled(const Enabled& e) override { controls = e; }
  void FocusField(const char* name) override { focused = name; }

  std::string address = "(unset)", user = "(unset)", password = "(unset)", status, focused;
  Enabled controls;
  SyncForm form;
};

class FakeMainWindow : public MainView, public FakeWindow {
 public:
  FakeMainWindow(Application& app, FakeDesktop& desktop, std::vector<std::string> arguments);
  Form& GetForm() override { return form; }

  void Close() override;
  void BringToFront() override { DoBringToFront(); }
  bool IsForeground() const override { return DoIsForeground(); }
  void HideWindow() override { shown = false; }
  bool IsShown() const override { return shown; }
  void StartTimer() override { timer_started = true; }

  bool timer_started = false;
  bool ended = false;  // closed for good: the program ends
  MainForm form;
};

// A printer that records what is drawn, page by page, measuring in the fixed
// font (bold characters a pixel wider); it may fail at a chosen call.
class FakePrinter : public PrinterCanvas {
 public:
  Size PageSize() override;
  void BeginDocument(const std::string& title) override;
  void NewPage() override;
  void EndDocument() override;
  void SetFont(const Font& f) override { font = f; }
  Size LineSize(const std::string& text) override;
  Size WrappedSize(const std::string& text, int width) override;
  void DrawOutline(const Rect& rect) override;
  void DrawText(const Rect& rect, const std::string& text, bool centred) override;

  struct Drawn {
    bool outline;
    Rect rect;
    std::string text;
    bool bold;
  };
  Size page{600, 800};
  Font font;
  std::string job;
  bool begun = false, ended = false;
  std::vector<std::vector<Drawn>> pages;
  // Calls to fail at: the k-th call of any method (counted from 1); 0: none.
  int fail_at_call = 0;

 private:
  void Step();
  int calls_ = 0;
};

class FakeDesktop : public Desktop {
 public:
  explicit FakeDesktop(Store& store);
  ~FakeDesktop() override;

  // The application every window of this desktop belongs to.
  Application app;

  struct Box {
    std::string text;
    BoxIcon icon;
    BoxModality modality;
    const Form* owner;
    bool question;
    std::string details;  // a box with details (ShowDetailedMessage)
  };
  std::vector<Box> boxes;
  // Answers to the next questions, in order; No once used up. A hook may run
  // while a box is open (the message loop runs meanwhile).
  std::deque<bool> answers;
  std::function<void()> while_box_open;
  // Answers to the next file dialogs, in order; cancelled once used up.
  std::deque<std::string> file_answers;
  std::vector<FileDialog> file_dialogs;
  std::function<void()> while_dialog_open;
  // Answers of the colour dialog; cancelled once used up.
  std::deque<std::optional<int32_t>> color_answers;
  std::vector<int32_t> color_dialogs;
  // The print dialog: the printer, cancelled, or failing.
  enum class PrintAnswer { Print, Cancel, Fail };
  PrintAnswer print_answer = PrintAnswer::Print;
  FakePrinter printer;
  int print_dialogs = 0;

  std::vector<std::string> sounds;
  int sound_stops = 0;
  bool minimized = false;
  int restores = 0;
  Size screen{1024, 768};
  std::vector<std::string> status_texts;  // every text the wait box showed
  std::function<void()> while_status_shown;  // runs in the wait box's message pump
  bool status_open = false;
  FakeWindow* foreground = nullptr;

  // The windows of the desktop, open or closed (until collected), in creation order.
  std::vector<std::unique_ptr<FakeWindow>> windows;
  FakeMainWindow& OpenMainWindow(std::vector<std::string> arguments = {});
  // Destroys the windows that closed, as the message loop does after a handler.
  void CollectClosed();
  // The open windows of one kind, in creation order.
  template <typename W>
  std::vector<W*> Open() {
    std::vector<W*> found;
    for (auto& w : windows)
      if (auto* typed = dynamic_cast<W*>(w.get()); typed && !typed->closed) found.push_back(typed);
    return found;
  }
  // The open reminder windows in alert mode, in creation order.
  std::vector<FakeLembreteWindow*> Alerts() {
    std::vector<FakeLembreteWindow*> alerts;
    for (FakeLembreteWindow* w : Open<FakeLembreteWindow>())
      if (w->form.Mode == LembreteForm::kModeAlert) alerts.push_back(w);
    return alerts;
  }
  // The texts of the boxes shown so far, in order.
  std::vector<std::string> BoxTexts() const;

  void ShowMessage(const Form* owner, const std::string& text, BoxIcon icon, BoxModality modality) override;
  bool AskYesNo(const Form* owner, const std::string& text, BoxIcon icon, BoxModality modality) override;
  void ShowDetailedMessage(const Form* owner, const std::string& text, const std::string& details, BoxIcon icon,
                           BoxModality modality) override;
  std::string AskFileName(const Form* owner, const FileDialog& dialog) override;
  std::optional<int32_t> AskColor(const Form* owner, int32_t initial) override;
  PrinterCanvas* AskPrinter(const Form* owner) override;
  Form& CreateWindow(WindowKind kind) override;
  void MinimizeApplication() override { minimized = true; }
  void RestoreApplication() override {
    minimized = false;
    ++restores;
  }
  Size ScreenSize() override { return screen; }
  void ShowStatusBox(const Form* owner, const std::string& text) override;
  void CloseStatusBox() override { status_open = false; }
  Size MeasureText(const Font& font, const std::string& text, int width) override;
  void PlaySound(const std::string& path) override { sounds.push_back(path); }
  void StopSound() override { ++sound_stops; }
};

// A test with a program folder of its own and a fake desktop.
class FormsFixture : public tavo::test_support::StoreFixture {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<FakeDesktop> desktop;
  Application& app() { return desktop->app; }
};

}  // namespace tavo::forms::test_support
