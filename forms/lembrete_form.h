#pragma once
// The reminder window: entering (mode 0), alerting (mode 1) and altering
// (mode 2) one reminder, with the events text of its date below.

#include <cstdint>
#include <string>
#include <vector>

#include "forms/form.h"
#include "store/tavo_data.h"

namespace tavo::forms {

// The reminder window's controls, as its rules read and set them. The view
// runs the form's FormCreate once its controls exist, FormShow when the
// window is first shown, FormClose from its close event, and the handlers
// from its controls' events.
class LembreteView : public WindowView {
 public:
  // `eData`: the date field's 10 characters (blanks where empty).
  virtual std::string DateText() const = 0;
  virtual void SetDateText(const std::string& text) = 0;
  // `eHora`: the time field's four digit positions without the separator,
  // blanks where empty; set as four digits HHMM.
  virtual std::string TimeText() const = 0;
  virtual void SetTimeText(const std::string& hhmm) = 0;
  // `cbRepeat`: the index of the chosen repetition kind.
  virtual int RepeatIndex() const = 0;
  virtual void SetRepeatIndex(int index) = 0;
  // `mLembrete`: the reminder text.
  virtual std::string MemoText() const = 0;
  virtual void SetMemoText(const std::string& text) = 0;
  virtual void FocusMemo() = 0;
  // The memo's colours, and its panel's background.
  virtual void SetMemoColors(int32_t front, int32_t back) = 0;
  virtual void SetAlternateCaption(const std::string& caption) = 0;
  // `lEventos` inside `scroll`: the events text sized to `size`, red or
  // black; the scroll box goes back to its top.
  virtual void ShowEvents(const std::string& text, Size size, bool red) = 0;
  virtual int ClientHeight() const = 0;
  virtual void SetClientHeight(int height) = 0;
  // The window's position and client size on the screen.
  virtual Rect Bounds() const = 0;
  virtual void MoveTo(Point top_left) = 0;
  // What assistive technology reads for the window (its caption stays the
  // application title); an alert window announces itself as an alert. A
  // front-end that has no such name yet may leave it doing nothing.
  virtual void SetWindowName(const std::string& /*name*/, bool /*alert*/) {}
  // The "Adiar" control (forms/snooze_control.h): shown in alert mode only,
  // the buttons beside it then in their three-across places.
  virtual void ShowSnooze(bool /*shown*/) {}
};

// The snooze choices of an alert window, in the order shown: both front-ends
// build its "Adiar" control from this table, followed by kSnoozeUntilCaption,
// a time of the user's choosing (LembreteForm::AdiarPara).
struct SnoozeChoice {
  const char* caption;
  int minutes;
};
inline constexpr const char* kSnoozeCaption = "Adiar";
inline constexpr SnoozeChoice kSnoozeChoices[] = {
    {"5 minutos", 5},   {"10 minutos", 10}, {"15 minutos", 15},
    {"30 minutos", 30}, {"1 hora", 60},     {"Amanhã neste horário", 24 * 60},
};
inline constexpr const char* kSnoozeUntilCaption = "Outro horário...";

// The next time a typed time comes after the minute `now`: "HH:MM" (or
// "HHMM"), taken and repaired as the time field takes and repairs it
// (MaskedText, TextToTime); today when that is still to come, else tomorrow.
double NextOccurrence(const std::string& typed_time, double now);

class LembreteForm : public Form {
 public:
  enum : uint8_t { kModeNew = 0, kModeAlert = 1, kModeAlter = 2 };
  static constexpr int kWidth = 255;
  static constexpr int kExpandedHeight = 266;   // scroll top + height + 1
  static constexpr int kCollapsedHeight = 206;  // bOK top + height + 4
  static constexpr int kMaxTextLength = static_cast<int>(tavo::kMaxTextLength);  // a line break counts two
  static constexpr int kEventsWidth = 236 - 20;  // the scroll box less its scroll bar
  static inline const Font kFieldFont{"MS Sans Serif", 11};

  LembreteForm(Application& app, LembreteView& view);
  ~LembreteForm() override;
  LembreteView& View() const override { return view_; }

  int32_t ReminderIndex = 0;  // set by the opener in modes 1 and 2
  uint8_t Mode = kModeNew;
  TLembrete Reminder;          // the window's own copy of the reminder it shows

  // The five repetition names for `cbRepeat`, in kind order.
  static std::vector<std::string> RepeatItems();

  void FormCreate();
  void FormShow();
  void eDataExit();
  void eHoraExit();
  void eDataAcceptDate(double& date);
  void bOKClick();
  void bAlternateClick();
  // "Adiar", in alert mode only: puts the reminder off (its date and
  // repetition stay as they are), stops the alarm sound and closes the
  // window. Adiar counts from the current minute; AdiarAte takes a minute;
  // AdiarPara a typed time (NextOccurrence).
  void Adiar(int minutes);
  void AdiarAte(double moment);
  void AdiarPara(const std::string& typed_time);
  void iExpandClick();
  // True while the events area is open (it is then in the tab order).
  static bool EventsAreaShown(int client_height) { return client_height >= kExpandedHeight; }
  // Keys seen before the focused control (key preview); true when consumed.
  // `key` is a virtual-key code of forms/keys.h. Ctrl+Enter is "OK";
  // Ctrl+Break is "Cancelar" in new mode; Escape closes the window without
  // changing anything ("Cancelar" in new and alter mode); Ctrl+I opens or
  // closes the events area.
  bool FormKeyDown(int key, bool ctrl, bool shift, bool alt);
  void FormClose();
  // Turns an open alert window into an alter window (the list's "Alterar").
  void SwitchToAlterMode();

  // The name a screen reader gives the window: "Novo lembrete", "Alterar
  // lembrete", or for a due reminder what is due, e.g. "Lembrete:
  // 09/12/2026 08:00 — Tomar o remédio".
  std::string WindowName() const;

 private:
  void DateExit();
  void TimeExit();
  void AnnounceWindow();
  LembreteView& view_;
};

// The reminder text's length as it will be stored: characters, with a line
// break counting two (CR LF).
int StoredLength(const std::string& utf8);
// The longest start of `utf8` (line breaks made "\n") whose stored length is
// at most `room`: what a paste or a typed text may insert into the memo.
std::string FitToRoom(const std::string& utf8, int room);
// A memo text as stored (Windows-1252, CR LF) and back (UTF-8, "\n").
std::string StoredFromMemo(const std::string& utf8);
std::string MemoFromStored(const std::string& cp1252);
// Leading and trailing blanks and control characters removed.
std::string TrimBlanks(const std::string& text);
// The start of a UTF-8 text as read aloud: runs of blanks and line breaks
// made one space. A longer text is cut after its last whole word within
// `max_chars` characters (inside its first word when there is no other) and
// ends with "…".
std::string TextStart(const std::string& utf8, int max_chars);

}  // namespace tavo::forms
