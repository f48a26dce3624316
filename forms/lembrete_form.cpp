#include "forms/lembrete_form.h"

#include "calendar/events_text.h"
#include "calendar/feriados.h"
#include "forms/keys.h"
#include "forms/masked_text.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/cp1252.h"
#include "store/date_text.h"
#include "dates/date_time.h"
#include "store/period_step.h"

namespace tavo::forms {
namespace {

constexpr const char* kEmptyNew = "Lembrete vazio. Inclusão cancelada";
constexpr const char* kEmptyStored = "Digite algum texto no lembrete ou clique em Excluir, para removê-lo";
constexpr const char* kAskDelete = "Deseja realmente excluir este lembrete?";
constexpr const char* kAskMoveOn =
    "Ao confirmar a exclusão, você só será lembrado novamente deste compromisso após o período de repetição "
    "determinado. Confirma?";

// How much of the reminder text the alert's spoken name carries.
constexpr int kAlertNameTextChars = 100;

// The text with every line break (CR LF, CR or LF) written as `line_break`.
std::string WithBreaks(const std::string& text, const char* line_break) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += line_break;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

int StoredLength(const std::string& utf8) {
  size_t breaks = 0;
  for (char c : utf8) breaks += c == '\n';
  return static_cast<int>(Utf8Length(utf8) + breaks);
}

std::string FitToRoom(const std::string& utf8, int room) {
  const std::string lf = WithBreaks(utf8, "\n");
  int used = 0;
  size_t kept = 0;
  while (kept < lf.size()) {
    const int cost = lf[kept] == '\n' ? 2 : 1;
    if (used + cost > room) break;
    used += cost;
    // A whole character: its lead byte and every continuation byte.
    do ++kept;
    while (kept < lf.size() && (static_cast<unsigned char>(lf[kept]) & 0xC0) == 0x80);
  }
  return lf.substr(0, kept);
}

std::string StoredFromMemo(const std::string& utf8) { return Utf8ToCp1252(WithBreaks(utf8, "\r\n")); }

std::string MemoFromStored(const std::string& cp1252) { return WithBreaks(Cp1252ToUtf8(cp1252), "\n"); }

std::string TrimBlanks(const std::string& text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  size_t a = 0, b = text.size();
  while (a < b && blank(text[a])) ++a;
  while (b > a && blank(text[b - 1])) --b;
  return text.substr(a, b - a);
}

std::string TextStart(const std::string& utf8, int max_chars) {
  std::string out;
  int chars = 0;
  size_t last_word_end = 0;  // bytes of `out` up to the end of its last whole word
  bool pending_space = false, cut = false;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c <= 32) {
      pending_space = !out.empty();
      ++i;
      continue;
    }
    size_t len = 1;
    while (i + len < utf8.size() && (static_cast<unsigned char>(utf8[i + len]) & 0xC0) == 0x80) ++len;
    if (pending_space) {
      if (chars + 1 >= max_chars) {
        last_word_end = out.size();
        cut = true;
        break;
      }
      last_word_end = out.size();
      out += ' ';
      ++chars;
      pending_space = false;
    }
    if (chars >= max_chars) {
      cut = true;
      break;
    }
    out.append(utf8, i, len);
    ++chars;
    i += len;
  }
  if (!cut) return out;
  // A word cut in its middle goes, unless it is the only one.
  if (last_word_end > 0) out.resize(last_word_end);
  return out + "…";
}

LembreteForm::LembreteForm(Application& app, LembreteView& view) : Form(app, WindowKind::Lembrete), view_(view) {}

LembreteForm::~LembreteForm() = default;

std::vector<std::string> LembreteForm::RepeatItems() {
  std::vector<std::string> items;
  for (int kind = 0; kind < kRepeatKinds; ++kind) items.push_back(Cp1252ToUtf8(RepeatNames[kind]));
  return items;
}

