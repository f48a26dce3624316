#include "qt/tavo_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QSystemTrayIcon>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "qt/app_state.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/message_box.h"
#include "qt/tray_menu.h"
#include "calendar/events_text.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/date_text.h"
#include "store/tavo_data.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_config.h"
#include "qt/tavo_list.h"
#include "qt/backup_commands.h"

namespace tavo::gui {

TformTAVO* formTAVO = nullptr;

bool ShuttingDown() { return formTAVO && formTAVO->ShuttingDown; }

namespace {

const QRect kHideArea(384, 13, 22, 22);

bool TrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

// With QUELVO_STARTUP_REPORT set, the moments that the start-up measurement
// and the end-to-end tests watch for go to standard error, one per line.
void Report(const std::string& line) {
  static const bool enabled = std::getenv("QUELVO_STARTUP_REPORT") != nullptr;
  if (enabled) std::fprintf(stderr, "%s\n", line.c_str());
}

void LoadLines(QWidget* owner, const std::string& path, TextLines& lines) {
  std::string bytes;
  lines.clear();
  if (!platform::ReadWholeFile(platform::Files(), path, &bytes)) {
    ShowGeneralError(owner, QStringLiteral("Cannot open file ") + QString::fromStdString(path) + QStringLiteral("."));
    return;
  }
  lines = SplitTextLines(bytes);
}

}  // namespace

void LoadCalendarFiles(QWidget* owner) {
  const std::string folder = AppDir + "dados" + platform::kPathSeparator + "datas" + platform::kPathSeparator;
  LoadLines(owner, folder + "santos.txt", SaintsList());
  LoadLines(owner, folder + "datas.txt", DatesList());
}

TformTAVO::TformTAVO(std::vector<std::string> arguments)
    : ShapedWindow(QStringLiteral(":/assets/fundo_main.bmp")), arguments_(std::move(arguments)) {
  formTAVO = this;
  SetMainWindow(this);
  setAttribute(Qt::WA_DeleteOnClose, false);
  FormCreate();
}

TformTAVO::~TformTAVO() {
  // FormDestroy: the table and the calendar lists are released; nothing is written.
  SetEntryCount(Lembretes, 0);
  SaintsList().clear();
  DatesList().clear();
  if (formTAVO == this) formTAVO = nullptr;
  SetMainWindow(nullptr);
}

void TformTAVO::FormCreate() {
  LoadCalendarFiles(this);
  LastCheckedMinute = -1;
  setWindowTitle(kAppTitle);
  if (!Picture().isNull()) setFixedSize(Picture().size());
  LastReminderPos = QPoint(-1, -1);

  const QFont font = ArialFont(13);
  struct ButtonPlace {
    TGradBtn** button;
    const char* caption;
    QRect rect;
    void (TformTAVO::*handler)();
  };
  const ButtonPlace buttons[] = {
      {&bNovo, "Incluir um novo lembrete", {57, 92, 157, 31}, &TformTAVO::bNovoClick},
      {&bLista, "Ler / Aterar Lembretes", {230, 92, 157, 31}, &TformTAVO::bListaClick},
      {&bDoBackup, "Gravar Backup", {57, 136, 157, 31}, &TformTAVO::bDoBackupClick},
      {&bRestoreBackup, "Restaurar Backup", {230, 136, 157, 31}, &TformTAVO::bRestoreBackupClick},
      {&bConfig, "Configurações", {57, 180, 157, 31}, &TformTAVO::bConfigClick},
      {&bFecha, "Encerrar o Programa", {230, 180, 157, 31}, &TformTAVO::bFechaClick},
      {&bHide, "Ocultar Janela", {294, 222, 93, 19}, &TformTAVO::bHideClick},
  };
  for (const ButtonPlace& s : buttons) {
    *s.button = new TGradBtn(QString::fromUtf8(s.caption), this, font);
    (*s.button)->setGeometry(s.rect);
    connect(*s.button, &QAbstractButton::clicked, this, s.handler);
  }
  setTabOrder(bNovo, bLista);
  setTabOrder(bLista, bDoBackup);
  setTabOrder(bDoBackup, bRestoreBackup);
  setTabOrder(bRestoreBackup, bConfig);
  setTabOrder(bConfig, bFecha);
  setTabOrder(bFecha, bHide);
  AddException(kHideArea, [this] { bHideClick(); });

  PopupMenu = new TrayMenu(this);
  QAction* pmNovo = PopupMenu->addAction(QStringLiteral("&Novo Lembrete"), this, &TformTAVO::bNovoClick);
  PopupMenu->setDefaultAction(pmNovo);
  PopupMenu->addAction(QStringLiteral("&Ler / Alterar Lembretes"), this, &TformTAVO::bListaClick);
  PopupMenu->addSeparator();
  PopupMenu->addAction(QStringLiteral("Gravar Backup dos Lembretes"), this, &TformTAVO::bDoBackupClick);
  PopupMenu->addAction(QStringLiteral("Restaurar Backup dos Lembretes"), this, &TformTAVO::bRestoreBackupClick);
  PopupMenu->addSeparator();
  PopupMenu->addAction(QStringLiteral("Exibir Menu Principal"), this, &TformTAVO::pmJanelaClick);
  PopupMenu->addAction(QStringLiteral("&Configurações"), this, &TformTAVO::bConfigClick);
  PopupMenu->addSeparator();
  PopupMenu->addAction(QStringLiteral("&Encerrar o Programa"), this, &TformTAVO::bFechaClick);

  rxTray = new QSystemTrayIcon(QIcon(QStringLiteral(":/assets/quelvo_tray.png")), this);
  rxTray->setContextMenu(PopupMenu);
  connect(rxTray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) PopupMenu->RunDefaultItem();
  });
  rxTray->show();

  timerCheca.setInterval(10000);
  connect(&timerCheca, &QTimer::timeout, this, &TformTAVO::timerChecaTimer);
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { WMQueryEndSession(); });

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

