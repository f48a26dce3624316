#include "cli/cli_commands.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>

#include "calendar/events_text.h"
#include "calendar/feriados.h"
#if QUELVO_ICAL
#include "ical/calendar_store.h"
#endif
#if QUELVO_SYNC
#include "platform/credentials.h"
#include "platform/http.h"
#include "sync/sync_account.h"
#include "sync/sync_engine.h"
#endif
#include "platform/file_system.h"
#include "platform/system.h"
#include "store/backup.h"
#include "store/cp1252.h"
#include "store/date_text.h"
#include "dates/date_time.h"
#include "store/period_step.h"
#include "store/tavo_data.h"

namespace tavo::cli {
namespace {

constexpr const char* kInstanceName = "Orvane_Quelvo_2003";

// A refusal of the command line, with the message for the user.
struct Refused {
  std::string message;
};

struct Context {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  Store& store;
};

const char* kUsage =
    "Uso: quelvo-cli [--pasta PASTA] COMANDO ...\n"
    "  listar [--de DATA] [--ate DATA]\n"
    "  incluir DATA HORA TEXTO [--repeticao K]\n"
    "  alterar N DATA HORA TEXTO [--repeticao K]\n"
    "  excluir N\n"
    "  confirmar N\n"
    "  adiar N MINUTOS\n"
    "  backup ARQUIVO\n"
    "  restaurar ARQUIVO\n"
    "  eventos DATA\n"
    "  feriados ANO\n"
    "  luas ANO\n"
    "  pascoa ANO\n"
    "  exportar ARQUIVO [--de DATA] [--ate DATA]\n"
    "  importar ARQUIVO\n"
    "  sincronizar [--configurar URL --usuario NOME | --esquecer]\n";

std::string Trimmed(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return s.substr(a, b - a);
}

// Line breaks are stored as CR LF, whatever the terminal gave.
std::string WithCrLf(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
      out += "\r\n";
      ++i;
    } else if (s[i] == '\n' || s[i] == '\r') {
      out += "\r\n";
    } else {
      out += s[i];
    }
  }
  return out;
}

double ParseDateArg(const std::string& utf8) {
  const std::string text = Utf8ToCp1252(utf8);
  if (text.size() != 10) throw Refused{"Data inv\xC3\xA1lida: \"" + utf8 + "\" (use 10 caracteres, como " +
                                       DateToText(Today()) + ")"};
  return TextToDate(text);
}

double ParseTimeArg(const std::string& utf8) {
  std::string text = Utf8ToCp1252(utf8);
  if (text.size() == 5 && text[2] == ':') text.erase(2, 1);
  if (text.size() != 4) throw Refused{"Hora inv\xC3\xA1lida: \"" + utf8 + "\" (use HH:MM ou HHMM)"};
  return TextToTime(text);
}

// The kind given with --repeticao, or `unset` without it.
int ParseRepeat(const Context& c, int unset) {
  auto it = c.options.find("repeticao");
  if (it == c.options.end()) return unset;
  const std::string& v = it->second;
  if (v.size() == 1 && v[0] >= '0' && v[0] <= '4') return v[0] - '0';
  const std::string cp = Utf8ToCp1252(v);
  for (int k = 0; k < kRepeatKinds; ++k)
    if (EqualIgnoringCase(cp, RepeatNames[k])) return k;
  throw Refused{"Repeti\xC3\xA7\xC3\xA3o inv\xC3\xA1lida: \"" + v + "\" (0 a 4, ou Nenhuma, Di\xC3\xA1ria, Semanal, Mensal, Anual)"};
}

