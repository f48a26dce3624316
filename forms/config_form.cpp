#include "forms/config_form.h"

#include <algorithm>

#include "forms/keys.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "store/tavo_data.h"

namespace tavo::forms {
namespace {

// Upper case for comparing file names: ASCII and the Latin-1 letters of
// UTF-8 text (the letters of Portuguese names); other characters unchanged.
std::string UpperName(const std::string& utf8) {
  std::string out = utf8;
  for (size_t i = 0; i < out.size(); ++i) {
    auto& c = reinterpret_cast<unsigned char&>(out[i]);
    if (c >= 'a' && c <= 'z') {
      c = static_cast<unsigned char>(c - 32);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      // U+00E0..U+00FE (except U+00F7) are the small forms of U+00C0..U+00DE.
      auto& next = reinterpret_cast<unsigned char&>(out[i + 1]);
      if (next >= 0xA0 && next <= 0xBE && next != 0xB7) next = static_cast<unsigned char>(next - 0x20);
      ++i;
    }
  }
  return out;
}

// The file-name part of a path: after the last separator of either kind.
std::string FileNamePart(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

ConfigForm::ConfigForm(Application& app, ConfigView& view) : Form(app, WindowKind::Config), view_(view) {}

ConfigForm::~ConfigForm() = default;

std::string ConfigForm::SoundFolder() const {
  return store().DadosPath("sons") + platform::kPathSeparator;
}

void ConfigForm::FormCreate() {
  WaveList = platform::Files().ListFiles(SoundFolder(), ".wav");
  std::stable_sort(WaveList.begin(), WaveList.end(),
                   [](const std::string& a, const std::string& b) { return UpperName(a) < UpperName(b); });

  std::vector<std::string> entries;
  for (const std::string& name : WaveList) entries.push_back(name.substr(0, name.size() - 4));
  entries.push_back(kOtherSound);
  view_.SetSoundEntries(entries);

  EditedConfig = store().Config;

  // Only the file name is compared: a sound of that name from any folder
  // selects its entry; anything else selects "[Outro som...]".
  const std::string wanted = UpperName(FileNamePart(EditedConfig.WaveFile));
  int row = static_cast<int>(entries.size()) - 1;
  if (!EditedConfig.WaveFile.empty()) {
    for (size_t i = 0; i < WaveList.size(); ++i) {
      if (UpperName(WaveList[i]) == wanted) {
        row = static_cast<int>(i);
        break;
      }
    }
  }
  view_.SelectSound(row);

  view_.SetInfoChecked(EditedConfig.ShowInfo);
  view_.SetSelectorColors(EditedConfig.FrontColor, EditedConfig.BackColor);
  view_.SetSampleColors(EditedConfig.FrontColor, EditedConfig.BackColor);
}

void ConfigForm::FormClose() { App().SecondaryWindowClosing(); }

void ConfigForm::csFrontChangeColor(int32_t color) {
  EditedConfig.FrontColor = color;
  view_.SetSampleColors(EditedConfig.FrontColor, EditedConfig.BackColor);
}

void ConfigForm::csBackChangeColor(int32_t color) {
  EditedConfig.BackColor = color;
  view_.SetSampleColors(EditedConfig.FrontColor, EditedConfig.BackColor);
}

bool ConfigForm::OtherSoundSelected() const {
  return view_.SelectedSound() == static_cast<int>(WaveList.size());  // always last
}

void ConfigForm::lbWaveSelectionMoved() {
  if (!OtherSoundSelected()) lbWaveClick();
}

bool ConfigForm::lbWaveKeyDown(int key) {
  if (key != keys::kReturn && key != keys::kSpace) return false;
  lbWaveClick();
  return true;
}

bool ConfigForm::FormKeyDown(int key) {
  if (key != keys::kEscape) return false;
  iHideClick();
  return true;
}

void ConfigForm::lbWaveClick() {
  const int row = view_.SelectedSound();
  if (row < 0) return;
  if (OtherSoundSelected()) {
    const std::string chosen =
        App().desktop().AskFileName(this, FileDialog{FileDialog::Kind::Open, "Sons Wave", "*.wav", "wav"});
    if (chosen.empty()) {
      EditedConfig.WaveFile.clear();  // cancelled: no alarm sound
    } else if (!App().ShuttingDown) {
      EditedConfig.WaveFile = chosen;
    }
    return;
  }
  const std::string& name = WaveList[static_cast<size_t>(row)];
  EditedConfig.WaveFile = SoundFolder() + name.substr(0, name.size() - 4) + ".wav";
  // Where names are case-sensitive, "NAME.wav" may not be the listed "NAME.WAV":
  // then the file is addressed by its real name, so the alarm is not silent.
  if (!platform::Files().Exists(EditedConfig.WaveFile)) EditedConfig.WaveFile = SoundFolder() + name;
}

void ConfigForm::bOuvirClick() {
  if (platform::Files().Exists(EditedConfig.WaveFile)) App().desktop().PlaySound(EditedConfig.WaveFile);
}

void ConfigForm::cbInfoClick() { EditedConfig.ShowInfo = view_.InfoChecked(); }

void ConfigForm::lbInfoClick() {
  // Toggling the box from the label counts as a click on the box.
  view_.SetInfoChecked(!view_.InfoChecked());
  cbInfoClick();
}

void ConfigForm::bOKClick() {
  WriteConfig(EditedConfig);
  store().Config = EditedConfig;
  view_.Close();
}

void ConfigForm::bCancelClick() { view_.Close(); }

void ConfigForm::iHideClick() { view_.Close(); }

void ConfigForm::bSyncClick() { App().OpenWindowOnce(WindowKind::Sync); }

}  // namespace tavo::forms
