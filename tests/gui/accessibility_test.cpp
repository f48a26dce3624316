// What the widgets add for a screen reader and for the keyboard alone: the
// windows' roles and names, the picture spots as buttons, and the keys of
// each window.
// The rules behind the keys are tested in tests/forms/; the whole program is
// walked through AT-SPI (where the focus reports are seen too) and used by
// real keys in tests/e2e/.

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

#include "qt/color_selector.h"
#include "qt/date_field.h"
#include "qt/grad_btn.h"
#include "qt/gui_common.h"
#include "qt/list_grid.h"
#include "qt/reminder_memo.h"
#include "qt/shaped_window.h"
#include "qt/sync_window.h"
#include "qt/tavo_config.h"
#include "qt/tavo_lembrete.h"
#include "qt/tavo_list.h"
#include "store/config.h"
#include "store/tavo_data.h"
#include "support/gui_fixture.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {


QAccessibleInterface* Accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

QString Name(QObject* object) { return Accessible(object)->text(QAccessible::Name); }

// The next control the Tab key reaches.
QWidget* NextTabStop(QWidget* w) {
  QWidget* next = w->nextInFocusChain();
  while (next != w && !(next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)))
    next = next->nextInFocusChain();
  return next;
}

// A key press as the keyboard delivers it (also keys QTest cannot type).
void PressKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods);
  QApplication::sendEvent(w, &release);
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

  GuiStore store_;  // now: Thursday 20/06/2024 14:35:12

  QString Sons() const { return store_.Folder() + "/dados/sons/"; }

  TformLembrete* OpenNew() { return OpenNewLembrete(store_); }
  TformLembrete* OpenStored(int32_t position, uint8_t mode) {
    store_.app().ShowLembrete(position, mode);
    return WindowOf<TformLembrete>(store_.app().OwnedWindows().back());
  }
  TformList* OpenList() {
    auto* w = WindowOf<TformList>(&store_.app().OpenWindowOnce(forms::WindowKind::List));
    w->activateWindow();
    return QTest::qWaitForWindowActive(w) ? w : nullptr;
  }
  TformConfig* OpenConfig() {
    return WindowOf<TformConfig>(&store_.app().OpenWindowOnce(forms::WindowKind::Config));
  }

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }

  void init() {
    QVERIFY(store_.SetUp(QStringLiteral("dados/sons")));
    for (const char* name : {"gongo.wav", "sino.wav"}) {
      QFile f(Sons() + name);
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
  }

  void cleanup() { store_.TearDown(); }

  // --- what a screen reader is told ---------------------------------------

  void aDueReminderIsAnAlertThatSaysWhatIsDue() {
    Add(store_.store(), At(2024, 6, 20, 14, 30), "Tomar o rem\xE9" "dio");
    TformLembrete* w = OpenStored(0, forms::LembreteForm::kModeAlert);
    QCOMPARE(Accessible(w)->role(), QAccessible::AlertMessage);
    QCOMPARE(Name(w), QStringLiteral("Lembrete: 20/06/2024 14:30 — Tomar o remédio"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvo 3.0"));
    // The list's "Alterar" turns it into the alter window, and it says so.
    w->form.SwitchToAlterMode();
    QCOMPARE(Accessible(w)->role(), QAccessible::Dialog);
    QCOMPARE(Name(w), QStringLiteral("Alterar lembrete"));
    QCOMPARE(Name(OpenNew()), QStringLiteral("Novo lembrete"));
  }

  void thePictureSpotsAreButtonsThatActAndTellTheirState() {
    TformLembrete* w = OpenNew();
    QAccessibleInterface* corner = Accessible(w->iExpand);
    QCOMPARE(corner->role(), QAccessible::Button);
    QCOMPARE(corner->text(QAccessible::Name), QStringLiteral("Mostrar informações do dia"));
    QVERIFY(corner->state().checkable && corner->state().checked);
    corner->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(w->height(), 206);
    QVERIFY(!corner->state().checked);

    TformList* list = OpenList();
    QVERIFY(list);
    QPointer<TformList> alive(list);
    ClickSpot* hide = list->findChild<ClickSpot*>();
    QVERIFY(hide);
    QCOMPARE(Name(hide), QStringLiteral("Fechar"));
    Accessible(hide)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    Flush();
    QVERIFY(alive.isNull());
  }

  void theSyncWindowNamesItsFieldsAndTabsThroughThemToItsButtons() {
    auto* w = WindowOf<TformSync>(&store_.app().OpenWindowOnce(forms::WindowKind::Sync));
    QVERIFY(w);
    QCOMPARE(Accessible(w)->role(), QAccessible::Dialog);
    QCOMPARE(Name(w), QStringLiteral("Sincronização"));
    QCOMPARE(Name(w->eEndereco), QStringLiteral("Endereço"));
    QCOMPARE(Name(w->eUsuario), QStringLiteral("Usuário"));
    QCOMPARE(Name(w->eSenha), QStringLiteral("Senha"));
    QCOMPARE(Name(w->findChild<ClickSpot*>()), QStringLiteral("Fechar"));
    // Without a sync behind it (a reading copy) only "Fechar" takes input, and says why.
    QCOMPARE(Name(w->lStatus), QStringLiteral("A sincronização não está disponível nesta cópia do programa."));
    QCOMPARE(NextTabStop(w->bFechar), static_cast<QWidget*>(w->bFechar));
    w->eEndereco->setEnabled(true);
    w->eUsuario->setEnabled(true);
    w->eSenha->setEnabled(true);
    w->bSalvar->setEnabled(true);
    QCOMPARE(NextTabStop(w->eEndereco), static_cast<QWidget*>(w->eUsuario));
    QCOMPARE(NextTabStop(w->eUsuario), static_cast<QWidget*>(w->eSenha));
    QCOMPARE(NextTabStop(w->eSenha), static_cast<QWidget*>(w->bSalvar));
    QCOMPARE(NextTabStop(w->bSalvar), static_cast<QWidget*>(w->bFechar));
    QPointer<TformSync> alive(w);
    QTest::keyClick(w->eSenha, Qt::Key_Escape);
    Flush();
    QVERIFY(alive.isNull());
  }

  // --- keys -----------------------------------------------------------------

  void enterClicksTheFocusedButtonAsSpaceDoes() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "listado");
    TformList* list = OpenList();
    QVERIFY(list);
    QTest::keyClick(list->bListar, Qt::Key_Return);
    QCOMPARE(list->form.ListedEntries.Count, 1);
    QTest::keyClick(list->bAlter, Qt::Key_Return, Qt::ShiftModifier);  // not Enter alone
    QVERIFY(store_.Windows<TformLembrete>().empty());
    QTest::keyClick(list->bAlter, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(store_.Windows<TformLembrete>().size(), size_t{1});
  }

  void escapeClosesTheReminderListAndSettingsWindowsWithoutChanges() {
    Add(store_.store(), At(2024, 6, 20, 14, 30), "Fica");
    QPointer<TformLembrete> fresh(OpenNew());
    QTest::keyClicks(fresh->mLembrete, QStringLiteral("texto"));
    QTest::keyClick(fresh->mLembrete, Qt::Key_Escape);
    QPointer<TformLembrete> alert(OpenStored(0, forms::LembreteForm::kModeAlert));
    QTest::keyClick(alert->eHora, Qt::Key_Escape);
    QPointer<TformList> list(OpenList());
    QTest::keyClick(list->eInicio, Qt::Key_Escape);
    QPointer<TformConfig> settings(OpenConfig());
    settings->form.csFrontChangeColor(0xFF);
    QTest::keyClick(settings->lbWave, Qt::Key_Escape);
    Flush();
    QVERIFY(fresh.isNull() && alert.isNull() && list.isNull() && settings.isNull());
    QVERIFY(store_.boxes.empty());
    QCOMPARE(store_.store().Lembretes.Count, 1);  // the due reminder stays
    QCOMPARE(store_.store().Config.FrontColor, 0);
  }

  void theListTextIsReachedByTabAndOnlyRead() {
    Add(store_.store(), At(2024, 6, 21, 9, 0), "so para ler");
    TformList* list = OpenList();
    QVERIFY(list);
    list->bListar->click();
    QCOMPARE(NextTabStop(list->gridLembretes), static_cast<QWidget*>(list->mTexto));
    QCOMPARE(NextTabStop(list->mTexto), static_cast<QWidget*>(list->bPrintList));
    QTest::keyClicks(list->mTexto, QStringLiteral("xyz"));
    QCOMPARE(list->mTexto->toPlainText(), QStringLiteral("so para ler"));
  }

  void ctrlIClosesTheEventsAreaAndTakesItOutOfTheTabOrder() {
    TformLembrete* w = OpenNew();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(NextTabStop(w->bAlternate), static_cast<QWidget*>(w->scroll));
    w->scroll->setFocus();
    PressKey(w->scroll, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(w->height(), 206);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->mLembrete));
    QCOMPARE(NextTabStop(w->bAlternate), static_cast<QWidget*>(w->eData));
    PressKey(w->mLembrete, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(w->height(), 266);
    QCOMPARE(NextTabStop(w->bAlternate), static_cast<QWidget*>(w->scroll));
    QTest::keyClick(w->mLembrete, Qt::Key_I);  // a plain I is typed
    QCOMPARE(w->mLembrete->toPlainText(), QStringLiteral("i"));
  }

  void arrowsPassOverOtherSoundAndEnterOpensItsDialog() {
    TformConfig* w = OpenConfig();
    w->lbWave->setFocus();
    w->lbWave->setCurrentRow(0);
    QTest::keyClick(w->lbWave, Qt::Key_Down);  // "sino"
    QTest::keyClick(w->lbWave, Qt::Key_Down);  // "[Outro som...]"
    QCOMPARE(w->lbWave->currentItem()->text(), QStringLiteral("[Outro som...]"));
    QCOMPARE(store_.file_dialogs, 0);
    QCOMPARE(QString::fromStdString(w->form.EditedConfig.WaveFile), Sons() + "sino.wav");
    QTest::keyClick(w->lbWave, Qt::Key_Return);  // cancelled: no sound, as the click means
    QCOMPARE(store_.file_dialogs, 1);
    QVERIFY(w->form.EditedConfig.WaveFile.empty());
  }

  void thePaletteIsWorkedByArrowsEnterAndEscape() {
    TformConfig* w = OpenConfig();
    QTest::keyClick(w->csFront, Qt::Key_Return);
    ColorPalette* palette = w->csFront->OpenPalette();
    QVERIFY(palette);
    QCOMPARE(palette->focusWidget(), static_cast<QWidget*>(palette->ItemOf(1)));  // black, the current colour
    QTest::keyClick(palette->focusWidget(), Qt::Key_Down);
    QCOMPARE(palette->Marked(), 5);
    QCOMPARE(Name(palette->focusWidget()), QStringLiteral("marrom"));
    QTest::keyClick(palette->focusWidget(), Qt::Key_Return);
    Flush();
    QVERIFY(!w->csFront->OpenPalette());
    QCOMPARE(w->csFront->Color(), 0x000080);
    QCOMPARE(w->form.EditedConfig.FrontColor, 0x000080);
    QCOMPARE(Name(w->csFront), QStringLiteral("Cor do texto: marrom"));

    QTest::keyClick(w->csFront, Qt::Key_Space);
    palette = w->csFront->OpenPalette();
    QVERIFY(palette);
    QTest::keyClick(palette->focusWidget(), Qt::Key_Left);
    QTest::keyClick(palette->focusWidget(), Qt::Key_Escape);
    Flush();
    QVERIFY(!w->csFront->OpenPalette());
    QCOMPARE(w->csFront->Color(), 0x000080);

    // A screen reader's press on a swatch picks it too.
    w->csFront->DropDown();
    palette = w->csFront->OpenPalette();
    Accessible(palette->ItemOf(12))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(w->csFront->Color(), 0xFF0000);  // blue
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
