#pragma once
// The settings window: the colours of the reminder text, the alarm sound and
// the information option, edited on a private copy that only "OK" keeps.

#include <QStringList>
#include <functional>

#include "qt/app_state.h"
#include "store/config.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tavo::gui {

class ColorSelector;
class TGradBtn;

class TformConfig : public SecondaryWindow {
  Q_OBJECT
 public:
  TformConfig();

  // The settings being edited; Config changes only in bOKClick.
  TConfig EditedConfig;
  // Names (with extension) of the wave files of the sound folder, sorted.
  QStringList WaveList;

  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *lbInfo = nullptr;
  ColorSelector *csFront = nullptr, *csBack = nullptr;
  QPlainTextEdit* mExemplo = nullptr;
  QListWidget* lbWave = nullptr;
  QPushButton* bOuvir = nullptr;
  QCheckBox* cbInfo = nullptr;
  TGradBtn *bOK = nullptr, *bCancel = nullptr;

  static inline const QString kOtherSound = QStringLiteral("[Outro som...]");
  static constexpr int kWidth = 417;
  static constexpr int kHeight = 278;

  void csFrontChangeColor();
  void csBackChangeColor();
  void lbWaveClick();
  void bOuvirClick();
  void cbInfoClick();
  void lbInfoClick();
  void bOKClick();
  void bCancelClick();
  void iHideClick();

  // A test's stand-in for the open dialog of sounds: returns the chosen path,
  // or an empty text for a cancelled dialog. Empty: the real dialog again.
  static void SetOpenDialogAnswer(std::function<QString()> answer);

 private:
  void FormCreate();
  // The sound folder, with a trailing separator.
  static std::string SoundFolder();
  void ShowSampleColors();
};

}  // namespace tavo::gui
