#pragma once
// What assistive technology and the keyboard get from the windows beyond Qt's
// own: the roles of the shaped windows (an alert for a due reminder), the
// click spots of the background pictures as buttons, names for scroll bars,
// Enter on buttons, and key events as the rules number them.

class QAbstractButton;
class QKeyEvent;
class QWidget;

namespace tavo::gui {

// Installs the accessibility factory for the program's own widget classes;
// later calls do nothing.
void InstallAccessibility();

// Names the scroll bars inside `root` that have no name yet by their direction.
void NameScrollBars(QWidget* root);

// Makes Enter (or the keypad's Enter) click the focused button, as Space does.
void ClickOnEnter(QAbstractButton* button);

// A key event as a virtual-key code of forms/keys.h; 0 for the keys the
// rules do not know.
int VirtualKey(const QKeyEvent& event);

}  // namespace tavo::gui
