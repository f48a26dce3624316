#pragma once
// The alert window's "Adiar" control: where it and the buttons beside it
// sit, and what its menu holds. Both front-ends build theirs from here.

#include <iterator>
#include <string>
#include <vector>

#include "forms/geometry.h"
#include "forms/lembrete_form.h"
#include "forms/window_tables.h"

namespace tavo::forms {

// The reminder window's button row: "OK" and the alternate button
// ("Cancelar" / "Excluir") two across in new and alter mode, and with
// "Adiar" three across in alert mode; all on the picture's free strip
// left of the turned-up corner (the generator draws the picture around
// the table's places and these, printed by tools/window_layout).
struct ButtonRow {
  Rect ok, alternate, snooze;
};
inline constexpr ButtonRow kTwoButtons{kLembreteWindow["bOK"].place, kLembreteWindow["bAlternate"].place, {}};
inline constexpr ButtonRow kAlertButtons{{31, 181, 60, 21}, {96, 181, 60, 21}, {161, 181, 60, 21}};
inline const ButtonRow& ButtonRowFor(bool alert) { return alert ? kAlertButtons : kTwoButtons; }

// The button's caption: Alt+A opens its menu.
inline constexpr const char* kSnoozeButtonCaption = "&Adiar";
// What a screen reader says for the button (its caption, kSnoozeCaption)
// and for its menu.
inline constexpr const char* kSnoozeMenuName = "Adiar por";

// The time box of "Outro horário..." is kSnoozeTimeBox (forms/window_tables.h);
// its title is the table's spoken name.

// The menu's items in order: the captions of kSnoozeChoices, then
// kSnoozeUntilCaption.
std::vector<std::string> SnoozeMenuItems();

// Runs the menu's item `index` on the form: a choice snoozes at once (true);
// the last item, a time of the user's choosing, does nothing here (false):
// the front-end asks for the time and calls form.AdiarPara with it.
bool RunSnoozeItem(LembreteForm& form, int index);

// What the time box offers first: the current time, "HH:MM".
std::string SnoozeTimeSuggestion();

// The index of the item that asks for a time.
inline constexpr int kSnoozeUntilItem = static_cast<int>(std::size(kSnoozeChoices));

}  // namespace tavo::forms
