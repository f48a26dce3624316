#pragma once
// The byte-level side of iCalendar files: folding, unfolding, encodings,
// TEXT escaping, and turning a calendar item's texts into a reminder text.

#include <string>
#include <string_view>

namespace tavo::ical {

// A TEXT value escaped for a content line: backslash, semicolon and comma
// get a backslash; a line break (CR LF, CR or LF) becomes "\n". Control
// characters other than tab, which iCalendar does not allow, are dropped.
std::string EscapeText(std::string_view utf8);

// Appends one content line, folded so that no line exceeds 75 octets
// (CR LF not counted) and no fold falls inside a UTF-8 character.
void AppendFolded(std::string& out, std::string_view line);

// Joins folded lines (a line break followed by a space or tab) as octets,
// before any decoding, so a fold inside a UTF-8 character does no harm.
std::string UnfoldLines(std::string_view bytes);

// Valid UTF-8; with `controls_allowed` false, also free of control
// characters other than tab.
bool IsValidUtf8(std::string_view bytes, bool controls_allowed = true);

enum class StreamCheck {
  Whole,      // BEGIN:VCALENDAR ... END:VCALENDAR
  NotText,    // binary bytes (NUL)
  NoBegin,    // does not start with BEGIN:VCALENDAR
  Truncated,  // ends before its END:VCALENDAR
};
// Checks that the unfolded UTF-8 text is a whole iCalendar stream.
StreamCheck CheckStream(std::string_view unfolded);

// The bytes of a calendar file as UTF-8 text with its lines unfolded: a
// byte-order mark dropped, a file that is not UTF-8 read as Windows-1252.
std::string DecodeCalendarBytes(std::string_view bytes);

// The reminder text (Windows-1252, CR LF) of an item: SUMMARY, or SUMMARY,
// a line break and DESCRIPTION; DESCRIPTION alone when it begins with
// SUMMARY. Trimmed of blanks and control characters at both ends and cut to
// the reminder window's limit (a line break counts two and is never split).
std::string ReminderText(std::string_view summary_utf8, std::string_view description_utf8);

// Blanks and control characters off both ends.
std::string_view Trimmed(std::string_view s);

}  // namespace tavo::ical
