// The once-a-minute check for due reminders, run by the main window's timer
// handler with a fixed clock and a sound player that only counts.

#include <QtTest>

#include "qt/app_state.h"
#include "qt/message_box.h"
#include "qt/tavo_main.h"
#include "platform/file_system.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "store/config.h"
#include "store/date_time.h"
#include "store/tavo_data.h"
#include "support/gui_fixture.h"
#include "qt/tavo_lembrete.h"

using namespace tavo;
using namespace tavo::gui;
using namespace tavo::gui::test_support;

namespace {

class CountingPlayer : public platform::WavePlayer {
 public:
  void PlayAsync(const std::string& path) override { played.push_back(path); }
  std::vector<std::string> played;
};

}  // namespace

class DueCheckTest : public QObject {
  Q_OBJECT

  GuiStore store_;
  CountingPlayer player_;
  TformTAVO* main_ = nullptr;

  void Add(double when, const char* text) {
    TLembrete r;
    r.DateTime = when;
    r.Text = text;
    AddLembrete(r);
  }

  std::vector<TformLembrete*> Alerts() const {
    std::vector<TformLembrete*> alerts;
    for (QWidget* w : OwnedWindows())
      if (auto* r = qobject_cast<TformLembrete*>(w); r && r->Mode == TformLembrete::kModeAlert) alerts.push_back(r);
    return alerts;
  }

  void Tick(int hour, int minute) {
    store_.clock.time.Hour = hour;
    store_.clock.time.Minute = minute;
    main_->timerChecaTimer();
  }

 private slots:
  void init() {
    QVERIFY(store_.SetUp(QStringLiteral("dados/sons")));
    QFile sound(store_.Folder() + "/dados/sons/gongo.wav");
    QVERIFY(sound.open(QIODevice::WriteOnly));
    sound.write("RIFF");
    sound.close();
    store_.clock.time = platform::LocalTime{2024, 6, 20, 14, 35, 5, 0};
    platform::SetSoundForTesting(&player_);
    player_.played.clear();
    main_ = new TformTAVO({});
  }

  void cleanup() {
    for (QWidget* w : OwnedWindows())
      if (w != main_) delete w;
    delete main_;
    main_ = nullptr;
    platform::SetSoundForTesting(nullptr);
    store_.TearDown();
  }

  void nothingDueOpensNothingAndEachMinuteChecksOnce() {
    Tick(14, 35);
    QVERIFY(Alerts().empty());
    QVERIFY(player_.played.empty());
    // Created for this minute after its check: shown at the next minute's check.
    Add(At(2024, 6, 20, 14, 35), "this minute, added late");
    Tick(14, 35);
    QVERIFY(Alerts().empty());
    Tick(14, 36);
    QCOMPARE(Alerts().size(), size_t{1});
  }

  void missedRemindersOpenAtTheFirstCheckWithOneSound() {
    Add(At(2024, 6, 18, 9, 0), "two days ago");
    Add(At(2024, 6, 20, 14, 35), "this minute");
    Add(At(2024, 6, 20, 14, 36), "not yet");
    Tick(14, 35);
    QCOMPARE(Alerts().size(), size_t{2});
    QCOMPARE(player_.played.size(), size_t{1});
    QCOMPARE(player_.played[0], Config.WaveFile);
  }

  void equalMinutesOpenTogetherInTableOrder() {
    Add(At(2024, 6, 20, 10, 0), "first added");
    Add(At(2024, 6, 20, 10, 0), "second added");
    Tick(14, 35);
    const auto alerts = Alerts();
    QCOMPARE(alerts.size(), size_t{2});
    // The one added later stands first in the table and opens first.
    QCOMPARE(alerts[0]->Reminder.Text, std::string("second added"));
    QCOMPARE(alerts[1]->Reminder.Text, std::string("first added"));
  }

  void aReminderOnScreenIsNotOpenedTwiceNorRings() {
    Add(At(2024, 6, 20, 10, 0), "due");
    Tick(14, 35);
    QCOMPARE(Alerts().size(), size_t{1});
    Alerts()[0]->SwitchToAlterMode();  // altered from the list meanwhile
    Tick(14, 36);
    QVERIFY(Alerts().empty());
    QCOMPARE(OwnedWindows().size(), size_t{2});
    QCOMPARE(player_.played.size(), size_t{1});
  }

  void aNewReminderWindowDoesNotHideADueOne() {
    main_->bNovoClick();
    Add(At(2024, 6, 20, 10, 0), "due");
    Tick(14, 35);
    QCOMPARE(Alerts().size(), size_t{1});
  }

  void busyFlagsSkipTheTickWithoutRecordingTheMinute() {
    Add(At(2024, 6, 20, 10, 0), "due");
    ScanBusy = true;
    Tick(14, 35);
    ScanBusy = false;
    QVERIFY(Alerts().empty());
    QCOMPARE(main_->LastCheckedMinute, -1);
    StoreBusy = true;
    Tick(14, 35);
    StoreBusy = false;
    QVERIFY(Alerts().empty());
    Tick(14, 35);
    QCOMPARE(Alerts().size(), size_t{1});
  }

  void onlyTheMinuteOfTheHourIsCompared() {
    Tick(14, 35);
    Add(At(2024, 6, 20, 15, 0), "due after the pause");
    // A tick an hour later in the same minute of the hour does not check.
    Tick(15, 35);
    QVERIFY(Alerts().empty());
    Tick(15, 36);
    QCOMPARE(Alerts().size(), size_t{1});
  }

  void noSoundFileGivesASilentAlarm() {
    Config.WaveFile = store_.Folder().toStdString() + "/dados/sons/none.wav";
    Add(At(2024, 6, 20, 10, 0), "due");
    Tick(14, 35);
    QCOMPARE(Alerts().size(), size_t{1});
    QVERIFY(player_.played.empty());
  }
};

QTEST_MAIN(DueCheckTest)
#include "due_check_test.moc"
