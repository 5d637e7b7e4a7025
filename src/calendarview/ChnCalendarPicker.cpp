#include "calendarview/ChnCalendarPicker.h"

#include "base/Clock.h"
#include "calendarview/ChnCalendarPickerPaint.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace tevuna {

namespace {

constexpr QSize kCreatedSize(313, 253);
constexpr int kHeaderHeight = 18;
constexpr int kWeekNumWidth = 18;
constexpr int kNoWeekNumWidth = 6;
// A standard grid steps its current cell toward a pointer held outside it at this pace.
constexpr int kTrackIntervalMs = 60;
constexpr QSize kUpDownSize(17, 24);
constexpr int kSelectedLineLeft = 10;
constexpr int kSelectedLineTop = 236;
// Information cells draw their text this far below the cell's top.
constexpr int kInfoTextTop = 8;

QFont simSun(int pointSize)
{
    QFont f(QStringLiteral("宋体"));
    f.setPointSize(pointSize);
    return f;
}

// "Arial Black" is a face of black weight, not a style; the face we fall back on needs the
// weight asked for to look the same.
QFont arialBlack(const QFont &base, int pointSize)
{
    QFont f = base;
    f.setFamily(QStringLiteral("Arial Black"));
    f.setPointSize(pointSize);
    f.setWeight(QFont::Black);
    return f;
}

// Weekday and month names are Chinese whatever the machine's locale.
const QLocale &chineseLocale()
{
    static const QLocale locale(QLocale::Chinese, QLocale::China);
    return locale;
}

QLabel *titleLabel(QWidget *parent, const char *name, const QFont &font, const QColor &color)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    return label;
}

QColor labelColor(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

void setLabelColor(QLabel *label, const QColor &color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
}

// Sets a flag for the length of a scope, also when the scope is left by an exception.
class FlagScope
{
public:
    explicit FlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TUpDown

TUpDown::TUpDown(int minimum, int maximum, QWidget *parent)
    : QWidget(parent), m_min(minimum), m_max(maximum), m_value(minimum),
      m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    resize(kUpDownSize);
    const int half = kUpDownSize.height() / 2;
    m_up->setObjectName(QStringLiteral("Up"));
    m_up->setArrowType(Qt::UpArrow);
    m_up->setGeometry(0, 0, kUpDownSize.width(), half);
    m_down->setObjectName(QStringLiteral("Down"));
    m_down->setArrowType(Qt::DownArrow);
    m_down->setGeometry(0, half, kUpDownSize.width(), kUpDownSize.height() - half);
    for (QToolButton *b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void TUpDown::setValue(int value)
{
    m_value = std::clamp(value, m_min, m_max);
}

void TUpDown::stepBy(int delta)
{
    const int next = std::clamp(m_value + delta, m_min, m_max);
    if (next == m_value)
        return;
    m_value = next;
    emit OnClick();
}

// ---------------------------------------------------------------------------------------------
// TChnDayGrid

TChnDayGrid::TChnDayGrid(TChnCalendar *owner)
    : QWidget(owner), m_owner(owner), m_trackTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("DayGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Every pixel is painted from the background layer: nothing under the grid shows.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_trackTimer->setInterval(kTrackIntervalMs);
    connect(m_trackTimer, &QTimer::timeout, this, &TChnDayGrid::trackOutside);
}

void TChnDayGrid::setColumnWidth(int c, int width)
{
    m_columnWidths.at(static_cast<std::size_t>(c)) = std::max(0, width);
    update();
}

void TChnDayGrid::setRowHeight(int r, int height)
{
    m_rowHeights.at(static_cast<std::size_t>(r)) = std::max(0, height);
    update();
}

QRect TChnDayGrid::cellRect(int column, int row) const
{
    int x = 0, y = 0;
    for (int c = 0; c < column; ++c)
        x += columnWidth(c);
    for (int r = 0; r < row; ++r)
        y += rowHeight(r);
    return QRect(x, y, columnWidth(column), rowHeight(row));
}

QPoint TChnDayGrid::cellAt(QPoint pos) const
{
    int column = -1, row = -1;
    for (int c = 0, x = 0; c < 9; x += columnWidth(c), ++c) {
        if (pos.x() >= x && pos.x() < x + columnWidth(c)) {
            column = c;
            break;
        }
    }
    for (int r = 0, y = 0; r < 7; y += rowHeight(r), ++r) {
        if (pos.y() >= y && pos.y() < y + rowHeight(r)) {
            row = r;
            break;
        }
    }
    if (column < 0 || row < 0)
        return QPoint(-1, -1);
    return QPoint(column, row);
}

void TChnDayGrid::updateCell(QPoint cell)
{
    update(cellRect(cell.x(), cell.y()));
}

bool TChnDayGrid::requestMove(QPoint cell)
{
    if (!m_owner->selectCell(cell.x(), cell.y()))
        return false;
    if (cell != m_current) {
        updateCell(m_current);
        m_current = cell;
        updateCell(m_current);
    }
    return true;
}

void TChnDayGrid::setRow(int row)
{
    if (row == m_current.y())
        return;
    requestMove(QPoint(m_current.x(), row));
    m_owner->gridClick();
}

void TChnDayGrid::setColumn(int column)
{
    if (column == m_current.x())
        return;
    requestMove(QPoint(column, m_current.y()));
    m_owner->gridClick();
}

void TChnDayGrid::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect dirty = event->rect();
    // The grid is transparent: the background layer under it shows through every cell and
    // wherever the columns do not reach.
    p.drawImage(dirty.topLeft(), m_owner->m_background, dirty.translated(pos()));
    const bool focused = hasFocus();
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 9; ++c) {
            const QRect cell = cellRect(c, r);
            if (cell.isEmpty() || !cell.intersects(dirty))
                continue;
            const bool selected = QPoint(c, r) == m_current;
            p.save();
            p.translate(cell.topLeft());
            p.setClipRect(QRect(QPoint(0, 0), cell.size()));
            try {
                m_owner->drawCell(p, c, r, cell.size(), selected, selected && focused);
            } catch (...) {
                // A failing cell must not take the rest of the grid down with it.
            }
            p.restore();
        }
    }
}

