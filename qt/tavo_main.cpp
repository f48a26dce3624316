#include "qt/tavo_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <chrono>
#include <iterator>

#include "platform/show_request.h"
#include "qt/accessibility.h"
#include "qt/desktop_qt.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/tray_menu.h"

namespace tavo::gui {
namespace {

bool TrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace

TformTAVO::TformTAVO(forms::Application& app, std::vector<std::string> arguments)
    : ShapedWindow(QStringLiteral(":/assets/fundo_main.bmp")), form(app, *this, std::move(arguments)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  form.FormCreate();

  const QFont font = ArialFont(13);
  TGradBtn** buttons[] = {&bNovo, &bLista, &bDoBackup, &bRestoreBackup, &bConfig, &bFecha, &bHide};
  static_assert(std::size(buttons) == std::size(forms::kMainButtons));
  for (size_t i = 0; i < std::size(buttons); ++i) {
    const forms::MainButton& b = forms::kMainButtons[i];
    *buttons[i] = new TGradBtn(QString::fromUtf8(b.caption), this, font);
    (*buttons[i])->setGeometry(b.place.left, b.place.top, b.place.width, b.place.height);
    connect(*buttons[i], &QAbstractButton::clicked, this, [this, h = b.handler] { (form.*h)(); });
  }
  setTabOrder(bNovo, bLista);
  setTabOrder(bLista, bDoBackup);
  setTabOrder(bDoBackup, bRestoreBackup);
  setTabOrder(bRestoreBackup, bConfig);
  setTabOrder(bConfig, bFecha);
  setTabOrder(bFecha, bHide);
  ClickSpot* iHide = AddException(forms::kHideArea, [this] { form.bHideClick(); });

  // What a screen reader says; the captions on screen stay as they are, the
  // one with a slip of the pen included.
  setAccessibleName(QStringLiteral("Quelvo 3.0 — Menu principal"));
  iHide->setAccessibleName(bHide->text());
  bLista->setAccessibleName(QStringLiteral("Ler / Alterar Lembretes"));

  PopupMenu = new TrayMenu(this);
  auto item = [this](const char* caption, void (forms::MainForm::*handler)()) {
    return PopupMenu->addAction(QString::fromUtf8(caption), this, [this, handler] { (form.*handler)(); });
  };
  PopupMenu->setDefaultAction(item("&Novo Lembrete", &forms::MainForm::bNovoClick));
  item("&Ler / Alterar Lembretes", &forms::MainForm::bListaClick);
  PopupMenu->addSeparator();
  item("Gravar Backup dos Lembretes", &forms::MainForm::bDoBackupClick);
  item("Restaurar Backup dos Lembretes", &forms::MainForm::bRestoreBackupClick);
  item("Exportar Calendário", &forms::MainForm::pmExportCalendarClick);
  item("Importar Calendário", &forms::MainForm::pmImportCalendarClick);
  PopupMenu->addSeparator();
  item("Exibir Menu Principal", &forms::MainForm::pmJanelaClick);
  item("&Configurações", &forms::MainForm::bConfigClick);
  PopupMenu->addSeparator();
  item("&Encerrar o Programa", &forms::MainForm::bFechaClick);

  rxTray = new QSystemTrayIcon(QIcon(QStringLiteral(":/assets/quelvo_tray.png")), this);
  rxTray->setContextMenu(PopupMenu);
  connect(rxTray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) PopupMenu->RunDefaultItem();
  });
  rxTray->show();

  timerCheca.setInterval(10000);
  connect(&timerCheca, &QTimer::timeout, this, [this] {
    const int checked = form.LastCheckedMinute;
    form.timerChecaTimer();
    // Tests wait on this line to know a check has run to its end.
    if (form.LastCheckedMinute != checked) Report("checagem");
  });
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { form.WMQueryEndSession(); });

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

TformTAVO::~TformTAVO() { form.FormDestroy(); }

bool TformTAVO::event(QEvent* e) {
  if (e->type() == QEvent::Show && !form.FirstActivationDone()) {
    QTimer::singleShot(0, this, [this] {
      if (form.FirstActivationDone()) return;
      // The first showing decides MINIMIZE and starts the alarm loop.
      form.Activated();
      // A window manager need not give the focus to a window mapped by a
      // program started from a script, but grants an explicit request. Later
      // showings all go through BringToFront.
      if (form.App().MainWindowShown) gui::BringToFront(this);
    });
  } else if (e->type() == QEvent::WindowActivate && form.FirstActivationDone()) {
    form.Activated();
  }
  return ShapedWindow::event(e);
}

void TformTAVO::WatchShowRequests(platform::ShowRequestListener& requests) {
  if (requests.WaitHandle() < 0) return;
  auto* notifier = new QSocketNotifier(requests.WaitHandle(), QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this, &requests] {
    if (requests.TakeRequests()) form.pmJanelaClick();
  });
}

void TformTAVO::BringToFront() { gui::BringToFront(this); }

void TformTAVO::HideWindow() {
  // Without a notification area the taskbar entry is the only way back.
  if (TrayAvailable()) hide();
  else showMinimized();
}

void TformTAVO::StartTimer() {
  timerCheca.start();
  // Nanoseconds since 1970, as `date +%s%N` gives them to bench/startup.
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  Report("janela-principal " + std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

void TformTAVO::closeEvent(QCloseEvent* e) {
  if (!form.FormCloseQuery()) {
    e->ignore();
    return;
  }
  e->accept();
  // Other windows go with the application, without their close handlers.
  QCoreApplication::quit();
}

}  // namespace tavo::gui
