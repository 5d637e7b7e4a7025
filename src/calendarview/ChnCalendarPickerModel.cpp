#include "calendarview/ChnCalendarPickerModel.h"

#include "calendar/CnCalendar.h"

#include <QCalendar>
#include <QLocale>

#include <algorithm>
#include <tuple>

namespace tevuna {

namespace {

// Weekend day numbers are red whatever the colour properties hold; so is the lunar month
// name on the first day of a lunar month.
constexpr QRgb kRed = fromTColor(0x0000FF);
// Chosen dates before this year name the reign era instead of the Gregorian date.
constexpr int kFirstYearWithoutEra = 1949;

// The first Gregorian day; the day before it is Julian 1582-10-04.
const QDate kGregorianStart(1582, 10, 15);

const QCalendar &julian()
{
    static const QCalendar calendar(QCalendar::System::Julian);
    return calendar;
}

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

// TChnCal names a TDateTime's day as the engine does (Julian before 1582-10-15), so the
// control's labels encode as they stand.
void setCalendarDate(calendar::TChnCal &cal, const CalendarDate &date)
{
    calendar::TDateTime value = 0;
    if (calendar::encodeDate(date.year, date.month, date.day, value))
        cal.SetDate(value);
}

} // namespace

CalendarDate toCalendarDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    CalendarDate labels;
    if (date >= kGregorianStart) {
        date.getDate(&labels.year, &labels.month, &labels.day);
        return labels;
    }
    const QCalendar::YearMonthDay parts = julian().partsFromDate(date);
    labels = {parts.year, parts.month, parts.day};
    return labels;
}

QDate fromCalendarDate(int year, int month, int day)
{
    if (std::tuple(year, month, day) >= std::tuple(1582, 10, 15))
        return QDate(year, month, day);
    // Julian labels of 1582-10-05 and later name days that are already Gregorian.
    const QDate date(year, month, day, julian());
    return date.isValid() && date < kGregorianStart ? date : QDate();
}

int daysInCalendarMonth(int year, int month)
{
    const QDate first = fromCalendarDate(year, month, 1);
    const QDate next = month == 12 ? fromCalendarDate(year == -1 ? 1 : year + 1, 1, 1)
                                   : fromCalendarDate(year, month + 1, 1);
    if (!first.isValid() || !next.isValid())
        return 0;
    return static_cast<int>(first.daysTo(next));
}

int calendarWeekNumber(const QDate &date)
{
    const QDate thursday = date.addDays(4 - date.dayOfWeek());
    const QDate newYear = fromCalendarDate(toCalendarDate(thursday).year, 1, 1);
    return static_cast<int>(newYear.daysTo(thursday) / 7) + 1;
}

ChnCalendarPickerModel::ChnCalendarPickerModel() = default;

bool ChnCalendarPickerModel::inRange(const QDate &date)
{
    const int year = toCalendarDate(date).year;
    return date.isValid() && year >= kMinYear && year <= kMaxYear;
}

bool ChnCalendarPickerModel::accepts(const QDateTime &x) const
{
    if (x.isValid() && m_dateTime.isValid() && x == m_dateTime)
        return false;
    return x.isValid() && inRange(x.date());
}

bool ChnCalendarPickerModel::setDateTime(const QDateTime &x)
{
    if (!accepts(x))
        return false;
    // Kept to the millisecond, as the clock gives it.
    m_dateTime = x;
    const QDate date = x.date();
    const CalendarDate chosen = toCalendarDate(date);

    setCalendarDate(m_cal, chosen);
    CnMonth = text(m_cal.CnMonthText);
    CnDay = text(m_cal.CnDayText);
    CnDate = CnMonth + CnDay;

    m_yearText = QString::number(chosen.year);
    m_monthText = QString::number(chosen.month);

    for (int i = kConstellation; i <= kAnimalYear; ++i)
        m_cells[static_cast<std::size_t>(i - 1)].HasDate = true;
    m_cells[kYearGanZhi - 1].DayText = text(m_cal.YearGanZhiText);
    m_cells[kAnimalYear - 1].DayText = text(m_cal.AnimalText) + QStringLiteral("年");

    const QString lunar = QStringLiteral(" 农历") + CnDate;
    m_selectedLine = chosen.year < kFirstYearWithoutEra
                         ? text(m_cal.EraText) + lunar
                         : date.toString(QStringLiteral("yyyy-MM-dd")) + lunar;

    rebuildMonth();
    return true;
}

void ChnCalendarPickerModel::rebuildMonth()
{
    if (!m_dateTime.isValid())
        return;
    try {
        buildMonth();
    } catch (...) {
        // The control swallows its failures, but never shows half a month: on failure the
        // day cells stay empty.
        for (int i = 1; i <= kLastDayCell; ++i)
            m_cells[static_cast<std::size_t>(i - 1)] = TDayCell{};
        m_weekNums.fill(QString());
        m_chosenCell = 0;
    }
}

void ChnCalendarPickerModel::setColors(const MonthColors &colors)
{
    m_colors = colors;
    rebuildMonth();
}

