// The dated memo of the main window: load on a date change, save on leaving the memo box,
// on the timer and on the close image; the memo box's insertion aids.
#include "app/uMain.h"

#include "base/Clock.h"
#include "base/DateText.h"
#include "base/Reporter.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "notes/MemoDocument.h"
#include "notes/uDM.h"

namespace tevuna {

void TMainFrm::LoadMemo()
{
    const QString key = dateKey(ChnCalendar1->DateTime().date());
    m_contentLoaded = false;
    QByteArray document;
    // A memo that could not be saved yet is newer than the stored one.
    const bool pending = m_unsaved.contains(key);
    if (pending)
        document = m_unsaved.value(key);
    if ((!pending && !m_dm.loadMemoData(key, &document)) ||
        !memodoc::decode(document, rdtAbc->document())) {
        // The box does not hold this date's memo: nothing is saved over the stored one until
        // the user edits it, and the flag stays cleared so the timer cannot either.
        m_loadedKey = key;
        m_loadFailed = true;
        rdtAbc->document()->setModified(false);
        Reporter::current().message(QStringLiteral("加载记事内容失败！"));
        return;
    }
    rdtAbc->document()->setModified(pending);
    m_loadedKey = key;
    m_loadFailed = false;
    m_contentLoaded = true;
}

void TMainFrm::SaveMemo()
{
    // The last characters typed through an input method are part of the memo too.
    rdtAbc->commitPreedit();
    const QString key =
        m_loadedKey.isEmpty() ? dateKey(ChnCalendar1->DateTime().date()) : m_loadedKey;
    m_contentLoaded = false;
    // Earlier memos that could not be saved go first.
    for (auto it = m_unsaved.begin(); it != m_unsaved.end();) {
        if (it.key() != key && m_dm.saveMemoData(it.key(), it.value()))
            it = m_unsaved.erase(it);
        else
            ++it;
    }
    if (!m_loadFailed || rdtAbc->document()->isModified()) {
        const QByteArray document = memodoc::encode(*rdtAbc->document());
        if (m_dm.saveMemoData(key, document)) {
            m_unsaved.remove(key);
            m_loadFailed = false;
            rdtAbc->document()->setModified(false);
        } else {
            // Kept, and tried again at the next save; the user hears of it once.
            m_unsaved.insert(key, document);
        }
    }
    if (m_unsaved.isEmpty()) {
        m_saveFailureNoticed = false;
    } else if (!m_saveFailureNoticed) {
        m_saveFailureNoticed = true;
        Reporter::current().notice(
            QStringLiteral("记事暂时无法保存到数据库，内容仍保留在记事框中，稍后会自动重试。"));
    }
    m_contentLoaded = true;
}

void TMainFrm::ChnCalendar1Change()
{
    // Whatever moved the date, what was typed belongs to the date it was typed for.
    if (!m_loadedKey.isEmpty() && m_loadedKey != dateKey(ChnCalendar1->DateTime().date()) &&
        rdtAbc->document()->isModified())
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
    if (!m_terminating && m_memoSchemeIndex != 0 && m_contentLoaded)
        SaveMemo();
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