bool TformTAVO::event(QEvent* e) {
  if (e->type() == QEvent::Show && !first_activation_done_) {
    // The first showing decides MINIMIZE and starts the alarm loop.
    QTimer::singleShot(0, this, [this] { FirstActivation(); });
  } else if (e->type() == QEvent::WindowActivate && first_activation_done_) {
    MarkMainWindowShown();
  }
  return ShapedWindow::event(e);
}

void TformTAVO::FirstActivation() {
  if (first_activation_done_) return;
  first_activation_done_ = true;
  std::string only = arguments_.size() == 1 ? arguments_[0] : std::string();
  for (char& c : only) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (arguments_.size() == 1 && only == "MINIMIZE") {
    // Without a notification area the taskbar entry is the only way back.
    if (TrayAvailable()) hide(); else showMinimized();
    MinimizeApplication();
    MainWindowShown = false;
  } else {
    MainWindowShown = true;
  }
  timerCheca.start();
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  Report("janela-principal " + std::to_string(static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec));
}

void TformTAVO::MarkMainWindowShown() {
  // An activation that arrives after the window was hidden shows nothing.
  if (isVisible() && !isMinimized()) MainWindowShown = true;
}

void TformTAVO::bNovoClick() {
  auto* window = new TformLembrete();
  RestoreApplication();
  window->Mode = TformLembrete::kModeNew;
  BringToFront(window);
}

void TformTAVO::bListaClick() {
  OpenWindowOnce<TformList>();
}

void TformTAVO::bConfigClick() {
  OpenWindowOnce<TformConfig>();
}

void TformTAVO::bDoBackupClick() {
  DoBackup(this);
}

void TformTAVO::bRestoreBackupClick() {
  RestoreBackup(this);
}

void TformTAVO::bHideClick() {
  if (TrayAvailable()) hide(); else showMinimized();
  MainWindowShown = false;
  if (OwnedWindows().size() == 1) MinimizeApplication();
}

void TformTAVO::pmJanelaClick() {
  BringToFront(this);
  MainWindowShown = true;
  RestoreApplication();
}

void TformTAVO::bFechaClick() {
  const bool yes = AskYesNo(nullptr,
                            QStringLiteral("Encerrar o Quelvo irá paralizar a checagem de lembretes pendentes. "
                                           "Tem certeza de que deseja encerrar o programa?"),
                            BoxModality::System);
  if (!yes) return;
  ShuttingDown = true;
  close();
}

void TformTAVO::WMQueryEndSession() {
  ShuttingDown = true;
}

void TformTAVO::closeEvent(QCloseEvent* e) {
  if (!ShuttingDown) {
    // FormCloseQuery: a close request hides the window instead.
    e->ignore();
    bHideClick();
    return;
  }
  e->accept();
  // Other windows go with the application, without their close handlers.
  QCoreApplication::quit();
}

void TformTAVO::timerChecaTimer() {
  if (StoreBusy || ScanBusy) return;
  const int minute = platform::SystemClock().Now().Minute;
  if (minute == LastCheckedMinute) return;
  LastCheckedMinute = minute;
  CheckDueReminders();
}

void TformTAVO::CheckDueReminders() {
  struct ScanGuard {
    ScanGuard() { ScanBusy = true; }
    ~ScanGuard() { ScanBusy = false; }
  } scan;
  const double now = CurrentMinute();
  // Every entry up to and including the current minute is due.
  int32_t due = FindPosition(now);
  while (due < Lembretes.Count && !DateLess(now, Lembretes[due].DateTime)) ++due;
  bool sound_started = false;
  for (int32_t p = 0; p < due && p < Lembretes.Count; ++p) {
    if (IsLembreteOpen(Lembretes[p].Id)) continue;
    if (!sound_started) {
      if (!Config.WaveFile.empty() && platform::Files().Exists(Config.WaveFile)) {
        platform::Sound().PlayAsync(Config.WaveFile);
        Report("som " + Config.WaveFile);
      }
      sound_started = true;
    }
    ShowLembrete(p, TformLembrete::kModeAlert);
    Report("alerta " + std::to_string(p));
  }
}

}  // namespace tavo::gui
