#pragma once
// The reminder window: entering (mode 0), alerting (mode 1) and altering
// (mode 2) one reminder, with the events text of its date below.

#include <cstdint>

#include "qt/app_state.h"
#include "store/tavo_data.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QFrame;

namespace tavo::gui {

class DateField;
class TGradBtn;

class TformLembrete : public SecondaryWindow {
  Q_OBJECT
 public:
  enum : uint8_t { kModeNew = 0, kModeAlert = 1, kModeAlter = 2 };
  static constexpr int kExpandedHeight = 266;
  static constexpr int kCollapsedHeight = 206;

  TformLembrete();

  int32_t ReminderIndex = 0;
  uint8_t Mode = kModeNew;
  TLembrete Reminder;

  // Turns an open alert window into an alter window (caption "Cancelar").
  void SwitchToAlterMode();

  DateField* eData = nullptr;
  QLineEdit* eHora = nullptr;
  QComboBox* cbRepeat = nullptr;
  QFrame* pLembrete = nullptr;
  QPlainTextEdit* mLembrete = nullptr;
  TGradBtn* bOK = nullptr;
  TGradBtn* bAlternate = nullptr;
  QScrollArea* scroll = nullptr;
  QLabel* lEventos = nullptr;

  void eDataExit();
  void eHoraExit();
  void eDataAcceptDate(double& date);
  void bOKClick();
  void bAlternateClick();
  void iExpandClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  bool shown_once_ = false;
};

// Opens a reminder window for a table position in a mode (nothing when the
// position is beyond the table).
void ShowLembrete(int32_t position, uint8_t mode);
// True when a reminder window in alert or alter mode shows the reminder with that Id.
bool IsLembreteOpen(int32_t id);

}  // namespace tavo::gui
