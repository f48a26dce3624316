// The window tables hold together: what the front-ends, the GUI tests and
// the picture generator look up in them is there once and makes sense.

#include "forms/window_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tavo::forms {
namespace {

constexpr Size kPadSize{417, 278};

// Runs `check` over every window's table with the size of its window.
template <class Check>
void ForEachWindow(Check check) {
  check(kMainWindow, kPadSize);
  check(kListWindow, kPadSize);
  check(kConfigWindow, kPadSize);
  check(kSyncWindow, kPadSize);
  check(kLembreteWindow, Size{LembreteForm::kWidth, LembreteForm::kExpandedHeight});
}

TEST(WindowTables, ControlNamesAreUniqueInEachWindow) {
  ForEachWindow([](const auto& table, Size) {
    std::set<std::string> names;
    for (const auto& c : table.controls) EXPECT_TRUE(names.insert(c.name).second) << table.picture << ": " << c.name;
  });
}

TEST(WindowTables, TabPositionsRunFromZeroWithoutGaps) {
  ForEachWindow([](const auto& table, Size) {
    std::set<int> positions;
    for (const auto& c : table.controls)
      if (c.tab >= 0) {
        EXPECT_TRUE(positions.insert(c.tab).second) << table.picture << ": " << c.name;
      }
    ASSERT_FALSE(positions.empty()) << table.picture;
    EXPECT_EQ(*positions.rbegin(), static_cast<int>(positions.size()) - 1) << table.picture;
  });
}

TEST(WindowTables, ControlIdsDoNotCollideIncludingTheDateFieldsButtons) {
  ForEachWindow([](const auto& table, Size) {
    std::set<int> ids;
    for (const auto& c : table.controls) {
      if (c.id == 0) continue;
      EXPECT_TRUE(ids.insert(c.id).second) << table.picture << ": " << c.name;
      if (c.kind == ControlKind::DateField) {
        EXPECT_TRUE(ids.insert(c.id + 1).second) << table.picture << ": " << c.name;
      }
    }
  });
}

TEST(WindowTables, EveryTabStopHasAnIdAndASpokenName) {
  ForEachWindow([](const auto& table, Size) {
    for (const auto& c : table.controls) {
      if (c.tab < 0) continue;
      EXPECT_NE(c.id, 0) << table.picture << ": " << c.name;
      const char* spoken = table.SpokenName(c);
      EXPECT_TRUE(spoken && *spoken) << table.picture << ": " << c.name;
    }
  });
}

TEST(WindowTables, ControlsLieInsideTheirWindow) {
  ForEachWindow([](const auto& table, Size window) {
    for (const auto& c : table.controls) {
      EXPECT_GE(c.place.left, 0) << table.picture << ": " << c.name;
      EXPECT_GE(c.place.top, 0) << table.picture << ": " << c.name;
      EXPECT_LE(c.place.right(), window.width) << table.picture << ": " << c.name;
      EXPECT_LE(c.place.bottom(), window.height) << table.picture << ": " << c.name;
      EXPECT_GT(c.place.width, 0) << table.picture << ": " << c.name;
      EXPECT_GT(c.place.height, 0) << table.picture << ": " << c.name;
    }
  });
}

TEST(WindowTables, ButtonsAndClickAreasRunAHandler) {
  ForEachWindow([](const auto& table, Size) {
    for (const auto& c : table.controls) {
      const bool clicked = c.kind == ControlKind::FlatButton || c.kind == ControlKind::PushButton ||
                           c.kind == ControlKind::ClickArea;
      if (clicked) {
        EXPECT_NE(c.click, nullptr) << table.picture << ": " << c.name;
      }
    }
  });
}

TEST(WindowTables, TheReminderTextSitsInsideItsPanel) {
  const Rect panel = kLembreteWindow["pLembrete"].place;
  const Rect memo = kLembreteWindow["mLembrete"].place;
  EXPECT_GE(memo.left, panel.left);
  EXPECT_GE(memo.top, panel.top);
  EXPECT_LE(memo.right(), panel.right());
  EXPECT_LE(memo.bottom(), panel.bottom());
}

TEST(WindowTables, TrayMenuItemsHaveCaptionsHandlersAndDistinctCommands) {
  std::set<int> ids;
  ASSERT_EQ(kTrayMenu.controls.front().kind, ControlKind::MenuItem);  // the default item
  for (const auto& item : kTrayMenu.controls) {
    EXPECT_GT(item.id, 0) << item.name;
    EXPECT_TRUE(ids.insert(item.id).second) << item.name;
    const bool command = item.kind == ControlKind::MenuItem;
    EXPECT_EQ(item.caption != nullptr, command) << item.name;
    EXPECT_EQ(item.click != nullptr, command) << item.name;
  }
}

// Runs `check` over each small box's table with the size of its client area.
template <class Check>
void ForEachBox(Check check) {
  check(kStatusBox, kStatusBoxClient);
  check(kSnoozeTimeBox, kSnoozeTimeClient);
}

TEST(WindowTables, BoxControlsLieInsideTheClientArea) {
  ForEachBox([](const auto& table, Size client) {
    for (const auto& c : table.controls) {
      EXPECT_GE(c.place.left, 0) << c.name;
      EXPECT_GE(c.place.top, 0) << c.name;
      EXPECT_LE(c.place.right(), client.width) << c.name;
      EXPECT_LE(c.place.bottom(), client.height) << c.name;
      EXPECT_GT(c.place.width, 0) << c.name;
      EXPECT_GT(c.place.height, 0) << c.name;
    }
  });
}

TEST(WindowTables, BoxControlsDoNotOverlap) {
  ForEachBox([](const auto& table, Size) {
    for (const auto& a : table.controls)
      for (const auto& b : table.controls) {
        if (&a == &b) continue;
        const bool overlap = a.place.left < b.place.right() && b.place.left < a.place.right() &&
                             a.place.top < b.place.bottom() && b.place.top < a.place.bottom();
        EXPECT_FALSE(overlap) << a.name << " / " << b.name;
      }
  });
}

TEST(WindowTables, AMissingNameIsAnError) {
  EXPECT_THROW((void)kListWindow["bOk"], std::out_of_range);
  EXPECT_THROW((void)kListWindow.TabStop(99), std::out_of_range);
}

}  // namespace
}  // namespace tavo::forms
