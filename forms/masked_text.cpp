#include "forms/masked_text.h"

#include <algorithm>

namespace tavo::forms {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

MaskedText::MaskedText(std::string_view mask) : mask_(mask) { SetText({}); }

std::string MaskedText::DateMask(bool year_first) { return year_first ? "9999/99/99" : "99/99/9999"; }

int MaskedText::NextDigitPlace(int i) const {
  while (i < Length() && IsSeparator(i)) ++i;
  return i;
}

void MaskedText::Load(std::string_view text, int from, int to) {
  bool fits = static_cast<int>(text.size()) == Length();
  for (int i = 0; fits && i < Length(); ++i) {
    const char c = text[static_cast<size_t>(i)];
    fits = IsSeparator(i) ? c == mask_[static_cast<size_t>(i)] : (IsDigit(c) || c == ' ');
  }
  if (fits) text_ = text;
  else SetText(text);
  from_ = std::clamp(from, 0, Length());
  caret_ = std::clamp(to, 0, Length());
}

void MaskedText::SetText(std::string_view text) {
  text_.assign(mask_.size(), ' ');
  for (int i = 0; i < Length(); ++i)
    if (IsSeparator(i)) text_[static_cast<size_t>(i)] = mask_[static_cast<size_t>(i)];
  from_ = caret_ = 0;
  for (char c : text) Put(c, false);
  from_ = caret_ = 0;
}

bool MaskedText::Put(char c, bool typed_alone) {
  int i = caret_;
  bool taken = false;
  while (i < Length() && !taken) {
    if (IsSeparator(i)) {
      // Passing over a separator; typing that very separator ends here.
      taken = c == mask_[static_cast<size_t>(i)];
      ++i;
      continue;
    }
    if (IsDigit(c)) {
      text_[static_cast<size_t>(i)] = c;
      ++i;
      taken = true;
      continue;
    }
    const size_t next = mask_.find(c, static_cast<size_t>(i));
    if (next == std::string::npos) return false;
    // A separator typed in a part: the rest of the part is blank. Typed
    // right after that separator was jumped over, it is already done.
    const bool just_passed = typed_alone && i > 0 && mask_[static_cast<size_t>(i - 1)] == c;
    if (!just_passed) {
      for (size_t j = static_cast<size_t>(i); j < next; ++j) text_[j] = ' ';
      i = static_cast<int>(next) + 1;
    }
    taken = true;
  }
  caret_ = from_ = i;
  return taken;
}

bool MaskedText::Type(char c) {
  // Anything that is neither a digit nor one of the separators is refused
  // without touching the field, its selection included.
  if (!IsDigit(c) && mask_.find(c) == std::string::npos) return false;
  EraseSelection();
  const bool taken = Put(c, true);
  caret_ = from_ = NextDigitPlace(caret_);
  return taken;
}

void MaskedText::Paste(std::string_view text) {
  EraseSelection();
  for (char c : text) Put(c, false);
  caret_ = from_ = NextDigitPlace(caret_);
}

void MaskedText::EraseSelection() {
  const int start = std::min(from_, caret_), end = std::max(from_, caret_);
  for (int i = start; i < end; ++i)
    if (!IsSeparator(i)) text_[static_cast<size_t>(i)] = ' ';
  from_ = caret_ = start;
}

void MaskedText::Backspace() {
  if (HasSelection()) return EraseSelection();
  int i = caret_ - 1;
  while (i >= 0 && IsSeparator(i)) --i;
  if (i < 0) return;
  text_[static_cast<size_t>(i)] = ' ';
  from_ = caret_ = i;
}

void MaskedText::Delete() {
  if (HasSelection()) return EraseSelection();
  if (caret_ < Length() && !IsSeparator(caret_)) text_[static_cast<size_t>(caret_)] = ' ';
}

}  // namespace tavo::forms