void LembreteForm::FormCreate() {
  view_.SetClientHeight(store().Config.ShowInfo ? kExpandedHeight : kCollapsedHeight);
  view_.SetMemoColors(store().Config.FrontColor, store().Config.BackColor);
}

void LembreteForm::FormShow() {
  Guarded([this] {
    // Placement: the first window is centred, the next ones cascade.
    const Size screen = App().desktop().ScreenSize();
    const Rect bounds = view_.Bounds();
    Point& pos = App().LastReminderPos;
    if (pos.x < 0 || pos.y < 0) {
      pos = {(screen.width - bounds.width) / 2, (screen.height - bounds.height) / 2};
    } else {
      pos.x += 20;
      pos.y += 20;
      if (pos.x + bounds.width > screen.width) pos.x = 0;
      if (pos.y + bounds.height > screen.height) pos.y = 0;
    }
    view_.MoveTo(pos);
    view_.FocusMemo();

    switch (Mode) {
      case kModeNew: {
        view_.SetAlternateCaption("Cancelar");
        const platform::LocalTime now = platform::SystemClock().Now();
        Reminder = TLembrete{};
        Reminder.DateTime = EncodeDate(now.Year, now.Month, now.Day) +
                            EncodeTime(now.Hour, now.Minute, now.Second, now.Millisecond);
        break;
      }
      case kModeAlert:
        view_.SetAlternateCaption("Excluir");
        store().ReadLembrete(ReminderIndex, Reminder);
        break;
      case kModeAlter:
        view_.SetAlternateCaption("Cancelar");
        store().ReadLembrete(ReminderIndex, Reminder);
        break;
      default: break;
    }

    view_.SetMemoText(MemoFromStored(Reminder.Text));
    view_.SetDateText(DateToText(Reminder.DateTime));
    view_.SetTimeText(TimeToText(Reminder.DateTime));
    DateExit();
    view_.SetRepeatIndex(EffectiveRepeatKind(Reminder.RepeatKind));
    view_.ShowSnooze(Mode == kModeAlert);
    AnnounceWindow();
  });
}

std::string LembreteForm::WindowName() const {
  switch (Mode) {
    case kModeAlert:
      return "Lembrete: " + DateToText(Reminder.DateTime) + " " + TimeToDisplay(Reminder.DateTime) + " — " +
             TextStart(MemoFromStored(Reminder.Text), kAlertNameTextChars);
    case kModeAlter: return "Alterar lembrete";
    default: return "Novo lembrete";
  }
}

void LembreteForm::AnnounceWindow() { view_.SetWindowName(WindowName(), Mode == kModeAlert); }

void LembreteForm::eDataExit() {
  Guarded([this] { DateExit(); });
}

void LembreteForm::DateExit() {
  const double d = TextToDate(view_.DateText());
  const std::string text = MemoFromStored(EventsText(d));
  const Size size = App().desktop().MeasureText(kFieldFont, text, kEventsWidth);
  const bool red = IsValidDateTime(d) && (feriados::IsHoliday(d) || DayOfWeek(d) == 1);
  view_.ShowEvents(text, size, red);
  view_.SetDateText(DateToText(d));
}

void LembreteForm::eHoraExit() {
  Guarded([this] { TimeExit(); });
}

void LembreteForm::TimeExit() { view_.SetTimeText(TimeToText(TextToTime(view_.TimeText()))); }

void LembreteForm::eDataAcceptDate(double& date) {
  Guarded([&] {
    view_.SetDateText(DateToText(date));
    DateExit();
  });
}

