#include "qt/date_field.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QToolButton>
#include <utility>

#include "qt/gui_common.h"
#include "platform/locale_date.h"
#include "store/date_text.h"
#include "dates/date_time.h"

namespace tavo::gui {
namespace {

QDate ToQDate(double date) {
  const CivilDate d = DecodeDate(date);
  return QDate(d.Year, d.Month, d.Day);
}

QString DateMask() {
  const bool year_first = platform::CurrentDateOrder() == platform::DateOrder::YearMonthDay;
  return year_first ? QStringLiteral("9999/99/99; ") : QStringLiteral("99/99/9999; ");
}

}  // namespace

DateField::DateField(QWidget* parent) : MaskedField(DateMask(), parent) {
  setFont(SansSerifFont(11));
  button_ = new QToolButton(this);
  button_->setArrowType(Qt::DownArrow);
  button_->setCursor(HandCursor());
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setAccessibleName(QStringLiteral("Escolha uma Data"));
  button_->setAccessibleDescription(QStringLiteral("Alt+Seta para baixo"));
  setTextMargins(0, 0, 14, 0);
  connect(button_, &QToolButton::clicked, this, &DateField::DropDown);
}

void DateField::MakeCalendar() {
  // Made at the first drop-down: a calendar that exists hidden would still
  // announce its current day to a screen reader whenever its date is set.
  calendar_ = new QCalendarWidget(this);
  calendar_->setWindowFlags(Qt::Popup);
  calendar_->setWindowTitle(QStringLiteral("Escolha uma Data"));
  calendar_->setFirstDayOfWeek(Qt::Sunday);
  calendar_->setGridVisible(true);
  calendar_->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
  calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  AddYearButtons();
  // The four navigation buttons, named for screen readers; no tooltips.
  const std::pair<const char*, const char*> names[] = {
      {"quelvo_calendar_prevyear", "Ano Anterior"},
      {"qt_calendar_prevmonth", "Mês Anterior"},
      {"qt_calendar_nextmonth", "Próximo Mês"},
      {"quelvo_calendar_nextyear", "Próximo Ano"},
  };
  for (const auto& [object, name] : names)
    if (auto* button = calendar_->findChild<QToolButton*>(QString::fromLatin1(object))) {
      button->setAccessibleName(QString::fromUtf8(name));
      button->setToolTip(QString());
    }
  // Its buttons and days are clicked: the hand cursor.
  for (QToolButton* button : calendar_->findChildren<QToolButton*>()) button->setCursor(HandCursor());
  if (auto* days = calendar_->findChild<QAbstractItemView*>()) days->viewport()->setCursor(HandCursor());
  // One click on a day picks it, as Enter or a double click do.
  connect(calendar_, &QCalendarWidget::activated, this, &DateField::Pick);
  connect(calendar_, &QCalendarWidget::clicked, this, &DateField::Pick);
}

void DateField::AddYearButtons() {
  // QCalendarWidget steps by months only; a year back and on go at the ends
  // of its navigation bar.
  auto* bar = calendar_->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
  auto* layout = bar ? qobject_cast<QBoxLayout*>(bar->layout()) : nullptr;
  if (!layout) return;
  auto year_button = [bar](const char* object, QChar arrow) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(object));
    button->setText(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    // Drawn as the month arrows are: the sign alone on the bar, also under the mouse.
    button->setStyleSheet(QStringLiteral(
        "QToolButton { border: none; background: transparent; color: palette(highlighted-text);"
        " font-weight: bold; padding: 0 4px; }"));
    return button;
  };
  QToolButton* previous = year_button("quelvo_calendar_prevyear", QChar(0x00AB));  // «
  QToolButton* next = year_button("quelvo_calendar_nextyear", QChar(0x00BB));      // »
  connect(previous, &QToolButton::clicked, calendar_, &QCalendarWidget::showPreviousYear);
  connect(next, &QToolButton::clicked, calendar_, &QCalendarWidget::showNextYear);
  layout->insertWidget(0, previous);
  layout->addWidget(next);
}

std::string DateField::FieldText() const {
  std::string text = ToCp(displayText());
  text.resize(10, ' ');
  return text;
}

void DateField::Pick(QDate picked) {
  if (!CalendarShown()) return;  // the second signal of a double click
  calendar_->hide();
  setFocus(Qt::PopupFocusReason);
  double date = EncodeDate(picked.year(), picked.month(), picked.day());
  emit AcceptDate(date);
}

double DateField::Date() const { return TextToDate(FieldText()); }

void DateField::SetDate(double date) { setText(FromCp(DateToText(date))); }

void DateField::DropDown() {
  if (!calendar_) MakeCalendar();
  calendar_->move(mapToGlobal(QPoint(0, height())));
  calendar_->show();
  // The day is set once the calendar shows: it is announced as it gets the focus.
  const double date = Date();
  if (IsValidDateTime(date)) calendar_->setSelectedDate(ToQDate(date));
  calendar_->setFocus();
}

bool DateField::CalendarShown() const { return calendar_ && calendar_->isVisible(); }

void DateField::focusOutEvent(QFocusEvent* event) {
  MaskedField::focusOutEvent(event);
  if (!CalendarShown()) emit Exited();
}

void DateField::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
      emit Exited();
      return;
    }
  }
  if (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier) {
    DropDown();
    return;
  }
  MaskedField::keyPressEvent(event);
}

void DateField::resizeEvent(QResizeEvent* event) {
  MaskedField::resizeEvent(event);
  button_->setGeometry(width() - 15, 1, 14, height() - 2);
}

}  // namespace tavo::gui
