#pragma once

// The month the calendar control shows, apart from any painting: the 42 day cells with their
// lunar texts and colours, the week numbers, the chosen-date texts, the date change with its
// refusals, and the arithmetic of the month and year steps and of the grid layout.
#include "calendar/ChnCalendarUse.h"

#include <QColor>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace tevuna {

// A colour written 0x00BBGGRR, red in the low byte, as the control's colour values are given.
constexpr QRgb fromTColor(quint32 bgr)
{
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

struct TDayCell {
    int Day = 0;
    bool HasDate = false;
    QString DayText; // the day number, or the text of an information cell
    QString CnMonth;
    QString CnDay;
    QString CnText; // what is drawn under the day number
    QColor DateColor;
    QColor CnColor;
};

// The colours the month is built with; a change rebuilds the month.
struct MonthColors {
    QColor CnDate = QColor(fromTColor(0x008000));
    QColor Date = QColor(fromTColor(0x4F4F4F));
    QColor Holiday = QColor(fromTColor(0x0080FF));
    QColor LunarHolDay = QColor(fromTColor(0xFF5353));
    QColor CnHolDay = QColor(fromTColor(0x0080FF));
};

// The calendar the control labels days in, the one the engine reads dates in: Julian before
// 1582-10-15, Gregorian from then on, 1582-10-05..14 missing; years before 1 count down
// without a year 0 (-1 is 1 BC), as in QCalendar. A QDate always holds the real day; only its
// year, month and day labels follow this calendar. Every conversion between the two goes
// through these functions.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate &, const CalendarDate &) = default;
};
// The labels of a real day; all zero for an invalid date.
CalendarDate toCalendarDate(const QDate &date);
// The real day of labels; an invalid date for labels the calendar does not have (1500-02-30,
// 1582-10-10, year 0).
QDate fromCalendarDate(int year, int month, int day);
// The days that exist in a month: 29 in February 1500, 21 in October 1582.
int daysInCalendarMonth(int year, int month);
// The ISO week rule on these labels: a Monday-to-Sunday week belongs to the year of its
// Thursday and is numbered from that year's first Thursday. Equal to QDate::weekNumber from
// 1582-10-15 on.
int calendarWeekNumber(const QDate &date);

class ChnCalendarPickerModel
{
public:
    static constexpr int kCellCount = 42;
    static constexpr int kLastDayCell = 37;   // cells 38 and 39 stay empty
    static constexpr int kConstellation = 40; // information cells 40..42
    static constexpr int kYearGanZhi = 41;
    static constexpr int kAnimalYear = 42;
    static constexpr int kWeekRows = 6;
    static constexpr int kMinYear = 1; // the year stepper's range
    static constexpr int kMaxYear = 2100;

    ChnCalendarPickerModel();

    // Years 1..2100 as the control labels them: the dates it accepts by any route.
    static bool inRange(const QDate &date);

    const QDateTime &dateTime() const { return m_dateTime; }
    // Whether setting x would be a date change: false for the value already held (time of
    // day included) and for a date outside the accepted years.
    bool accepts(const QDateTime &x) const;
    // The date change: stores x and rebuilds the chosen-date texts and the month. Returns
    // false, changing nothing, when accepts(x) is false.
    bool setDateTime(const QDateTime &x);
    // Builds the month of the current date again, e.g. after a colour change.
    void rebuildMonth();

    const MonthColors &colors() const { return m_colors; }
    void setColors(const MonthColors &colors);

    // Cells are numbered 1..42: cell i is grid row (i - 1) / 7 + 1, column (i - 1) % 7 + 1.
    const TDayCell &cell(int i) const { return m_cells.at(static_cast<std::size_t>(i - 1)); }
    // Week number labels of grid rows 1..6; empty where a row has none.
    const QString &weekNum(int row) const
    {
        return m_weekNums.at(static_cast<std::size_t>(row - 1));
    }
    // The cell of the chosen day, 0 before the first date change.
    int chosenCell() const { return m_chosenCell; }

    static int cellIndex(int column, int row) { return column + (row - 1) * 7; }
    // Whether the grid may move its current cell to (column, row): only onto a day of the
    // shown month.
    bool selectable(int column, int row) const;

    // Texts of the chosen date. CnMonth, CnDay and CnDate may be overwritten by the owner;
    // the next date change sets them again.
    QString CnMonth;
    QString CnDay;
    QString CnDate;
    const QString &yearText() const { return m_yearText; }
    const QString &monthText() const { return m_monthText; }
    const QString &selectedLine() const { return m_selectedLine; }

private:
    void buildMonth();

    QDateTime m_dateTime; // invalid until the first date change
    MonthColors m_colors;
    std::array<TDayCell, kCellCount> m_cells;
    std::array<QString, kWeekRows> m_weekNums;
    int m_chosenCell = 0;
    QString m_yearText;
    QString m_monthText;
    QString m_selectedLine;
    calendar::TChnCal m_cal;
};

// Where the month and year steps lead. The steppers hold the values the user stepped to;
// nullopt means the step is refused (a year outside 1..2100) and the date stays.
struct Steppers {
    int year = 1;  // 1..2100
    int month = 1; // 0..13: 0 and 13 wrap into the previous and the next year
};
// The month step: the day is lowered until the date exists (31 March back to 28/29
// February, 10 September 1582 on to 4 October); the time becomes 00:00. Wrapping sets the year
// stepper, within its range.
std::optional<QDateTime> monthStep(const QDateTime &current, Steppers &steppers);
// The year step: the year stepper's year, the day lowered until the date exists
// (29 February 2012 to 28 February 2013), at 00:00.
std::optional<QDateTime> yearStep(const QDateTime &current, const Steppers &steppers);

// Row heights and column widths of the 9 x 7 day grid for its client size, the header row
// height h0 and the week-number column width w0. Rows 1..5 and columns 1..7 share the space
// evenly; row 6 and the filler column 8 take what the truncation leaves.
struct GridLayout {
    std::array<int, 9> columnWidths{};
    std::array<int, 7> rowHeights{};
};
GridLayout layoutGrid(int clientWidth, int clientHeight, int w0, int h0);

// The weekday header of a grid column of this width: the Chinese locale's long names ("星期日")
// where the column is wider than 38 pixels, else the short ones ("日"); "W" over the week
// numbers while they show.
QString weekdayHeaderText(int column, int cellWidth, bool showWeekNum);

} // namespace tevuna