void TChnDayGrid::mousePressEvent(QMouseEvent *event)
{
    m_pointer = event->position().toPoint();
    m_pointerInside = rect().contains(m_pointer);
    // The focus comes first: whatever had it (the memo box) gets its focus-out before the
    // date changes.
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        const QPoint cell = cellAt(m_pointer);
        if (cell.x() >= 0)
            requestMove(cell);
        m_selecting = true;
    }
    m_owner->gridMousePress();
}

void TChnDayGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The press of the second click has been handled already; it moves nothing more.
    m_pointer = event->position().toPoint();
    m_pointerInside = rect().contains(m_pointer);
    m_owner->gridMousePress();
}

void TChnDayGrid::followPointer()
{
    const QPoint cell = cellAt(m_pointer);
    if (cell.x() >= 0 && cell != m_current)
        requestMove(cell);
}

void TChnDayGrid::trackOutside()
{
    if (!m_selecting || m_pointerInside) {
        m_trackTimer->stop();
        return;
    }
    // One cell toward the pointer on each side where it lies outside the grid; along the
    // other axis the cell under the pointer.
    const QPoint under = cellAt(QPoint(std::clamp(m_pointer.x(), 0, std::max(0, width() - 1)),
                                       std::clamp(m_pointer.y(), 0, std::max(0, height() - 1))));
    QPoint target = m_current;
    if (m_pointer.x() < 0)
        target.rx() = m_current.x() - 1;
    else if (m_pointer.x() >= width())
        target.rx() = m_current.x() + 1;
    else if (under.x() >= 0)
        target.rx() = under.x();
    if (m_pointer.y() < 0)
        target.ry() = m_current.y() - 1;
    else if (m_pointer.y() >= height())
        target.ry() = m_current.y() + 1;
    else if (under.y() >= 0)
        target.ry() = under.y();
    target = QPoint(std::clamp(target.x(), 0, 8), std::clamp(target.y(), 0, 6));
    if (target != m_current)
        requestMove(target);
}

void TChnDayGrid::mouseMoveEvent(QMouseEvent *event)
{
    m_pointer = event->position().toPoint();
    m_pointerInside = rect().contains(m_pointer);
    if (!m_selecting || !(event->buttons() & Qt::LeftButton))
        return;
    if (m_pointerInside) {
        m_trackTimer->stop();
        followPointer();
    } else if (!m_trackTimer->isActive()) {
        m_trackTimer->start();
    }
}

void TChnDayGrid::mouseReleaseEvent(QMouseEvent *event)
{
    m_pointer = event->position().toPoint();
    m_pointerInside = rect().contains(m_pointer);
    if (event->button() != Qt::LeftButton || !m_selecting)
        return;
    m_selecting = false;
    m_trackTimer->stop();
    if (m_pointerInside)
        followPointer();
    m_owner->gridClick();
}

