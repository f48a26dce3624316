// The settings window's rules over a fake desktop: the sound list and its
// choice, the information option, the colours, and OK against cancelling.

#include "forms/config_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/registry.h"
#include "platform/system.h"
#include "store/config.h"
#include "tests/forms/support/fake_desktop.h"

namespace tavo::forms {
namespace {

using test_support::FakeConfigWindow;

class ConfigFormTest : public test_support::FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    std::filesystem::create_directories(Sons());
    for (const char* name : {"gongo.wav", "sino.wav", "bipe.wav"}) Touch(Sons() + name);
  }
  std::string Sons() const { return Dados("sons") + platform::kPathSeparator; }
  // The name is UTF-8, as the program's paths are; made into a path as such, it
  // names the same file on Windows too (a plain narrow name would be read in the ANSI code page).
  static void Touch(const std::string& path) {
    std::ofstream(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary) << "RIFF";
  }
  FakeConfigWindow& Open() {
    app().OpenWindowOnce(WindowKind::Config);
    return *desktop->Open<FakeConfigWindow>().at(0);
  }
  // Selects an entry as a click or a keyboard move does.
  static void Choose(FakeConfigWindow& w, const std::string& entry) {
    const auto it = std::find(w.entries.begin(), w.entries.end(), entry);
    ASSERT_NE(it, w.entries.end()) << entry;
    w.selected = static_cast<int>(it - w.entries.begin());
    w.form.lbWaveClick();
  }
  std::string Selected(const FakeConfigWindow& w) const {
    return w.selected >= 0 ? w.entries.at(static_cast<size_t>(w.selected)) : "";
  }
  const platform::RegValue* Stored(const char* name) {
    auto key = registry.Keys.find(kConfigKey);
    if (key == registry.Keys.end()) return nullptr;
    auto value = key->second.find(name);
    return value == key->second.end() ? nullptr : &value->second;
  }
};

TEST_F(ConfigFormTest, DefaultsSelectGongoWithTheBoxOnAndBlackOnYellow) {
  Config = TConfig{};
  Config.WaveFile = DefaultWaveFile(store.AppDir);
  FakeConfigWindow& w = Open();
  EXPECT_EQ(w.entries, (std::vector<std::string>{"bipe", "gongo", "sino", "[Outro som...]"}));
  EXPECT_EQ(Selected(w), "gongo");
  EXPECT_TRUE(w.info);
  EXPECT_EQ(w.selector_front, 0);
  EXPECT_EQ(w.selector_back, 65535);
  EXPECT_EQ(w.sample_front, 0);
  EXPECT_EQ(w.sample_back, 65535);
  EXPECT_TRUE(registry.Keys.empty());  // opening writes nothing
}

TEST_F(ConfigFormTest, AnEmptyOrMissingSoundFolderOffersOnlyTheOtherEntry) {
  std::filesystem::remove_all(Sons());
  FakeConfigWindow& w = Open();
  EXPECT_EQ(w.entries, std::vector<std::string>{"[Outro som...]"});
  EXPECT_EQ(Selected(w), "[Outro som...]");
}

TEST_F(ConfigFormTest, NamesAreSortedWithoutCaseAndListedWithoutTheirExtension) {
  Touch(Sons() + "ALARME.WAV");
  Touch(Sons() + "Campainha.Wav");
  Touch(Sons() + "água.wav");
  Touch(Sons() + "Órgão.wav");
  Touch(Sons() + "notas.txt");
  FakeConfigWindow& w = Open();
  EXPECT_EQ(w.entries, (std::vector<std::string>{"ALARME", "bipe", "Campainha", "gongo", "sino", "água", "Órgão",
                                                  "[Outro som...]"}));
  Choose(w, "sino");
  EXPECT_EQ(w.form.EditedConfig.WaveFile, Sons() + "sino.wav");
  // "ALARME.wav" does not exist where names are case-sensitive: the real name is kept.
  Choose(w, "ALARME");
  const std::string small = Sons() + "ALARME.wav";
  EXPECT_EQ(w.form.EditedConfig.WaveFile, std::filesystem::exists(small) ? small : Sons() + "ALARME.WAV");
  EXPECT_TRUE(desktop->file_dialogs.empty());
}

