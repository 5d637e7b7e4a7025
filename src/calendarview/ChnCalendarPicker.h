#pragma once

// The calendar control: one month (Julian before October 1582, as the engine reads dates)
// with the lunar text under every day, a title bar with the month and year, steppers, menus
// and a today link, and the chosen-date line.
#include "calendarview/ChnCalendarPickerModel.h"

#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <array>

class QLabel;
class QMenu;
class QPainter;
class QTimer;
class QToolButton;

namespace tevuna {

class TChnCalendar;

// What a drawing hook receives before the control draws the day number or the lunar text of
// a day cell. The painter is set up on the cell, whose top-left corner is (0, 0). A hook may
// replace Text, and clear defaultDraw to draw the cell's text itself.
struct TDrawDateCellArgs {
    int Day = 0;
    QPainter *aCanvas = nullptr;
    QRect R;
    bool Selected = false;
    QString Text;
    bool defaultDraw = true;
};

// An up/down spin control without an edit field: its arrows change the value by one within
// the range, and OnClick follows every change the user makes.
class TUpDown : public QWidget
{
    Q_OBJECT

public:
    TUpDown(int minimum, int maximum, QWidget *parent);
    int value() const { return m_value; }
    void setValue(int value); // clamped to the range; raises nothing
    // What a click on the up or the down arrow does.
    void stepBy(int delta);

signals:
    void OnClick();

private:
    int m_min;
    int m_max;
    int m_value;
    QToolButton *m_up;
    QToolButton *m_down;
};

// The 9 x 7 day grid: column 0 holds week numbers, columns 1..7 Sunday to Saturday, column 8
// takes the rounding remainder; row 0 is the weekday header. It draws nothing by itself and
// asks the control before its current cell moves.
class TChnDayGrid : public QWidget
{
public:
    explicit TChnDayGrid(TChnCalendar *owner);

    int columnWidth(int c) const { return m_columnWidths.at(static_cast<std::size_t>(c)); }
    int rowHeight(int r) const { return m_rowHeights.at(static_cast<std::size_t>(r)); }
    void setColumnWidth(int c, int width);
    void setRowHeight(int r, int height);
    QRect cellRect(int column, int row) const;
    // The cell under a point of the grid, (-1, -1) outside every cell.
    QPoint cellAt(QPoint pos) const;
    QPoint currentCell() const { return m_current; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    friend class TChnCalendar;
    // Asks the control, and moves only when it allows the move.
    bool requestMove(QPoint cell);
    // Moves the current cell as a standard grid does when its row or column is set: through
    // the control, reporting a click when the value changes.
    void setRow(int row);
    void setColumn(int column);
    void followPointer();
    void trackOutside();
    void updateCell(QPoint cell);

    TChnCalendar *m_owner;
    std::array<int, 9> m_columnWidths{};
    std::array<int, 7> m_rowHeights{};
    QPoint m_current{0, 0};
    QPoint m_pointer{-1, -1}; // last pointer position over the grid
    bool m_pointerInside = false;
    bool m_selecting = false; // the left button went down on the grid and is held
    QTimer *m_trackTimer;
};

class TChnCalendar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QDateTime DateTime READ DateTime WRITE setDateTime NOTIFY OnChange)
    Q_PROPERTY(QString CnDate READ CnDate WRITE setCnDate)
    Q_PROPERTY(QString CnMonth READ CnMonth WRITE setCnMonth)
    Q_PROPERTY(QString CnDay READ CnDay WRITE setCnDay)
    Q_PROPERTY(bool ShowTitle READ ShowTitle WRITE setShowTitle)
    Q_PROPERTY(bool ShowWeekNum READ ShowWeekNum WRITE setShowWeekNum)
    Q_PROPERTY(bool ShowFrame READ ShowFrame WRITE setShowFrame)
    Q_PROPERTY(bool ShowBackYearMonth READ ShowBackYearMonth WRITE setShowBackYearMonth)
    Q_PROPERTY(bool ShowWeekNumLine READ ShowWeekNumLine WRITE setShowWeekNumLine)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE setHideSelection)
    Q_PROPERTY(QFont FontDate READ FontDate WRITE setFontDate)
    Q_PROPERTY(QFont FontCnDate READ FontCnDate WRITE setFontCnDate)
    Q_PROPERTY(QColor ColorTitleWeekLine READ ColorTitleWeekLine WRITE setColorTitleWeekLine)
    Q_PROPERTY(QColor ColorTitleWeekEnd READ ColorTitleWeekEnd WRITE setColorTitleWeekEnd)
    Q_PROPERTY(QColor ColorTitleWeek READ ColorTitleWeek WRITE setColorTitleWeek)
    Q_PROPERTY(QColor ColorCnDate READ ColorCnDate WRITE setColorCnDate)
    Q_PROPERTY(QColor ColorDate READ ColorDate WRITE setColorDate)
    Q_PROPERTY(QColor ColorHoliday READ ColorHoliday WRITE setColorHoliday)
    Q_PROPERTY(QColor ColorLunarHolDay READ ColorLunarHolDay WRITE setColorLunarHolDay)
    Q_PROPERTY(QColor ColorCnHolDay READ ColorCnHolDay WRITE setColorCnHolDay)
    Q_PROPERTY(QColor ColorSelectedStart READ ColorSelectedStart WRITE setColorSelectedStart)
    Q_PROPERTY(QColor ColorSelectedEnd READ ColorSelectedEnd WRITE setColorSelectedEnd)
    Q_PROPERTY(QColor ColorSelectedFrame READ ColorSelectedFrame WRITE setColorSelectedFrame)
    Q_PROPERTY(QColor ColorWeekNum READ ColorWeekNum WRITE setColorWeekNum)
    Q_PROPERTY(QColor ColorShowFrame READ ColorShowFrame WRITE setColorShowFrame)
    Q_PROPERTY(QColor ColorBackYear READ ColorBackYear WRITE setColorBackYear)
    Q_PROPERTY(QColor ColorBackMonth READ ColorBackMonth WRITE setColorBackMonth)
    Q_PROPERTY(QColor ColorTitleToday READ ColorTitleToday WRITE setColorTitleToday)
    Q_PROPERTY(QColor ColorTitleMonth READ ColorTitleMonth WRITE setColorTitleMonth)
    Q_PROPERTY(QColor ColorTitleYear READ ColorTitleYear WRITE setColorTitleYear)
    Q_PROPERTY(QColor ColorTitleSelected READ ColorTitleSelected WRITE setColorTitleSelected)
    Q_PROPERTY(QColor ColorTitleConstellation READ ColorTitleConstellation WRITE
                   setColorTitleConstellation)
    Q_PROPERTY(
        QColor ColorTitleAnimalsYear READ ColorTitleAnimalsYear WRITE setColorTitleAnimalsYear)
    Q_PROPERTY(QImage BackGround READ BackGround WRITE setBackGround)
    Q_PROPERTY(bool Center READ Center WRITE setCenter)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int AlphaBlend READ AlphaBlend WRITE setAlphaBlend)

