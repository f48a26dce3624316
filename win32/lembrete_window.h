#pragma once
// The reminder window `formLembrete`: the yellow note with the date, time and
// repetition fields, the reminder text, two buttons and the events area
// below them.

#include "forms/lembrete_form.h"
#include "win32/controls.h"
#include "win32/shaped_window.h"
#include "win32/snooze_menu.h"

namespace tavo::win32 {

class LembreteWindow : public ShapedWindow, public forms::LembreteView {
 public:
  explicit LembreteWindow(forms::Application& app);

  forms::LembreteForm form;
  DateField eData;
  MaskedEdit eHora;
  ComboBox cbRepeat;
  Memo mLembrete;
  FlatButton bOK, bAlternate;
  ScrollText scroll;
  SnoozeControl snooze{form};  // "Adiar", alert mode only

  // forms::WindowView
  void Close() override;
  void BringToFront() override;
  bool IsForeground() const override;
  // forms::LembreteView
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
  int ClientHeight() const override;
  void SetClientHeight(int height) override;
  forms::Rect Bounds() const override;
  void MoveTo(forms::Point top_left) override;
  void SetWindowName(const std::string& name, bool alert) override;
  void ShowSnooze(bool shown) override;

 protected:
  void FormClose() override;
  bool FormKeyDown(WPARAM key) override;
  void PaintOver(HDC dc) override;

 private:
  bool shown_ = false;
  bool alert_ = false;
  COLORREF panel_ = RGB(255, 255, 0);
};

}  // namespace tavo::win32