TEST_F(ConfigFormTest, OnlyTheFileNameChoosesTheEntryAtOpening) {
  Config.WaveFile = "/somewhere/else/SINO.WAV";
  EXPECT_EQ(Selected(Open()), "sino");
  Open().form.bCancelClick();
  desktop->CollectClosed();
  Config.WaveFile = "/somewhere/else/Órgão.wav";
  Touch(Sons() + "órgão.wav");
  EXPECT_EQ(Selected(Open()), "órgão");
  Open().form.bCancelClick();
  desktop->CollectClosed();
  Config.WaveFile.clear();
  EXPECT_EQ(Selected(Open()), "[Outro som...]");
}

TEST_F(ConfigFormTest, ASoundFromAnotherFolderIsKeptAndSelectsOtherNextTime) {
  const std::string outside = folder.Path() + "trompete.wav";
  Touch(outside);
  FakeConfigWindow& w = Open();
  desktop->file_answers = {outside};
  Choose(w, "[Outro som...]");
  ASSERT_EQ(desktop->file_dialogs.size(), 1u);
  EXPECT_EQ(desktop->file_dialogs[0].kind, FileDialog::Kind::Open);
  EXPECT_EQ(desktop->file_dialogs[0].filter_name, "Sons Wave");
  EXPECT_EQ(desktop->file_dialogs[0].pattern, "*.wav");
  EXPECT_EQ(desktop->file_dialogs[0].default_extension, "wav");
  EXPECT_EQ(w.form.EditedConfig.WaveFile, outside);
  EXPECT_EQ(w.entries.size(), 4u);  // the chosen file is not added
  w.form.bOKClick();
  desktop->CollectClosed();

  FakeConfigWindow& again = Open();
  EXPECT_EQ(Selected(again), "[Outro som...]");
  again.form.bOuvirClick();
  EXPECT_EQ(desktop->sounds, std::vector<std::string>{outside});
}

TEST_F(ConfigFormTest, CancellingTheOpenDialogMeansNoSoundAndOkSavesThat) {
  FakeConfigWindow& w = Open();
  Choose(w, "[Outro som...]");
  EXPECT_TRUE(w.form.EditedConfig.WaveFile.empty());
  w.form.bOuvirClick();
  EXPECT_TRUE(desktop->sounds.empty());
  w.form.bOKClick();
  EXPECT_TRUE(Config.WaveFile.empty());
  ASSERT_NE(Stored("WaveFile"), nullptr);
  EXPECT_EQ(Stored("WaveFile")->Data, platform::RegValue::String("").Data);
}

TEST_F(ConfigFormTest, TheKeyboardPassesOverOtherSoundAndEnterOrSpaceOpensIt) {
  FakeConfigWindow& w = Open();
  auto move_to = [&w](const std::string& entry) {
    w.selected = static_cast<int>(std::find(w.entries.begin(), w.entries.end(), entry) - w.entries.begin());
    w.form.lbWaveSelectionMoved();
  };
  move_to("sino");
  EXPECT_EQ(w.form.EditedConfig.WaveFile, Sons() + "sino.wav");
  move_to("[Outro som...]");
  EXPECT_TRUE(desktop->file_dialogs.empty());
  EXPECT_EQ(w.form.EditedConfig.WaveFile, Sons() + "sino.wav");
  EXPECT_FALSE(w.form.lbWaveKeyDown(40));  // an arrow is the list's own

  const std::string outside = folder.Path() + "trompete.wav";
  Touch(outside);
  desktop->file_answers = {outside};
  EXPECT_TRUE(w.form.lbWaveKeyDown(13));
  EXPECT_EQ(desktop->file_dialogs.size(), 1u);
  EXPECT_EQ(w.form.EditedConfig.WaveFile, outside);
  EXPECT_TRUE(w.form.lbWaveKeyDown(32));  // cancelled this time: no sound, as from a click
  EXPECT_EQ(desktop->file_dialogs.size(), 2u);
  EXPECT_TRUE(w.form.EditedConfig.WaveFile.empty());
}

