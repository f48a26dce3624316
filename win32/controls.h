#pragma once
// Small structs over the Windows controls the forms use: each one is created
// with its place and text, and offers its events as callback members.

#include "win32/windows_api.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/desktop.h"
#include "forms/masked_text.h"
#include "win32/wnd.h"

namespace tavo::win32 {

struct Place {
  int x = 0, y = 0, width = 0, height = 0;
};

// The creation arguments of a visible child window at a place.
Wnd::CreateArgs ChildArgs(HWND parent, int id, const Place& place, DWORD style, const std::string& text = {});

// The flat button of every form: a rectangle in the face colour framed by a
// one-pixel 3-D edge (highlight top and left, shadow bottom and right,
// reversed while held down, when the caption moves one pixel right and
// down), the caption centred with the letter after "&" underlined and
// working as its accelerator, a dotted focus rectangle 2 pixels inside the
// edge when focused, and the hand cursor.
class FlatButton : public Wnd {
 public:
  static constexpr COLORREF kFace = RGB(forms::kButtonFace.red, forms::kButtonFace.green, forms::kButtonFace.blue);
  static constexpr COLORREF kDisabledFace =
      RGB(forms::kButtonDisabledFace.red, forms::kButtonDisabledFace.green, forms::kButtonDisabledFace.blue);

  bool Create(HWND parent, int id, const Place& place, const std::string& caption, HFONT font);
  std::function<void()> onClick;

  bool OnCommand(WORD code) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
};

// A standard push button with the hand cursor.
class PushButton : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place, const std::string& caption, HFONT font);
  std::function<void()> onClick;
  bool OnCommand(WORD code) override;
};

// A single-line text field. onExit runs when it loses the focus, onEnter
// when Enter is pressed in it (the dialog manager would take Enter otherwise).
class Edit : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font, DWORD style = 0);
  void SetLimit(int characters);
  std::function<void()> onExit;
  std::function<void()> onEnter;
  // Colours of the text and the background; the defaults when not set.
  void SetColours(COLORREF text, COLORREF background);
  HBRUSH OnCtlColor(HDC dc) override;
  bool OnCommand(WORD code) override;
  ~Edit() override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool coloured_ = false;
  COLORREF text_ = 0, background_ = 0;
  HBRUSH brush_ = nullptr;
};

// A field with fixed places (date, time), edited through forms::MaskedText:
// the separators always shown, blanks where empty, digits only, typing
// overwrites. The control keeps the text and the selection; each key asks
// the model what they become. Entering it by the keyboard selects the whole
// text, so that what is typed replaces it.
class MaskedEdit : public Edit {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font, std::string_view mask);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // The model loaded with the control's text and selection.
  forms::MaskedText Loaded() const;
  // Shows the model's text and caret.
  void Show(const forms::MaskedText& model);
  std::string mask_;
};

// A multi-line text field with a vertical scroll bar; Enter starts a new
// line and Tab moves on to the next control.
class Memo : public Edit {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font, bool read_only, bool scroll_bar = true);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A drop-down list without free typing.
class ComboBox : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font, const std::vector<std::string>& items);
  int Selected() const;
  void Select(int index);
};

class ListBox : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font, int item_height);
  void Clear();
  void Add(const std::string& text);
  int Count() const;
  int Selected() const;
  void Select(int index);  // raises no event
  std::string Item(int index) const;
  // A click on an entry; the selection moved with the keyboard (onClick
  // when not set); Enter or Space (true when used).
  std::function<void()> onClick, onSelectionMoved;
  std::function<bool(int key)> onKey;
  bool OnCommand(WORD code) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool keyed_ = false;
};

// A check box without a visible caption.
class CheckBox : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place);
  bool Checked() const;
  void SetChecked(bool on);  // raises no event
  std::function<void()> onClick;
  bool OnCommand(WORD code) override;
  // The parent's picture behind the box: set by the form.
  HBRUSH background = nullptr;
  HBRUSH OnCtlColor(HDC dc) override;
};

// A label with its own window: text centred both ways.
class CenteredLabel : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font, const std::string& text);
};

// A date field: ten characters of text in the user's date order, with a
// drop-down button that opens a month calendar (weeks from Sunday, titled
// "Escolha uma Data"). The text is repaired by the form, never refused.
class DateField : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font);
  ~DateField() override;
  // The text padded with blanks to 10 characters, as Windows-1252.
  std::string FieldText() const;
  // The date of the field's text, repaired (TextToDate).
  double Date() const;
  void SetDate(double date);
  MaskedEdit edit;
  std::function<void()> onExit;
  // A date picked in the calendar; the handler may change it.
  std::function<void(double& date)> onAcceptDate;
  void DropDown();
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
  bool OnCommand(WORD code) override;

 private:
  class Popup;
  Popup* popup_ = nullptr;
};

// A white scroll box with a word-wrapped text that scrolls vertically when
// it is taller than the box (the events text of the reminder window).
class ScrollText : public Wnd {
 public:
  bool Create(HWND parent, int id, const Place& place, HFONT font);
  // Sets the text and the size of its area (width x height, as measured).
  void SetText(const std::wstring& text, int width, int height, COLORREF colour);
  void ScrollToTop();
  const std::wstring& Content() const { return text_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc) override;

 private:
  void UpdateScrollBar();
  std::wstring text_;
  HFONT font_ = nullptr;
  int text_width_ = 0, text_height_ = 0, top_ = 0;
  COLORREF colour_ = 0;
};

// A text with "\n" line breaks as an edit control holds it (CR LF).
std::wstring EditLines(const std::string& utf8);

// Draws a flat-button face: used by FlatButton and by the colour palette.
void DrawFlatFace(HDC dc, RECT r, bool down, bool enabled, COLORREF face);

}  // namespace tavo::win32