void ChnCalendarPickerModel::buildMonth()
{
    std::array<TDayCell, kLastDayCell> cells;
    std::array<QString, kWeekRows> weekNums;
    for (int i = 1; i <= kLastDayCell; ++i) {
        TDayCell &c = cells[static_cast<std::size_t>(i - 1)];
        c.DateColor = i % 7 == 1 || i % 7 == 0 ? QColor(kRed) : m_colors.Date;
    }

    // Days run on from the first of the month without a gap in the weekdays, also where the
    // labels jump from 4 to 15 October 1582.
    const QDate chosen = m_dateTime.date();
    const CalendarDate shown = toCalendarDate(chosen);
    const QDate firstOfMonth = fromCalendarDate(shown.year, shown.month, 1);
    const int first = firstOfMonth.dayOfWeek() % 7 + 1; // 1 = Sunday .. 7 = Saturday
    const int days = daysInCalendarMonth(shown.year, shown.month);
    std::size_t row = 0;
    int chosenCell = 0;
    QString constellation;
    for (int k = 0; k < days; ++k) {
        const int i = first + k;
        const QDate date = firstOfMonth.addDays(k);
        const CalendarDate labels = toCalendarDate(date);
        setCalendarDate(m_cal, labels);

        // Labels follow the ISO week, which starts on Monday, while rows start on Sunday.
        if (k == 0 || date.dayOfWeek() == Qt::Monday) {
            if (row < weekNums.size())
                weekNums[row] = QString::number(calendarWeekNumber(date));
            ++row;
        }

        TDayCell &c = cells[static_cast<std::size_t>(i - 1)];
        c.Day = labels.day;
        c.DayText = QString::number(labels.day);
        c.CnMonth = text(m_cal.CnMonthText);
        c.CnDay = text(m_cal.CnDayText);
        if (c.CnDay != QStringLiteral("初一")) {
            c.CnText = c.CnDay;
            c.CnColor = m_colors.CnDate;
        } else {
            c.CnText = c.CnMonth;
            c.CnColor = QColor(kRed);
        }
        // A lunar festival wins over a solar term, a solar term over a Gregorian festival.
        if (!m_cal.HolidayText.empty()) {
            c.CnText = text(m_cal.HolidayText);
            c.CnColor = m_colors.Holiday;
        }
        if (!m_cal.SolarTermText.empty()) {
            c.CnText = text(m_cal.SolarTermText);
            c.CnColor = m_colors.LunarHolDay;
        }
        if (!m_cal.CnHolidayText.empty()) {
            c.CnText = text(m_cal.CnHolidayText);
            c.CnColor = m_colors.CnHolDay;
        }
        if (date == chosen) {
            constellation = text(m_cal.ConstellationText);
            chosenCell = i;
        }
        c.HasDate = true;
    }

    std::copy(cells.begin(), cells.end(), m_cells.begin());
    m_weekNums = weekNums;
    m_cells[kConstellation - 1].DayText = constellation;
    m_chosenCell = chosenCell;
}

bool ChnCalendarPickerModel::selectable(int column, int row) const
{
    if (column < 1 || column > 7 || row < 1 || row > kWeekRows)
        return false;
    const int i = cellIndex(column, row);
    return i <= kLastDayCell && cell(i).HasDate;
}

namespace {

std::optional<QDateTime> dateAtMidnight(int y, int m, int day)
{
    if (y < ChnCalendarPickerModel::kMinYear || y > ChnCalendarPickerModel::kMaxYear)
        return std::nullopt;
    QDate date = fromCalendarDate(y, m, day);
    while (day > 1 && !date.isValid())
        date = fromCalendarDate(y, m, --day);
    if (!date.isValid())
        return std::nullopt;
    return QDateTime(date, QTime(0, 0));
}

int clampYear(int y)
{
    return std::clamp(y, ChnCalendarPickerModel::kMinYear, ChnCalendarPickerModel::kMaxYear);
}

} // namespace

std::optional<QDateTime> monthStep(const QDateTime &current, Steppers &steppers)
{
    if (!current.isValid())
        return std::nullopt;
    const CalendarDate from = toCalendarDate(current.date());
    int y = from.year;
    if (steppers.month >= 13) {
        ++y;
        steppers.year = clampYear(y);
        steppers.month = 1;
    } else if (steppers.month <= 0) {
        --y;
        steppers.year = clampYear(y);
        steppers.month = 12;
    }
    return dateAtMidnight(y, steppers.month, from.day);
}

std::optional<QDateTime> yearStep(const QDateTime &current, const Steppers &steppers)
{
    if (!current.isValid())
        return std::nullopt;
    const CalendarDate from = toCalendarDate(current.date());
    return dateAtMidnight(steppers.year, from.month, from.day);
}

GridLayout layoutGrid(int clientWidth, int clientHeight, int w0, int h0)
{
    GridLayout g;
    g.rowHeights[0] = h0;
    g.columnWidths[0] = w0;
    const int h = (clientHeight - h0) / 6;
    for (std::size_t r = 1; r <= 5; ++r)
        g.rowHeights[r] = h - 1;
    g.rowHeights[6] = clientHeight - (h0 + 5 * (h - 1));
    const int w = (clientWidth - w0) / 7;
    for (std::size_t c = 1; c <= 7; ++c)
        g.columnWidths[c] = w - 1;
    g.columnWidths[8] = clientWidth - (w0 + 7 * (w - 1));
    return g;
}

QString weekdayHeaderText(int column, int cellWidth, bool showWeekNum)
{
    // Header text runs in a rectangle two pixels narrower than the cell.
    constexpr int kShortNamesUpTo = 36;
    if (column == 0)
        return showWeekNum ? QStringLiteral("W") : QString();
    if (column < 1 || column > 7)
        return {};
    if (cellWidth - 2 > kShortNamesUpTo) {
        // Weekday and month names are Chinese whatever the machine's locale. Qt counts
        // Monday as 1 and Sunday as 7; column 1 is Sunday.
        static const QLocale chinese(QLocale::Chinese, QLocale::China);
        return chinese.dayName(column == 1 ? 7 : column - 1, QLocale::LongFormat);
    }
    static const QString kShort[] = {
        QStringLiteral("日"), QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
        QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六")};
    return kShort[column - 1];
}

} // namespace tevuna
