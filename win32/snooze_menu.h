#pragma once
// The alert window's "Adiar" control: a flat button that opens an owner-drawn
// popup menu in the tray menu's look (the gradient margin with "Quelvo")
// holding the snooze choices and "Outro horário...", which asks for a time in
// a small box with a masked time field. Places, captions and what each item
// runs come from forms/snooze_control.h, the time box's from
// forms::kSnoozeTimeBox.

#include "win32/windows_api.h"

#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/lembrete_form.h"
#include "win32/controls.h"

namespace tavo::win32 {

// The box of "Outro horário...": "Hora" and a time field, "OK" and
// "Cancelar"; Enter is "OK", Esc "Cancelar".
class SnoozeTimeBox : public Wnd {
 public:
  // Opens it over `owner`; `accepted` gets the typed text when "OK" is chosen.
  static SnoozeTimeBox* Open(HWND owner, std::function<void(const std::string&)> accepted);
  MaskedEdit field;
  FlatButton ok, cancel;

 protected:
  bool PreTranslate(MSG& msg) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Accept();
  std::function<void(const std::string&)> accepted_;
};

class SnoozeControl : public Wnd {
 public:
  SnoozeControl(forms::LembreteForm& form) : form_(form) {}
  ~SnoozeControl() override;
  // Makes the button (hidden) on `window` with the control id `id`.
  void Create(HWND window, int id, HFONT font);
  FlatButton button;

  // Shows or hides the button and moves `ok` and `alternate` to their places
  // for the row (forms::ButtonRowFor).
  void Show(bool shown, FlatButton& ok, FlatButton& alternate);
  // Opens the menu under the button; the choice runs after it has closed.
  void PopUp();
  void AskTime();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // An item's data: MSAA reads the name of an owner-drawn item from the
  // MSAAMENUINFO at its start.
  struct Item {
    MSAAMENUINFO msaa;
    std::wstring text;
  };
  void MeasureItem(MEASUREITEMSTRUCT& m) const;
  void DrawItem(const DRAWITEMSTRUCT& d) const;
  void Run(int index);

  forms::LembreteForm& form_;
  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  std::vector<std::unique_ptr<Item>> items_;
  HWND box_ = nullptr;
};

}  // namespace tavo::win32
