#pragma once

#include "base/WindowDrag.h"
#include "notes/MemoSession.h"

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QMenu;
class QAction;
class QPushButton;
class QTimer;
class QTextBrowser;
class QTextDocument;
class QUrl;
class QWindow;

namespace tevuna {

class DesktopWallpaper;
class ImageLabel;
class MemoBox;
class TChnCalendar;
class TDM;
class TDeskBGSetFrm;
class TInforFrm;
class TPicSelFrm;

// Size, position and memo scheme index of the main window, as kept in Data/FormSize.ini.
struct WindowSettings {
    int memoSchemeIndex = 1;
    int width = 750;
    int height = 500;
    int left = 0;
    int top = 0;

    bool operator==(const WindowSettings &) const = default;
};

// First start: 750 x 500, centred across, (screen height - 530) / 2 from the top, scheme A.
WindowSettings defaultWindowSettings(QSize screen);
// All five lines are parsed before any is used; raises AppError for a short file or a line
// that is not a decimal integer.
WindowSettings parseWindowSettings(const QStringList &lines);
QStringList windowSettingsLines(const WindowSettings &settings);

// "今天是 2013年1月5日(六)"
QString dateLabelText(const QDate &today);

// The memo box background of a memo scheme index; invalid for the design colour.
QColor memoSchemeColor(int memoSchemeIndex);

class TMainFrm : public QWidget
{
    Q_OBJECT

public:
    explicit TMainFrm(TDM &dm, QWidget *parent = nullptr);
    ~TMainFrm() override;

    // Handlers of the controls, public so the chrome and the tests reach them by name.
    void img_close_highlightClick();
    // The chrome's state table: each handler shows exactly its row's close and minimise images.
    void imgBGMouseMove();
    void img_close_normalMouseMove();
    void img_close_highlightMouseDown();
    void img_mini_normalMouseMove();
    void img_mini_highlightMouseDown();
    void img_mini_highlightClick();
    void lblSetClick();
    void N_helpClick();
    void N_SubmitClick();
    // Shows the clock's day again, so a window left open past midnight never shows yesterday.
    void tmrDateTimer();
    void N_ExitPrjClick();
    void tmrAutoSaveTimer();

    void LoadMemo();
    void SaveMemo();
    void btnGouClick();
    void btnXClick();
    void imgDateClick();
    void imgRedColorClick();

    // The notes on the desktop: the card over the next background picture, as the wallpaper.
    void imgAppToDeskClick();
    // The picture selection window; the list is read again when it closes.
    void imgAddToDeskClick();
    void LoadList(bool reselect);

    // The windows and the desktop the notes on the desktop work with (not owned).
    void setCompositionParts(TDeskBGSetFrm *deskBGSet, TPicSelFrm *picSelFrm, TInforFrm *inforFrm,
                             DesktopWallpaper *desktop);

    QString currentPicName() const { return m_currentPicName; }
    int picIndex() const { return m_picIndex; }

    int memoSchemeIndex() const { return m_memoSchemeIndex; }
    bool contentLoaded() const { return m_memo.contentLoaded(); }

    QLabel *lblDateTime = nullptr;
    TChnCalendar *ChnCalendar1 = nullptr;
    MemoBox *rdtAbc = nullptr;
    QPushButton *btnGou = nullptr;
    QPushButton *btnX = nullptr;
    ImageLabel *imgDate = nullptr;
    ImageLabel *imgRedColor = nullptr;
    // Asks for a text colour, starting from the given one; invalid when cancelled.
    std::function<QColor(const QColor &)> chooseColor;
    QWidget *pngRight = nullptr;
    QWidget *pnlABC = nullptr;
    QLabel *imgBG = nullptr;
    QLabel *imgLogo = nullptr;
    ImageLabel *img_close_normal = nullptr;
    ImageLabel *img_close_highlight = nullptr;
    ImageLabel *img_close_down = nullptr;
    ImageLabel *img_mini_normal = nullptr;
    ImageLabel *img_mini_highlight = nullptr;
    ImageLabel *img_mini_down = nullptr;
    QLabel *lblSet = nullptr;
    ImageLabel *imgAppToDesk = nullptr;
    QWidget *pnlLeft = nullptr;
    QWidget *pnlWeb = nullptr;
    QTextBrowser *webLink = nullptr;
    ImageLabel *imgAddToDesk = nullptr;
    // Hands the window to the desktop to move (no edges) or to resize by the given edges, for
    // a press of the left button (or any button where the window cannot place itself);
    // tests put a recorder in its place.
    std::function<void(Qt::Edges)> moveOrResize;
    // Opens a page in the user's browser; tests put a recorder in its place.
    std::function<void(const QUrl &)> openUrl;
    QMenu *popSysset = nullptr;
    QAction *N_help = nullptr;
    QAction *N_Submit = nullptr;
    QAction *N_ExitPrj = nullptr;
    QTimer *tmrAutoSave = nullptr;
    QTimer *tmrDate = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void FormCreate();
    void FormShow();
    void LoadWindowSettings();
    void SaveWindowSettings();
    void ChnCalendar1Change();
    void rdtAbcExit();
    // Saves the memo box if the user changed it; only leaving the box, a date change and the
    // close put what the input method is still composing into the text first.
    void saveShownMemo(bool commitComposition);
    void showMemoDocument(std::unique_ptr<QTextDocument> document);
    enum class Look { Normal, Highlight, Down };
    void setChrome(Look close, Look mini);
    // A press on the background or the sizing frame.
    void imgBGMouseDown(QMouseEvent *event);
    // The window's mouse events before any control sees them: the sizing frame lies over the
    // controls at the edges, and a drag by another button than the left is followed here.
    // True for the events no control may receive.
    bool chromeMouseEvent(QMouseEvent *event);
    void showSizingCursor(Qt::Edges edges, QPoint pos);
    // Sees the web panel's events first; true for those the browser must never receive.
    bool AppEvent1Message(QObject *watched, QEvent *event);
    void layoutControls();
    void openBundledPage(const QString &name);
    Qt::Edges sizingEdges(QPoint pos) const;
    void requestTermination();

    TDeskBGSetFrm *m_deskBGSet = nullptr;
    TPicSelFrm *m_picSelFrm = nullptr;
    TInforFrm *m_inforFrm = nullptr;
    DesktopWallpaper *m_desktop = nullptr;
    QString m_currentPicName;
    int m_picIndex = 0;
    int m_memoSchemeIndex = 0;
    WindowSettings m_savedBounds;
    bool m_shown = false;
    // What the memo box was loaded for and what is still to be saved.
    MemoSession m_memo;
    QColor m_lastColor = Qt::black;
    // Set once the application is ending: nothing may be saved by a focus change after it.
    bool m_terminating = false;
    // The platform window whose mouse events the chrome sees first.
    QPointer<QWindow> m_chromeWindow;
    // The button of a press the chrome took: its release is the chrome's too.
    Qt::MouseButton m_chromePress = Qt::NoButton;
    // A drag by another button than the left, which the window follows itself.
    WindowDrag m_drag;
    // The sizing frame's cursor is shown in place of the control's under the pointer.
    bool m_sizingCursorShown = false;
};

} // namespace tevuna
