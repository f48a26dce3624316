#include "qt/tavo_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <chrono>

#include "platform/show_request.h"
#include "qt/accessibility.h"
#include "qt/desktop_qt.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/tray_menu.h"
#include "qt/window_table.h"

namespace tavo::gui {
namespace {

bool TrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace

TformTAVO::TformTAVO(forms::Application& app, std::vector<std::string> arguments)
    : ShapedWindow(PictureResource(forms::kMainWindow)), form(app, *this, std::move(arguments)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  form.FormCreate();

  const QFont font = ArialFont(13);
  const auto& table = forms::kMainWindow;
  bNovo = MakeFlatButton(this, table["bNovo"], font, form);
  bLista = MakeFlatButton(this, table["bLista"], font, form);
  bDoBackup = MakeFlatButton(this, table["bDoBackup"], font, form);
  bRestoreBackup = MakeFlatButton(this, table["bRestoreBackup"], font, form);
  bConfig = MakeFlatButton(this, table["bConfig"], font, form);
  bFecha = MakeFlatButton(this, table["bFecha"], font, form);
  bHide = MakeFlatButton(this, table["bHide"], font, form);
  MakeClickArea(this, table["iHide"], form);
  FinishControls(this, table);
  setAccessibleName(FromUtf8(std::string(forms::kAppTitle) + " — " + table.spoken));

  PopupMenu = new TrayMenu(this);
  for (const auto& item : forms::kTrayMenu.controls) {
    if (item.kind == forms::ControlKind::MenuSeparator) {
      PopupMenu->addSeparator();
      continue;
    }
    QAction* action = PopupMenu->addAction(FromUtf8(item.caption), this, [this, h = item.click] { (form.*h)(); });
    action->setObjectName(QString::fromUtf8(item.name));
    if (&item == &forms::kTrayMenu.controls.front()) PopupMenu->setDefaultAction(action);
  }

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
  timerSync.setInterval(1000);
  connect(&timerSync, &QTimer::timeout, this, [this] { form.timerSyncTimer(); });
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
  timerSync.start();
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