void LembreteForm::bOKClick() {
  Guarded([this] {
    const std::string t = TrimBlanks(view_.MemoText());
    if (t.empty()) {
      if (Mode == kModeNew) {
        App().desktop().ShowMessage(nullptr, kEmptyNew, BoxIcon::Information, BoxModality::System);
        view_.Close();
      } else {
        App().desktop().ShowMessage(nullptr, kEmptyStored, BoxIcon::Information, BoxModality::System);
      }
      return;
    }
    DateExit();
    TimeExit();
    TLembrete record;
    record.DateTime = static_cast<double>(DayNumber(TextToDate(view_.DateText()))) + TextToTime(view_.TimeText());
    record.RepeatKind = static_cast<uint8_t>(view_.RepeatIndex());
    record.Text = StoredFromMemo(t);
    if (Mode == kModeNew) store().AddLembrete(record);
    else if (Mode == kModeAlert || Mode == kModeAlter) store().AlterLembrete(Reminder, record);
    view_.Close();
  });
}

void LembreteForm::bAlternateClick() {
  Guarded([this] {
    if (Mode == kModeNew || Mode == kModeAlter) {
      view_.Close();
      return;
    }
    if (Mode != kModeAlert) return;
    Desktop& desktop = App().desktop();
    const int kind = EffectiveRepeatKind(Reminder.RepeatKind);
    if (kind == 0) {
      if (!desktop.AskYesNo(this, kAskDelete, BoxIcon::Question, BoxModality::Task)) return;
      store().DeleteLembrete(Reminder);
      view_.Close();
      return;
    }
    if (!desktop.AskYesNo(this, kAskMoveOn, BoxIcon::Question, BoxModality::Task)) return;
    TLembrete moved = Reminder;
    moved.DateTime = StepOnePeriod(Reminder.DateTime, kind);
    store().AlterLembrete(Reminder, moved);
    view_.Close();
  });
}

double NextOccurrence(const std::string& typed_time, double now) {
  // Put in the time field's places as typed there, then read as the field is read.
  MaskedText field(MaskedText::kTimeMask);
  field.SetText(typed_time);
  std::string hhmm = field.Text();
  hhmm.erase(2, 1);
  const double time = TextToTime(hhmm);
  const double today = static_cast<double>(DayNumber(now));
  return DateLess(now, today + time) ? today + time : today + 1.0 + time;
}

void LembreteForm::Adiar(int minutes) { AdiarAte(MinutesLater(CurrentMinute(), minutes)); }

void LembreteForm::AdiarPara(const std::string& typed_time) { AdiarAte(NextOccurrence(typed_time, CurrentMinute())); }

void LembreteForm::AdiarAte(double moment) {
  Guarded([&] {
    if (Mode != kModeAlert) return;
    store().SnoozeLembrete(Reminder, moment);
    App().desktop().StopSound();
    view_.Close();
  });
}

void LembreteForm::iExpandClick() {
  const int height = view_.ClientHeight();
  if (height >= kExpandedHeight) view_.SetClientHeight(kCollapsedHeight);
  else if (height >= kCollapsedHeight) view_.SetClientHeight(kExpandedHeight);
}

bool LembreteForm::FormKeyDown(int key, bool ctrl, bool shift, bool alt) {
  const bool ctrl_only = ctrl && !shift && !alt;
  if (key == keys::kReturn && ctrl_only) {
    bOKClick();
    return true;
  }
  if (key == keys::kCancel && Mode == kModeNew) {
    bAlternateClick();
    return true;
  }
  if (key == keys::kEscape && !ctrl && !alt) {
    // A due reminder closed this way stays due and comes back at the next check.
    if (Mode == kModeAlert) view_.Close();
    else bAlternateClick();
    return true;
  }
  if (key == keys::kLetterI && ctrl_only) {
    iExpandClick();
    return true;
  }
  return false;
}

void LembreteForm::FormClose() {
  // The next window opens where this one was.
  const Rect bounds = view_.Bounds();
  Point& pos = App().LastReminderPos;
  if (pos.x >= bounds.left && pos.y >= bounds.top) pos = {bounds.left - 20, bounds.top - 20};
  App().SecondaryWindowClosing();
}

void LembreteForm::SwitchToAlterMode() {
  Mode = kModeAlter;
  view_.SetAlternateCaption("Cancelar");
  view_.ShowSnooze(false);
  AnnounceWindow();
}

}  // namespace tavo::forms
