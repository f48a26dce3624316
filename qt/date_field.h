#pragma once
// The date field with a drop-down calendar: always 10 characters in the
// user's date order with "/" separators (blanks where empty); the calendar
// starts the week on Sunday, is titled "Escolha uma Data" and steps by a
// year or a month either way.

#include <QDate>

#include "qt/masked_field.h"

class QCalendarWidget;
class QToolButton;

namespace tavo::gui {

class DateField : public MaskedField {
  Q_OBJECT
 public:
  explicit DateField(QWidget* parent);

  // The field's 10-character text as the store reads it (Windows-1252).
  std::string FieldText() const;
  // The date the text stands for (TextToDate, whole days).
  double Date() const;
  // Shows a date (whole days) as DateToText gives it.
  void SetDate(double date);

  // Opens the drop-down calendar (also Alt+Down).
  void DropDown();
  // The calendar, once it has been dropped down; nullptr before.
  QCalendarWidget* Calendar() const { return calendar_; }

 signals:
  // The field lost the focus, or Enter was pressed in it.
  void Exited();
  // A date was picked in the calendar; the handler may change it.
  void AcceptDate(double& date);

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void MakeCalendar();
  void AddYearButtons();
  bool CalendarShown() const;
  // Closes the calendar and hands its date to AcceptDate.
  void Pick(QDate picked);

  QToolButton* button_;
  QCalendarWidget* calendar_ = nullptr;
};

}  // namespace tavo::gui