void TChnDayGrid::keyPressEvent(QKeyEvent *event)
{
    QPoint next = m_current;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        next.rx() -= 1;
        break;
    case Qt::Key_Right:
        next.rx() += 1;
        break;
    case Qt::Key_Up:
        next.ry() -= 1;
        break;
    case Qt::Key_Down:
        next.ry() += 1;
        break;
    case Qt::Key_Home:
        next.rx() = 0;
        if (ctrl)
            next.ry() = 0;
        break;
    case Qt::Key_End:
        next.rx() = 8;
        if (ctrl)
            next.ry() = 6;
        break;
    case Qt::Key_PageUp: // every row is visible, so a page is the whole grid
        next.ry() = 0;
        break;
    case Qt::Key_PageDown:
        next.ry() = 6;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    next = QPoint(std::clamp(next.x(), 0, 8), std::clamp(next.y(), 0, 6));
    if (next == m_current)
        return;
    requestMove(next);
    m_owner->gridClick();
}

void TChnDayGrid::leaveEvent(QEvent *event)
{
    m_pointerInside = false;
    m_owner->m_mousePressed = false;
    QWidget::leaveEvent(event);
}

void TChnDayGrid::focusInEvent(QFocusEvent *event)
{
    updateCell(m_current);
    QWidget::focusInEvent(event);
}

void TChnDayGrid::focusOutEvent(QFocusEvent *event)
{
    updateCell(m_current);
    QWidget::focusOutEvent(event);
}

void TChnDayGrid::contextMenuEvent(QContextMenuEvent *event)
{
    // The title bar offers the year menu while it shows; without it, the grid does.
    if (!m_owner->m_showTitle && m_owner->m_menuYear)
        m_owner->m_menuYear->popup(event->globalPos());
}

// ---------------------------------------------------------------------------------------------
// TChnCalendar

TChnCalendar::TChnCalendar(QWidget *parent)
    : QWidget(parent), m_fontCnDate(simSun(9)), m_fontSmall(simSun(9)),
      m_colorTitleWeekLine(fromTColor(0xC5C5C5)), m_colorTitleWeekEnd(fromTColor(0x0000FF)),
      m_colorTitleWeek(fromTColor(0x4F4F4F)), m_colorSelectedStart(fromTColor(0x53AE00)),
      m_colorSelectedEnd(fromTColor(0x65D500)), m_colorSelectedFrame(fromTColor(0x469300)),
      m_colorWeekNum(fromTColor(0x808080)), m_colorShowFrame(fromTColor(0x808080)),
      m_colorBackYear(fromTColor(0xDDE8FF)), m_colorBackMonth(fromTColor(0xEBEBEB)),
      m_colorTitleConstellation(fromTColor(0x000000)), m_colorTitleAnimalsYear(fromTColor(0x000000))
{
    // The day numbers keep the platform font's other attributes; "黑体" is not installed
    // everywhere, so a Simplified Chinese sans face stands behind it.
    m_fontDate = QApplication::font();
    m_fontDate.setFamilies({QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC")});
    m_fontDate.setPointSize(9);
    m_fontDate.setBold(true);
    // The weekday header is drawn in the control's font, so it must carry Chinese glyphs.
    setFont(simSun(9));
    resize(kCreatedSize);
    setFocusPolicy(Qt::StrongFocus);

    const QColor black(Qt::black);
    QFont monthFont(QStringLiteral("Arial"));
    monthFont.setPointSize(24);
    monthFont.setBold(true);
    m_lblMonth = titleLabel(this, "lblMonth", monthFont, QColor(fromTColor(0xC08080)));
    m_lblMonth->setAlignment(Qt::AlignRight | Qt::AlignTop);
    // Created empty at left 34, measuring one blank: its right edge stays there for good.
    m_monthRight = 34 + QFontMetrics(monthFont).horizontalAdvance(QLatin1Char(' '));
    m_lblMonth->move(34, 3);
    m_lblMonthSign = titleLabel(this, "lblMonthSign", simSun(9), black);
    m_lblMonthSign->setText(QStringLiteral("月"));
    m_lblMonthSign->adjustSize();
    m_lblMonthSign->move(45, 20);
    m_udMonth = new TUpDown(0, 13, this);
    m_udMonth->setObjectName(QStringLiteral("udMonth"));
    m_udMonth->move(60, 10);
    QFont yearFont = arialBlack(QFont(), 22);
    m_lblYear = titleLabel(this, "lblYear", yearFont, QColor(fromTColor(0xFF0000)));
    m_lblYear->move(120, 0);
    m_lblYearSign = titleLabel(this, "lblYearSign", simSun(9), black);
    m_lblYearSign->setText(QStringLiteral("年"));
    m_lblYearSign->adjustSize();
    m_lblYearSign->move(205, 18);
    m_udYear =
        new TUpDown(ChnCalendarPickerModel::kMinYear, ChnCalendarPickerModel::kMaxYear, this);
    m_udYear->setObjectName(QStringLiteral("udYear"));
    m_udYear->move(220, 10);
    QFont link = simSun(9);
    link.setUnderline(true);
    m_lblToday = titleLabel(this, "lblToday", link, QColor(fromTColor(0xFF0000)));
    m_lblToday->setText(QStringLiteral("今天"));
    m_lblToday->adjustSize();
    m_lblToday->move(272, 18);
    m_lblSelected = titleLabel(this, "lblSelected", simSun(9), QColor(fromTColor(0x808080)));
    m_lblSelected->move(kSelectedLineLeft, kSelectedLineTop);
    m_lblSelected->setAttribute(Qt::WA_TransparentForMouseEvents);

    for (QLabel *l : {m_lblMonth, m_lblMonthSign, m_lblYear, m_lblYearSign, m_lblToday})
        l->setCursor(Qt::PointingHandCursor);
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_lblMonth, m_lblMonthSign, m_lblYear, m_lblYearSign, m_lblToday, m_udMonth, m_udYear})
        w->installEventFilter(this);
    m_udMonth->setVisible(m_showTitle);
    m_udYear->setVisible(m_showTitle);
    connect(m_udMonth, &TUpDown::OnClick, this, &TChnCalendar::monthStepClicked);
    connect(m_udYear, &TUpDown::OnClick, this, &TChnCalendar::yearStepClicked);

    // Created last, so it lies over the title labels when it covers the whole control.
    m_grid = new TChnDayGrid(this);
    m_grid->setGeometry(8, 40, 298, 186);
    setFocusProxy(m_grid);

    m_menuMonth = new QMenu(this);
    m_menuMonth->setObjectName(QStringLiteral("MenuMonth"));
    m_menuYear = new QMenu(this);
    m_menuYear->setObjectName(QStringLiteral("MenuYear"));
}

