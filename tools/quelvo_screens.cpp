// Takes the README's screenshots: the program's windows on an X display
// (Xvfb), captured from the screen so the shaped outlines show the desktop.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "forms/background_sync.h"
#include "qt/date_field.h"
#include "qt/desktop_qt.h"
#include "qt/dialogs.h"
#include "qt/gui_common.h"
#include "qt/grad_btn.h"
#include "qt/status.h"
#include "qt/tavo_main.h"
#include "qt/tray_menu.h"
#include "calendar/events_text.h"
#include "platform/testing/test_platform.h"
#include "store/date_text.h"
#include "store/tavo_data.h"
#include "qt/snooze_menu.h"
#include "qt/tavo_lembrete.h"
#include "qt/sync_window.h"

using namespace tavo;

namespace {

void Settle(int ms) {
  for (int i = 0; i < ms / 20; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(20);
  }
}

void Shot(const QString& path) {
  Settle(600);
  QGuiApplication::primaryScreen()->grabWindow(0).save(path);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
  const QString source = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(".");
  gui::InstallFontSubstitutes();
  gui::InstallPortuguese();
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("dados/datas"));
  for (const char* name : {"santos.txt", "datas.txt"})
    QFile::copy(source + QStringLiteral("/assets/datas/") + QLatin1String(name),
                dir.path() + QStringLiteral("/dados/datas/") + QLatin1String(name));
  platform::MemoryRegistry registry;
  platform::SetRegistryForTesting(&registry);
  platform::SetProgramFolder(dir.path().toStdString());
  Store store;
  store.Open();
  TLembrete r;
  r.DateTime = CurrentMinute() - 1.0 / 1440;
  r.Text = gui::ToCp(QStringLiteral("Reunião com a equipe às 15h.\r\nLevar o relatório do trimestre."));
  store.AddLembrete(r);

  // A coloured desktop behind the windows, so their cut-out outlines show.
  QWidget desktop(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
  desktop.setAutoFillBackground(true);
  desktop.setPalette(QPalette(QColor(58, 110, 165)));
  desktop.setGeometry(QGuiApplication::primaryScreen()->geometry());
  desktop.show();
  Settle(200);

  gui::QtDesktop quelvo_desktop(store);
  gui::SetTheDesktop(&quelvo_desktop);
  gui::TformTAVO main_window(quelvo_desktop.app(), {});
  main_window.move(60, 50);
  main_window.show();
  main_window.activateWindow();
  Settle(200);
  // A focused flat button: the dotted rectangle inside its edge.
  main_window.bNovo->setFocus();
  Shot(out + QStringLiteral("/principal.png"));
  {
    gui::TformStatus status(&main_window);
    status.ShowText(QStringLiteral("Aguarde. Imprimindo..."));
    Shot(out + QStringLiteral("/aguarde.png"));
  }
  main_window.PopupMenu->popup(QPoint(520, 120));
  Shot(out + QStringLiteral("/menu.png"));
  main_window.PopupMenu->hide();
  quelvo_desktop.app().LastReminderPos = {480, 40};
  quelvo_desktop.app().ShowLembrete(0, forms::LembreteForm::kModeAlert);
  Shot(out + QStringLiteral("/alerta.png"));
  for (const forms::Form* f : quelvo_desktop.app().OwnedWindows())
    if (auto* alert = gui::WindowOf<gui::TformLembrete>(f)) alert->eData->DropDown();
  Shot(out + QStringLiteral("/calendario.png"));
  // The alert's "Adiar" menu, its first choice selected, the calendar closed.
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  for (const forms::Form* f : quelvo_desktop.app().OwnedWindows())
    if (auto* alert = gui::WindowOf<gui::TformLembrete>(f)) {
      alert->activateWindow();
      Settle(200);
      alert->snooze->PopUp();
      alert->snooze->menu->setActiveAction(alert->snooze->menu->actions().first());
    }
  Shot(out + QStringLiteral("/adiar.png"));
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();

  quelvo_desktop.app().CloseReminderWindows();
  Settle(100);
  // The sync window, a set-up typed in, over the program's own background sync.
  forms::BackgroundSync sync(store);
  quelvo_desktop.app().Sync = &sync;
  main_window.form.pmSyncClick();
  for (const forms::Form* f : quelvo_desktop.app().OwnedWindows())
    if (auto* w = gui::WindowOf<gui::TformSync>(f)) {
      w->move(480, 40);
      w->eEndereco->setText(QStringLiteral("https://agenda.exemplo.com.br/"));
      w->eUsuario->setText(QStringLiteral("ana"));
      w->eSenha->setText(QStringLiteral("s3nha"));
      w->eSenha->setFocus();
    }
  Shot(out + QStringLiteral("/sincronizacao.png"));
  for (const forms::Form* f : std::vector<forms::Form*>(quelvo_desktop.app().OwnedWindows()))
    if (auto* w = gui::WindowOf<gui::TformSync>(f)) w->close();
  Settle(100);
  quelvo_desktop.app().Sync = nullptr;

  // The summary of a calendar import, its details unfolded.
  QTimer look;
  look.setInterval(50);
  QObject::connect(&look, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    look.stop();
    box->move(480, 60);
    for (QAbstractButton* b : box->buttons())
      if (box->buttonRole(b) == QMessageBox::ActionRole) b->click();
    Shot(out + QStringLiteral("/importar.png"));
    box->accept();
  });
  look.start();
  gui::ShowDetailedMessage(&main_window, QStringLiteral("2 lembretes importados, 2 ignorados"),
                           QStringLiteral("ignorado: Reunião antiga: já passou\n"
                                          "importado só o próximo: Aula de violão\n"
                                          "ignorado: Cancelada: cancelado"),
                           forms::BoxIcon::Information, forms::BoxModality::Task);
  return 0;
}
