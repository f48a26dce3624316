#pragma once
// The settings window: the colours of the reminder text, the alarm sound and
// the information option, edited on a private copy that only "OK" keeps.

#include <cstdint>
#include <string>
#include <vector>

#include "forms/form.h"
#include "store/config.h"

namespace tavo::forms {

// The settings window's controls, as its rules read and set them. The view
// runs the form's FormCreate once its controls exist, FormClose from its
// close event, and the handlers from its controls' events (lbWaveClick for a
// click on the sound list, lbWaveSelectionMoved when the keyboard moves its
// selection).
class ConfigView : public WindowView {
 public:
  // `lbWave`: the entries, and the selected one (-1 for none). Selecting
  // from the program runs no handler.
  virtual void SetSoundEntries(const std::vector<std::string>& entries) = 0;
  virtual int SelectedSound() const = 0;
  virtual void SelectSound(int index) = 0;
  // `cbInfo`. Setting it from the program runs no handler.
  virtual bool InfoChecked() const = 0;
  virtual void SetInfoChecked(bool checked) = 0;
  // `csFront`, `csBack`: their colours, set without change events.
  virtual void SetSelectorColors(int32_t front, int32_t back) = 0;
  // `mExemplo`: the sample text's colours.
  virtual void SetSampleColors(int32_t front, int32_t back) = 0;
};

class ConfigForm : public Form {
 public:
  static constexpr const char* kOtherSound = "[Outro som...]";

  ConfigForm(Application& app, ConfigView& view);
  ~ConfigForm() override;
  ConfigView& View() const override { return view_; }

  // The settings being edited; Config changes only in bOKClick.
  TConfig EditedConfig;
  // Names (with extension) of the wave files of the sound folder, sorted
  // without regard to case.
  std::vector<std::string> WaveList;

  void FormCreate();
  void FormClose();
  void csFrontChangeColor(int32_t color);
  void csBackChangeColor(int32_t color);
  // A click on the sound list, or Enter or Space on it: chooses the selected
  // entry; "[Outro som...]" opens the file dialog.
  void lbWaveClick();
  // The keyboard moved the selection: a sound file is chosen at once, but
  // "[Outro som...]" waits for Enter, Space or a click, so that passing over
  // it neither opens the dialog nor loses the chosen sound.
  void lbWaveSelectionMoved();
  // Keys on the sound list (virtual-key codes); true when consumed.
  bool lbWaveKeyDown(int key);
  // Keys of the window; Escape closes it without saving, as its close spot does.
  bool FormKeyDown(int key);
  void bOuvirClick();
  void cbInfoClick();
  void lbInfoClick();
  void bOKClick();
  void bCancelClick();
  // "Sincronização...": the sync window, this one staying open.
  void bSyncClick();
  void iHideClick();

  // The sound folder, with a trailing separator.
  std::string SoundFolder() const;

 private:
  bool OtherSoundSelected() const;
  ConfigView& view_;
};

}  // namespace tavo::forms