TChnCalendar::~TChnCalendar() = default;

bool TChnCalendar::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    // Polishing is the last step before the control is first shown or grabbed: the moment
    // its window comes to exist.
    if (event->type() == QEvent::Polish)
        createWindow();
    return handled;
}

void TChnCalendar::createWindow()
{
    if (m_windowCreated)
        return;
    m_windowCreated = true;
    buildMenus();
    m_grid->setRowHeight(0, kHeaderHeight);
    m_grid->setColumnWidth(0, m_showWeekNum ? kWeekNumWidth : kNoWeekNumWidth);
    layoutGrid();
    // A date the owner chose before the window existed stays chosen.
    if (!m_model.dateTime().isValid())
        goToday();
    setShowTitle(true);
}

void TChnCalendar::buildMenus()
{
    QFont bold = m_menuMonth->font();
    bold.setBold(true);
    const auto addToday = [this, &bold](QMenu *menu, const char *name) {
        QAction *today = menu->addAction(QStringLiteral("今日"));
        today->setObjectName(QString::fromLatin1(name));
        today->setFont(bold);
        menu->setDefaultAction(today);
        connect(today, &QAction::triggered, this, [this] {
            m_grid->setFocus(Qt::OtherFocusReason);
            goToday();
        });
    };
    const auto addSeparator = [](QMenu *menu, const QString &name) {
        menu->addSeparator()->setObjectName(name);
    };

    addToday(m_menuMonth, "MenuMonth_ToDay");
    addSeparator(m_menuMonth, QStringLiteral("MenuMonth_ToDay_"));
    for (int m = 1; m <= 12; ++m) {
        QAction *a = m_menuMonth->addAction(chineseLocale().monthName(m, QLocale::LongFormat));
        a->setObjectName(QStringLiteral("MenuMonth_%1").arg(m - 1));
        a->setData(m);
        connect(a, &QAction::triggered, this, [this, m] {
            m_udMonth->setValue(m);
            runMonthStep();
        });
    }

    const auto addYear = [this](QMenu *menu, const QString &name, int year) {
        QAction *a = menu->addAction(QString::number(year));
        a->setObjectName(name);
        a->setData(year);
        connect(a, &QAction::triggered, this, [this, year] {
            m_udYear->setValue(year);
            runYearStep();
        });
    };
    addToday(m_menuYear, "MenuYear_ToDay");
    addSeparator(m_menuYear, QStringLiteral("MenuYear_ToDay_1"));
    QMenu *history = m_menuYear->addMenu(QStringLiteral("历史日期"));
    history->setObjectName(QStringLiteral("MenuYear_History"));
    for (int r = 10; r <= 1810; r += 100) {
        QMenu *century = history->addMenu(QString::number(r - 10));
        century->setObjectName(QStringLiteral("MenuYear_History_%1").arg(r));
        for (int y = r; y <= r + 90; y += 10)
            addYear(century, QStringLiteral("MenuYear_History_%1").arg(y), y);
    }
    addSeparator(m_menuYear, QStringLiteral("MenuYear_ToDay_2"));
    for (int d = 1900; d <= 2090; d += 10) {
        QMenu *decade = m_menuYear->addMenu(QString::number(d));
        decade->setObjectName(QStringLiteral("MenuYear_%1").arg(d));
        for (int y = d; y <= d + 9; ++y)
            addYear(decade, QStringLiteral("MenuYear_%1").arg(y), y);
    }
}

