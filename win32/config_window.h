#pragma once
// The settings window `formConfig` and its colour selectors with their
// drop-down palette.

#include <functional>
#include <optional>

#include "forms/color_palette.h"
#include "forms/config_form.h"
#include "win32/controls.h"
#include "win32/shaped_window.h"

namespace tavo::win32 {

class ColorPalette;

// A small button showing its colour; a click drops down the palette below it.
class ColorSelector : public Wnd {
 public:
  // `spoken`: what a screen reader calls it ("Cor do texto"), read with
  // the colour's name as the button's window text, which is never drawn.
  bool Create(HWND parent, int id, const Place& place, const std::string& spoken);
  ~ColorSelector() override;
  int32_t Color() const { return color_; }
  // Sets the colour from the program: repaints, raises no event.
  void SetColor(int32_t color);
  // A colour picked in the palette or the colour dialog: when it differs
  // from the current one it is set and onChangeColor runs.
  void Pick(int32_t color);
  std::function<void()> onChangeColor;
  // Opens the system colour dialog preset to the current colour.
  std::function<std::optional<int32_t>(int32_t current)> askColor;
  // The palette went away.
  void PaletteClosed(ColorPalette* palette);

  bool OnCommand(WORD code) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  int32_t color_ = 0;
  std::string spoken_;
  ColorPalette* palette_ = nullptr;
};

class ConfigWindow : public ShapedWindow, public forms::ConfigView {
 public:
  explicit ConfigWindow(forms::Application& app);
  ~ConfigWindow() override;

  forms::ConfigForm form;
  FlatButton bCancel, bOK, bSync;
  ColorSelector csFront, csBack;
  Memo mExemplo;
  ListBox lbWave;
  PushButton bOuvir;
  CheckBox cbInfo;

  // forms::WindowView
  void Close() override;
  void BringToFront() override;
  bool IsForeground() const override;
  // forms::ConfigView
  void SetSoundEntries(const std::vector<std::string>& entries) override;
  int SelectedSound() const override;
  void SelectSound(int index) override;
  bool InfoChecked() const override;
  void SetInfoChecked(bool checked) override;
  void SetSelectorColors(int32_t front, int32_t back) override;
  void SetSampleColors(int32_t front, int32_t back) override;

 protected:
  void FormClose() override;
  bool FormKeyDown(WPARAM key) override;

 private:
  HBRUSH picture_brush_ = nullptr;
};

}  // namespace tavo::win32
