#include "notes/MemoSession.h"

#include "base/Reporter.h"
#include "notes/MemoDocument.h"

#include <QDate>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace tevuna {

namespace {

std::unique_ptr<QTextDocument> decoded(const QByteArray &bytes)
{
    auto document = std::make_unique<QTextDocument>();
    // Reading is not an edit: nothing of it may be undone into another memo.
    document->setUndoRedoEnabled(false);
    const bool ok = memodoc::decode(bytes, document.get());
    document->setUndoRedoEnabled(true);
    document->setModified(false);
    return ok ? std::move(document) : nullptr;
}

// The memo stored elsewhere first, then ours under a line that says where it came from.
std::unique_ptr<QTextDocument> mergedMemo(const QByteArray &stored, const QByteArray &ours)
{
    std::unique_ptr<QTextDocument> theirs = decoded(stored);
    std::unique_ptr<QTextDocument> mine = decoded(ours);
    if (!mine)
        return theirs;
    if (!theirs || theirs->toPlainText().trimmed().isEmpty())
        return mine;
    QTextCursor cursor(theirs.get());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    cursor.insertText(
        QStringLiteral("—— 以下是本窗口中的记事（同一天的记事已在别处修改，两份都已保留）——"),
        QTextCharFormat());
    cursor.insertBlock();
    cursor.insertFragment(QTextDocumentFragment(mine.get()));
    theirs->setModified(false);
    return theirs;
}

QString shownDate(const QString &key)
{
    const QDate date = QDate::fromString(key, QStringLiteral("yyyyMMdd"));
    return date.isValid() ? date.toString(QStringLiteral("yyyy年M月d日")) : key;
}

} // namespace

MemoSession::MemoSession(TDM &dm) : m_dm(dm) {}

MemoSession::Loaded MemoSession::load(const QString &dateKey)
{
    m_contentLoaded = false;
    m_key = dateKey;
    Loaded out;
    // A memo that could not be saved yet is newer than the stored one.
    if (const auto it = m_pending.constFind(dateKey); it != m_pending.cend()) {
        out.document = decoded(it->document);
        if (out.document) {
            out.document->setModified(true);
            m_baseline = it->baseline;
            m_failed = false;
            m_contentLoaded = true;
            out.ok = true;
            return out;
        }
    }
    QByteArray bytes;
    if (m_dm.loadMemoData(dateKey, &bytes))
        out.document = decoded(bytes);
    if (out.document) {
        m_baseline = bytes;
        m_failed = false;
        m_contentLoaded = true;
        out.ok = true;
        return out;
    }
    // The box must not show another day's memo under this date: it starts empty, and what
    // is stored stays unknown, so a later save keeps whatever is there beside the new text.
    out.document = std::make_unique<QTextDocument>();
    m_baseline.reset();
    m_failed = true;
    return out;
}

TDM::SaveResult MemoSession::store(const QString &key, Pending &memo,
                                   std::unique_ptr<QTextDocument> *merged)
{
    TDM::SaveOutcome outcome = m_dm.saveMemoDataIf(key, memo.document, memo.baseline);
    if (outcome.result != TDM::SaveResult::Conflict)
        return outcome.result;
    std::unique_ptr<QTextDocument> both = mergedMemo(outcome.stored, memo.document);
    memo.document = both ? memodoc::encode(*both) : memo.document;
    memo.baseline = outcome.stored;
    tell(Trouble::Conflict, key);
    if (merged)
        *merged = std::move(both);
    outcome = m_dm.saveMemoDataIf(key, memo.document, memo.baseline);
    // Another change in between the two attempts is left for the next save to merge.
    return outcome.result;
}

std::unique_ptr<QTextDocument> MemoSession::save(QTextDocument &shown)
{
    m_contentLoaded = false;
    std::unique_ptr<QTextDocument> merged;
    bool busy = false;
    if (!m_key.isEmpty() && shown.isModified()) {
        Pending memo{memodoc::encode(shown), m_baseline};
        const TDM::SaveResult result = store(m_key, memo, &merged);
        if (result == TDM::SaveResult::Saved) {
            m_pending.remove(m_key);
            m_baseline = memo.document;
            m_failed = false;
            shown.setModified(false);
        } else {
            // Kept, with what it was based on, and tried again at the next save.
            m_pending.insert(m_key, memo);
            m_baseline = memo.baseline;
            busy = result == TDM::SaveResult::Busy;
            tell(result == TDM::SaveResult::Busy       ? Trouble::Busy
                 : result == TDM::SaveResult::ReadOnly ? Trouble::ReadOnly
                                                       : Trouble::Failed,
                 m_key);
        }
        if (merged)
            merged->setModified(result != TDM::SaveResult::Saved);
    }
    if (!busy)
        retry(&busy);
    if (m_pending.isEmpty())
        m_told = Trouble::None;
    m_contentLoaded = true;
    return merged;
}

void MemoSession::retryPending()
{
    bool busy = false;
    retry(&busy);
    if (m_pending.isEmpty())
        m_told = Trouble::None;
}

void MemoSession::retry(bool *busy)
{
    for (auto it = m_pending.begin(); it != m_pending.end() && !*busy;) {
        // The shown memo is saved from the box itself, which may hold newer text.
        if (it.key() == m_key) {
            ++it;
            continue;
        }
        const TDM::SaveResult result = store(it.key(), it.value(), nullptr);
        if (result == TDM::SaveResult::Saved) {
            it = m_pending.erase(it);
            continue;
        }
        *busy = result == TDM::SaveResult::Busy;
        ++it;
    }
}

void MemoSession::tell(Trouble trouble, const QString &key)
{
    Reporter &reporter = Reporter::current();
    if (trouble == Trouble::Conflict) {
        // Every one: the user has a memo to look at.
        reporter.notice(QStringLiteral("%1的记事已在别处被修改，两份内容都已保留在这一天的记事中，"
                                       "请查看并整理。")
                            .arg(shownDate(key)));
        return;
    }
    // Once for as long as the trouble lasts.
    if (trouble == m_told)
        return;
    m_told = trouble;
    switch (trouble) {
    case Trouble::Busy:
        reporter.notice(QStringLiteral("记事数据库正被其他程序占用，记事暂未保存。"
                                       "内容仍保留在本窗口中，稍后会自动重试。"));
        break;
    case Trouble::ReadOnly:
        reporter.notice(QStringLiteral("记事数据库文件不可写入（只读），记事无法保存。"
                                       "内容仍保留在本窗口中，请检查文件的权限，程序会继续重试。"));
        break;
    default:
        reporter.notice(
            QStringLiteral("记事暂时无法保存到数据库，内容仍保留在记事框中，稍后会自动重试。"));
        break;
    }
}

} // namespace tevuna
