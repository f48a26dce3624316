#pragma once
// Each window's controls, described once: place, caption, spoken name, tab
// position, kind, Win32 control id and handler. Both front-ends build their
// controls from these tables, the GUI tests find controls by them, and the
// picture generator takes its layout from them (tools/window_layout.cpp).

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string_view>

#include "forms/config_form.h"
#include "forms/geometry.h"
#include "forms/lembrete_form.h"
#include "forms/list_form.h"
#include "forms/main_form.h"
#include "forms/sync_form.h"
#include "forms/window_shape.h"

namespace tavo::forms {

enum class ControlKind {
  FlatButton,     // the program's own button in the face colour
  PushButton,     // a standard push button
  DateField,      // a date field with its calendar drop-down
  TimeField,      // a masked HH:MM field
  TextField,      // a single-line text box
  PasswordField,  // a single-line text box that shows a dot for each character
  ComboBox,       // a drop-down list without free typing
  Panel,          // a sunken panel holding other controls
  Memo,           // a multi-line text box
  ScrollText,     // a white box with a word-wrapped text that scrolls
  StatusText,     // a word-wrapped text on the picture that the program changes
  Grid,           // the list window's grid of reminders
  Label,          // a text on the picture
  CheckBox,       // a check box without a visible caption
  ListBox,        // a list of entries
  ColorSelector,  // a colour button that opens the palette
  ClickArea,      // a spot of the picture that takes clicks
  MenuItem,       // a menu command
  MenuSeparator,  // a line between menu commands
};

// One control of a window. Texts are UTF-8 with "\n" between lines.
template <class F>
struct Control {
  const char* name;  // the form's name for it, also its Qt object name
  ControlKind kind;
  Rect place{};                   // in window (client) pixels; none for a menu item
  const char* caption = nullptr;  // the text shown; nullptr when none
  // What a screen reader reads: `spoken` when given, else the caption of the
  // control `named_by` (a label, or a button standing for the same command),
  // else the caption.
  const char* spoken = nullptr;
  const char* named_by = nullptr;
  const char* description = nullptr;  // a screen reader's hint, e.g. the shortcut
  int tab = -1;                       // position in the tab order; -1 when not in it
  int id = 0;                         // Win32 control id (menu command id); 0 when none
  void (F::*click)() = nullptr;       // a click, or leaving a field
  void (F::*double_click)() = nullptr;
};

template <class F>
struct WindowTable {
  const char* picture;  // background picture (assets/<picture>.bmp); nullptr for a menu
  const char* spoken;   // the window's name for screen readers; nullptr when set by its rules
  std::span<const Control<F>> controls;

  // The control of that name; a name not in the table fails to compile
  // where the lookup is a constant expression, and throws otherwise.
  constexpr const Control<F>& operator[](std::string_view name) const {
    for (const Control<F>& c : controls)
      if (name == c.name) return c;
    throw std::out_of_range("no such control");
  }

  constexpr const char* SpokenName(const Control<F>& c) const {
    if (c.spoken) return c.spoken;
    if (c.named_by) return (*this)[c.named_by].caption;
    return c.caption;
  }

