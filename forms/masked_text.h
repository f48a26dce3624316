#pragma once
// The text of a field with fixed places (the date and time fields), edited
// as an input mask edits it: every place is always there, the separators
// stay put and blanks stand where nothing was typed; only digits are taken,
// each one overwrites the place at the caret, and the caret jumps over the
// separators. A typed separator ends the part it is typed in (what is left
// of that part becomes blank) and moves on to the next part, so that "7:30"
// is 7 hours and 30 minutes whatever the field held before. Plain C++, no
// toolkit: a front-end's control keeps the text and the selection and asks
// this model what each key makes of them.

#include <string>
#include <string_view>

namespace tavo::forms {

class MaskedText {
 public:
  // `mask`: '9' for each digit place; any other character is a separator
  // shown in its place. The text starts blank.
  explicit MaskedText(std::string_view mask);

  // The mask of a date field in the user's date order ("99/99/9999", or
  // "9999/99/99" when the year comes first) and of the time field ("99:99").
  static std::string DateMask(bool year_first);
  static constexpr std::string_view kTimeMask = "99:99";

  const std::string& Text() const { return text_; }
  int Caret() const { return caret_; }
  int Length() const { return static_cast<int>(mask_.size()); }

  // Takes a control's text and selection [from, to) as they stand, the caret
  // at `to`. A text that does not fit the mask is put in place as SetText does.
  void Load(std::string_view text, int from, int to);
  // The text a program sets: its characters put in place from the start of
  // a blank field, as if typed; the caret at the start.
  void SetText(std::string_view text);

  // One typed character: a digit takes the place at the caret, a separator
  // moves on to the next part; any other character is refused. A selection
  // is blanked first. True when the character was taken.
  bool Type(char c);
  // Pasted text, put in place from the caret as if typed.
  void Paste(std::string_view text);
  // Backspace blanks the digit place before the caret and moves there;
  // Delete blanks the one at the caret. Either blanks a selection instead.
  void Backspace();
  void Delete();
  // Blanks the selection (cut, clear); the caret at its start.
  void EraseSelection();

 private:
  bool IsSeparator(int i) const { return mask_[static_cast<size_t>(i)] != '9'; }
  bool HasSelection() const { return from_ != caret_; }
  // The first digit place at or after `i` (the length when there is none).
  int NextDigitPlace(int i) const;
  // Puts one character at the caret; the selection is already blank.
  bool Put(char c, bool typed_alone);

  std::string mask_;
  std::string text_;
  int from_ = 0;   // the selection's start; equal to the caret when none
  int caret_ = 0;
};

}  // namespace tavo::forms