void TChnCalendar::setDateTime(const QDateTime &value)
{
    if (!m_model.setDateTime(value))
        return;
    afterMonthBuilt();
    try {
        emit OnChange();
    } catch (...) {
        // The control swallows what its change handler throws.
    }
}

void TChnCalendar::goToday()
{
    setDateTime(Clock::current().now());
}

void TChnCalendar::afterMonthBuilt()
{
    restoreSteppers();
    updateTitleTexts();
    const int chosen = m_model.chosenCell();
    if (chosen > 0) {
        try {
            FlagScope guard(m_selectionGuard);
            m_grid->setRow((chosen - 1) / 7 + 1);
            m_grid->setColumn((chosen - 1) % 7 + 1);
        } catch (...) {
            // A failing select handler must not keep the new month from being drawn, nor its
            // change event from being raised: the memo of the new date depends on it.
        }
    }
    renderBackground();
    redrawGrid();
    update();
}

void TChnCalendar::restoreSteppers()
{
    const QDate d = m_model.dateTime().date();
    if (!d.isValid())
        return;
    const CalendarDate shown = toCalendarDate(d);
    m_udYear->setValue(shown.year);
    m_udMonth->setValue(shown.month);
}

void TChnCalendar::updateTitleTexts()
{
    m_lblYear->setText(m_model.yearText());
    m_lblYear->adjustSize();
    m_lblMonth->setText(m_model.monthText());
    m_lblMonth->adjustSize();
    m_lblMonth->move(m_monthRight - m_lblMonth->width(), 3);
    // The line is for reading only; where the control is too narrow it ends in an ellipsis
    // rather than in half a glyph.
    const QFontMetrics fm(m_lblSelected->font());
    const int room = std::max(0, width() - m_lblSelected->x() - 2);
    m_lblSelected->setText(fm.elidedText(m_model.selectedLine(), Qt::ElideRight, room));
    m_lblSelected->adjustSize();
    // Below the grid: at 236 up to the main window's height of 255, lower in a taller
    // control, whose grid would otherwise cover the line.
    m_lblSelected->move(kSelectedLineLeft, std::max(kSelectedLineTop, height() - 19));
}

void TChnCalendar::monthStepClicked()
{
    m_grid->setFocus(Qt::OtherFocusReason);
    runMonthStep();
}

void TChnCalendar::yearStepClicked()
{
    m_grid->setFocus(Qt::OtherFocusReason);
    runYearStep();
}

void TChnCalendar::runMonthStep()
{
    Steppers s{m_udYear->value(), m_udMonth->value()};
    const std::optional<QDateTime> target = monthStep(m_model.dateTime(), s);
    m_udYear->setValue(s.year);
    m_udMonth->setValue(s.month);
    if (target)
        setDateTime(*target);
    // After a refused step the steppers show the date that stays.
    restoreSteppers();
}

void TChnCalendar::runYearStep()
{
    const Steppers s{m_udYear->value(), m_udMonth->value()};
    if (const std::optional<QDateTime> target = yearStep(m_model.dateTime(), s))
        setDateTime(*target);
    restoreSteppers();
}

bool TChnCalendar::selectCell(int column, int row)
{
    if (m_selectionGuard)
        return true;
    if (!m_model.selectable(column, row))
        return false;
    const CalendarDate shown = toCalendarDate(m_model.dateTime().date());
    const int day = m_model.cell(ChnCalendarPickerModel::cellIndex(column, row)).Day;
    try {
        setDateTime(QDateTime(fromCalendarDate(shown.year, shown.month, day), QTime(0, 0)));
        if (m_mousePressed)
            emit OnDateClick();
    } catch (...) {
        goToday();
        // Today's cell is current now: the grid must not move on to the clicked cell, nor
        // follow the pointer to another one when the button comes up.
        m_grid->m_selecting = false;
        return m_grid->currentCell() == QPoint(column, row);
    }
    return true;
}

void TChnCalendar::gridClick()
{
    const QPoint under =
        m_grid->m_pointerInside ? m_grid->cellAt(m_grid->m_pointer) : QPoint(-1, -1);
    if (under.x() >= 0 && under == m_grid->currentCell())
        emit OnDateSelect();
}

void TChnCalendar::gridMousePress()
{
    m_mousePressed = true;
}

