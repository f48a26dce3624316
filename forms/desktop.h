#pragma once
// What the windows' rules need from the desktop they run on: message boxes,
// the file, print and colour dialogs, creating windows, the application's
// minimised state, the wait box, text measuring with word wrap, the printer
// and the alarm sound. Each front-end (Qt, Win32) implements this once; the
// tests implement it with a scripted fake.
//
// Texts crossing this interface are UTF-8, with "\n" between lines. Colours
// are 0x00BBGGRR values. File paths are as platform::FileSystem takes them.
// Every method is called on the GUI thread only. Methods that show something
// modal (boxes, dialogs) let the message loop run until they return, so other
// handlers (timer ticks, other windows) may run meanwhile.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "forms/geometry.h"

namespace tavo::forms {

class Form;
class PrinterCanvas;

inline constexpr const char* kAppTitle = "Quelvo 3.0";

// The face colour of the flat buttons every window uses, and a disabled one's.
inline constexpr Rgb kButtonFace{213, 194, 132};
inline constexpr Rgb kButtonDisabledFace{134, 107, 57};

enum class BoxIcon { Information, Error, Question };

// How a message box blocks: task-modal blocks the program's own windows
// (MB_TASKMODAL, or MB_APPLMODAL when the box has an owner); system-modal
// also stays on top of every other program's windows (MB_SYSTEMMODAL).
enum class BoxModality { Task, System };

// A message box's icon and how it blocks.
struct BoxStyle {
  BoxIcon icon;
  BoxModality modality;
};

// The windows a form can open.
enum class WindowKind { Main, Lembrete, List, Config, Sync };

// A font by family name and character height in pixels.
struct Font {
  std::string family;
  int pixel_height = 0;
  bool bold = false;
};

// A save or open dialog for one kind of file, e.g. {"Backup do Quelvo 3",
// "*.tvb", "tvb"} or {"Calendário", "*.ics", "ics"}: the filter shows as
// "Calendário (*.ics)". Neither kind shows a read-only check box; a save dialog
// asks before replacing a file and needs an existing folder; an open dialog
// takes only an existing file.
struct FileDialog {
  enum class Kind { Save, Open };
  Kind kind = Kind::Open;
  std::string filter_name;
  std::string pattern;
  std::string default_extension;
};

// Thrown by the print dialog and the printer canvas when the printer cannot
// be used (none installed, a driver error). The list window reports it.
class PrintFailed : public std::runtime_error {
 public:
  PrintFailed() : std::runtime_error("print failed") {}
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // --- Message boxes. The caption is always the application title; `owner`
  // is the window the box belongs to, or nullptr for a box without owner.

  // Shows `text` with an OK button and returns when the box is closed.
  virtual void ShowMessage(const Form* owner, const std::string& text, BoxIcon icon, BoxModality modality) = 0;
  // Asks a question with Yes and No, No being the default button. Returns
  // true only for Yes; closing the box any other way counts as No.
  virtual bool AskYesNo(const Form* owner, const std::string& text, BoxIcon icon, BoxModality modality) = 0;
  // Shows `text` with an OK button and a way to see `details` (lines, read
  // only, scrolling when long). Empty details: a plain box. A desktop without
  // such a box shows the details under the text.
  virtual void ShowDetailedMessage(const Form* owner, const std::string& text, const std::string& details,
                                   BoxIcon icon, BoxModality modality) {
    ShowMessage(owner, details.empty() ? text : text + "\n\n" + details, icon, modality);
  }

  // --- Dialogs.

  // Shows a file dialog without a title or a start folder. Returns the chosen
  // path (with the default extension added when the user typed none), or an
  // empty text when the user cancelled.
  virtual std::string AskFileName(const Form* owner, const FileDialog& dialog) = 0;
  // Shows the system colour dialog preset to `initial`. Returns the chosen
  // colour, or nothing when the user cancelled.
  virtual std::optional<int32_t> AskColor(const Form* owner, int32_t initial) = 0;
  // Sets the printer to portrait, then shows the print dialog with its
  // default options. Returns the chosen printer's canvas, owned by the
  // desktop and kept for the program's run (so the chosen printer stays
  // chosen), or nullptr when the user cancelled. Throws PrintFailed when no
  // printer can be set up.
  virtual PrinterCanvas* AskPrinter(const Form* owner) = 0;

  // --- Windows and the application.

  // Creates a window of the given kind, owned by the application and not yet
  // shown, and returns its form. The form joins the application's window
  // list at once; it leaves it when the window is destroyed, which happens
  // after the window closed and the running handler has returned.
  virtual Form& CreateWindow(WindowKind kind) = 0;
  // Minimises the application: its taskbar button goes; only the tray icon
  // remains. Restoring brings the taskbar button back.
  virtual void MinimizeApplication() = 0;
  virtual void RestoreApplication() = 0;
  // The size of the screen the windows open on.
  virtual Size ScreenSize() = 0;

  // Shows the wait box `formStatus` owned by `owner` with one centred line,
  // and lets pending messages be processed once so that it is painted.
  virtual void ShowStatusBox(const Form* owner, const std::string& text) = 0;
  // Closes and destroys the wait box; nothing happens when none is shown.
  virtual void CloseStatusBox() = 0;

  // --- Text and sound.

  // The size of `text` drawn in `font`, word-wrapped at `width` pixels (as
  // DrawText with DT_CALCRECT | DT_WORDBREAK from the rectangle 0, 0, width,
  // 0), with no prefix characters interpreted. An empty text measures 0 x 0.
  virtual Size MeasureText(const Font& font, const std::string& text, int width) = 0;
  // Starts playing a wave file once, in the background; a sound still playing
  // is cut off. A file that cannot be played is ignored without a message.
  virtual void PlaySound(const std::string& path) = 0;
  // Cuts off a sound still playing; nothing when none plays.
  virtual void StopSound() = 0;
};

// What printing draws on: one printer's pages, in printer pixels of the
// printable area (origin at its top-left corner). Every method throws
// PrintFailed when the printer fails.
class PrinterCanvas {
 public:
  virtual ~PrinterCanvas() = default;
  // The printable area's width and height (HORZRES, VERTRES).
  virtual Size PageSize() = 0;
  // Starts a print job named `title`; page 1 is the current page.
  virtual void BeginDocument(const std::string& title) = 0;
  virtual void NewPage() = 0;
  virtual void EndDocument() = 0;
  // Selects the font for measuring and drawing: `font` at its point size on
  // the printer (a pixel height counts at 96 dots per inch).
  virtual void SetFont(const Font& font) = 0;
  // The size of `text` on one line in the selected font.
  virtual Size LineSize(const std::string& text) = 0;
  // The size of `text` word-wrapped at `width` pixels in the selected font.
  virtual Size WrappedSize(const std::string& text, int width) = 0;
  // A thin solid black outline along `rect`'s four edges.
  virtual void DrawOutline(const Rect& rect) = 0;
  // `text` in the selected font, word-wrapped within `rect` from its top,
  // left-aligned or centred, clipped to `rect`; no prefix characters.
  virtual void DrawText(const Rect& rect, const std::string& text, bool centred) = 0;
};

}  // namespace tavo::forms
