// The dated memo of the main window: load on a date change, save on leaving the memo box,
// on the timer and on the close image.
#include "app/uMain.h"

#include "base/DateText.h"
#include "base/Reporter.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoDocument.h"
#include "notes/uDM.h"

#include <QTextEdit>

namespace tevuna {

void TMainFrm::LoadMemo()
{
    const QString key = dateKey(ChnCalendar1->DateTime().date());
    m_contentLoaded = false;
    QByteArray document;
    if (!m_dm.loadMemoData(key, &document) || !memodoc::decode(document, rdtAbc->document())) {
        // The flag stays cleared, so the timer cannot write stale text over the stored memo.
        Reporter::current().message(QStringLiteral("加载记事内容失败！"));
        return;
    }
    m_contentLoaded = true;
}

void TMainFrm::SaveMemo()
{
    const QString key = dateKey(ChnCalendar1->DateTime().date());
    m_contentLoaded = false;
    const QByteArray document = memodoc::encode(*rdtAbc->document());
    m_dm.saveMemoData(key, document);
    m_contentLoaded = true;
}

void TMainFrm::ChnCalendar1Change()
{
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

} // namespace tevuna
