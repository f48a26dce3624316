#pragma once
// The reminder window: its widgets, as a view over forms::LembreteForm
// (entering, alerting and altering one reminder, with the events text of
// its date below).

#include "forms/lembrete_form.h"
#include "qt/shaped_window.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace tavo::gui {

class ClickSpot;
class DateField;
class ReminderMemo;
class SnoozeControl;
class TGradBtn;

class TformLembrete : public ShapedWindow, public forms::LembreteView {
  Q_OBJECT
 public:
  explicit TformLembrete(forms::Application& app);

  forms::LembreteForm form;

  DateField* eData = nullptr;
  QLineEdit* eHora = nullptr;
  QComboBox* cbRepeat = nullptr;
  QFrame* pLembrete = nullptr;
  ReminderMemo* mLembrete = nullptr;
  TGradBtn* bOK = nullptr;
  TGradBtn* bAlternate = nullptr;
  QScrollArea* scroll = nullptr;
  QLabel* lEventos = nullptr;
  ClickSpot* iExpand = nullptr;
  SnoozeControl* snooze = nullptr;  // "Adiar", alert mode only

  // forms::LembreteView
  void Close() override { close(); }
  void BringToFront() override;
  bool IsForeground() const override { return isActiveWindow(); }
  std::string DateText() const override;
  void SetDateText(const std::string& text) override;
  std::string TimeText() const override;
  void SetTimeText(const std::string& hhmm) override;
  int RepeatIndex() const override;
  void SetRepeatIndex(int index) override;
  std::string MemoText() const override;
  void SetMemoText(const std::string& text) override;
  void FocusMemo() override;
  void SetMemoColors(int32_t front, int32_t back) override;
  void SetAlternateCaption(const std::string& caption) override;
  void ShowEvents(const std::string& text, forms::Size size, bool red) override;
  int ClientHeight() const override { return height(); }
  void SetClientHeight(int h) override;
  forms::Rect Bounds() const override { return {x(), y(), width(), height()}; }
  void MoveTo(forms::Point top_left) override { move(top_left.x, top_left.y); }
  void SetWindowName(const std::string& name, bool alert) override;
  void ShowSnooze(bool shown) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool shown_once_ = false;
};

}  // namespace tavo::gui
