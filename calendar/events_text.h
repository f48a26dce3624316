#pragma once
// The events text shown beneath a reminder: the calendar summary of the date
// (feriados.h) followed by its date events — the dates-file entry, Mother's
// or Father's Day, and the saint of the day. Lines are joined with CR LF,
// with no line break at the end. Texts are Windows-1252 bytes.

#include <string>
#include <string_view>
#include <vector>

namespace tavo {

using TextLines = std::vector<std::string>;

// Splits the bytes of a text file into lines. A line ends at CR LF, CR or LF;
// a final line without an ending counts, an ending at the very end adds no
// empty line; a zero byte ends the text.
TextLines SplitTextLines(std::string_view bytes);

// The lines of dados\datas\santos.txt and dados\datas\datas.txt, loaded once
// at start-up (a file that failed to load leaves its list empty).
TextLines& SaintsList();
TextLines& DatesList();

// The day key of a date, "dd/mm" (7 September gives "07/09").
std::string DayKey(double date);

// The date events of a date from the given lists, possibly empty: the
// dates-file entry, then the observance, then the saint, one per line.
//
// Saints lines are "dd/mm=Nome": the first line whose part before the first
// "=" equals the key (ignoring letter case) is the day's, and its text after
// that "=" trimmed of codes 0 to 32 is the entry. The dates text is every
// line followed by CR LF; the entry of a day follows the first "[dd/mm]" up
// to the next "[" or the end, trimmed the same way.
std::string DateEventsText(double date, const TextLines& saints, const TextLines& dates);

// DateEventsText over SaintsList() and DatesList().
std::string DateEventsText(double date);

// The complete text for a date: the summary line (and holiday) followed by
// the date events. Empty for a value that is not a valid date-time.
std::string EventsText(double date);

}  // namespace tavo
