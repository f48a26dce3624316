#include "qt/accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QScrollBar>

#include "forms/keys.h"
#include "qt/shaped_window.h"

namespace tavo::gui {
namespace {

namespace keys = forms::keys;

// A shaped window, with the role the window gives itself (it may change, as
// when an alert window becomes an alter window).
class WindowAccessible : public QAccessibleWidget {
 public:
  explicit WindowAccessible(ShapedWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}
  QAccessible::Role role() const override { return static_cast<ShapedWindow*>(widget())->AccessibleRole(); }
};

// A click spot: a button whose press runs the spot's action while it has a
// name, plain surface otherwise.
class SpotAccessible : public QAccessibleWidget {
 public:
  explicit SpotAccessible(ClickSpot* spot) : QAccessibleWidget(spot, QAccessible::Button) {}
  QAccessible::Role role() const override { return Named() ? QAccessible::Button : QAccessible::Client; }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = Named() && Spot()->Checkable();
    state.checked = Named() && Spot()->Checked();
    return state;
  }
  QStringList actionNames() const override { return Named() ? QStringList{pressAction()} : QStringList{}; }
  void doAction(const QString& action) override {
    if (Named() && action == pressAction()) Spot()->Press();
  }

 private:
  ClickSpot* Spot() const { return static_cast<ClickSpot*>(widget()); }
  bool Named() const { return !widget()->accessibleName().isEmpty(); }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (auto* window = qobject_cast<ShapedWindow*>(object)) return new WindowAccessible(window);
  if (auto* spot = qobject_cast<ClickSpot*>(object)) return new SpotAccessible(spot);
  return nullptr;
}

class EnterClicks : public QObject {
 public:
  explicit EnterClicks(QAbstractButton* button) : QObject(button) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (VirtualKey(*key) != keys::kReturn || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    static_cast<QAbstractButton*>(watched)->click();
    return true;
  }
};

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

void NameScrollBars(QWidget* root) {
  for (QScrollBar* bar : root->findChildren<QScrollBar*>()) {
    if (!bar->accessibleName().isEmpty()) continue;
    bar->setAccessibleName(bar->orientation() == Qt::Vertical ? QStringLiteral("Rolagem vertical")
                                                                : QStringLiteral("Rolagem horizontal"));
  }
}

void ClickOnEnter(QAbstractButton* button) { button->installEventFilter(new EnterClicks(button)); }

int VirtualKey(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return keys::kReturn;
    case Qt::Key_Escape: return keys::kEscape;
    case Qt::Key_Space: return keys::kSpace;
    case Qt::Key_Left: return keys::kLeft;
    case Qt::Key_Up: return keys::kUp;
    case Qt::Key_Right: return keys::kRight;
    case Qt::Key_Down: return keys::kDown;
    case Qt::Key_Delete: return keys::kDelete;
    case Qt::Key_Cancel: return keys::kCancel;
    default: break;
  }
  if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) return 'A' + (event.key() - Qt::Key_A);
  // Ctrl+Break: under X11, Ctrl turns the Pause key into the keysym Break,
  // for which Qt has no key code.
  constexpr quint32 kX11BreakKeysym = 0xFF6B;
  if ((event.modifiers() & Qt::ControlModifier) &&
      (event.key() == Qt::Key_Pause || (event.key() == 0 && event.nativeVirtualKey() == kX11BreakKeysym)))
    return keys::kCancel;
  return 0;
}

}  // namespace tavo::gui
