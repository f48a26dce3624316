#pragma once
// The settings window: its widgets, as a view over forms::ConfigForm (the
// colours of the reminder text, the alarm sound and the information option,
// edited on a private copy that only "OK" keeps).

#include "forms/config_form.h"
#include "qt/shaped_window.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tavo::gui {

class ColorSelector;
class TGradBtn;

class TformConfig : public ShapedWindow, public forms::ConfigView {
  Q_OBJECT
 public:
  explicit TformConfig(forms::Application& app);

  forms::ConfigForm form;

  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *lbInfo = nullptr;
  ColorSelector *csFront = nullptr, *csBack = nullptr;
  QPlainTextEdit* mExemplo = nullptr;
  QListWidget* lbWave = nullptr;
  QPushButton* bOuvir = nullptr;
  QCheckBox* cbInfo = nullptr;
  TGradBtn *bOK = nullptr, *bCancel = nullptr, *bSync = nullptr;

  static constexpr int kWidth = 417;
  static constexpr int kHeight = 278;

  // forms::ConfigView
  void Close() override { close(); }
  void BringToFront() override;
  bool IsForeground() const override { return isActiveWindow(); }
  void SetSoundEntries(const std::vector<std::string>& entries) override;
  int SelectedSound() const override;
  void SelectSound(int index) override;
  bool InfoChecked() const override;
  void SetInfoChecked(bool checked) override;
  void SetSelectorColors(int32_t front, int32_t back) override;
  void SetSampleColors(int32_t front, int32_t back) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tavo::gui
