#include "forms/snooze_control.h"

#include <cstdio>

#include "platform/system.h"

namespace tavo::forms {

std::vector<std::string> SnoozeMenuItems() {
  std::vector<std::string> items;
  for (const SnoozeChoice& choice : kSnoozeChoices) items.emplace_back(choice.caption);
  items.emplace_back(kSnoozeUntilCaption);
  return items;
}

bool RunSnoozeItem(LembreteForm& form, int index) {
  if (index < 0 || index >= kSnoozeUntilItem) return false;
  form.Adiar(kSnoozeChoices[index].minutes);
  return true;
}

std::string SnoozeTimeSuggestion() {
  const platform::LocalTime now = platform::SystemClock().Now();
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", now.Hour % 100, now.Minute % 100);
  return text;
}

}  // namespace tavo::forms