bool TChnCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Leave)
        m_mousePressed = false;
    QMenu *menu = nullptr;
    if (watched == m_lblMonth || watched == m_lblMonthSign)
        menu = m_menuMonth;
    else if (watched == m_lblYear || watched == m_lblYearSign)
        menu = m_menuYear;
    if (menu) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *e = static_cast<QMouseEvent *>(event);
            if (e->button() == Qt::LeftButton) {
                menu->popup(e->globalPosition().toPoint());
                return true;
            }
        } else if (event->type() == QEvent::ContextMenu) {
            menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
            return true;
        }
    }
    if (watched == m_lblToday && event->type() == QEvent::MouseButtonRelease) {
        const auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::LeftButton && m_lblToday->rect().contains(e->position().toPoint())) {
            m_grid->setFocus(Qt::OtherFocusReason);
            goToday();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TChnCalendar::leaveEvent(QEvent *event)
{
    m_mousePressed = false;
    QWidget::leaveEvent(event);
}

void TChnCalendar::changeEvent(QEvent *event)
{
    // The header picks a new font up at once; the background layer at its next render.
    if (event->type() == QEvent::FontChange && m_grid) {
        update();
        m_grid->update();
    }
    QWidget::changeEvent(event);
}

void TChnCalendar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyShowTitle();
}

void TChnCalendar::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), m_background, event->rect());
}

// ---------------------------------------------------------------------------------------------
// Properties

void TChnCalendar::setShowTitle(bool value)
{
    m_showTitle = value;
    applyShowTitle();
}

void TChnCalendar::applyShowTitle()
{
    m_udMonth->setVisible(m_showTitle);
    m_udYear->setVisible(m_showTitle);
    const int w = width(), h = height();
    if (m_showTitle)
        m_grid->setGeometry(8, 40, std::max(0, w - 15), std::max(0, h - 67));
    else
        m_grid->setGeometry(2, 2, std::max(0, w - 4), std::max(0, h - 4));
    layoutGrid();
    updateTitleTexts();
    renderBackground();
    redrawGrid();
    update();
}

void TChnCalendar::layoutGrid()
{
    const GridLayout g = tevuna::layoutGrid(m_grid->width(), m_grid->height(),
                                            m_grid->columnWidth(0), m_grid->rowHeight(0));
    m_grid->m_columnWidths = g.columnWidths;
    m_grid->m_rowHeights = g.rowHeights;
    m_grid->update();
}

void TChnCalendar::setShowWeekNum(bool value)
{
    if (value == m_showWeekNum)
        return;
    m_showWeekNum = value;
    // Only column 0 changes; the day columns are divided again at the next layout.
    m_grid->setColumnWidth(0, value ? kWeekNumWidth : kNoWeekNumWidth);
    redrawGrid();
}

void TChnCalendar::setShowFrame(bool value)
{
    m_showFrame = value;
    repaintBackground();
}

void TChnCalendar::setShowBackYearMonth(bool value)
{
    m_showBackYearMonth = value;
    repaintBackground();
}

void TChnCalendar::setShowWeekNumLine(bool value)
{
    m_showWeekNumLine = value;
    redrawGrid();
}

void TChnCalendar::setFontDate(const QFont &value)
{
    m_fontDate = value;
    redrawGrid();
}

void TChnCalendar::setFontCnDate(const QFont &value)
{
    m_fontCnDate = value;
    redrawGrid();
}

void TChnCalendar::setColorTitleWeekLine(const QColor &value)
{
    m_colorTitleWeekLine = value;
    redrawGrid();
}

void TChnCalendar::setColorTitleWeekEnd(const QColor &value)
{
    m_colorTitleWeekEnd = value;
    redrawGrid();
}

void TChnCalendar::setColorTitleWeek(const QColor &value)
{
    m_colorTitleWeek = value;
    redrawGrid();
}

void TChnCalendar::rebuildWithColors(const MonthColors &colors)
{
    // The month is built again with the new colour, without a change event: the date
    // has not changed.
    m_model.setColors(colors);
    if (m_model.dateTime().isValid())
        afterMonthBuilt();
}

void TChnCalendar::setColorCnDate(const QColor &value)
{
    MonthColors c = m_model.colors();
    c.CnDate = value;
    rebuildWithColors(c);
}

void TChnCalendar::setColorDate(const QColor &value)
{
    MonthColors c = m_model.colors();
    c.Date = value;
    rebuildWithColors(c);
}

void TChnCalendar::setColorHoliday(const QColor &value)
{
    MonthColors c = m_model.colors();
    c.Holiday = value;
    rebuildWithColors(c);
}

void TChnCalendar::setColorLunarHolDay(const QColor &value)
{
    MonthColors c = m_model.colors();
    c.LunarHolDay = value;
    rebuildWithColors(c);
}

