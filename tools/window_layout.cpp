// Prints the windows' control tables (forms/window_tables.h) as JSON, for the
// picture generator: an object from each window's picture name to its
// controls, each with its name, kind, place, caption and spoken name.
//
// Usage: window_layout > layout.json

#include <cstdio>
#include <initializer_list>
#include <string>

#include "forms/snooze_control.h"
#include "forms/window_tables.h"

namespace {

using tavo::forms::ControlKind;

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::FlatButton: return "flat button";
    case ControlKind::PushButton: return "push button";
    case ControlKind::DateField: return "date field";
    case ControlKind::TimeField: return "time field";
    case ControlKind::TextField: return "text field";
    case ControlKind::PasswordField: return "password field";
    case ControlKind::ComboBox: return "drop-down list";
    case ControlKind::Panel: return "panel";
    case ControlKind::Memo: return "text box";
    case ControlKind::ScrollText: return "scroll box";
    case ControlKind::StatusText: return "status text";
    case ControlKind::Grid: return "grid";
    case ControlKind::Label: return "label";
    case ControlKind::CheckBox: return "check box";
    case ControlKind::ListBox: return "list";
    case ControlKind::ColorSelector: return "colour selector";
    case ControlKind::ClickArea: return "click area";
    case ControlKind::MenuItem: return "menu item";
    case ControlKind::MenuSeparator: return "menu separator";
  }
  return "?";
}

// A JSON string: UTF-8 passes through; quotes, backslashes and control characters are escaped.
std::string Quoted(const char* text) {
  if (!text) return "null";
  std::string out = "\"";
  for (const char* p = text; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// A place the tables do not hold: the alert window's three-button row.
struct Extra {
  const char* name;
  tavo::forms::Rect place;
  const char* caption;
};

template <class F>
void PrintWindow(const tavo::forms::WindowTable<F>& table, bool last, std::initializer_list<Extra> extras = {}) {
  std::printf("  %s: [\n", Quoted(table.picture).c_str());
  for (const Extra& e : extras)
    std::printf("    {\"name\": %s, \"kind\": \"flat button\", \"x\": %d, \"y\": %d, \"w\": %d, \"h\": %d, "
                "\"caption\": %s, \"spoken\": %s},\n",
                Quoted(e.name).c_str(), e.place.left, e.place.top, e.place.width, e.place.height,
                Quoted(e.caption).c_str(), Quoted(e.caption).c_str());
  for (size_t i = 0; i < table.controls.size(); ++i) {
    const auto& c = table.controls[i];
    std::printf("    {\"name\": %s, \"kind\": %s, \"x\": %d, \"y\": %d, \"w\": %d, \"h\": %d, \"caption\": %s, "
                "\"spoken\": %s}%s\n",
                Quoted(c.name).c_str(), Quoted(KindName(c.kind)).c_str(), c.place.left, c.place.top, c.place.width,
                c.place.height, Quoted(c.caption).c_str(), Quoted(table.SpokenName(c)).c_str(),
                i + 1 < table.controls.size() ? "," : "");
  }
  std::printf("  ]%s\n", last ? "" : ",");
}

}  // namespace

int main() {
  std::printf("{\n");
  PrintWindow(tavo::forms::kMainWindow, false);
  PrintWindow(tavo::forms::kListWindow, false);
  PrintWindow(tavo::forms::kConfigWindow, false);
  PrintWindow(tavo::forms::kSyncWindow, false);
  using tavo::forms::kAlertButtons;
  PrintWindow(tavo::forms::kLembreteWindow, true,
              {{"bOK (alerta)", kAlertButtons.ok, "OK"},
               {"bAlternate (alerta)", kAlertButtons.alternate, "Excluir"},
               {"bAdiar", kAlertButtons.snooze, "Adiar"}});
  std::printf("}\n");
  return std::fflush(stdout) == 0 ? 0 : 1;
}
