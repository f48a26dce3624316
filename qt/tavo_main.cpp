#include "qt/tavo_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <chrono>

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
  struct ButtonPlace {
    TGradBtn** button;
    const char* caption;
    QRect rect;
    void (forms::MainForm::*handler)();
  };
  const ButtonPlace buttons[] = {
      {&bNovo, "Incluir um novo lembrete", {57, 92, 157, 31}, &forms::MainForm::bNovoClick},
      {&bLista, "Ler / Aterar Lembretes", {230, 92, 157, 31}, &forms::MainForm::bListaClick},
      {&bDoBackup, "Gravar Backup", {57, 136, 157, 31}, &forms::MainForm::bDoBackupClick},
      {&bRestoreBackup, "Restaurar Backup", {230, 136, 157, 31}, &forms::MainForm::bRestoreBackupClick},
      {&bConfig, "Configurações", {57, 180, 157, 31}, &forms::MainForm::bConfigClick},
      {&bFecha, "Encerrar o Programa", {230, 180, 157, 31}, &forms::MainForm::bFechaClick},
      {&bHide, "Ocultar Janela", {294, 222, 93, 19}, &forms::MainForm::bHideClick},
  };
  for (const ButtonPlace& s : buttons) {
    *s.button = new TGradBtn(QString::fromUtf8(s.caption), this, font);
    (*s.button)->setGeometry(s.rect);
    connect(*s.button, &QAbstractButton::clicked, this, [this, h = s.handler] { (form.*h)(); });
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
  connect(&timerCheca, &QTimer::timeout, this, [this] { form.timerChecaTimer(); });
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { form.WMQueryEndSession(); });

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

TformTAVO::~TformTAVO() { form.FormDestroy(); }

bool TformTAVO::event(QEvent* e) {
  if (e->type() == QEvent::Show && !form.FirstActivationDone()) {
    // The first showing decides MINIMIZE and starts the alarm loop.
    QTimer::singleShot(0, this, [this] {
      if (!form.FirstActivationDone()) form.Activated();
    });
  } else if (e->type() == QEvent::WindowActivate && form.FirstActivationDone()) {
    form.Activated();
  }
  return ShapedWindow::event(e);
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