int ParseYear(const std::string& s) {
  if (s.empty() || s.size() > 4 || !std::all_of(s.begin(), s.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    throw Refused{"Ano inv\xC3\xA1lido: \"" + s + "\" (1 a 9999)"};
  const int year = std::stoi(s);
  if (year < 1) throw Refused{"Ano inv\xC3\xA1lido: \"" + s + "\" (1 a 9999)"};
  return year;
}

// The N-th reminder of the full listing (1-based) as a table position.
int32_t ParsePosition(const Context& c, const std::string& s) {
  const bool digits = !s.empty() && s.size() <= 10 &&
                      std::all_of(s.begin(), s.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
  const long long n = digits ? std::stoll(s) : 0;
  if (n < 1 || n > c.store.Lembretes.Count)
    throw Refused{"N\xC3\xBAmero inv\xC3\xA1lido: \"" + s + "\" (h\xC3\xA1 " + std::to_string(c.store.Lembretes.Count) +
                  " lembretes)"};
  return static_cast<int32_t>(n - 1);
}

void Need(const Context& c, size_t n) {
  if (c.positional.size() != n) throw Refused{kUsage};
}

// Builds the record that OK in the reminder window would store; without
// --repeticao it gets `kind`.
TLembrete RecordFromArgs(const Context& c, size_t first, int kind) {
  TLembrete r;
  const std::string text = WithCrLf(Utf8ToCp1252(Trimmed(c.positional[first + 2])));
  if (text.empty()) throw Refused{"Lembrete vazio. Inclus\xC3\xA3o cancelada"};
  if (text.size() > kMaxTextLength)
    throw Refused{"Texto longo demais: no m\xC3\xA1ximo " + std::to_string(kMaxTextLength) + " caracteres"};
  r.DateTime = static_cast<double>(DayNumber(ParseDateArg(c.positional[first]))) + ParseTimeArg(c.positional[first + 1]);
  r.RepeatKind = static_cast<uint8_t>(ParseRepeat(c, kind));
  r.Text = text;
  return r;
}

TLembrete Stored(const Context& c, int32_t position) {
  TLembrete r;
  c.store.ReadLembrete(position, r);
  return r;
}

void PrintRange(Context& c, int32_t first, int32_t after) {
  // Lines are gathered and written in large pieces: a listing may have 100 000.
  std::string lines;
  for (const TLembrete& r : c.store.ReadLembretes(first, after)) {
    lines += DateToText(r.DateTime);
    lines += '\t';
    lines += TimeToDisplay(r.DateTime);
    lines += '\t';
    lines += Cp1252ToUtf8(RepeatName(r.RepeatKind));
    lines += '\t';
    lines += EscapeText(Cp1252ToUtf8(r.Text));
    if (const std::optional<double> until = c.store.SnoozedUntil(r.Id)) {
      lines += "\tadiado at\xC3\xA9 ";
      lines += DateToText(*until);
      lines += ' ';
      lines += TimeToDisplay(*until);
    }
    lines += '\n';
    if (lines.size() >= (1 << 16)) {
      c.out << lines;
      lines.clear();
    }
  }
  c.out << lines;
}

// The table positions of --de/--ate, by the list window's rule; all without them.
std::pair<int32_t, int32_t> ListedRange(Context& c) {
  int32_t first = 0, after = c.store.Lembretes.Count;
  const bool has_from = c.options.count("de"), has_to = c.options.count("ate");
  if (has_from || has_to) {
    const double from = has_from ? ParseDateArg(c.options["de"]) : Today();
    double to = has_to ? ParseDateArg(c.options["ate"]) : from + 7;
    if (from > to) to = from;
    first = c.store.FindPosition(from);
    after = c.store.FindPosition(to + 1.0);
  }
  return {first, std::max(first, after)};
}

int Listar(Context& c) {
  Need(c, 0);
  const auto [first, after] = ListedRange(c);
  PrintRange(c, first, after);
  return kDone;
}

int Incluir(Context& c) {
  Need(c, 3);
  c.store.AddLembrete(RecordFromArgs(c, 0, 0));
  return kDone;
}

int Alterar(Context& c) {
  Need(c, 4);
  const TLembrete old_record = Stored(c, ParsePosition(c, c.positional[0]));
  c.store.AlterLembrete(old_record, RecordFromArgs(c, 1, old_record.RepeatKind));
  return kDone;
}

int Excluir(Context& c) {
  Need(c, 1);
  c.store.DeleteLembrete(Stored(c, ParsePosition(c, c.positional[0])));
  return kDone;
}

int Confirmar(Context& c) {
  Need(c, 1);
  const TLembrete old_record = Stored(c, ParsePosition(c, c.positional[0]));
  if (EffectiveRepeatKind(old_record.RepeatKind) == 0) {
    c.store.DeleteLembrete(old_record);
    return kDone;
  }
  TLembrete next = old_record;
  next.DateTime = StepOnePeriod(old_record.DateTime, old_record.RepeatKind);
  c.store.AlterLembrete(old_record, next);
  return kDone;
}

// Puts the N-th reminder off MINUTOS minutes from now (1 to a day); 0 cancels its snooze.
int Adiar(Context& c) {
  Need(c, 2);
  const int32_t position = ParsePosition(c, c.positional[0]);
  const std::string& s = c.positional[1];
  const bool digits = !s.empty() && s.size() <= 4 &&
                      std::all_of(s.begin(), s.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
  const int minutes = digits ? std::stoi(s) : -1;
  if (minutes < 0 || minutes > 24 * 60)
    throw Refused{"Minutos inv\xC3\xA1lidos: \"" + s + "\" (1 a 1440, ou 0 para cancelar o adiamento)"};
  const LembreteEntry entry = c.store.Lembretes[position];
  if (minutes == 0) c.store.CancelSnooze(entry);
  else c.store.SnoozeLembrete(entry, MinutesLater(CurrentMinute(), minutes));
  return kDone;
}

int Backup(Context& c) {
  Need(c, 1);
  switch (WriteBackup(c.store, c.positional[0])) {
    case BackupResult::Done: return kDone;
    case BackupResult::EmptyStore: throw Refused{Cp1252ToUtf8(msg::kBackupNotNeeded)};
    case BackupResult::Failed: break;
  }
  throw Refused{Cp1252ToUtf8(msg::kBackupFailed)};
}

int Restaurar(Context& c) {
  Need(c, 1);
  if (RestoreBackup(c.store, c.positional[0]) != RestoreResult::Done) throw Refused{Cp1252ToUtf8(msg::kRestoreInvalid)};
  return kDone;
}

#if QUELVO_ICAL
int Exportar(Context& c) {
  Need(c, 1);
  const auto [first, after] = ListedRange(c);
  int count = 0;
  const std::string& path = c.positional[0];
  if (path == "-") {
    platform::UseBinaryStandardStreams();
    ical::ExportStore(c.store, first, after, &count, [&c](std::string_view piece) {
      c.out << piece;
      return static_cast<bool>(c.out);
    });
    c.out.flush();
    c.err << count << " lembretes exportados\n";
    return c.out ? kDone : kRefused;
  }
  if (!ical::ExportStoreToFile(c.store, first, after, path, &count))
    throw Refused{"N\xC3\xA3o foi poss\xC3\xADvel gravar o arquivo \"" + path + "\""};
  c.out << count << " lembretes exportados\n";
  return kDone;
}

int Importar(Context& c) {
  Need(c, 1);
  const std::string& path = c.positional[0];
  std::string bytes;
  if (path == "-") {
    platform::UseBinaryStandardStreams();
    bytes.assign(std::istreambuf_iterator<char>(c.in), std::istreambuf_iterator<char>());
  } else if (!platform::ReadWholeFile(platform::Files(), path, &bytes)) {
    throw Refused{"N\xC3\xA3o foi poss\xC3\xADvel ler o arquivo \"" + path + "\""};
  }
  const ical::ImportOutcome outcome = ical::ImportIntoStore(c.store, bytes);
  if (!outcome.refusal.empty()) throw Refused{outcome.refusal};
  c.out << outcome.imported << " importados, " << outcome.ignored << " ignorados\n";
  c.out.flush();
  for (const std::string& note : ical::ImportNotes(outcome)) c.err << note << '\n';
  return kDone;
}

#endif

#if QUELVO_SYNC
// Exit code and message of a sync or set-up that did not complete.
int Unfinished(Context& c, const sync::Report& report) {
  c.err << report.message << '\n';
  return report.outcome == sync::Outcome::Refused ? kRefused : kStoreFailed;
}

int Configurar(Context& c) {
  const auto user = c.options.find("usuario");
  if (user == c.options.end() || user->second.empty()) throw Refused{"Falta --usuario NOME"};
  std::string password;
  if (const char* from_env = std::getenv("QUELVO_SENHA")) {
    password = from_env;
  } else {
    std::getline(c.in, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
  }
  auto http = platform::MakeHttpClient();
  sync::Account account;
  const sync::Report report = sync::CheckAccount(*http, c.options["configurar"], user->second, password, &account);
  if (report.outcome != sync::Outcome::Done) return Unfinished(c, report);
  sync::WriteAccount(account);
  platform::Files().Delete(sync::LinkFilePath(c.store));  // links of an earlier set-up
  c.out << "Sincroniza\xC3\xA7\xC3\xA3o configurada com a agenda " << account.calendar << '\n';
  if (platform::SystemCredentials().Save(account.address, account.user, password) != platform::CredentialResult::Done)
    c.out << "Nenhum cofre de senhas dispon\xC3\xADvel: a senha n\xC3\xA3o foi guardada; informe-a em QUELVO_SENHA.\n";
  return kDone;
}

int Sincronizar(Context& c) {
  Need(c, 0);
  if (c.options.count("esquecer")) {
    sync::ForgetAccount();
    platform::Files().Delete(sync::LinkFilePath(c.store));
    return kDone;
  }
  if (c.options.count("configurar")) return Configurar(c);
  const sync::Account account = sync::ReadAccount();
  if (!account.IsSet())
    throw Refused{"Sincroniza\xC3\xA7\xC3\xA3o n\xC3\xA3o configurada: use sincronizar --configurar URL --usuario NOME"};
  const std::optional<std::string> password = sync::PasswordOf(account);
  if (!password) throw Refused{"Sem senha da sincroniza\xC3\xA7\xC3\xA3o: informe-a em QUELVO_SENHA"};
  auto http = platform::MakeHttpClient();
  const sync::Report report = sync::SyncStore(c.store, *http, account, *password);
  for (const std::string& warning : report.warnings) c.err << warning << '\n';
  if (report.outcome != sync::Outcome::Done) return Unfinished(c, report);
  c.out << sync::CountersLine(report.counters) << '\n';
  return kDone;
}
#endif

// The calendar files of the program folder; a missing file gives an empty list.
void LoadCalendarLists() {
  const char sep = platform::kPathSeparator;
  const std::string folder = platform::ProgramFolder() + "dados" + sep + "datas" + sep;
  std::string bytes;
  SaintsList() = platform::ReadWholeFile(platform::Files(), folder + "santos.txt", &bytes) ? SplitTextLines(bytes)
                                                                                           : TextLines{};
  bytes.clear();
  DatesList() = platform::ReadWholeFile(platform::Files(), folder + "datas.txt", &bytes) ? SplitTextLines(bytes)
                                                                                         : TextLines{};
}

void PrintDayEntries(Context& c, const std::vector<feriados::DayEntry>& entries) {
  for (const auto& e : entries) c.out << DateToText(e.Day) << '\t' << Cp1252ToUtf8(e.Name) << '\n';
}

int Eventos(Context& c) {
  Need(c, 1);
  const double date = static_cast<double>(DayNumber(ParseDateArg(c.positional[0])));
  LoadCalendarLists();
  std::string text = Cp1252ToUtf8(EventsText(date));
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  c.out << text << '\n';
  return kDone;
}

int Feriados(Context& c) {
  Need(c, 1);
  PrintDayEntries(c, feriados::BuildHolidayTable(ParseYear(c.positional[0])));
  return kDone;
}

int Luas(Context& c) {
  Need(c, 1);
  const feriados::MoonTable table = feriados::BuildMoonTable(ParseYear(c.positional[0]));
  PrintDayEntries(c, std::vector<feriados::DayEntry>(table.Used().begin(), table.Used().end()));
  return kDone;
}

int Pascoa(Context& c) {
  Need(c, 1);
  c.out << DateToText(feriados::EasterDate(ParseYear(c.positional[0]))) << '\n';
  return kDone;
}

struct Command {
  std::function<int(Context&)> run;
  bool writes;
  bool needs_store;
};

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"listar", {Listar, false, true}},
      {"incluir", {Incluir, true, true}},
      {"alterar", {Alterar, true, true}},
      {"excluir", {Excluir, true, true}},
      {"confirmar", {Confirmar, true, true}},
      {"adiar", {Adiar, true, true}},
      {"backup", {Backup, false, true}},
      {"restaurar", {Restaurar, true, true}},
      {"eventos", {Eventos, false, false}},
      {"feriados", {Feriados, false, false}},
      {"luas", {Luas, false, false}},
      {"pascoa", {Pascoa, false, false}},
#if QUELVO_ICAL
      {"exportar", {Exportar, false, true}},
      {"importar", {Importar, true, true}},
#endif
#if QUELVO_SYNC
      {"sincronizar", {Sincronizar, true, true}},
#endif
  };
  return commands;
}

}  // namespace

std::string EscapeText(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t plain_from = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char* escaped = nullptr;
    switch (utf8[i]) {
      case '\\': escaped = "\\\\"; break;
      case '\t': escaped = "\\t"; break;
      case '\r': escaped = "\\r"; break;
      case '\n': escaped = "\\n"; break;
      default: continue;
    }
    out.append(utf8, plain_from, i - plain_from);
    out += escaped;
    plain_from = i + 1;
  }
  out.append(utf8, plain_from, std::string::npos);
  return out;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return Run(args, std::cin, out, err);
}

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
  Store store;
  Context c{{}, {}, in, out, err, store};
  std::string command;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--esquecer") {  // the one option without a value
      c.options["esquecer"];
    } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
      if (i + 1 == args.size()) {
        err << kUsage;
        return kRefused;
      }
      c.options[a.substr(2)] = args[++i];
    } else if (command.empty()) {
      command = a;
    } else {
      c.positional.push_back(a);
    }
  }
  const auto it = Commands().find(command);
  if (it == Commands().end()) {
    err << kUsage;
    return kRefused;
  }
  if (auto folder = c.options.find("pasta"); folder != c.options.end()) {
    platform::SetProgramFolder(folder->second);
    c.options.erase(folder);
  }
  const Command& cmd = it->second;
  const bool program_runs = platform::InstanceLockHeld(kInstanceName);
  if (cmd.writes && program_runs) {
    err << "O Quelvo 3.0 est\xC3\xA1 em execu\xC3\xA7\xC3\xA3o: feche o programa antes de alterar os lembretes "
           "pela linha de comando.\n";
    return kRunning;
  }
  store.Hooks.Failure = [&err](const std::string& message, BoxKind) { err << Cp1252ToUtf8(message) << '\n'; };
  store.Hooks.Notice = [&err](const std::string& message) { err << Cp1252ToUtf8(message) << '\n'; };
  try {
    if (cmd.needs_store) store.Open(program_runs ? StoreAccess::ReadOnly : StoreAccess::ReadWrite);
    return cmd.run(c);
  } catch (const Refused& r) {
    err << r.message;
    if (r.message.empty() || r.message.back() != '\n') err << '\n';
    return kRefused;
  } catch (const StoreStopped&) {
    return kStoreFailed;
  }
}

}  // namespace tavo::cli