TEST_F(ConfigFormTest, AFileChosenWhileTheProgramEndsIsNotTaken) {
  FakeConfigWindow& w = Open();
  const std::string before = w.form.EditedConfig.WaveFile;
  desktop->file_answers = {folder.Path() + "x.wav"};
  desktop->while_dialog_open = [&] { app().ShuttingDown = true; };
  Choose(w, "[Outro som...]");
  EXPECT_EQ(w.form.EditedConfig.WaveFile, before);
}

TEST_F(ConfigFormTest, TestarPlaysTheChosenFileOnlyWhenItExists) {
  FakeConfigWindow& w = Open();
  Choose(w, "gongo");
  w.form.bOuvirClick();
  EXPECT_EQ(desktop->sounds, std::vector<std::string>{Sons() + "gongo.wav"});
  std::filesystem::remove(Sons() + "sino.wav");
  Choose(w, "sino");
  w.form.bOuvirClick();
  EXPECT_EQ(desktop->sounds.size(), 1u);
}

TEST_F(ConfigFormTest, OkWritesAllFourValuesAndReplacesConfig) {
  Config.ShowInfo = true;
  FakeConfigWindow& w = Open();
  w.form.csFrontChangeColor(0x0000FF);
  w.form.csBackChangeColor(0xF0CAA6);
  EXPECT_EQ(w.sample_front, 0x0000FF);
  EXPECT_EQ(w.sample_back, 0xF0CAA6);
  Choose(w, "bipe");
  w.form.bOKClick();
  EXPECT_TRUE(w.closed);
  EXPECT_EQ(Config.FrontColor, 0x0000FF);
  EXPECT_EQ(Config.BackColor, 0xF0CAA6);
  EXPECT_EQ(Config.WaveFile, Sons() + "bipe.wav");
  ASSERT_NE(Stored("FrontColor"), nullptr);
  EXPECT_EQ(Stored("FrontColor")->Data, platform::RegValue::Dword(0x0000FF).Data);
  EXPECT_EQ(Stored("BackColor")->Data, platform::RegValue::Dword(0xF0CAA6).Data);
  EXPECT_EQ(Stored("WaveFile")->Data, platform::RegValue::String(Sons() + "bipe.wav").Data);
  EXPECT_EQ(Stored("ShowInfo")->Data, platform::RegValue::Dword(1).Data);  // written though unchanged
}

TEST_F(ConfigFormTest, CancelTheCloseSpotAndEscapeDiscardTheCopy) {
  const TConfig before = Config;
  for (int way = 0; way < 3; ++way) {
    FakeConfigWindow& w = Open();
    w.form.csFrontChangeColor(0xFF0000);
    Choose(w, "sino");
    w.form.lbInfoClick();
    if (way == 0) w.form.bCancelClick();
    else if (way == 1) w.form.iHideClick();
    else EXPECT_TRUE(w.form.FormKeyDown(27));
    EXPECT_TRUE(w.closed);
    desktop->CollectClosed();
    EXPECT_EQ(Config.FrontColor, before.FrontColor);
    EXPECT_EQ(Config.WaveFile, before.WaveFile);
    EXPECT_EQ(Config.ShowInfo, before.ShowInfo);
    EXPECT_TRUE(registry.Keys.empty());
  }
}

TEST_F(ConfigFormTest, TheLabelTogglesTheBoxAndTheBoxRecordsItsState) {
  Config.ShowInfo = true;
  FakeConfigWindow& w = Open();
  w.form.lbInfoClick();
  EXPECT_FALSE(w.info);
  EXPECT_FALSE(w.form.EditedConfig.ShowInfo);
  w.form.lbInfoClick();
  EXPECT_TRUE(w.info);
  EXPECT_TRUE(w.form.EditedConfig.ShowInfo);
  w.info = false;  // a click on the box itself
  w.form.cbInfoClick();
  EXPECT_FALSE(w.form.EditedConfig.ShowInfo);
}

}  // namespace
}  // namespace tavo::forms