void TChnCalendar::setColorCnHolDay(const QColor &value)
{
    MonthColors c = m_model.colors();
    c.CnHolDay = value;
    rebuildWithColors(c);
}

void TChnCalendar::setColorSelectedStart(const QColor &value)
{
    m_colorSelectedStart = value;
    redrawGrid();
}

void TChnCalendar::setColorSelectedEnd(const QColor &value)
{
    m_colorSelectedEnd = value;
    redrawGrid();
}

void TChnCalendar::setColorSelectedFrame(const QColor &value)
{
    m_colorSelectedFrame = value;
    redrawGrid();
}

void TChnCalendar::setColorWeekNum(const QColor &value)
{
    m_colorWeekNum = value;
    if (m_showWeekNum)
        redrawGrid();
}

void TChnCalendar::setColorShowFrame(const QColor &value)
{
    m_colorShowFrame = value;
    if (m_showFrame)
        repaintBackground();
}

void TChnCalendar::setColorBackYear(const QColor &value)
{
    m_colorBackYear = value;
    repaintBackground();
}

void TChnCalendar::setColorBackMonth(const QColor &value)
{
    m_colorBackMonth = value;
    repaintBackground();
}

QColor TChnCalendar::ColorTitleToday() const
{
    return labelColor(m_lblToday);
}

void TChnCalendar::setColorTitleToday(const QColor &value)
{
    setLabelColor(m_lblToday, value);
}

QColor TChnCalendar::ColorTitleMonth() const
{
    return labelColor(m_lblMonth);
}

void TChnCalendar::setColorTitleMonth(const QColor &value)
{
    setLabelColor(m_lblMonth, value);
}

QColor TChnCalendar::ColorTitleYear() const
{
    return labelColor(m_lblYear);
}

void TChnCalendar::setColorTitleYear(const QColor &value)
{
    setLabelColor(m_lblYear, value);
}

QColor TChnCalendar::ColorTitleSelected() const
{
    return labelColor(m_lblSelected);
}

void TChnCalendar::setColorTitleSelected(const QColor &value)
{
    setLabelColor(m_lblSelected, value);
}

void TChnCalendar::setBackGround(const QImage &value)
{
    m_backGround = value;
    repaintBackground();
}

void TChnCalendar::setCenter(bool value)
{
    m_center = value;
    repaintBackground();
}

void TChnCalendar::setStretch(bool value)
{
    m_stretch = value;
    repaintBackground();
}

void TChnCalendar::setTransparent(bool value)
{
    m_transparent = value;
    repaintBackground();
}

void TChnCalendar::setAlphaBlend(int value)
{
    m_alphaBlend = std::clamp(value, 0, 255);
    repaintBackground();
}

// ---------------------------------------------------------------------------------------------
// Painting

void TChnCalendar::repaintBackground()
{
    renderBackground();
    update();
    m_grid->update();
}

void TChnCalendar::redrawGrid()
{
    m_grid->update();
}

void TChnCalendar::renderBackground()
{
    const QSize s = size();
    if (s.isEmpty()) {
        m_background = QImage();
        m_pictureLayer = QImage();
        return;
    }
    QImage layer(s, QImage::Format_RGB32);
    layer.fill(Qt::white);
    {
        QPainter p(&layer);
        p.setFont(font());
        if (m_showFrame) {
            p.setPen(m_colorShowFrame);
            p.setBrush(Qt::white);
            p.drawRect(0, 0, s.width() - 1, s.height() - 1);
        }
        if (m_showBackYearMonth && m_model.dateTime().isValid()) {
            const QRect grid = m_grid->geometry();
            const int bottom = grid.top() + grid.height(); // exclusive
            const QRect yearRect =
                QRect(QPoint(grid.left(), grid.top()), QPoint(grid.right(), bottom / 2 - 1))
                    .translated(0, 6);
            const QRect monthRect(QPoint(grid.left(), bottom / 2), grid.bottomRight());
            p.setFont(arialBlack(font(), 48));
            p.setPen(m_colorBackYear);
            drawCellText(p, yearRect, Qt::AlignCenter, m_model.yearText(), Ink::Digits);
            p.setFont(arialBlack(font(), 90));
            p.setPen(m_colorBackMonth);
            drawCellText(p, monthRect, Qt::AlignCenter, m_model.monthText(), Ink::Digits);
        }
    }
    if (m_backGround.isNull() || m_backGround.width() <= 0 || m_backGround.height() <= 0) {
        // Nothing to blend; a picture without area cannot be fitted either.
        m_pictureLayer = QImage();
    } else {
        m_pictureLayer = QImage(s, QImage::Format_RGB32);
        m_pictureLayer.fill(Qt::white);
        QPainter p(&m_pictureLayer);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRect place = picturePlacement(m_backGround.size(), s, m_center, m_stretch);
        if (!place.isEmpty())
            p.drawImage(place, m_backGround);
        p.end();
        layerBlend(layer, m_pictureLayer, QPoint(0, 0), m_alphaBlend);
    }
    m_background = layer;
}

