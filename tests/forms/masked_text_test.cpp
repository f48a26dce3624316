// The editing model of the date and time fields: the shared keystroke cases
// typed over a field entered with its text selected, then repaired as
// leaving the field repairs it; and what Backspace and Delete leave behind.

#include "forms/masked_text.h"

#include <gtest/gtest.h>

#include "platform/locale_date.h"
#include "platform/testing/test_platform.h"
#include "store/date_text.h"
#include "tests/common/typed_field_cases.h"

namespace tavo::forms {
namespace {

// A field entered by the keyboard: it shows `shown`, all of it selected.
MaskedText Entered(std::string_view mask, std::string_view shown) {
  MaskedText field(mask);
  field.SetText(shown);
  field.Load(field.Text(), 0, field.Length());
  return field;
}

void TypeKeys(MaskedText& field, const char* keys) {
  for (const char* k = keys; *k; ++k) field.Type(*k);
}

TEST(MaskedTextTest, TypedTimesAreStoredAsTyped) {
  for (const auto& c : tavo::testing::kTypedTimeCases) {
    MaskedText field = Entered(MaskedText::kTimeMask, "14:25");
    TypeKeys(field, c.keys);
    std::string digits = field.Text();
    digits.erase(2, 1);
    const std::string repaired = TimeToText(TextToTime(digits));
    EXPECT_EQ(repaired.substr(0, 2) + ":" + repaired.substr(2), c.expected) << c.keys << " -> \"" << field.Text() << "\"";
  }
}

TEST(MaskedTextTest, TypedDatesAreStoredAsTyped) {
  const platform::DateOrder order = platform::DateOrder::DayMonthYear;
  platform::SetDateOrderForTesting(&order);
  for (const auto& c : tavo::testing::kTypedDateCases) {
    MaskedText field = Entered(MaskedText::DateMask(false), "15/01/2026");
    TypeKeys(field, c.keys);
    EXPECT_EQ(DateToText(TextToDate(field.Text())), c.expected) << c.keys << " -> \"" << field.Text() << "\"";
  }
  platform::SetDateOrderForTesting(nullptr);
}

TEST(MaskedTextTest, ASeparatorTypedInAPartEndsThatPartOnly) {
  MaskedText field(MaskedText::kTimeMask);
  field.SetText("1425");
  field.Type('7');
  field.Type(':');
  EXPECT_EQ(field.Text(), "7 :25");
  EXPECT_EQ(field.Caret(), 3);
}

TEST(MaskedTextTest, BackspaceAndDeleteLeaveBlanksAndKeepTheSeparators) {
  MaskedText field(MaskedText::DateMask(false));
  field.SetText("24/12/2027");
  field.Load(field.Text(), 3, 3);
  field.Backspace();  // over the separator, onto the day's second digit
  EXPECT_EQ(field.Text(), "2 /12/2027");
  EXPECT_EQ(field.Caret(), 1);
  field.Load(field.Text(), 3, 3);
  field.Delete();
  EXPECT_EQ(field.Text(), "2 / 2/2027");
  EXPECT_EQ(field.Caret(), 3);
  field.Load(field.Text(), 1, 7);
  field.Backspace();
  EXPECT_EQ(field.Text(), "2 /  / 027");
  EXPECT_FALSE(field.Type('x'));
  EXPECT_EQ(field.Text(), "2 /  / 027");
}

TEST(MaskedTextTest, ATextThatDoesNotFitIsPutInPlace) {
  MaskedText field(MaskedText::kTimeMask);
  field.Load("0905", 0, 0);
  EXPECT_EQ(field.Text(), "09:05");
  field.SetText("9:5");
  EXPECT_EQ(field.Text(), "9 :5 ");
}

}  // namespace
}  // namespace tavo::forms
