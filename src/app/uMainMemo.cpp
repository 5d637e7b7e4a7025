// The dated memo of the main window: load on a date change, save on leaving the memo box,
// on the timer and on the close image; the memo box's insertion aids.
#include "app/uMain.h"

#include "base/Clock.h"
#include "base/DateText.h"
#include "base/Reporter.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "notes/MemoDocument.h"

#include <QTextCursor>
#include <QTextDocument>

namespace tevuna {

void TMainFrm::LoadMemo()
{
    MemoSession::Loaded loaded = m_memo.load(dateKey(ChnCalendar1->DateTime().date()));
    showMemoDocument(std::move(loaded.document));
    if (!loaded.ok)
        Reporter::current().message(QStringLiteral("加载记事内容失败！"));
}

void TMainFrm::showMemoDocument(std::unique_ptr<QTextDocument> document)
{
    // The box deletes only the document it made itself; the ones handed to it are ours.
    std::unique_ptr<QTextDocument> old(rdtAbc->document()->parent() == rdtAbc ? rdtAbc->document()
                                                                              : nullptr);
    document->setDefaultFont(rdtAbc->font());
    document->setParent(rdtAbc);
    rdtAbc->setMemoDocument(document.release());
}

void TMainFrm::SaveMemo()
{
    saveShownMemo(true);
}

void TMainFrm::saveShownMemo(bool commitComposition)
{
    // The last characters typed through an input method are part of the memo too.
    if (commitComposition)
        rdtAbc->commitPreedit();
    if (std::unique_ptr<QTextDocument> merged = m_memo.save(*rdtAbc->document())) {
        // The memo had changed elsewhere: the box shows both texts, as they were stored.
        const int caret = rdtAbc->textCursor().position();
        showMemoDocument(std::move(merged));
        QTextCursor cursor = rdtAbc->textCursor();
        cursor.setPosition(qMin(caret, rdtAbc->document()->characterCount() - 1));
        rdtAbc->setTextCursor(cursor);
    }
}

void TMainFrm::ChnCalendar1Change()
{
    // Whatever moved the date, what was typed belongs to the date it was typed for.
    if (rdtAbc->document()->isModified() || rdtAbc->isComposing())
        SaveMemo();
    LoadMemo();
}

void TMainFrm::rdtAbcExit()
{
    if (!m_terminating)
        SaveMemo();
}

void TMainFrm::tmrAutoSaveTimer()
{
    if (m_terminating)
        return;
    // A word still being composed stays the input method's: the committed text is saved.
    if (m_memoSchemeIndex != 0 && m_memo.contentLoaded())
        saveShownMemo(false);
    else
        m_memo.retryPending();
}

void TMainFrm::btnGouClick()
{
    rdtAbc->insertAtCaret(QStringLiteral("√"));
}

void TMainFrm::btnXClick()
{
    rdtAbc->insertAtCaret(QStringLiteral("×"));
}

void TMainFrm::imgDateClick()
{
    rdtAbc->insertAtCaret(MemoBox::dateStamp(Clock::current().now().date()));
}

void TMainFrm::imgRedColorClick()
{
    if (!rdtAbc->hasFocus() || !chooseColor)
        return;
    const QColor color = chooseColor(m_lastColor);
    if (!color.isValid())
        return;
    m_lastColor = color;
    rdtAbc->colourSelection(color);
}

} // namespace tevuna