void TChnCalendar::drawCell(QPainter &p, int column, int row, QSize size, bool selected,
                            bool focused)
{
    if (row == 0)
        drawHeaderCell(p, column, size);
    else if (column == 0)
        drawWeekNumCell(p, row, size);
    else if (column <= 7)
        drawDayCell(p, ChnCalendarPickerModel::cellIndex(column, row), size, selected, focused);
    // Column 8 only fills the width: the background shows.
}

void TChnCalendar::drawHeaderCell(QPainter &p, int column, QSize size)
{
    const int w = size.width(), h = size.height();
    const QString text = weekdayHeaderText(column, w, m_showWeekNum);
    QColor color = m_colorTitleWeek;
    if (column == 0)
        color = m_colorWeekNum;
    else if (column == 1 || column == 7)
        color = m_colorTitleWeekEnd;
    p.setFont(font());
    p.setPen(color);
    drawCellText(p, QRect(0, 0, w - 2, h), Qt::AlignHCenter | Qt::AlignTop, text, Ink::Han);
    p.setPen(m_colorTitleWeekLine);
    p.drawLine(0, h - 4, w, h - 4);
    if (column == 0 && m_showWeekNum && m_showWeekNumLine)
        p.drawLine(w - 1, 0, w - 1, h);
}

void TChnCalendar::drawWeekNumCell(QPainter &p, int row, QSize size)
{
    const QString &text = m_model.weekNum(row);
    if (!m_showWeekNum || text.isEmpty())
        return;
    const int w = size.width(), h = size.height();
    p.setFont(m_fontSmall);
    p.setPen(m_colorWeekNum);
    drawCellText(p, QRect(0, 0, w, h), Qt::AlignCenter, text, Ink::Digits);
    if (m_showWeekNumLine) {
        p.setPen(m_colorTitleWeekLine);
        p.drawLine(w - 1, 0, w - 1, h);
    }
}

void TChnCalendar::drawDayCell(QPainter &p, int i, QSize size, bool selected, bool focused)
{
    const int w = size.width(), h = size.height();
    const QRect whole(0, 0, w, h);
    const bool showSelection = selected && (!m_hideSelection || focused);
    if (showSelection)
        gradientFill(p, whole, m_colorSelectedStart, m_colorSelectedEnd);
    const TDayCell &cell = m_model.cell(i);
    if (!cell.HasDate)
        return;

    if (i < ChnCalendarPickerModel::kConstellation) {
        TDrawDateCellArgs number{cell.DayText.toInt(), &p, whole, selected, cell.DayText, true};
        p.setFont(m_fontDate);
        p.setPen(cell.DateColor);
        emit OnDrawDateCell(number);
        if (number.defaultDraw)
            drawCellText(p, QRect(2, 0, w - 4, h / 2), Qt::AlignHCenter | Qt::AlignBottom,
                         number.Text, Ink::Digits);

        TDrawDateCellArgs lunar{cell.DayText.toInt(), &p, whole, selected, cell.CnText, true};
        p.setFont(m_fontCnDate);
        p.setPen(cell.CnColor);
        emit OnDrawCnDateCell(lunar);
        if (lunar.defaultDraw) {
            drawCellText(p, QRect(2, h / 2, w - 4, h - h / 2), Qt::AlignHCenter | Qt::AlignTop,
                         lunar.Text, Ink::Han);
            if (showSelection) {
                p.setPen(m_colorSelectedFrame);
                p.setBrush(Qt::NoBrush);
                p.drawRect(0, 0, w - 1, h - 1);
            }
        }
        return;
    }

    if (cell.DayText.isEmpty())
        return;
    // The year's stem-branch name and its animal read as one phrase across their border.
    Qt::Alignment align = Qt::AlignHCenter;
    QColor color = m_colorTitleAnimalsYear;
    if (i == ChnCalendarPickerModel::kConstellation)
        color = m_colorTitleConstellation;
    else if (i == ChnCalendarPickerModel::kYearGanZhi)
        align = Qt::AlignRight;
    else
        align = Qt::AlignLeft;
    p.setFont(m_fontSmall);
    p.setPen(color);
    drawCellText(p, QRect(0, kInfoTextTop, w, h - kInfoTextTop), align | Qt::AlignTop, cell.DayText,
                 Ink::Han);
}

} // namespace tevuna