public:
    explicit TChnCalendar(QWidget *parent = nullptr);
    ~TChnCalendar() override;

    // The chosen date and time. Invalid until the first date change. Setting it runs the
    // date change: the same value (time of day included) and dates outside the years
    // 1..2100 are refused without an event.
    QDateTime DateTime() const { return m_model.dateTime(); }
    void setDateTime(const QDateTime &value);
    // Sets DateTime to the clock's date and time.
    void goToday();

    QString CnDate() const { return m_model.CnDate; }
    QString CnMonth() const { return m_model.CnMonth; }
    QString CnDay() const { return m_model.CnDay; }
    void setCnDate(const QString &value) { m_model.CnDate = value; }
    void setCnMonth(const QString &value) { m_model.CnMonth = value; }
    void setCnDay(const QString &value) { m_model.CnDay = value; }

    bool ShowTitle() const { return m_showTitle; }
    void setShowTitle(bool value);
    bool ShowWeekNum() const { return m_showWeekNum; }
    void setShowWeekNum(bool value);
    bool ShowFrame() const { return m_showFrame; }
    void setShowFrame(bool value);
    bool ShowBackYearMonth() const { return m_showBackYearMonth; }
    void setShowBackYearMonth(bool value);
    bool ShowWeekNumLine() const { return m_showWeekNumLine; }
    void setShowWeekNumLine(bool value);
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool value) { m_hideSelection = value; }

    QFont FontDate() const { return m_fontDate; }
    void setFontDate(const QFont &value);
    QFont FontCnDate() const { return m_fontCnDate; }
    void setFontCnDate(const QFont &value);

    QColor ColorTitleWeekLine() const { return m_colorTitleWeekLine; }
    void setColorTitleWeekLine(const QColor &value);
    QColor ColorTitleWeekEnd() const { return m_colorTitleWeekEnd; }
    void setColorTitleWeekEnd(const QColor &value);
    QColor ColorTitleWeek() const { return m_colorTitleWeek; }
    void setColorTitleWeek(const QColor &value);
    QColor ColorCnDate() const { return m_model.colors().CnDate; }
    void setColorCnDate(const QColor &value);
    QColor ColorDate() const { return m_model.colors().Date; }
    void setColorDate(const QColor &value);
    QColor ColorHoliday() const { return m_model.colors().Holiday; }
    void setColorHoliday(const QColor &value);
    QColor ColorLunarHolDay() const { return m_model.colors().LunarHolDay; }
    void setColorLunarHolDay(const QColor &value);
    QColor ColorCnHolDay() const { return m_model.colors().CnHolDay; }
    void setColorCnHolDay(const QColor &value);
    QColor ColorSelectedStart() const { return m_colorSelectedStart; }
    void setColorSelectedStart(const QColor &value);
    QColor ColorSelectedEnd() const { return m_colorSelectedEnd; }
    void setColorSelectedEnd(const QColor &value);
    QColor ColorSelectedFrame() const { return m_colorSelectedFrame; }
    void setColorSelectedFrame(const QColor &value);
    QColor ColorWeekNum() const { return m_colorWeekNum; }
    void setColorWeekNum(const QColor &value);
    QColor ColorShowFrame() const { return m_colorShowFrame; }
    void setColorShowFrame(const QColor &value);
    QColor ColorBackYear() const { return m_colorBackYear; }
    void setColorBackYear(const QColor &value);
    QColor ColorBackMonth() const { return m_colorBackMonth; }
    void setColorBackMonth(const QColor &value);
    // The font colours of the title labels themselves.
    QColor ColorTitleToday() const;
    void setColorTitleToday(const QColor &value);
    QColor ColorTitleMonth() const;
    void setColorTitleMonth(const QColor &value);
    QColor ColorTitleYear() const;
    void setColorTitleYear(const QColor &value);
    QColor ColorTitleSelected() const;
    void setColorTitleSelected(const QColor &value);
    // Stored; the information cells use them at their next drawing.
    QColor ColorTitleConstellation() const { return m_colorTitleConstellation; }
    void setColorTitleConstellation(const QColor &value) { m_colorTitleConstellation = value; }
    QColor ColorTitleAnimalsYear() const { return m_colorTitleAnimalsYear; }
    void setColorTitleAnimalsYear(const QColor &value) { m_colorTitleAnimalsYear = value; }

    QImage BackGround() const { return m_backGround; }
    void setBackGround(const QImage &value);
    bool Center() const { return m_center; }
    void setCenter(bool value);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool value);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool value);
    int AlphaBlend() const { return m_alphaBlend; }
    void setAlphaBlend(int value); // a byte: 0..255

    // The month being shown, as the control draws it.
    const ChnCalendarPickerModel &model() const { return m_model; }
    TChnDayGrid *dayGrid() const { return m_grid; }
    // The pre-rendered background layer that painting copies.
    const QImage &backgroundLayer() const { return m_background; }
    // Whether a press on the day grid has happened since the pointer last left a part of the
    // control.
    bool mousePressed() const { return m_mousePressed; }