  // The controls in the tab order; at most 32 take part.
  constexpr std::size_t TabCount() const {
    std::size_t n = 0;
    for (const Control<F>& c : controls) n += c.tab >= 0 ? 1 : 0;
    return n;
  }
  constexpr const Control<F>& TabStop(int position) const {
    for (const Control<F>& c : controls)
      if (c.tab == position) return c;
    throw std::out_of_range("no such tab position");
  }
};

// The reminder's text, in the reminder window and in the list window.
inline constexpr const char* kReminderTextName = "Texto do lembrete";

// ---- Main window `formTAVO` ----

inline constexpr Control<MainForm> kMainControls[] = {
    {.name = "iHide", .kind = ControlKind::ClickArea, .place = kHideArea, .named_by = "bHide",
     .click = &MainForm::bHideClick},
    {.name = "bNovo", .kind = ControlKind::FlatButton, .place = {57, 92, 157, 31}, .caption = "Incluir um novo lembrete",
     .tab = 0, .id = 100, .click = &MainForm::bNovoClick},
    // The caption keeps its slip of the pen; a screen reader says it right.
    {.name = "bLista", .kind = ControlKind::FlatButton, .place = {230, 92, 157, 31}, .caption = "Ler / Aterar Lembretes",
     .spoken = "Ler / Alterar Lembretes", .tab = 1, .id = 101, .click = &MainForm::bListaClick},
    {.name = "bDoBackup", .kind = ControlKind::FlatButton, .place = {57, 136, 157, 31}, .caption = "Gravar Backup",
     .tab = 2, .id = 102, .click = &MainForm::bDoBackupClick},
    {.name = "bRestoreBackup", .kind = ControlKind::FlatButton, .place = {230, 136, 157, 31},
     .caption = "Restaurar Backup", .tab = 3, .id = 103, .click = &MainForm::bRestoreBackupClick},
    {.name = "bConfig", .kind = ControlKind::FlatButton, .place = {57, 180, 157, 31}, .caption = "Configurações",
     .tab = 4, .id = 104, .click = &MainForm::bConfigClick},
    {.name = "bFecha", .kind = ControlKind::FlatButton, .place = {230, 180, 157, 31}, .caption = "Encerrar o Programa",
     .tab = 5, .id = 105, .click = &MainForm::bFechaClick},
    {.name = "bHide", .kind = ControlKind::FlatButton, .place = {294, 222, 93, 19}, .caption = "Ocultar Janela",
     .tab = 6, .id = 106, .click = &MainForm::bHideClick},
};
inline constexpr WindowTable<MainForm> kMainWindow{"fundo_main", "Menu principal", kMainControls};

// ---- The tray icon's menu `PopupMenu`; its first item is the default ----

inline constexpr Control<MainForm> kTrayControls[] = {
    {.name = "pmNovo", .kind = ControlKind::MenuItem, .caption = "&Novo Lembrete", .id = 1,
     .click = &MainForm::bNovoClick},
    {.name = "pmLista", .kind = ControlKind::MenuItem, .caption = "&Ler / Alterar Lembretes", .id = 2,
     .click = &MainForm::bListaClick},
    {.name = "N1", .kind = ControlKind::MenuSeparator, .id = 3},
    {.name = "pmBackup", .kind = ControlKind::MenuItem, .caption = "Gravar Backup dos Lembretes", .id = 4,
     .click = &MainForm::bDoBackupClick},
    {.name = "pmRestore", .kind = ControlKind::MenuItem, .caption = "Restaurar Backup dos Lembretes", .id = 5,
     .click = &MainForm::bRestoreBackupClick},
    {.name = "pmExportar", .kind = ControlKind::MenuItem, .caption = "Exportar Calend\u00E1rio", .id = 11,
     .click = &MainForm::pmExportCalendarClick},
    {.name = "pmImportar", .kind = ControlKind::MenuItem, .caption = "Importar Calend\u00E1rio", .id = 12,
     .click = &MainForm::pmImportCalendarClick},
    {.name = "pmSincronizar", .kind = ControlKind::MenuItem, .caption = "Sincroniza\u00E7\u00E3o", .id = 13,
     .click = &MainForm::pmSyncClick},
    {.name = "N2", .kind = ControlKind::MenuSeparator, .id = 6},
    {.name = "pmJanela", .kind = ControlKind::MenuItem, .caption = "Exibir Menu Principal", .id = 7,
     .click = &MainForm::pmJanelaClick},
    {.name = "pmConfig", .kind = ControlKind::MenuItem, .caption = "&Configurações", .id = 8,
     .click = &MainForm::bConfigClick},
    {.name = "N3", .kind = ControlKind::MenuSeparator, .id = 9},
    {.name = "pmFecha", .kind = ControlKind::MenuItem, .caption = "&Encerrar o Programa", .id = 10,
     .click = &MainForm::bFechaClick},
};
inline constexpr WindowTable<MainForm> kTrayMenu{nullptr, nullptr, kTrayControls};

// ---- Reminder window `formLembrete` ----

inline constexpr Control<LembreteForm> kLembreteControls[] = {
    {.name = "Label1", .kind = ControlKind::Label, .place = {32, 50, 40, 13}, .caption = "Data"},
    {.name = "Label2", .kind = ControlKind::Label, .place = {121, 50, 37, 13}, .caption = "Hora"},
    {.name = "Label3", .kind = ControlKind::Label, .place = {160, 50, 60, 13}, .caption = "Repetição"},
    // The date field takes two ids: its text and its drop-down button.
    {.name = "eData", .kind = ControlKind::DateField, .place = {32, 63, 88, 21}, .named_by = "Label1", .tab = 0,
     .id = 100, .click = &LembreteForm::eDataExit},
    {.name = "eHora", .kind = ControlKind::TimeField, .place = {121, 63, 37, 21}, .named_by = "Label2", .tab = 1,
     .id = 102, .click = &LembreteForm::eHoraExit},
    {.name = "cbRepeat", .kind = ControlKind::ComboBox, .place = {160, 63, 82, 21}, .named_by = "Label3", .tab = 2,
     .id = 103},
    {.name = "pLembrete", .kind = ControlKind::Panel, .place = {32, 86, 212, 92}},
    // Inside the panel's one-pixel bevel and its border of 3 pixels.
    {.name = "mLembrete", .kind = ControlKind::Memo, .place = {36, 90, 204, 84}, .spoken = kReminderTextName,
     .tab = 3, .id = 104},
    {.name = "bOK", .kind = ControlKind::FlatButton, .place = {31, 181, 88, 21}, .caption = "OK", .tab = 4, .id = 105,
     .click = &LembreteForm::bOKClick},
    // "Cancelar" in new mode; the rules change it by mode.
    {.name = "bAlternate", .kind = ControlKind::FlatButton, .place = {129, 181, 88, 21}, .caption = "Cancelar",
     .tab = 5, .id = 106, .click = &LembreteForm::bAlternateClick},
    {.name = "iExpand", .kind = ControlKind::ClickArea, .place = kExpandArea, .spoken = "Mostrar informações do dia",
     .description = "Ctrl+I", .click = &LembreteForm::iExpandClick, .double_click = &LembreteForm::iExpandClick},
    {.name = "scroll", .kind = ControlKind::ScrollText, .place = {12, 211, 236, 54}, .spoken = "Informações do dia",
     .tab = 6, .id = 107},
};
inline constexpr WindowTable<LembreteForm> kLembreteWindow{"fundo_lembrete", nullptr, kLembreteControls};

static_assert(kLembreteWindow["bOK"].place.bottom() + 4 == LembreteForm::kCollapsedHeight);
static_assert(kLembreteWindow["scroll"].place.bottom() + 1 == LembreteForm::kExpandedHeight);

// ---- List window `formList` ----

inline constexpr Control<ListForm> kListControls[] = {
    {.name = "iHide", .kind = ControlKind::ClickArea, .place = kHideArea, .spoken = "Fechar",
     .click = &ListForm::iHideClick},
    {.name = "Label1", .kind = ControlKind::Label, .place = {44, 58, 160, 16}, .caption = "Mostrar lembretes entre:"},
    {.name = "eInicio", .kind = ControlKind::DateField, .place = {44, 78, 88, 21},
     .spoken = "Mostrar lembretes entre", .named_by = "Label1", .tab = 0, .id = 100, .click = &ListForm::eInicioExit},
    {.name = "Label2", .kind = ControlKind::Label, .place = {137, 80, 10, 16}, .caption = "e"},
    {.name = "eFim", .kind = ControlKind::DateField, .place = {150, 78, 88, 21}, .named_by = "Label2", .tab = 1,
     .id = 102, .click = &ListForm::eFimExit},
    {.name = "bListar", .kind = ControlKind::PushButton, .place = {253, 79, 151, 20}, .caption = "Mostrar Lembretes",
     .tab = 2, .id = 104, .click = &ListForm::bListarClick},
    {.name = "gridLembretes", .kind = ControlKind::Grid, .place = {44, 108, 199, 99}, .spoken = "Lembretes",
     .description = "Enter: Alterar; Delete: Excluir; menu: Exportar Calend\u00E1rio", .tab = 3, .id = 105, .click = &ListForm::gridLembretesClick,
     .double_click = &ListForm::gridLembretesDblClick},
    {.name = "mTexto", .kind = ControlKind::Memo, .place = {253, 108, 151, 99}, .spoken = kReminderTextName, .tab = 4,
     .id = 106},
    {.name = "bPrintList", .kind = ControlKind::FlatButton, .place = {44, 218, 98, 23}, .caption = "Imprimir Lista",
     .tab = 5, .id = 107, .click = &ListForm::bPrintListClick},
    {.name = "bAlter", .kind = ControlKind::FlatButton, .place = {150, 218, 82, 23}, .caption = "Alterar", .tab = 6,
     .id = 108, .click = &ListForm::bAlterClick},
    {.name = "bDel", .kind = ControlKind::FlatButton, .place = {236, 218, 82, 23}, .caption = "Excluir", .tab = 7,
     .id = 109, .click = &ListForm::bDelClick},
    {.name = "bCancel", .kind = ControlKind::FlatButton, .place = {322, 218, 82, 23}, .caption = "Voltar", .tab = 8,
     .id = 110, .click = &ListForm::iHideClick},
};
inline constexpr WindowTable<ListForm> kListWindow{"fundo_list", "Lista de lembretes", kListControls};

static_assert(kListWindow["gridLembretes"].place.width == ListForm::kGridWidth);

// ---- Settings window `formConfig` ----

inline constexpr Control<ConfigForm> kConfigControls[] = {
    {.name = "iHide", .kind = ControlKind::ClickArea, .place = kHideArea, .spoken = "Fechar",
     .click = &ConfigForm::iHideClick},
    {.name = "Label1", .kind = ControlKind::Label, .place = {44, 58, 68, 14}, .caption = "Cor do Texto"},
    {.name = "csFront", .kind = ControlKind::ColorSelector, .place = {44, 74, 62, 21}, .spoken = "Cor do texto",
     .tab = 1, .id = 101},
    {.name = "Label2", .kind = ControlKind::Label, .place = {116, 58, 68, 14}, .caption = "Cor do Fundo"},
    {.name = "csBack", .kind = ControlKind::ColorSelector, .place = {116, 74, 62, 21}, .spoken = "Cor do fundo",
     .tab = 2, .id = 102},
    {.name = "mExemplo", .kind = ControlKind::Memo, .place = {44, 103, 134, 80},
     .caption = "Exemplo de janela do \nQuelvo 3", .spoken = "Exemplo", .tab = 3, .id = 103},
    {.name = "Label3", .kind = ControlKind::Label, .place = {204, 58, 80, 14}, .caption = "Som do Alarme"},
    {.name = "lbWave", .kind = ControlKind::ListBox, .place = {204, 74, 198, 81}, .spoken = "Som do alarme",
     .named_by = "Label3", .tab = 5, .id = 105, .click = &ConfigForm::lbWaveClick},
    {.name = "bOuvir", .kind = ControlKind::PushButton, .place = {328, 162, 74, 21}, .caption = "Testar", .tab = 6,
     .id = 106, .click = &ConfigForm::bOuvirClick},
    {.name = "cbInfo", .kind = ControlKind::CheckBox, .place = {44, 197, 13, 15}, .named_by = "lbInfo", .tab = 7,
     .id = 107, .click = &ConfigForm::cbInfoClick},
    // A label of the picture that takes clicks; a double click also ticks the box.
    {.name = "lbInfo", .kind = ControlKind::Label, .place = {61, 197, 290, 15},
     .caption = "Exibir informações adicionais na janela de lembretes", .click = &ConfigForm::lbInfoClick,
     .double_click = &ConfigForm::cbInfoClick},
    {.name = "bOK", .kind = ControlKind::FlatButton, .place = {205, 228, 93, 28}, .caption = "OK", .tab = 4, .id = 104,
     .click = &ConfigForm::bOKClick},
    // First in the tab order: the window opens on it.
    {.name = "bCancel", .kind = ControlKind::FlatButton, .place = {309, 228, 93, 28}, .caption = "Cancelar", .tab = 0,
     .id = 100, .click = &ConfigForm::bCancelClick},
    {.name = "bSync", .kind = ControlKind::FlatButton, .place = {44, 228, 134, 28},
     .caption = "Sincroniza\u00E7\u00E3o...", .tab = 8, .id = 108, .click = &ConfigForm::bSyncClick},
};
inline constexpr WindowTable<ConfigForm> kConfigWindow{"fundo_config", "Configurações", kConfigControls};

// ---- Sync window `formSync` ----

inline constexpr Control<SyncForm> kSyncControls[] = {
    {.name = "iHide", .kind = ControlKind::ClickArea, .place = kHideArea, .spoken = "Fechar",
     .click = &SyncForm::bFecharClick},
    {.name = "Label1", .kind = ControlKind::Label, .place = {44, 58, 300, 14},
     .caption = "Endere\u00E7o do servidor ou do calend\u00E1rio"},
    {.name = "eEndereco", .kind = ControlKind::TextField, .place = {44, 74, 358, 21}, .spoken = "Endere\u00E7o",
     .named_by = "Label1", .tab = 0, .id = 100},
    {.name = "Label2", .kind = ControlKind::Label, .place = {44, 102, 120, 14}, .caption = "Usu\u00E1rio"},
    {.name = "eUsuario", .kind = ControlKind::TextField, .place = {44, 118, 175, 21}, .named_by = "Label2", .tab = 1,
     .id = 101},
    {.name = "Label3", .kind = ControlKind::Label, .place = {227, 102, 120, 14}, .caption = "Senha"},
    {.name = "eSenha", .kind = ControlKind::PasswordField, .place = {227, 118, 175, 21}, .named_by = "Label3",
     .tab = 2, .id = 102},
    // The last sync or its error, or what the set-up is doing: a screen
    // reader reads the text itself.
    {.name = "lStatus", .kind = ControlKind::StatusText, .place = {44, 152, 358, 60}, .id = 107},
    {.name = "bSalvar", .kind = ControlKind::FlatButton, .place = {44, 228, 74, 28}, .caption = "Salvar", .tab = 3,
     .id = 103, .click = &SyncForm::bSalvarClick},
    {.name = "bSincronizar", .kind = ControlKind::FlatButton, .place = {124, 228, 118, 28},
     .caption = "Sincronizar agora", .tab = 4, .id = 104, .click = &SyncForm::bSincronizarClick},
    {.name = "bEsquecer", .kind = ControlKind::FlatButton, .place = {248, 228, 74, 28}, .caption = "Esquecer",
     .tab = 5, .id = 105, .click = &SyncForm::bEsquecerClick},
    {.name = "bFechar", .kind = ControlKind::FlatButton, .place = {328, 228, 74, 28}, .caption = "Fechar", .tab = 6,
     .id = 106, .click = &SyncForm::bFecharClick},
};
inline constexpr WindowTable<SyncForm> kSyncWindow{"fundo_sync", "Sincroniza\u00E7\u00E3o", kSyncControls};

// ---- Small boxes with a standard frame ----
// No picture and no rules of their own: the front-end answers their
// buttons, so their controls carry no handlers. Places are in the client
// area, whose size each box gives here.
struct PlainBox {};

// The wait box `formStatus`: one centred line, which the program sets,
// filling the client area under the title bar.
inline constexpr Size kStatusBoxClient{262, 47};
inline constexpr Control<PlainBox> kStatusBoxControls[] = {
    {.name = "lStatus", .kind = ControlKind::StatusText, .place = {0, 0, 262, 47}, .id = 1},
};
inline constexpr WindowTable<PlainBox> kStatusBox{nullptr, nullptr, kStatusBoxControls};

static_assert(kStatusBox["lStatus"].place == Rect{0, 0, kStatusBoxClient.width, kStatusBoxClient.height});

// The alert's time box of "Outro horário...": a time to snooze until.
// "OK" and "Cancelar" take the ids the dialog manager sends for Enter and Esc.
inline constexpr Size kSnoozeTimeClient{190, 64};
inline constexpr Control<PlainBox> kSnoozeTimeControls[] = {
    // "Hora" on the field text's line: Win32 writes it from the top of its
    // place, Qt centres it there.
    {.name = "Label1", .kind = ControlKind::Label, .place = {10, 15, 40, 15}, .caption = "Hora"},
    {.name = "eHora", .kind = ControlKind::TimeField, .place = {52, 12, 37, 21}, .named_by = "Label1", .tab = 0,
     .id = 100},
    {.name = "bOK", .kind = ControlKind::FlatButton, .place = {10, 38, 80, 21}, .caption = "OK", .tab = 1, .id = 1},
    {.name = "bCancel", .kind = ControlKind::FlatButton, .place = {100, 38, 80, 21}, .caption = "Cancelar", .tab = 2,
     .id = 2},
};
inline constexpr WindowTable<PlainBox> kSnoozeTimeBox{nullptr, "Adiar at\u00E9", kSnoozeTimeControls};

}  // namespace tavo::forms
