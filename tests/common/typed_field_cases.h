#pragma once
// Keystrokes typed into the reminder window's date and time fields and what
// the field must hold once it has been left (its repair included). Both
// front-ends' tests type the same keys and expect the same results, so the
// two kinds of field cannot drift apart. The date cases assume the day-month-
// year order and a field that starts out holding another date; the keys are
// typed right after the field is entered with Tab, which selects its whole
// text (as the system's edit fields do), so the first key replaces it. A
// separator key moves past the next separator, leaving the part before it
// with what was typed.

namespace tavo::testing {

struct TypedFieldCase {
  const char* keys;      // typed one character at a time
  const char* expected;  // the field's text after it is left
};

inline constexpr TypedFieldCase kTypedTimeCases[] = {
    {"7:30", "07:30"},
    {"9:05", "09:05"},
    {"1845", "18:45"},
    {"a7b:3c0", "07:30"},  // letters are refused, the digits still land
};

inline constexpr TypedFieldCase kTypedDateCases[] = {
    {"1/2/2027", "01/02/2027"},
    {"5/3/27", "05/03/2027"},
    {"24122027", "24/12/2027"},
};

}  // namespace tavo::testing