signals:
    // The last step of every accepted date change.
    void OnChange();
    // The day grid reported a click while the pointer was over its current cell.
    void OnDateSelect();
    // A date was chosen in the day grid after an earlier press on it.
    void OnDateClick();
    // Before the day number, and before the lunar text, of a day cell is drawn.
    void OnDrawDateCell(tevuna::TDrawDateCellArgs &args);
    void OnDrawCnDateCell(tevuna::TDrawDateCellArgs &args);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TChnDayGrid;

    void createWindow();
    void buildMenus();
    void applyShowTitle();
    void layoutGrid();
    void renderBackground();
    void repaintBackground();
    void redrawGrid();
    void rebuildWithColors(const MonthColors &colors);
    void afterMonthBuilt();
    void updateTitleTexts();
    void monthStepClicked();
    void yearStepClicked();
    void runMonthStep();
    void runYearStep();
    void restoreSteppers();

    // The day grid's side of the conversation.
    bool selectCell(int column, int row);
    void gridClick();
    void gridMousePress();
    void drawCell(QPainter &p, int column, int row, QSize size, bool selected, bool focused);
    void drawHeaderCell(QPainter &p, int column, QSize size);
    void drawWeekNumCell(QPainter &p, int row, QSize size);
    void drawDayCell(QPainter &p, int i, QSize size, bool selected, bool focused);

    ChnCalendarPickerModel m_model;
    bool m_windowCreated = false;
    bool m_selectionGuard = false;
    bool m_mousePressed = false;

    bool m_showTitle = false;
    bool m_showWeekNum = false;
    bool m_showFrame = true;
    bool m_showBackYearMonth = true;
    bool m_showWeekNumLine = true;
    bool m_hideSelection = false;
    bool m_center = false;
    bool m_stretch = false;
    bool m_transparent = false;
    int m_alphaBlend = 50;
    QFont m_fontDate;
    QFont m_fontCnDate;
    QFont m_fontSmall; // week numbers and information cells
    QColor m_colorTitleWeekLine;
    QColor m_colorTitleWeekEnd;
    QColor m_colorTitleWeek;
    QColor m_colorSelectedStart;
    QColor m_colorSelectedEnd;
    QColor m_colorSelectedFrame;
    QColor m_colorWeekNum;
    QColor m_colorShowFrame;
    QColor m_colorBackYear;
    QColor m_colorBackMonth;
    QColor m_colorTitleConstellation;
    QColor m_colorTitleAnimalsYear;
    QImage m_backGround;

    QImage m_background;   // the background layer
    QImage m_pictureLayer; // the placed BackGround picture, empty without one

    TChnDayGrid *m_grid = nullptr;
    QLabel *m_lblToday = nullptr;
    QLabel *m_lblMonth = nullptr;
    QLabel *m_lblMonthSign = nullptr;
    QLabel *m_lblYear = nullptr;
    QLabel *m_lblYearSign = nullptr;
    QLabel *m_lblSelected = nullptr;
    TUpDown *m_udMonth = nullptr;
    TUpDown *m_udYear = nullptr;
    QMenu *m_menuMonth = nullptr;
    QMenu *m_menuYear = nullptr;
    int m_monthRight = 0; // the month number's right edge, fixed at creation
};

} // namespace tevuna
